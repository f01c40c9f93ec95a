// Time per link of writing and reading a Favorites folder of 10^4 and 10^5 links (one
// directory per folder, one shortcut file per link, so the disk's speed for small files
// decides most of it).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <stdexcept>

#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

namespace {

using lf::TBookmarkControl;

lfbench::BenchFolder& Folder() {
  static lfbench::BenchFolder folder("lfbench-favorites");
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
  lfbench::PerItem(state, links, "link");
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
  lfbench::PerItem(state, links, "link");
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(FavoritesWrite)->Apply(Sizes);
BENCHMARK(FavoritesRead)->Apply(Sizes);

}  // namespace
