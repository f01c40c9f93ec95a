#include "platform/system_info.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

TEST(SystemInfo, DaysSinceEpochCountsLeapYears) {
  EXPECT_EQ(platform::DaysSinceEpoch(1970, 1, 1), 0);
  EXPECT_EQ(platform::DaysSinceEpoch(1970, 1, 2), 1);
  EXPECT_EQ(platform::DaysSinceEpoch(2000, 3, 1), 11017);
  EXPECT_EQ(platform::DaysSinceEpoch(2002, 10, 18), 11978);
  EXPECT_EQ(platform::DaysSinceEpoch(1969, 12, 31), -1);
}

TEST(SystemInfo, ClockLoginAndProgramPathCanBeSet) {
  platform::SetClock([] { return platform::LocalDateTime{2002, 10, 18, 12, 0, 0, 0}; });
  EXPECT_EQ(platform::Now().year, 2002);
  platform::SetClock(nullptr);
  EXPECT_GT(platform::Now().year, 2020);

  platform::SetLoginName(std::string("taro"));
  EXPECT_EQ(platform::LoginName(), "taro");
  platform::SetLoginName(std::nullopt);
  EXPECT_FALSE(platform::LoginName().empty());

  platform::SetProgramPath(lftest::S("/opt/ソフト/linkferry"));
  EXPECT_EQ(platform::ProgramDirectory(), lftest::S("/opt/ソフト"));
  platform::SetProgramPath(std::string("C:\\Tools\\linkfery.exe"));
  EXPECT_EQ(platform::ProgramDirectory(), "C:\\Tools");
  platform::SetProgramPath(std::nullopt);
  EXPECT_NE(platform::ProgramPath().find("platform_test"), std::string::npos);
}

TEST(SystemInfo, WindowsDirectoryFollowsDriveC) {
  platform::SetDriveRoot('C', "");
  EXPECT_EQ(platform::WindowsDirectory(), "");
  platform::SetDriveRoot('C', "/somewhere/drive_c");
  EXPECT_EQ(platform::WindowsDirectory(), "C:\\windows");
  platform::SetWindowsDirectory(std::string("C:\\WINNT"));
  EXPECT_EQ(platform::WindowsDirectory(), "C:\\WINNT");
  platform::SetWindowsDirectory(std::nullopt);
  platform::ResetDriveRoots();
}

}  // namespace
