// Time per entry of regrouping, duplicate removal and the four text conversions on lists of
// 10^4, 10^5 and 10^6 links.
#include <benchmark/benchmark.h>

#include <random>

#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "engine/favorites_targets.h"

namespace {

using lf::TBookmarkControl;

void Regroup(benchmark::State& state) {
  const lf::BookmarkList sorted = lfbench::GeneratedList(static_cast<std::size_t>(state.range(0)));
  lf::BookmarkList shuffled = sorted;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(1));
  // The list is made, and the one before freed, outside the time measured.
  lf::BookmarkList list;
  for (auto _ : state) {
    state.PauseTiming();
    list = shuffled;
    state.ResumeTiming();
    TBookmarkControl::Regroup(list);
    benchmark::DoNotOptimize(list.data());
  }
  lfbench::PerItem(state, sorted.size(), "entry");
}

void RemoveDuplicates(benchmark::State& state) {
  lf::BookmarkList base = lfbench::GeneratedList(static_cast<std::size_t>(state.range(0)));
  // Two browsers' copies of the same collection, merged.
  lf::BookmarkList merged = base;
  merged.insert(merged.end(), base.begin(), base.end());
  lf::BookmarkList list;
  for (auto _ : state) {
    state.PauseTiming();
    list = merged;
    state.ResumeTiming();
    TBookmarkControl::RemoveDuplicates(list);
    benchmark::DoNotOptimize(list.data());
  }
  lfbench::PerItem(state, merged.size(), "entry");
}

template <std::string (*Convert)(std::string_view), bool FromUtf8, bool FromEuc>
void Conversion(benchmark::State& state) {
  lf::BookmarkList lines = lfbench::GeneratedList(static_cast<std::size_t>(state.range(0)));
  if (FromUtf8)
    for (auto& l : lines) l = TBookmarkControl::SjisToUtf8(l);
  if (FromEuc)
    for (auto& l : lines) l = TBookmarkControl::SjisToEuc(l);
  std::size_t input = 0;
  for (const auto& l : lines) input += l.size();
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (const auto& l : lines) bytes += Convert(l).size();
    benchmark::DoNotOptimize(bytes);
  }
  lfbench::PerItem(state, lines.size(), "entry");
  state.counters["s/byte"] =
      benchmark::Counter(static_cast<double>(input), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
}

// The shortcut names of one write of n links in one folder, all of one title (numbered "(2)",
// "(3)", ...) or each of its own: the numbering must cost no more per link than the names.
template <bool kSameTitle>
void ShortcutNames(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  lf::BookmarkList list;
  for (std::size_t i = 0; i < n; ++i)
    list.push_back(lf::MakeLinkEntry("/nonexistent/Fav",
                                     kSameTitle ? "Same" : "L" + std::to_string(i), 0,
                                     "http://h/" + std::to_string(i)));
  for (auto _ : state) {
    lf::FavoritesTargets targets;
    for (const lf::Entry& entry : list) benchmark::DoNotOptimize(targets.File(entry));
  }
  lfbench::PerItem(state, n, "link");
}

BENCHMARK(Regroup)->Apply(Sizes);
BENCHMARK(ShortcutNames<true>)->Name("ShortcutNamesOneTitle")->Arg(100000);
BENCHMARK(ShortcutNames<false>)->Name("ShortcutNamesEachItsOwn")->Arg(100000);
BENCHMARK(RemoveDuplicates)->Apply(Sizes);
BENCHMARK(Conversion<TBookmarkControl::SjisToUtf8, false, false>)->Name("SjisToUtf8")->Apply(Sizes);
BENCHMARK(Conversion<TBookmarkControl::Utf8ToSjis, true, false>)->Name("Utf8ToSjis")->Apply(Sizes);
BENCHMARK(Conversion<TBookmarkControl::SjisToEuc, false, false>)->Name("SjisToEuc")->Apply(Sizes);
BENCHMARK(Conversion<TBookmarkControl::EucToSjis, false, true>)->Name("EucToSjis")->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
