#include "bench/bench_files.h"

#include <malloc.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "platform/file_system.h"
#include "platform/system_info.h"

namespace lfbench {
namespace {

// A value of /proc/self/status in megabytes (0 where there is none).
double StatusMb(std::string_view key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with(key)) return std::stod(line.substr(key.size())) / 1024.0;
  return 0;
}

}  // namespace

BenchFolder::BenchFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + ".XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  native_ = pattern;
  platform::SetProgramPath(Path("bench"));
}

BenchFolder::~BenchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(native_, ec);
}

std::string BenchFolder::Path(const std::string& name) const {
  return platform::FromNativePath(native_) + "\\" + name;
}

std::string NativeOf(const std::string& path) {
  std::string native;
  platform::ToNativePath(path, native);
  return native;
}

PeakMemory::PeakMemory() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  start_ = StatusMb("VmRSS:");
}

double PeakMemory::RiseMb() const { return StatusMb("VmHWM:") - start_; }

void PerItem(benchmark::State& state, std::size_t items, const std::string& label) {
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(items));
  state.counters["s/" + label] = benchmark::Counter(
      static_cast<double>(items),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace lfbench
