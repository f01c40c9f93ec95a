// The sort that orders a folder's entries in Regroup (std::sort) beside a branch-free
// quicksort, on the keys Regroup makes for them, in no order (a folder already in order, or two
// runs in order, never reaches the sort): all the links of a generated list in one folder, and
// the list's own folders of a few dozen entries each, at 10^4, 10^5 and 10^6 links. The
// quicksort stays in std::sort's place only while it saves more than a fifth of the time at
// every size (bench/README.md).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/collation.h"

namespace {

// Regroup's key of an entry and its order, as engine/regroup.cpp makes them (it keeps them to
// itself).
struct Keyed {
  std::uint64_t h0, h1, h2;
  std::uint32_t index;
};

Keyed HeadOf(std::string_view e, std::uint32_t index, std::size_t from, bool trail) {
  unsigned char bytes[24] = {};
  const std::size_t end = std::min(e.size(), from + 24);
  for (std::size_t i = from; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(e[i]);
    bytes[i - from] = trail ? c : platform::FoldAsciiCase(c);
    trail = !trail && platform::IsLeadByte(c);
  }
  std::uint64_t h[3] = {};
  for (int b = 0; b < 24; ++b) h[b / 8] = (h[b / 8] << 8) | bytes[b];
  return {h[0], h[1], h[2], index};
}

int TailCompare(std::string_view x, std::string_view y, std::size_t from, bool trail) {
  if (x.size() == y.size() && std::memcmp(x.data() + from, y.data() + from, x.size() - from) == 0)
    return 0;
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = from; i < n; ++i) {
    const unsigned char ca = static_cast<unsigned char>(x[i]);
    const unsigned char cb = static_cast<unsigned char>(y[i]);
    const unsigned char ka = trail ? ca : platform::FoldAsciiCase(ca);
    const unsigned char kb = trail ? cb : platform::FoldAsciiCase(cb);
    if (ka != kb) return ka < kb ? -1 : 1;
    trail = !trail && platform::IsLeadByte(ca);
  }
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  return std::memcmp(x.data() + from, y.data() + from, n - from) < 0 ? -1 : 1;
}

// Quicksort whose partition does not branch on the outcome of the comparisons; short ranges
// by insertion, and a range that keeps splitting badly by std::sort.
template <typename Less>
void QuickSort(Keyed* first, Keyed* last, const Less& less, int depth) {
  while (last - first > 16) {
    if (depth-- == 0) {
      std::sort(first, last, less);
      return;
    }
    Keyed* const mid = first + (last - first) / 2;
    if (less(*mid, first[1])) std::swap(*mid, first[1]);
    if (less(last[-1], *mid)) {
      std::swap(last[-1], *mid);
      if (less(*mid, first[1])) std::swap(*mid, first[1]);
    }
    std::swap(*first, *mid);
    const Keyed pivot = *first;
    Keyed* write = first + 1;
    for (Keyed* read = first + 1; read < last; ++read) {
      const Keyed item = *read;
      *read = *write;
      *write = item;
      write += less(item, pivot);
    }
    Keyed* const split = write - 1;
    std::swap(*first, *split);
    if (split - first < last - split) {
      QuickSort(first, split, less, depth);
      first = split + 1;
    } else {
      QuickSort(split + 1, last, less, depth);
      last = split;
    }
  }
  for (Keyed* i = first + 1; i < last; ++i) {
    const Keyed item = *i;
    Keyed* j = i;
    for (; j > first && less(item, j[-1]); --j) *j = j[-1];
    *j = item;
  }
}

// Keys to sort, in ranges sorted one at a time, as Regroup sorts the contents of each folder
// (each range's keys taken from the end of its folder's path on).
struct Ranges {
  std::vector<std::string> entries;
  std::vector<Keyed> keys;
  struct Range {
    std::size_t begin, end, from;
  };
  std::vector<Range> ranges;
};

// The entries of each group in no order, keyed after the group's path.
Ranges KeyedInNoOrder(std::vector<std::pair<std::string, std::vector<std::string>>> groups) {
  Ranges r;
  std::mt19937 random(1);
  for (auto& [path, entries] : groups) {
    std::shuffle(entries.begin(), entries.end(), random);
    const std::size_t begin = r.keys.size();
    for (auto& e : entries) {
      r.keys.push_back(HeadOf(e, static_cast<std::uint32_t>(r.entries.size()), path.size(), false));
      r.entries.push_back(std::move(e));
    }
    r.ranges.push_back({begin, r.keys.size(), path.size()});
  }
  return r;
}

// The links of a generated list, all moved into the root folder. Names repeat in a list this
// large, so some keys tie and are told apart by the rest of the entry.
Ranges OneFolder(std::size_t links) {
  const std::string root = "C:\\WINDOWS\\Favorites";
  std::vector<std::string> entries;
  for (const auto& e : lfbench::GeneratedList(links, root)) {
    const std::size_t marker = e.find(lf::kLinkMarker);
    if (marker != std::string::npos) entries.push_back(root + e.substr(marker));
  }
  return KeyedInNoOrder({{root, std::move(entries)}});
}

// The generated list's own folders, a few dozen entries each (its links and its folders).
Ranges ItsFolders(std::size_t links) {
  std::map<std::string, std::vector<std::string>> byFolder;
  for (const auto& e : lfbench::GeneratedList(links)) {
    std::size_t end = e.find(lf::kLinkMarker);
    if (end == std::string::npos) end = platform::FindLastChar(e, "\\");
    byFolder[e.substr(0, end)].push_back(e);
  }
  return KeyedInNoOrder({byFolder.begin(), byFolder.end()});
}

// Calls f(first, last, less) on each range of keys with Regroup's order for its folder.
template <typename F>
void ForEachRange(const Ranges& r, std::vector<Keyed>& keys, const F& f) {
  for (const auto& range : r.ranges) {
    const auto tieLess = [&](const Keyed& a, const Keyed& b) __attribute__((noinline)) {
      if (int c = TailCompare(r.entries[a.index], r.entries[b.index], range.from, false))
        return c < 0;
      return a.index < b.index;
    };
    const auto less = [&](const Keyed& a, const Keyed& b) {
      if (a.h0 != b.h0) return a.h0 < b.h0;
      if (a.h1 != b.h1) return a.h1 < b.h1;
      if (a.h2 != b.h2) return a.h2 < b.h2;
      return tieLess(a, b);
    };
    f(keys.data() + range.begin, keys.data() + range.end, less);
  }
}

template <bool kStdSort, Ranges (*Make)(std::size_t)>
void SortKeys(benchmark::State& state) {
  const Ranges r = Make(static_cast<std::size_t>(state.range(0)));
  std::vector<Keyed> keys;
  for (auto _ : state) {
    state.PauseTiming();
    keys = r.keys;
    state.ResumeTiming();
    ForEachRange(r, keys, [](Keyed* first, Keyed* last, const auto& less) {
      if (kStdSort)
        std::sort(first, last, less);
      else
        QuickSort(first, last, less, 2 * std::bit_width(static_cast<std::size_t>(last - first)));
    });
    benchmark::DoNotOptimize(keys.data());
  }
  bool sorted = true;
  ForEachRange(r, keys, [&](Keyed* first, Keyed* last, const auto& less) {
    sorted = sorted && std::is_sorted(first, last, less);
  });
  if (!sorted) state.SkipWithError("not sorted");
  lfbench::PerItem(state, keys.size(), "entry");
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

BENCHMARK(SortKeys<false, OneFolder>)->Name("SortOneFolder/QuickSort")->Apply(Sizes);
BENCHMARK(SortKeys<true, OneFolder>)->Name("SortOneFolder/std::sort")->Apply(Sizes);
BENCHMARK(SortKeys<false, ItsFolders>)->Name("SortItsFolders/QuickSort")->Apply(Sizes);
BENCHMARK(SortKeys<true, ItsFolders>)->Name("SortItsFolders/std::sort")->Apply(Sizes);

}  // namespace
