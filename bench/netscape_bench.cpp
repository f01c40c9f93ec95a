// Time per link of writing and reading a Netscape bookmark file of 10^4, 10^5 and 10^6 links,
// and of reading the same file written on one line: the reader reads markup, not lines, and
// takes as long wherever the lines end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "platform/file_system.h"

namespace {

using lf::TBookmarkControl;

lfbench::BenchFolder& Folder() {
  static lfbench::BenchFolder folder("lfbench-netscape");
  return folder;
}

// The Shift-JIS file of a generated list of `links` links, written once.
const std::string& GeneratedFile(std::size_t links) {
  static std::map<std::size_t, std::string> files;
  auto [it, added] = files.try_emplace(links);
  if (added) {
    it->second = Folder().Path("read" + std::to_string(links) + ".htm");
    TBookmarkControl control;
    lf::Owner owner;
    lf::ProgressBar bar;
    int count = 0;
    control.SaveBookmarkFile(owner, bar, count, it->second, lfbench::GeneratedList(links));
  }
  return it->second;
}

// The same file without its line ends, written once.
const std::string& OneLineFile(std::size_t links) {
  static std::map<std::size_t, std::string> files;
  auto [it, added] = files.try_emplace(links);
  if (added) {
    it->second = Folder().Path("line" + std::to_string(links) + ".htm");
    std::ifstream in(lfbench::NativeOf(GeneratedFile(links)), std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::erase_if(bytes, [](char c) { return c == '\r' || c == '\n'; });
    std::ofstream(lfbench::NativeOf(it->second), std::ios::binary) << bytes;
  }
  return it->second;
}

void NetscapeWrite(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const lf::BookmarkList list = lfbench::GeneratedList(links);
  const std::string path = Folder().Path("write" + std::to_string(links) + ".htm");
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  int count = 0;
  lfbench::PeakMemory memory;
  for (auto _ : state) control.SaveBookmarkFile(owner, bar, count, path, list);
  state.counters["peak_rise_MB"] = memory.RiseMb();
  state.counters["file_MB"] =
      static_cast<double>(std::filesystem::file_size(lfbench::NativeOf(path))) / (1024.0 * 1024.0);
  lfbench::PerItem(state, links, "link");
}

void ReadFile(benchmark::State& state, const std::string& path) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  lfbench::PeakMemory memory;
  for (auto _ : state) {
    lf::BookmarkList list;
    int cancel = 0, count = 0;
    control.ReadBookmarkFile(owner, path, cancel, count, nullptr, false, list, bar,
                             "C:\\WINDOWS\\Favorites");
    benchmark::DoNotOptimize(list.data());
    if (static_cast<std::size_t>(count) != links) state.SkipWithError("links missing");
  }
  state.counters["peak_rise_MB"] = memory.RiseMb();
  lfbench::PerItem(state, links, "link");
}

void NetscapeRead(benchmark::State& state) {
  ReadFile(state, GeneratedFile(static_cast<std::size_t>(state.range(0))));
}

void NetscapeReadOneLine(benchmark::State& state) {
  ReadFile(state, OneLineFile(static_cast<std::size_t>(state.range(0))));
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(NetscapeWrite)->Apply(Sizes);
BENCHMARK(NetscapeRead)->Apply(Sizes);
BENCHMARK(NetscapeReadOneLine)->Apply(Sizes);

}  // namespace
