// Time per link of writing and reading a Favorites folder of 10^4 and 10^5 links (one
// directory per folder, one shortcut file per link, so the disk's speed for small files
// decides most of it), beside a plain loop that makes, or lists and reads, the same folders
// and files on the same disk.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

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
  static int run = 0;
  int written = 0;
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

// The folders and files of a folder tree with the files' contents, as relative paths in
// the order of a walk (a folder before what lies in it).
struct Snapshot {
  std::vector<std::string> folders;
  std::vector<std::pair<std::string, std::string>> files;
};

std::string Contents(const std::filesystem::path& file) {
  std::string text;
  if (FILE* f = fopen(file.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, got);
    fclose(f);
  }
  return text;
}

const Snapshot& GeneratedSnapshot(std::size_t links) {
  static std::map<std::size_t, Snapshot> snapshots;
  auto [it, added] = snapshots.try_emplace(links);
  if (added) {
    const std::filesystem::path root = lfbench::NativeOf(GeneratedFolder(links));
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
      const std::string relative = e.path().lexically_relative(root).string();
      if (e.is_directory())
        it->second.folders.push_back(relative);
      else
        it->second.files.emplace_back(relative, Contents(e.path()));
    }
  }
  return it->second;
}

// The same folders and files as the Favorites writer makes, by mkdir and fwrite.
void PlainLoopWrite(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const Snapshot& tree = GeneratedSnapshot(links);
  static int run = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string root = lfbench::NativeOf(
        Folder().Path("plain" + std::to_string(links) + "-" + std::to_string(run++))) + "/";
    state.ResumeTiming();
    if (mkdir(root.c_str(), 0777) != 0) throw std::runtime_error("cannot create " + root);
    for (const std::string& folder : tree.folders) mkdir((root + folder).c_str(), 0777);
    for (const auto& [name, text] : tree.files) {
      FILE* f = fopen((root + name).c_str(), "wb");
      if (!f) throw std::runtime_error("cannot create " + root + name);
      fwrite(text.data(), 1, text.size(), f);
      fclose(f);
    }
  }
  state.counters["files"] = static_cast<double>(tree.files.size());
  lfbench::PerItem(state, links, "link");
}

// The same Favorites folder as the reader reads, listed and every file read.
void PlainLoopRead(benchmark::State& state) {
  const std::size_t links = static_cast<std::size_t>(state.range(0));
  const std::filesystem::path root = lfbench::NativeOf(GeneratedFolder(links));
  std::size_t files = 0;
  for (auto _ : state) {
    std::vector<std::string> texts;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
      if (e.is_regular_file()) texts.push_back(Contents(e.path()));
    files = texts.size();
    benchmark::DoNotOptimize(texts.data());
  }
  state.counters["files"] = static_cast<double>(files);
  lfbench::PerItem(state, links, "link");
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(FavoritesWrite)->Apply(Sizes);
BENCHMARK(FavoritesRead)->Apply(Sizes);
BENCHMARK(PlainLoopWrite)->Apply(Sizes);
BENCHMARK(PlainLoopRead)->Apply(Sizes);

}  // namespace
