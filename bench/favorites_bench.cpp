// Time per link of writing and reading a Favorites folder of 10^4 and 10^5 links (one
// directory per folder, one shortcut file per link, so the disk's speed for small files
// decides most of it).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <stdexcept>

#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

namespace {

using lf::TBookmarkControl;

// A folder for the generated Favorites folders, removed when the program ends.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lfbench-favorites.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    native_ = pattern;
    // A lost-data log, should there be one, stays in here.
    platform::SetProgramPath(Path("formats_bench"));
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(native_, ec);
  }
  // The program's path of a name in the folder.
  std::string Path(const std::string& name) const {
    return platform::FromNativePath(native_) + "\\" + name;
  }

 private:
  std::string native_;
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

// Writes a list into a new Favorites folder at its root and returns the links written.
int WriteFolder(const std::string& root, const lf::BookmarkList& list) {
  if (platform::MakeDirectory(root) != 0) throw std::runtime_error("cannot create " + root);
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  lf::RunCounters c;
  control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, list);
  return c.ieUrlCount;
}

// The root of a Favorites folder of `links` generated links, written once.
const std::string& GeneratedFolder(std::size_t links) {
  static std::map<std::size_t, std::string> roots;
  auto [it, added] = roots.try_emplace(links);
  if (added) {
    it->second = Folder().Path("read" + std::to_string(links));
    WriteFolder(it->second, lfbench::GeneratedList(links, it->second));
  }
  return it->second;
}

void PerLink(benchmark::State& state, std::size_t links) {
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(links));
  state.counters["s/link"] =
      benchmark::Counter(static_cast<double>(links), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void FavoritesWrite(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  int run = 0, written = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string root =
        Folder().Path("write" + std::to_string(links) + "-" + std::to_string(run++));
    const lf::BookmarkList list = lfbench::GeneratedList(links, root);
    state.ResumeTiming();
    written = WriteFolder(root, list);
  }
  state.counters["files"] = written;
  PerLink(state, links);
}

void FavoritesRead(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const std::string& root = GeneratedFolder(links);
  TBookmarkControl control;
  lf::Owner owner;
  int read = 0;
  for (auto _ : state) {
    lf::BookmarkList list;
    lf::RunCounters c;
    control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, list, nullptr,
                          root);
    read = c.ieUrlCount;
    benchmark::DoNotOptimize(list.data());
  }
  // Links of the same name in one folder share one file, so a little fewer than written.
  state.counters["links"] = read;
  PerLink(state, links);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(FavoritesWrite)->Apply(Sizes);
BENCHMARK(FavoritesRead)->Apply(Sizes);

}  // namespace
