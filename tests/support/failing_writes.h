// Writes that fail as on a full disk: a sink that stops after a number of bytes, for the
// writers that take a sink filter, and a file size limit of the whole process for the runs
// and windows whose writes have none.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/save_file.h"

namespace lftest {

// Passes bytes on until the budget it shares with other sinks is spent; then it passes on
// what still fits and fails with ENOSPC.
class FailingSink : public platform::ByteSink {
 public:
  FailingSink(platform::ByteSink& next, std::shared_ptr<std::int64_t> budget)
      : next_(next), budget_(std::move(budget)) {}
  void Write(std::string_view bytes) override;

 private:
  platform::ByteSink& next_;
  std::shared_ptr<std::int64_t> budget_;
};

// A filter whose sinks fail once `bytes` bytes have gone through all of them together.
platform::SinkFilter FailAfter(std::int64_t bytes);

// While it lives no file of this process grows past `bytes`: a write past it fails with
// EFBIG (SIGXFSZ is ignored meanwhile).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  struct sigaction previousAction_ {};
};

}  // namespace lftest
