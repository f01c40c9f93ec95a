#include "core/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/command_line.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/system_info.h"
#include "tests/core/program_home.h"
#include "tests/support/failing_writes.h"
#include "tests/support/fakes.h"

namespace {

using lftest::S;

// Which settings file and which lost-data folder: the user's folders (made only on the first
// write, open to the user alone, under a home whose name is not ASCII), a portable copy's own
// file beside the program, and a file named with --settings, which wins over both.
TEST(SettingsFile, LiesInTheUsersFolderBesideAPortableCopyOrWhereTheCommandLineSays) {
  lftest::ProgramHome home;
  const std::string user = home.dir.Path("ユーザー/.config");
  platform::SetConfigHome(user);
  EXPECT_EQ(lf::IniFileName(), user + "/linkferry/linkferry.ini");
  EXPECT_EQ(lf::LostDataFolder(), home.dir.Path("state") + "/linkferry");
  lf::Settings s;
  s.Proc = 5;
  EXPECT_FALSE(lf::ReadSettings(s));
  EXPECT_EQ(s.Proc, 0);
  EXPECT_FALSE(lftest::Exists(home.dir.NativePath("ユーザー")));

  s.Proc = 4;
  lftest::RecordingOwner owner;
  ASSERT_TRUE(lf::IniWrite(s, owner));
  EXPECT_TRUE(owner.messages.empty());
  const std::string written = home.dir.NativePath("ユーザー/.config/linkferry/linkferry.ini");
  EXPECT_NE(lftest::ReadFile(written).find("[Proc]\r\nProc=4\r\n"), std::string::npos);
  for (const char* folder : {"ユーザー", "ユーザー/.config", "ユーザー/.config/linkferry"}) {
    struct stat st {};
    ASSERT_EQ(stat(home.dir.NativePath(folder).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
  }

  lftest::WriteFile(home.dir.NativePath("linkferry.ini"), "[Proc]\r\nProc=9\r\n");
  EXPECT_EQ(lf::IniFileName(), home.dir.Path("linkferry.ini"));
  EXPECT_EQ(lf::LostDataFolder(), platform::ProgramDirectory());
  ASSERT_TRUE(lf::ReadSettings(s));
  EXPECT_EQ(s.Proc, 9);

  std::vector<std::string> args{"--settings", "../other.ini", "-1"};
  std::string error;
  ASSERT_TRUE(lf::TakeSettingsOption(args, home.dir.NativePath("sub"), error)) << error;
  EXPECT_EQ(args, std::vector<std::string>{"-1"});
  EXPECT_EQ(lf::NativeText(lf::IniFileName()), home.dir.NativePath("other.ini"));
  ASSERT_TRUE(lf::IniWrite(s, owner));
  EXPECT_NE(lftest::ReadFile(home.dir.NativePath("other.ini")).find("Proc=9"), std::string::npos);

  for (std::vector<std::string> wrong : std::vector<std::vector<std::string>>{
           {"--settings"},
           {"--settings", "-1"},
           {"--settings=a.ini"},
           {"--settings", ""},
           {"--settings", "a.ini", "--run", "1", "--settings", "b.ini"}}) {
    error.clear();
    EXPECT_FALSE(lf::TakeSettingsOption(wrong, "/h", error)) << ::testing::PrintToString(wrong);
    EXPECT_FALSE(error.empty());
  }
}

TEST(SettingsFile, RoundTripsEveryValueInItsSection) {
  lftest::ProgramHome home;
  lf::Settings s;
  s.Proc = 11;
  s.NNFileName = S("C:\\Netscape\\ブックマーク.htm");
  s.IEDirName = S("C:\\WINDOWS\\Favorites");
  s.OPFileName = "C:\\Opera\\Opera6.adr";
  s.NNConv = 1;
  s.Out = 2;
  s.DBL = 1;
  s.LNK = 1;
  s.Order = 1;
  lftest::RecordingOwner owner;
  ASSERT_TRUE(lf::IniWrite(s, owner));
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_EQ(lftest::ReadFile(home.IniNative()),
            "[Proc]\r\nProc=11\r\n\r\n"
            "[Dir]\r\nNNFileName=" +
                s.NNFileName +
                "\r\nIEDirName=C:\\WINDOWS\\Favorites\r\nOPFileName=C:\\Opera\\Opera6.adr\r\n\r\n"
                "[Check]\r\nNNConv=1\r\nOut=2\r\nDBL=1\r\nLNK=1\r\nOrder=1\r\n");

  lf::Settings back;
  EXPECT_TRUE(lf::ReadSettings(back));
  EXPECT_EQ(back.Proc, 11);
  EXPECT_EQ(back.NNFileName, s.NNFileName);
  EXPECT_EQ(back.IEDirName, s.IEDirName);
  EXPECT_EQ(back.OPFileName, s.OPFileName);
  EXPECT_EQ(back.NNConv + back.Out + back.DBL + back.LNK + back.Order, 6);
}

TEST(SettingsFile, ReadsHexadecimalAndFallsBackOnNonNumbers) {
  lftest::ProgramHome home;
  lftest::WriteFile(
      home.IniNative(),
      "[check]\r\nout=0x2\r\nNNConv=$1\r\nDBL=yes\r\nLNK=0x\r\n[Proc]\r\nProc=-1\r\n");
  lf::Settings s;
  std::vector<std::string> problems;
  ASSERT_TRUE(lf::ReadSettings(s, &problems));
  EXPECT_EQ(s.Out, 2);
  EXPECT_EQ(s.NNConv, 1);
  EXPECT_EQ(s.DBL, 0);
  EXPECT_EQ(s.LNK, 0);
  // A value no window would write is said to be one, and its default is used.
  EXPECT_EQ(s.Proc, 0);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(lftest::U(problems[0]),
            home.IniNative() + " の Proc=-1 は使えない値です。0 を使います。");
}

TEST(SettingsFile, RefusedWriteShowsTheErrorAndSkipsTheRest) {
  lftest::ProgramHome home;
  lftest::WriteFile(home.IniNative(), "[Proc]\r\nProc=3\r\n");
  lf::Settings s;
  s.Proc = 7;
  lftest::RecordingOwner owner;
  bool written;
  {
    lftest::FileSizeLimit limit(0);  // as good as a full disk
    written = lf::IniWrite(s, owner);
  }
  EXPECT_FALSE(written);
  ASSERT_EQ(owner.messages.size(), 1u);  // one message, not one per key
  EXPECT_EQ(owner.messages[0].text, home.IniPath() + S(" に書き込めません"));
  EXPECT_EQ(owner.messages[0].caption, lf::MessageCaption());
  EXPECT_EQ(owner.messages[0].flags, lf::kMbIconError | lf::kMbOk);
  EXPECT_EQ(lftest::ReadFile(home.IniNative()), "[Proc]\r\nProc=3\r\n");
}

TEST(History, KeysRunFromZeroOneAndAGapEndsTheHistory) {
  EXPECT_EQ(lf::HistoryKey("NNFile", 1), "NNFile01");
  EXPECT_EQ(lf::HistoryKey("IEDir", 42), "IEDir42");
  EXPECT_EQ(lf::HistoryKey("OPFile", 99), "OPFile99");

  lftest::ProgramHome home;
  lftest::WriteFile(home.IniNative(),
                    "[Dir]\r\nNNFile01=a\r\nNNFile03=c\r\nIEDir01=\r\nIEDir02=x\r\n");
  const platform::IniFile ini(lf::IniFileName());
  EXPECT_EQ(lf::ReadHistory(ini, lf::kNNHistory), std::vector<std::string>{"a"});
  EXPECT_TRUE(lf::ReadHistory(ini, lf::kIEHistory).empty());
}

TEST(History, WritingRenumbersLeavesOutTheCurrentValueAndEmptyLines) {
  lftest::ProgramHome home;
  lftest::WriteFile(home.IniNative(), "[Dir]\r\nNNFile01=b\r\nNNFile02=c\r\nNNFile03=d\r\n");
  platform::IniFile ini(lf::IniFileName());
  // The list of a combo box: the old value first, then the history; "c" was chosen.
  lf::WriteHistory(ini, lf::kNNHistory, {"", "b", "c", "d"}, "c");
  EXPECT_EQ(lf::ReadHistory(ini, lf::kNNHistory), (std::vector<std::string>{"b", "d"}));
  // The third key, left over from the longer history, no longer holds "d".
  EXPECT_EQ(ini.ReadString("Dir", "NNFile03", "?"), "");
}

TEST(History, KeepsTheNewestNinetyNine) {
  lftest::ProgramHome home;
  std::vector<std::string> lines;
  for (int i = 0; i < 120; ++i) lines.push_back("p" + std::to_string(i));
  lf::MakeSettingsFolder();
  platform::IniFile ini(lf::IniFileName());
  lf::WriteHistory(ini, lf::kOPHistory, lines, "new");
  const auto history = lf::ReadHistory(ini, lf::kOPHistory);
  ASSERT_EQ(history.size(), 99u);
  EXPECT_EQ(history.front(), "p0");
  EXPECT_EQ(history.back(), "p98");
  EXPECT_EQ(ini.ReadString("Dir", "OPFile00", "none"), "none");
}

TEST(Locations, AreWrittenWithTheirHistoriesAndReadBack) {
  lftest::ProgramHome home;
  lf::WriteLocations("n2", {"n1", "n2", "n0"}, "i1", {"", "i0"}, "", {""});
  const lf::StoredLocations stored = lf::ReadLocations();
  EXPECT_EQ(stored.nn.value, "n2");
  EXPECT_EQ(stored.nn.history, (std::vector<std::string>{"n1", "n0"}));
  EXPECT_EQ(stored.ie.value, "i1");
  EXPECT_EQ(stored.ie.history, std::vector<std::string>{"i0"});
  EXPECT_EQ(stored.op.value, "");
  EXPECT_TRUE(stored.op.history.empty());
}

TEST(CommandLine, OnlyOneDashDigitArgumentRunsUnattended) {
  EXPECT_EQ(lf::AutoOperationOf({"-1"}), 1);
  EXPECT_EQ(lf::AutoOperationOf({"-2"}), 2);
  EXPECT_EQ(lf::AutoOperationOf({"-3"}), 3);
  EXPECT_EQ(lf::AutoOperationOf({"-1x"}), 1);  // characters after the digit do not count
  EXPECT_EQ(lf::AutoOperationOf({"-11"}), 1);
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"-4"}, {"-0"}, {"2"}, {"x2"}, {"-"}, {""}, {"--1"}, {"-1", "-2"}, {"-2", "x"}})
    EXPECT_EQ(lf::AutoOperationOf(args), 0) << ::testing::PrintToString(args);
}

}  // namespace
