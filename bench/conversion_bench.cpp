// The whole-file conversion from a Netscape bookmark file to an Opera hotlist (read with its
// regroup, then write), for 10^4 to 10^6 links. The goal for 10^6 links (a file of about
// 100 MB) is under 10 s and under 1 GB of memory on the development machine.
#include <benchmark/benchmark.h>

#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"

namespace {

using lf::TBookmarkControl;

void NetscapeToOpera(benchmark::State& state) {
  static lfbench::BenchFolder folder("lfbench-convert");
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const std::string input = folder.Path(std::to_string(links) + ".htm");
  const std::string output = folder.Path(std::to_string(links) + ".adr");
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  {
    int count = 0;
    control.SaveBookmarkFile(owner, bar, count, input, lfbench::GeneratedList(links));
  }
  lfbench::PeakMemory memory;
  for (auto _ : state) {
    lf::BookmarkList list;
    lf::RunCounters c;
    control.ReadBookmarkFile(owner, input, c.cancel, c.nnUrlCount, nullptr, false, list, bar,
                             "C:\\WINDOWS\\Favorites");
    control.SaveOperaFile(owner, bar, list, output, c.operaUrlCount);
    if (c.operaUrlCount != static_cast<int>(links)) state.SkipWithError("links lost");
  }
  state.counters["peak_rise_MB"] = memory.RiseMb();
  lfbench::PerItem(state, links, "link");
}

BENCHMARK(NetscapeToOpera)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
