// The unattended run and the settings file when writing fails: the run prints the engine's
// message and ends with a non-zero status, the previous files stay, and a settings file that
// cannot be written is reported without losing its content.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <sstream>

#include "core/settings_file.h"
#include "core/unattended.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/core/program_home.h"
#include "tests/support/failing_writes.h"
#include "tests/support/fakes.h"
#include "tests/support/hostile_helpers.h"

namespace {

class UnattendedFailure : public testing::Test {
 protected:
  void SetUp() override {
    lftest::MakeDirs(Native("Favorites"));
    lftest::WriteFile(home.IniNative(), "[Dir]\r\nNNFileName=" + home.dir.Path("bookmark.htm") +
                                            "\r\nIEDirName=" + home.dir.Path("Favorites") + "\r\n");
  }
  std::string Native(const std::string& relative) const { return home.dir.NativePath(relative); }
  int Run(int operation) {
    std::ostringstream err;
    const int status = lf::RunUnattended(operation, err);
    printed = err.str();
    return status;
  }

  lftest::ProgramHome home;
  std::string printed;
};

// What stands in a shortcut's place and is not the program's is left alone: the link takes
// the next free name and the run says so; nothing is lost, so the run succeeds.
TEST_F(UnattendedFailure, AFolderInAShortcutsPlaceStaysAndTheLinkTakesTheNextName) {
  lftest::WriteFile(Native("bookmark.htm"),
                    lftest::NetscapeFile({lftest::NetscapeLink("http://b/", "B"),
                                          lftest::NetscapeLink("http://c/", "C")}));
  lftest::MakeDirs(Native("Favorites/B.url/inside"));  // a folder in the shortcut's place
  EXPECT_EQ(Run(1), 0);
  EXPECT_EQ(printed, "linkferry: ＵＲＬ[ " + Native("Favorites/B.url") +
                         " ]には別のファイルがあるため、[ " + Native("Favorites/B (2).url") +
                         " ]に書き込みました。\n");
  EXPECT_TRUE(lftest::Exists(Native("Favorites/B.url/inside")));
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/B (2).url")), lftest::UrlFileContent("http://b/"));
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/C.url")), lftest::UrlFileContent("http://c/"));
}

TEST_F(UnattendedFailure, BookmarkFileCutOffPartWayFailsTheRunAndKeepsThePreviousFile) {
  const std::string previous = lftest::NetscapeFile({lftest::NetscapeLink("http://b/", "B")});
  lftest::WriteFile(Native("bookmark.htm"), previous);
  for (int i = 0; i < 2000; ++i)
    lftest::MakeUrlFile(home.dir, "Favorites/l" + std::to_string(i) + ".url", "http://h/");
  {
    lftest::FileSizeLimit limit(4096);
    EXPECT_EQ(Run(2), 1);
  }
  EXPECT_NE(printed.find("linkferry: Ｂｏｏｋｍａｒｋ．ｈｔｍの保存で [ "), std::string::npos)
      << printed;
  EXPECT_EQ(lftest::ReadFile(Native("bookmark.htm")), previous);
  EXPECT_FALSE(lftest::Exists(Native("bookmark.old")));
}

TEST_F(UnattendedFailure, MissingBookmarkFileFailsTheRunAndLeavesTheFavoritesAlone) {
  lftest::MakeUrlFile(home.dir, "Favorites/A/a.url", "http://a/");
  const std::string before = lftest::Tree(Native("Favorites"));
  EXPECT_EQ(Run(1), 1);
  EXPECT_EQ(lftest::Tree(Native("Favorites")), before);
  EXPECT_FALSE(lftest::Exists(Native("bookmark.htm")));
}

// A Favorites folder the user may not write to (run without root's rights, which would
// write anyway): every shortcut is printed as lost, the run ends with status 1, and the
// folder keeps what it had.
TEST_F(UnattendedFailure, ReadOnlyFavoritesFolderFailsTheRunAndKeepsTheFolder) {
  lftest::WriteFile(Native("bookmark.htm"),
                    lftest::NetscapeFile({lftest::NetscapeLink("http://b/", "B"),
                                          lftest::NetscapeLink("http://c/", "C")}));
  lftest::MakeUrlFile(home.dir, "Favorites/B.url", "http://old/");
  const std::string before = lftest::Tree(Native("Favorites"));
  ASSERT_EQ(chmod(home.dir.Native().c_str(), 0777), 0);
  ASSERT_EQ(chmod(Native("Favorites").c_str(), 0555), 0);
  const std::vector<std::string> result = lftest::InChildWithoutRoot([&] {
    const int status = Run(1);
    return std::vector<std::string>{std::to_string(status), printed};
  });
  chmod(Native("Favorites").c_str(), 0755);
  ASSERT_EQ(result.size(), 2u);
  EXPECT_EQ(result[0], "1");
  const std::string denied = lftest::U(platform::ErrorText(EACCES));
  // B.url holds another address and no read took it in: B takes the next free name.
  for (const char* name : {"Favorites/B (2).url ]", "Favorites/C.url ]"})
    EXPECT_NE(result[1].find("ＵＲＬ[ " + Native(name) + "の作成で [ " + denied), std::string::npos)
        << result[1];
  EXPECT_EQ(lftest::Tree(Native("Favorites")), before);
}

// The settings file is written by page 1 after every run: where it cannot be, the message
// names it and the previous content stays.
TEST(SettingsFileFailure, UnwritableSettingsFileIsReportedAndKeepsItsContent) {
  lftest::ProgramHome home;
  lf::Settings s;
  s.Proc = 3;
  const std::string folder = home.dir.NativePath("config/linkferry");
  const std::string message = lftest::U(home.IniPath()) + " に書き込めません";
  // The user's settings folder cannot be made where a file stands in its way.
  lftest::WriteFile(home.dir.NativePath("config"), "not a folder");
  lftest::RecordingOwner owner;
  EXPECT_FALSE(lf::IniWrite(s, owner));
  EXPECT_EQ(owner.Texts(), std::vector<std::string>{message});
  EXPECT_EQ(lftest::ReadFile(home.dir.NativePath("config")), "not a folder");
  std::filesystem::remove(home.dir.NativePath("config"));

  lftest::MakeDirs(home.IniNative());  // a folder with the settings file's name
  owner.messages.clear();
  EXPECT_FALSE(lf::IniWrite(s, owner));
  EXPECT_EQ(owner.Texts(), std::vector<std::string>{message});
  EXPECT_TRUE(lftest::Tree(home.IniNative()).empty());

  // Cut off part-way by a file limit: the old file is whole and nothing is left beside it.
  std::filesystem::remove(home.IniNative());
  lftest::WriteFile(home.IniNative(),
                    "[Proc]\r\nProc=1\r\n[Keep]\r\n" + std::string(300, 'k') + "=1\r\n");
  const std::string before = lftest::Tree(folder);
  const std::vector<std::string> texts = lftest::InChildWithFileLimit(100, [&] {
    lftest::RecordingOwner child;
    lf::IniWrite(s, child);
    return child.Texts();
  });
  EXPECT_EQ(texts, std::vector<std::string>{message});
  EXPECT_EQ(lftest::Tree(folder), before);

  // In a folder the user may not write to, the same message, and the file stays.
  ASSERT_EQ(chmod(home.dir.Native().c_str(), 0777), 0);
  ASSERT_EQ(chmod(home.dir.NativePath("config").c_str(), 0777), 0);
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  const std::vector<std::string> denied = lftest::InChildWithoutRoot([&] {
    lftest::RecordingOwner child;
    lf::IniWrite(s, child);
    return child.Texts();
  });
  chmod(folder.c_str(), 0700);
  EXPECT_EQ(denied, texts);
  EXPECT_EQ(lftest::Tree(folder), before);
}

}  // namespace
