// The duplicate check's search for links with the same URL on collections of 10^4 to 10^6
// links, one link in ten carrying the URL of an earlier one; beside it, for scale, the plain
// comparison of every entry with every other on small collections.
#include <benchmark/benchmark.h>

#include <random>

#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "core/duplicate_pairs.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace {

using lf::TBookmarkControl;

lf::BookmarkList ListWithDuplicates(std::size_t links) {
  lf::BookmarkList list = lfbench::GeneratedList(links);
  std::vector<std::size_t> linkPositions;
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i].find(lf::kLinkMarker) != std::string::npos) linkPositions.push_back(i);
  std::mt19937 rng(1);
  for (std::size_t k = 10; k < linkPositions.size(); k += 10) {
    std::string& entry = list[linkPositions[k]];
    const std::string url = TBookmarkControl::ExtractUrl(list[linkPositions[rng() % k]]);
    entry = TBookmarkControl::EntryPath(entry) + "\\" + url;
  }
  return list;
}

void FindDuplicatePairs(benchmark::State& state) {
  const lf::BookmarkList list = ListWithDuplicates(static_cast<std::size_t>(state.range(0)));
  std::size_t pairs = 0;
  for (auto _ : state) {
    pairs = lf::FindDuplicatePairs(list, [](std::size_t) { return true; }).size();
    benchmark::DoNotOptimize(pairs);
  }
  state.counters["pairs"] = static_cast<double>(pairs);
  lfbench::PerItem(state, list.size(), "entry");
}

// Every entry compared with every other, as a check without grouping would do it.
void CompareAllWithAll(benchmark::State& state) {
  const lf::BookmarkList list = ListWithDuplicates(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::string u = TBookmarkControl::ExtractUrl(list[i]);
      if (u.empty()) continue;
      for (std::size_t j = 0; j < list.size(); ++j)
        if (TBookmarkControl::ExtractUrl(list[j]) == u && j > i) ++pairs;
    }
    benchmark::DoNotOptimize(pairs);
  }
  lfbench::PerItem(state, list.size(), "entry");
}

}  // namespace

BENCHMARK(FindDuplicatePairs)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(CompareAllWithAll)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
