#include "tests/support/failing_writes.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace lftest {

void FailingSink::Write(std::string_view bytes) {
  const std::int64_t fits =
      std::min<std::int64_t>(*budget_, static_cast<std::int64_t>(bytes.size()));
  if (fits > 0) next_.Write(bytes.substr(0, static_cast<std::size_t>(fits)));
  *budget_ -= fits;
  if (fits < static_cast<std::int64_t>(bytes.size())) throw platform::IoError(ENOSPC);
}

platform::SinkFilter FailAfter(std::int64_t bytes) {
  auto budget = std::make_shared<std::int64_t>(bytes);
  return [budget](platform::ByteSink& next) -> std::unique_ptr<platform::ByteSink> {
    return std::make_unique<FailingSink>(next, budget);
  };
}

FileSizeLimit::FileSizeLimit(long bytes) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  rlimit lowered{};
  if (getrlimit(RLIMIT_FSIZE, &previous_) != 0 ||
      sigaction(SIGXFSZ, &ignore, &previousAction_) != 0)
    throw std::runtime_error("cannot limit the file size");
  lowered = previous_;
  lowered.rlim_cur = static_cast<rlim_t>(bytes);
  if (setrlimit(RLIMIT_FSIZE, &lowered) != 0) {
    sigaction(SIGXFSZ, &previousAction_, nullptr);
    throw std::runtime_error("cannot limit the file size");
  }
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &previous_);
  sigaction(SIGXFSZ, &previousAction_, nullptr);
}

}  // namespace lftest
