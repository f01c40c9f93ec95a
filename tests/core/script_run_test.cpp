// The scripted command line: what the parser accepts and refuses, where the settings of a run
// come from, and the built program run with it in a temporary folder without any display.
#include "core/script_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/core/program_home.h"

namespace {

using Args = std::vector<std::string>;
using lf::ScriptCommand;
using lftest::NetscapeFile;
using lftest::NetscapeLink;
using lftest::S;

ScriptCommand Parse(const Args& args, const std::string& cwd = "/work/here") {
  return lf::ParseScriptCommand(args, cwd);
}

TEST(ScriptCommandLine, OnlyItsOwnOptionsSelectIt) {
  for (const Args& args : {Args{"--run", "1"}, Args{"--help"}, Args{"--version"},
                           Args{"x", "--lnk"}, Args{"--run=1"}, Args{"-2", "--out"}})
    EXPECT_TRUE(lf::IsScriptCommandLine(args)) << ::testing::PrintToString(args);
  // The unattended run, page 1 and the window system's own options keep their meaning.
  for (const Args& args : {Args{}, Args{"-1"}, Args{"-3rd"}, Args{"-2", "x"},
                           Args{"--style", "fusion"}, Args{"--runs"}, Args{"-run"}})
    EXPECT_FALSE(lf::IsScriptCommandLine(args)) << ::testing::PrintToString(args);
}

TEST(ScriptCommandLine, AcceptsEveryOperationAndOptionInAnyOrder) {
  const ScriptCommand bare = Parse({"--run", "1"});
  ASSERT_EQ(bare.action, ScriptCommand::Action::Run) << bare.error;
  EXPECT_EQ(bare.operation, 1);
  EXPECT_FALSE(bare.nnFile || bare.ieDir || bare.opFile || bare.out || bare.nnConv || bare.lnk);

  for (const auto& [text, number] :
       std::vector<std::pair<std::string, int>>{{"2", 2}, {"3", 3}, {"10", 10}, {"11", 11}})
    EXPECT_EQ(Parse({"--run", text}).operation, number);

  const ScriptCommand full =
      Parse({"--lnk", "1", "--opera", "/h/o.adr", "--out", "euc", "--run", "10", "--nnconv", "0",
             "--ie", "/h/Favorites", "--nn", "/h/bookmark.htm"});
  ASSERT_EQ(full.action, ScriptCommand::Action::Run) << full.error;
  EXPECT_EQ(full.operation, 10);
  EXPECT_EQ(*full.nnFile, "\\h\\bookmark.htm");
  EXPECT_EQ(*full.ieDir, "\\h\\Favorites");
  EXPECT_EQ(*full.opFile, "\\h\\o.adr");
  EXPECT_EQ(*full.out, 1);
  EXPECT_EQ(*full.nnConv, 0);
  EXPECT_EQ(*full.lnk, 1);

  EXPECT_EQ(Parse({"--help"}).action, ScriptCommand::Action::Help);
  EXPECT_EQ(Parse({"--version"}).action, ScriptCommand::Action::Version);
}

TEST(ScriptCommandLine, PathsBecomeAbsoluteProgramPaths) {
  const auto ie = [](const std::string& arg, const std::string& cwd) {
    const ScriptCommand c = Parse({"--run", "1", "--ie", arg}, cwd);
    EXPECT_EQ(c.action, ScriptCommand::Action::Run) << c.error;
    return c.ieDir.value_or("(none)");
  };
  EXPECT_EQ(ie("Favorites", "/home/u"), "\\home\\u\\Favorites");
  // The Favorites writer refuses any path that climbs up, so ".." must not reach it.
  EXPECT_EQ(ie("../fav/./x/", "/home/u/w"), "\\home\\u\\fav\\x");
  EXPECT_EQ(ie("/abs//dir/", "/ignored"), "\\abs\\dir");
  // A relative "c:..." is a folder here, never drive C.
  EXPECT_EQ(ie("c:fav", "/home/u"), "\\home\\u\\c:fav");
  // The second byte of "ソ" is 0x5C, and it stays part of the character.
  EXPECT_EQ(ie("ソフト/お気に入り", "/home/ユーザー"), S("\\home\\ユーザー\\ソフト\\お気に入り"));
}

TEST(ScriptCommandLine, RefusesWrongCommandLines) {
  const std::vector<Args> wrong = {
      {},
      {"--nn", "/h/b.htm"},
      {"--run"},
      {"--run", "4"},
      {"--run", "01"},
      {"--run", "1", "--out", "utf8", "--out", "utf8"},
      {"--run", "1", "--bogus"},
      {"--run=1"},
      {"--run", "1", "stray"},
      {"stray", "--run", "1"},
      {"--run", "1", "--out", "SJIS"},
      {"--run", "1", "--nnconv", "2"},
      {"--run", "1", "--lnk"},
      {"--run", "1", "--nn", "--ie", "/h/f"},  // the value of --nn left out
      {"--run", "1", "--nn", ""},
      {"--help", "--run", "1"},
  };
  for (const Args& args : wrong) {
    const ScriptCommand c = Parse(args);
    EXPECT_EQ(c.action, ScriptCommand::Action::Wrong) << ::testing::PrintToString(args);
    EXPECT_FALSE(c.error.empty()) << ::testing::PrintToString(args);
  }
}

// A name that code page 932 cannot hold (é, or the wave dash that would come back as a
// full-width tilde) and a backslash inside a name come in as references and go back to the
// file system as the same bytes; only bytes that are no UTF-8 have no form.
TEST(ScriptCommandLine, TakesEveryNameThatGoesBackUnchanged) {
  const std::string names[] = {"/h/caf\u00e9.htm", "/h/a\u301cb.htm", "/h/a\\b.htm"};
  const std::string paths[] = {"\\h\\caf&#233;.htm", "\\h\\a&#12316;b.htm", "\\h\\a&#92;b.htm"};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    const ScriptCommand c = Parse({"--run", "1", "--nn", names[i]});
    ASSERT_EQ(c.action, ScriptCommand::Action::Run) << c.error;
    EXPECT_EQ(c.nnFile.value_or(""), paths[i]);
    std::string native;
    ASSERT_EQ(platform::ToNativePath(*c.nnFile, native), 0);
    EXPECT_EQ(native, names[i]);
  }
  const ScriptCommand bad = Parse({"--run", "1", "--nn", "/h/a\xFF.htm"});
  EXPECT_EQ(bad.action, ScriptCommand::Action::Wrong);
  EXPECT_NE(bad.error.find("/h/a\xFF.htm"), std::string::npos) << bad.error;
  EXPECT_EQ(Parse({"--run", "11", "--opera", "h.adr"}, "/d\u00e9j\u00e0").opFile.value_or(""),
            "\\d&#233;j&#224;\\h.adr");
  // Without a current folder only absolute paths can be used.
  EXPECT_EQ(Parse({"--run", "11", "--opera", "h.adr"}, "").action, ScriptCommand::Action::Wrong);
  EXPECT_EQ(Parse({"--run", "11", "--opera", "/h.adr"}, "").action, ScriptCommand::Action::Run);
}

TEST(ScriptCommandLine, SettingsComeFromTheFileUnlessGiven) {
  lftest::ProgramHome home;
  const ScriptCommand command =
      Parse({"--run", "2", "--ie", "/x/Fav", "--out", "utf8", "--lnk", "0"});

  lf::Settings defaults = lf::ScriptSettings(command);
  EXPECT_EQ(defaults.NNFileName, "");
  EXPECT_EQ(defaults.IEDirName, "\\x\\Fav");
  EXPECT_EQ(defaults.Out, 2);
  EXPECT_EQ(defaults.NNConv, 0);
  EXPECT_FALSE(lftest::Exists(home.IniNative()));

  const std::string ini =
      "[Dir]\r\nNNFileName=C:\\nn.htm\r\nIEDirName=C:\\ie\r\nOPFileName=C:\\op.adr\r\n"
      "[Check]\r\nNNConv=1\r\nOut=1\r\nLNK=1\r\nDBL=1\r\n";
  lftest::WriteFile(home.IniNative(), ini);
  const lf::Settings s = lf::ScriptSettings(command);
  EXPECT_EQ(s.NNFileName, "C:\\nn.htm");
  EXPECT_EQ(s.IEDirName, "\\x\\Fav");
  EXPECT_EQ(s.OPFileName, "C:\\op.adr");
  EXPECT_EQ(s.NNConv, 1);
  EXPECT_EQ(s.Out, 2);
  EXPECT_EQ(s.LNK, 0);
  EXPECT_EQ(lftest::ReadFile(home.IniNative()), ini);
}

// The built program, copied into a temporary folder with the user's folders below it (so
// that its settings file and lost-data log are there), run without any display.
class ScriptRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(LINKFERRY_PROGRAM, Native("linkferry"));
    lftest::MakeDirs(Native("Favorites"));
  }

  std::string Native(const std::string& relative) const { return home.dir.NativePath(relative); }

  int Run(const Args& args) { return home.RunWithoutDisplay(args, out, err); }

  // What stands beside the program, without the output the runs leave there.
  Args Names() const {
    Args names;
    for (const auto& item : std::filesystem::directory_iterator(home.dir.Native())) {
      const std::string name = item.path().filename().string();
      if (name != "out.txt" && name != "err.txt") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  lftest::ProgramHome home;
  std::string err, out;
};

TEST_F(ScriptRun, OperationOneWritesTheFavoritesFromRelativePaths) {
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B"),
                                                          NetscapeLink("http://t/", "天気")}));
  EXPECT_EQ(Run({"--run", "1", "--nn", "bookmark.htm", "--ie", "./Favorites/"}), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_EQ(out, "ＩＥ ｕｒｌ数: 2, ＮＮ ｕｒｌ数: 2, 変換エラー数: 0\n");
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/B.url")), lftest::UrlFileContent("http://host/b"));
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/天気.url")), lftest::UrlFileContent("http://t/"));
  EXPECT_FALSE(lftest::Exists(home.IniNative()));
}

TEST_F(ScriptRun, CommandLineValuesOverrideTheSettingsFileWhichStaysUnchanged) {
  lftest::MakeDirs(Native("Other"));
  const std::string ini =
      "[Proc]\r\nProc=5\r\n[Dir]\r\nNNFileName=" + home.dir.Path("bookmark.htm") +
      "\r\nIEDirName=" + home.dir.Path("Other") + "\r\n";
  lftest::WriteFile(home.IniNative(), ini);
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  EXPECT_EQ(Run({"--ie", Native("Favorites"), "--run", "1"}), 0) << err;
  EXPECT_TRUE(lftest::Exists(Native("Favorites/B.url")));
  EXPECT_FALSE(lftest::Exists(Native("Other/B.url")));
  EXPECT_EQ(lftest::ReadFile(home.IniNative()), ini);
}

TEST_F(ScriptRun, HotlistIntoAUtf8BookmarkFile) {
  lftest::WriteFile(Native("h.adr"),
                    "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n"
                    "#URL\r\n\tNAME=天気\r\n\tURL=http://t/\r\n\r\n");
  EXPECT_EQ(Run({"--run", "10", "--opera", "h.adr", "--nn", "bookmark.htm", "--ie", "Favorites",
                 "--out", "utf8"}),
            0)
      << err;
  EXPECT_EQ(out, "ＯＰ ｕｒｌ数: 1, ＮＮ ｕｒｌ数: 1, 変換エラー数: 0\n");
  const std::string written = lftest::ReadFile(Native("bookmark.htm"));
  EXPECT_NE(written.find("charset=UTF-8"), std::string::npos) << written;
  EXPECT_NE(written.find("HREF=\"http://t/\""), std::string::npos) << written;
  EXPECT_NE(written.find(">天気</A>"), std::string::npos) << written;
}

TEST_F(ScriptRun, FailuresGoToStandardErrorInUtf8AndEndWithStatusOne) {
  // An input that is not there: the reader's message, and still the summary.
  EXPECT_EQ(Run({"--run", "1", "--nn", "missing.htm", "--ie", "Favorites"}), 1);
  EXPECT_NE(err.find("linkferry: Ｂｏｏｋｍａｒｋファイル[ "), std::string::npos)
      << err;
  EXPECT_EQ(out, "ＩＥ ｕｒｌ数: 0, ＮＮ ｕｒｌ数: 0, 変換エラー数: 0\n");

  // A target that is a folder.
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  lftest::MakeDirs(Native("folder.adr"));
  EXPECT_EQ(Run({"--run", "11", "--nn", "bookmark.htm", "--opera", "folder.adr", "--ie", "F"}), 1);
  EXPECT_NE(err.find("linkferry: Ｏｐｅｒａ６．ａｄｒの保存で [ "), std::string::npos) << err;

  // Nothing to convert into the bookmark file: it is kept, and the run says why.
  const std::string before = lftest::ReadFile(Native("bookmark.htm"));
  EXPECT_EQ(Run({"--run", "2", "--nn", "bookmark.htm", "--ie", "Favorites"}), 1);
  EXPECT_EQ(err, "linkferry: お気に入りのＵＲＬがありません。フォルダの再確認を行ってください。\n");
  EXPECT_EQ(out, "ＩＥ ｕｒｌ数: 0, ＮＮ ｕｒｌ数: 0, 変換エラー数: 0\n");
  EXPECT_EQ(lftest::ReadFile(Native("bookmark.htm")), before);
}

// Every link a run saw is written or counted as a conversion error and listed in the lost-data
// log, in every operation; a run that lost one ends with status 1.
TEST_F(ScriptRun, EveryLinkNotConvertedIsCountedListedAndFailsTheRun) {
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B"),
                                                          NetscapeLink("http://host/c", "B"),
                                                          NetscapeLink("notes.html", "Notes")}));
  // The log names every link by its whole path as the system names it.
  const std::string fav = Native("Favorites");

  // Two links of one name are both written; an address without a scheme has no shortcut.
  EXPECT_EQ(Run({"--run", "1", "--nn", "bookmark.htm", "--ie", "Favorites"}), 1);
  EXPECT_EQ(out, "ＩＥ ｕｒｌ数: 2, ＮＮ ｕｒｌ数: 3, 変換エラー数: 1\n");
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/B.url")), lftest::UrlFileContent("http://host/b"));
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/B (2).url")),
            lftest::UrlFileContent("http://host/c"));
  EXPECT_EQ(lftest::ReadFile(home.StateLogNative()), "URL Error : " + fav + "/Notes.url\n");

  // The merge counts what its first half lost, though only its second half's links.
  EXPECT_EQ(Run({"--run", "3", "--nn", "bookmark.htm", "--ie", "Favorites"}), 1);
  EXPECT_EQ(out, "ＩＥ ｕｒｌ数: 2, ＮＮ ｕｒｌ数: 2, 変換エラー数: 1\n");

  // A hotlist that cannot be written loses every link.
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B"),
                                                          NetscapeLink("mailto:a@b", "Mail")}));
  lftest::MakeDirs(Native("folder.adr"));
  EXPECT_EQ(
      Run({"--run", "11", "--nn", "bookmark.htm", "--opera", "folder.adr", "--ie", "Favorites"}),
      1);
  EXPECT_EQ(out, "ＯＰ ｕｒｌ数: 0, ＮＮ ｕｒｌ数: 2, 変換エラー数: 2\n");
  EXPECT_EQ(lftest::ReadFile(home.StateLogNative()),
            "File Error : " + fav + "/B\nFile Error : " + fav + "/Mail\n");
}

TEST_F(ScriptRun, ASettingsFileThatCannotBeReadStopsTheRunBeforeItStarts) {
  // The values not given would otherwise come from the defaults without a word.
  lftest::MakeDirs(Native("config/linkferry"));
  ASSERT_EQ(mkfifo(home.IniNative().c_str(), 0600), 0);
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  EXPECT_EQ(Run({"--run", "1", "--nn", "bookmark.htm", "--ie", "Favorites"}), 1);
  EXPECT_NE(err.find("linkferry.ini を読み込めません [ "), std::string::npos) << err;
  EXPECT_EQ(out, "");
  EXPECT_FALSE(lftest::Exists(Native("Favorites/B.url")));
}

TEST_F(ScriptRun, WrongCommandLineHelpAndVersion) {
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://host/b", "B")}));
  EXPECT_EQ(Run({"--run", "4", "--nn", "bookmark.htm", "--ie", "Favorites"}), 2);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "linkferry: --run takes 1, 2, 3, 10 or 11, not \"4\"\n" + lf::ScriptUsage());
  EXPECT_EQ(Run({"--run", "1", "--nn", "bookmark.htm", "--ie", "Favorites", "extra"}), 2);
  EXPECT_NE(err.find("Usage: linkferry [--settings FILE]"), std::string::npos) << err;
  EXPECT_FALSE(lftest::Exists(Native("Favorites/B.url")));

  // Help names the files of this start: the user's, as no settings file is beside the copy.
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_EQ(out, lf::ScriptUsage() +
                     "Here:\n  settings: " + Native("config/linkferry/linkferry.ini") +
                     "\n  LostData.txt: " + home.StateLogNative() + "\n");
  EXPECT_EQ(err, "");
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(out, "Linkferry Version 13.03  (2002/10/18)\n");
  EXPECT_FALSE(lftest::Exists(home.IniNative()));
}

// An installed program: links it could not convert go to the user's state folder, and the run
// says where; nothing is written beside the program. A state folder that cannot be made
// fails the run, and the converted links are written all the same.
TEST_F(ScriptRun, LostLinksAreListedInTheUsersStateFolder) {
  lftest::MakeUrlFile(home.dir, "Favorites/A.url", "http://host/a");
  lftest::WriteFile(Native("Favorites/B.url"), "[InternetShortcut]\r\n");  // no address
  lftest::WriteFile(Native("mine.ini"),
                    "[Dir]\r\nIEDirName=" + home.dir.Path("Favorites") + "\r\n");
  const std::string summary = "ＩＥ ｕｒｌ数: 1, ＮＮ ｕｒｌ数: 1, 変換エラー数: 1\n";
  // A run that lost a link ends with status 1.
  EXPECT_EQ(Run({"--run", "2", "--settings", "mine.ini", "--nn", "bookmark.htm"}), 1) << err;
  EXPECT_EQ(out, summary);
  EXPECT_EQ(err, "linkferry: the links that could not be converted are listed in " +
                     home.StateLogNative() + "\n");
  EXPECT_EQ(lftest::ReadFile(home.StateLogNative()),
            "URL Error : " + Native("Favorites/B.url") + "\n");
  EXPECT_EQ(Names(), (Args{"Favorites", "bookmark.htm", "linkferry", "mine.ini", "state"}));

  std::filesystem::remove_all(Native("state"));
  std::filesystem::remove(Native("bookmark.htm"));
  lftest::WriteFile(Native("state"), "");
  EXPECT_EQ(Run({"--run", "2", "--settings", "mine.ini", "--nn", "bookmark.htm"}), 1);
  EXPECT_NE(err.find("linkferry: ＬｏｓｔＤａｔａ．ｔｘｔ[ "), std::string::npos) << err;
  EXPECT_EQ(out, summary);
  EXPECT_NE(lftest::ReadFile(Native("bookmark.htm")).find("\"http://host/a\""), std::string::npos);

  // A settings file named on the command line and not there is a mistake, not a first start.
  EXPECT_EQ(Run({"--run", "2", "--settings", "mien.ini", "--nn", "bookmark.htm"}), 1);
  EXPECT_NE(err.find("mien.ini を読み込めません [ "), std::string::npos) << err;
  EXPECT_EQ(out, "");
}

TEST_F(ScriptRun, TheWindowsWithoutADisplaySayWhatToDoInstead) {
  const std::string line =
      "linkferry: no display to open the windows on (DISPLAY and WAYLAND_DISPLAY are not set): "
      "start them with xvfb-run linkferry, or convert without windows with linkferry --run N "
      "(see linkferry --help)\n";
  for (const Args& args : {Args{}, Args{"--settings", "mine.ini"}, Args{"-4"}}) {
    EXPECT_EQ(Run(args), 2) << ::testing::PrintToString(args);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, line);
  }
  EXPECT_FALSE(lftest::Exists(Native("config")));
  EXPECT_FALSE(lftest::Exists(Native("mine.ini")));
}

// A DISPLAY left behind by a session that has ended: the window system would abort the program
// with words of its own.
TEST_F(ScriptRun, ADisplayThatCannotBeOpenedIsSaidAndEndsAsWithoutOne) {
  const std::string display = ":8765";
  ASSERT_FALSE(lftest::Exists("/tmp/.X11-unix/X8765"));
  EXPECT_EQ(home.RunOnDisplay(display, {}, out, err), 2);
  EXPECT_EQ(out, "");
  const std::string line =
      "linkferry: the display to open the windows on (DISPLAY=:8765) cannot be opened: start "
      "them on another one, with xvfb-run linkferry, or convert without windows with linkferry "
      "--run N (see linkferry --help)\n";
  EXPECT_TRUE(err.ends_with(line)) << err;
  EXPECT_FALSE(lftest::Exists(Native("config")));
}

}  // namespace
