#include "platform/large_pages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The restarted program must not start itself again, and must not hand the C library's
// settings on to what it starts; settings the user made are his and are left alone.
TEST(LargePages, RestartedProgramForgetsTheSettingAndUsersOwnIsKept) {
  char name[] = "linkferry";
  char* argv[] = {name, nullptr};

  setenv("LINKFERRY_LARGE_PAGES", "1", 1);
  setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 1);
  platform::UseLargeHeapPages(argv);
  EXPECT_EQ(std::getenv("LINKFERRY_LARGE_PAGES"), nullptr);
  EXPECT_EQ(std::getenv("GLIBC_TUNABLES"), nullptr);

  setenv("GLIBC_TUNABLES", "glibc.malloc.check=3", 1);
  platform::UseLargeHeapPages(argv);
  ASSERT_NE(std::getenv("GLIBC_TUNABLES"), nullptr);
  EXPECT_EQ(std::string(std::getenv("GLIBC_TUNABLES")), "glibc.malloc.check=3");
  EXPECT_EQ(std::getenv("LINKFERRY_LARGE_PAGES"), nullptr);
  unsetenv("GLIBC_TUNABLES");
}

}  // namespace
