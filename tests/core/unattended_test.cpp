// The unattended run as the user starts it: a copy of the built program in a temporary
// folder with the user's folders below it, run with -1, -2 or -3 and without any display.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/core/program_home.h"

namespace {

using lftest::NetscapeFile;
using lftest::NetscapeLink;
using lftest::S;

class UnattendedRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(LINKFERRY_PROGRAM, Native("linkferry"));
    lftest::MakeDirs(Native("Favorites"));
  }

  std::string Native(const std::string& relative) const { return home.dir.NativePath(relative); }

  void WriteSettings(const std::string& check = "") const {
    lftest::WriteFile(home.IniNative(), "[Dir]\r\nNNFileName=" + home.dir.Path("bookmark.htm") +
                                            "\r\nIEDirName=" + home.dir.Path("Favorites") +
                                            "\r\n[Check]\r\n" + check);
  }

  // Runs the copy; the exit status, with standard error in err.
  int Run(const std::string& argument) { return Run(std::vector<std::string>{argument}); }
  int Run(const std::vector<std::string>& args) { return home.RunWithoutDisplay(args, out, err); }

  lftest::ProgramHome home;
  std::string err, out;
};

TEST_F(UnattendedRun, OperationOneWritesTheFavoritesAndLeavesTheSettingsAlone) {
  WriteSettings();
  const std::string settings = lftest::ReadFile(home.IniNative());
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  EXPECT_EQ(Run("-1"), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_EQ(out, "");
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/B.url")), lftest::UrlFileContent("http://host/b"));
  EXPECT_EQ(lftest::ReadFile(home.IniNative()), settings);
}

TEST_F(UnattendedRun, OperationTwoKeepsTheNetscapeLinksWithNnConv) {
  WriteSettings("NNConv=1\r\n");
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  lftest::MakeUrlFile(home.dir, "Favorites/C.url", "http://host/c");
  EXPECT_EQ(Run("-2"), 0) << err;
  const std::string written = lftest::ReadFile(Native("bookmark.htm"));
  EXPECT_NE(written.find("\"http://host/b\""), std::string::npos);
  EXPECT_NE(written.find("\"http://host/c\""), std::string::npos);
  EXPECT_TRUE(lftest::Exists(Native("bookmark.old")));
}

TEST_F(UnattendedRun, OperationThreeRebuildsBoth) {
  WriteSettings();
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  lftest::MakeUrlFile(home.dir, "Favorites/C.url", "http://host/c");
  EXPECT_EQ(Run("-3rd"), 0) << err;  // only the first two characters count
  EXPECT_TRUE(lftest::Exists(Native("Favorites/B.url")));
  EXPECT_NE(lftest::ReadFile(Native("bookmark.htm")).find("\"http://host/c\""), std::string::npos);
}

TEST_F(UnattendedRun, WithoutASettingsFileNothingHappens) {
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  EXPECT_EQ(Run("-1"), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_FALSE(lftest::Exists(Native("Favorites/B.url")));
  EXPECT_FALSE(lftest::Exists(home.IniNative()));
  EXPECT_FALSE(lftest::Exists(Native("config")));

  // The same for a file named with --settings; once it is there, it is the one used.
  EXPECT_EQ(Run({"--settings", "mine.ini", "-1"}), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_FALSE(lftest::Exists(Native("Favorites/B.url")));
  WriteSettings();
  std::filesystem::rename(home.IniNative(), Native("mine.ini"));
  EXPECT_EQ(Run({"-1", "--settings", "mine.ini"}), 0) << err;
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/B.url")), lftest::UrlFileContent("http://host/b"));
}

TEST_F(UnattendedRun, ASettingsFileThatCannotBeReadIsNoAbsentOne) {
  // A pipe stands for a file the user may not read (as root, permissions do not stop reads).
  lftest::MakeDirs(Native("config/linkferry"));
  ASSERT_EQ(mkfifo(home.IniNative().c_str(), 0600), 0);
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  EXPECT_EQ(Run("-1"), 1);
  EXPECT_NE(err.find("linkferry.ini を読み込めません [ "), std::string::npos) << err;
  EXPECT_EQ(out, "");
  EXPECT_FALSE(lftest::Exists(Native("Favorites/B.url")));
}

TEST_F(UnattendedRun, ErrorsGoToStandardErrorAndFailTheRun) {
  WriteSettings();  // the bookmark file is missing
  EXPECT_EQ(Run("-1"), 1);
  EXPECT_NE(err.find("linkferry: Ｂｏｏｋｍａｒｋファイル[ "), std::string::npos)
      << err;
}

}  // namespace
