#include "platform/large_pages.h"

#include <unistd.h>

#include <cstdlib>

namespace platform {
namespace {
constexpr char kTunables[] = "GLIBC_TUNABLES";
constexpr char kLargePages[] = "glibc.malloc.hugetlb=1";
// Set for the restarted program only, which takes it and the tunables away again.
constexpr char kRestarted[] = "LINKFERRY_LARGE_PAGES";

void ForgetLargePages() {
  unsetenv(kRestarted);
  unsetenv(kTunables);
}
}  // namespace

void UseLargeHeapPages(char** argv) {
#if defined(__linux__) && defined(__GLIBC__)
  if (std::getenv(kRestarted)) return ForgetLargePages();
  if (std::getenv(kTunables) || argv == nullptr || argv[0] == nullptr) return;
  if (setenv(kTunables, kLargePages, 1) == 0 && setenv(kRestarted, "1", 1) == 0)
    execv("/proc/self/exe", argv);
  // Not restarted: the run goes on in small pages.
  ForgetLargePages();
#else
  (void)argv;
#endif
}

}  // namespace platform
