// Time per link of writing and reading a Netscape bookmark file of 10^4, 10^5 and 10^6 links.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "platform/file_system.h"

namespace {

using lf::TBookmarkControl;

// A folder for the generated files, removed when the program ends.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lfbench-netscape.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    native_ = pattern;
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(native_, ec);
  }
  // The program's path of a file in the folder.
  std::string Path(const std::string& name) const {
    return platform::FromNativePath(native_) + "\\" + name;
  }

 private:
  std::string native_;
};

std::string Native(const std::string& path) {
  std::string native;
  platform::ToNativePath(path, native);
  return native;
}

BenchFolder& Folder() {
  static BenchFolder folder;
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

// A value of /proc/self/status in megabytes (0 where there is none).
double StatusMb(std::string_view key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with(key)) return std::stod(line.substr(key.size())) / 1024.0;
  return 0;
}

// Measures how far the resident memory rises above what is in use now (Linux only): freed
// memory is given back to the system first and the peak is reset.
class PeakMemory {
 public:
  PeakMemory() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    start_ = StatusMb("VmRSS:");
  }
  double RiseMb() const { return StatusMb("VmHWM:") - start_; }

 private:
  double start_;
};

void PerLink(benchmark::State& state, std::size_t links) {
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(links));
  state.counters["s/link"] =
      benchmark::Counter(static_cast<double>(links), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void NetscapeWrite(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const lf::BookmarkList list = lfbench::GeneratedList(links);
  const std::string path = Folder().Path("write" + std::to_string(links) + ".htm");
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  int count = 0;
  PeakMemory memory;
  for (auto _ : state) control.SaveBookmarkFile(owner, bar, count, path, list);
  state.counters["peak_rise_MB"] = memory.RiseMb();
  state.counters["file_MB"] =
      static_cast<double>(std::filesystem::file_size(Native(path))) / (1024.0 * 1024.0);
  PerLink(state, links);
}

void NetscapeRead(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const std::string& path = GeneratedFile(links);
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  PeakMemory memory;
  for (auto _ : state) {
    lf::BookmarkList list;
    int cancel = 0, count = 0;
    control.ReadBookmarkFile(owner, path, cancel, count, nullptr, false, list, bar,
                             "C:\\WINDOWS\\Favorites");
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["peak_rise_MB"] = memory.RiseMb();
  PerLink(state, links);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(NetscapeWrite)->Apply(Sizes);
BENCHMARK(NetscapeRead)->Apply(Sizes);

}  // namespace
