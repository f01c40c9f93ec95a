// Time per link of the run from the bookmark file to the hotlist (--run 11) when the bookmark
// file is a Chromium "Bookmarks" file, next to the same links in a Shift-JIS bookmark file, for
// 10^5 and 10^6 links; and of reading an XBEL file of the same links. Each file is written once
// by the program's own writer, chosen by the file's name.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"

namespace {

using lf::TBookmarkControl;

lfbench::BenchFolder& Folder() {
  static lfbench::BenchFolder folder("lfbench-browsers");
  return folder;
}

// The file of a generated list of `links` links, named name (which picks its format).
const std::string& GeneratedFile(const std::string& name, std::size_t links) {
  static std::map<std::string, std::string> files;
  const std::string key = std::to_string(links) + "-" + name;
  auto [it, added] = files.try_emplace(key);
  if (added) {
    std::filesystem::create_directories(Folder().Native() + "/" + std::to_string(links));
    it->second = Folder().Path(std::to_string(links) + "/" + name);
    TBookmarkControl control;
    lf::Owner owner;
    lf::ProgressBar bar;
    int count = 0;
    control.SaveBookmarkFile(owner, bar, count, it->second, lfbench::GeneratedList(links));
  }
  return it->second;
}

// Reads the bookmark file and writes its links as a hotlist, as --run 11 does.
void ToHotlist(benchmark::State& state, const std::string& name) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const std::string& source = GeneratedFile(name, links);
  const std::string target = Folder().Path(std::to_string(links) + "/opera6.adr");
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  lfbench::PeakMemory memory;
  for (auto _ : state) {
    lf::BookmarkList list;
    int cancel = 0;
    const lf::Io io{owner, bar, nullptr, cancel};
    const lf::Report read = control.ReadBookmarkFile(io, source, list, "C:\\WINDOWS\\Favorites");
    const lf::Report written = control.SaveOperaFile(io, list, target);
    if (static_cast<std::size_t>(read.links) != links ||
        static_cast<std::size_t>(written.links) != links)
      state.SkipWithError("links missing");
  }
  state.counters["peak_rise_MB"] = memory.RiseMb();
  state.counters["file_MB"] =
      static_cast<double>(std::filesystem::file_size(lfbench::NativeOf(source))) /
      (1024.0 * 1024.0);
  lfbench::PerItem(state, links, "link");
}

void NetscapeToHotlist(benchmark::State& state) {
  ToHotlist(state, "bookmark.htm");
}

void ChromiumToHotlist(benchmark::State& state) {
  ToHotlist(state, "Bookmarks");
}

void XbelToHotlist(benchmark::State& state) {
  ToHotlist(state, "bookmarks.xbel");
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
}

BENCHMARK(NetscapeToHotlist)->Apply(Sizes);
BENCHMARK(ChromiumToHotlist)->Apply(Sizes);
BENCHMARK(XbelToHotlist)->Apply(Sizes);

}  // namespace
