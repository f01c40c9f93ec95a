#include "platform/large_pages.h"

#include <unistd.h>

#include <cstdlib>

namespace platform {
namespace {
constexpr char kTunables[] = "GLIBC_TUNABLES";
constexpr char kLargePages[] = "glibc.malloc.hugetlb=1";
// Set for the restarted program only, which takes it and the tunables away again.
constexpr char kRestarted[] = "LINKFERRY_LARGE_PAGES";
}  // namespace

void UseLargeHeapPages(char** argv) {
#if defined(__linux__) && defined(__GLIBC__)
  if (std::getenv(kRestarted)) {
    unsetenv(kRestarted);
    unsetenv(kTunables);
    return;
  }
  if (std::getenv(kTunables) || argv == nullptr || argv[0] == nullptr) return;
  if (setenv(kTunables, kLargePages, 1) != 0 || setenv(kRestarted, "1", 1) != 0) {
    unsetenv(kTunables);
    unsetenv(kRestarted);
    return;
  }
  execv("/proc/self/exe", argv);
  // Not restarted: the run goes on in small pages.
  unsetenv(kRestarted);
  unsetenv(kTunables);
#else
  (void)argv;
#endif
}

}  // namespace platform
