#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

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

// The user's folders as the environment names them, with the home folder behind them.
TEST(SystemInfo, UserFoldersFollowTheXdgVariablesThenHome) {
  const char* names[] = {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "HOME"};
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i)
    if (const char* value = std::getenv(names[i])) saved[i] = value;
  const auto folders = [&](const char* config, const char* state, const char* home) {
    const char* values[] = {config, state, home};
    for (int i = 0; i < 3; ++i) {
      if (values[i])
        setenv(names[i], values[i], 1);
      else
        unsetenv(names[i]);
    }
    return lftest::U(platform::ConfigHome()) + " | " + lftest::U(platform::StateHome());
  };

  EXPECT_EQ(folders("/c/ユーザー/conf/", "/s", "/h"), "/c/ユーザー/conf | /s");
  EXPECT_EQ(folders(nullptr, "", "/home/ソフト"),
            "/home/ソフト/.config | /home/ソフト/.local/state");
  EXPECT_EQ(folders("relative", "./s", "/"), "/.config | /.local/state");
  // Names beyond Shift-JIS and a "\\" inside a name are carried as references; a folder the
  // program cannot name exactly (bytes that are not UTF-8) is not swapped for another one.
  EXPECT_EQ(folders("/caf\u00e9", "/a\\b", "/h"), "/caf\u00e9 | /a\\b");
  EXPECT_EQ(folders(nullptr, nullptr, "/d\u00e9j\u00e0"),
            "/d\u00e9j\u00e0/.config | /d\u00e9j\u00e0/.local/state");
  EXPECT_EQ(folders("/bad\xFF", "/bad\xFE", "/h"), " | ");

  platform::SetConfigHome(lftest::S("/set/設定"));
  platform::SetStateHome(std::string("/set/state"));
  EXPECT_EQ(folders(nullptr, nullptr, "/h"), "/set/設定 | /set/state");
  platform::SetConfigHome(std::nullopt);
  platform::SetStateHome(std::nullopt);
  EXPECT_EQ(folders(nullptr, nullptr, "/h"), "/h/.config | /h/.local/state");

  const auto restored = [](const std::optional<std::string>& v) {
    return v ? v->c_str() : nullptr;
  };
  folders(restored(saved[0]), restored(saved[1]), restored(saved[2]));
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
