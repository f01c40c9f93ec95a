// What the benchmark programs share: a temporary folder for generated files, the peak memory
// of a measured step, and the time per item next to the total.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

namespace lfbench {

// A temporary folder removed with its contents when the program ends. The lost-data log of
// a Favorites write lands in it too.
class BenchFolder {
 public:
  explicit BenchFolder(const std::string& prefix);
  ~BenchFolder();
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  // The program's path of a name in the folder.
  std::string Path(const std::string& name) const;
  const std::string& Native() const { return native_; }

 private:
  std::string native_;
};

// The native path of a program path.
std::string NativeOf(const std::string& path);

// How far the resident memory rises above what is in use when it is made (Linux): freed
// memory is given back to the system first and the peak is reset.
class PeakMemory {
 public:
  PeakMemory();
  double RiseMb() const;

 private:
  double start_;
};

// Reports the items per second and, as "s/<label>", the time per item.
void PerItem(benchmark::State& state, std::size_t items, const std::string& label);

}  // namespace lfbench
