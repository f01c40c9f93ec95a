// Time per link of writing and reading an Opera hotlist of 10^4, 10^5 and 10^6 links.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "platform/file_system.h"

namespace {

using lf::TBookmarkControl;

// A folder for the hotlists, removed when the program ends.
class HotlistFolder {
 public:
  HotlistFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lfbench-opera.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    native_ = pattern;
  }
  ~HotlistFolder() {
    std::error_code ec;
    std::filesystem::remove_all(native_, ec);
  }
  // The program's path of the hotlist of `links` links.
  std::string Hotlist(std::size_t links) const {
    return platform::FromNativePath(native_) + "\\" + std::to_string(links) + ".adr";
  }

 private:
  std::string native_;
};

const HotlistFolder& Folder() {
  static HotlistFolder folder;
  return folder;
}

void PerLink(benchmark::State& state, std::size_t links) {
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(links));
  state.counters["s/link"] =
      benchmark::Counter(static_cast<double>(links), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void OperaWrite(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const lf::BookmarkList list = lfbench::GeneratedList(links);
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  int count = 0;
  for (auto _ : state) control.SaveOperaFile(owner, bar, list, Folder().Hotlist(links), count);
  if (count != static_cast<int>(links * state.iterations())) state.SkipWithError("links lost");
  PerLink(state, links);
}

void OperaRead(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  if (!platform::FileExists(Folder().Hotlist(links))) {
    int written = 0;
    control.SaveOperaFile(owner, bar, lfbench::GeneratedList(links), Folder().Hotlist(links),
                          written);
  }
  int cancel = 0, count = 0;
  for (auto _ : state) {
    lf::BookmarkList list;
    control.LoadOperaFile(owner, Folder().Hotlist(links), cancel, count, bar, list,
                          "C:\\WINDOWS\\Favorites");
    benchmark::DoNotOptimize(list.data());
  }
  if (count != static_cast<int>(links * state.iterations())) state.SkipWithError("links lost");
  PerLink(state, links);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(OperaWrite)->Apply(Sizes);
BENCHMARK(OperaRead)->Apply(Sizes);

}  // namespace
