// Time per link of writing and reading an Opera hotlist of 10^4, 10^5 and 10^6 links.
#include <benchmark/benchmark.h>


#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "platform/file_system.h"

namespace {

using lf::TBookmarkControl;

// The program's path of the hotlist of `links` links, in a folder removed at the end.
std::string Hotlist(std::size_t links) {
  static lfbench::BenchFolder folder("lfbench-opera");
  return folder.Path(std::to_string(links) + ".adr");
}

void OperaWrite(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const lf::BookmarkList list = lfbench::GeneratedList(links);
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  int count = 0;
  for (auto _ : state) control.SaveOperaFile(owner, bar, list, Hotlist(links), count);
  if (count != static_cast<int>(links * state.iterations())) state.SkipWithError("links lost");
  lfbench::PerItem(state, links, "link");
}

void OperaRead(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  if (!platform::FileExists(Hotlist(links))) {
    int written = 0;
    control.SaveOperaFile(owner, bar, lfbench::GeneratedList(links), Hotlist(links),
                          written);
  }
  int cancel = 0, count = 0;
  for (auto _ : state) {
    lf::BookmarkList list;
    control.LoadOperaFile(owner, Hotlist(links), cancel, count, bar, list,
                          "C:\\WINDOWS\\Favorites");
    benchmark::DoNotOptimize(list.data());
  }
  if (count != static_cast<int>(links * state.iterations())) state.SkipWithError("links lost");
  lfbench::PerItem(state, links, "link");
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(OperaWrite)->Apply(Sizes);
BENCHMARK(OperaRead)->Apply(Sizes);

}  // namespace
