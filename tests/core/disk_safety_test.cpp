// What a user has on disk survives every run of the built program: a run whose source fails
// writes nothing, a folder it cannot read is said to be lost, a shortcut or file that is not
// the program's to change stays byte for byte, titles stay titles, and backups stay apart.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/core/program_home.h"
#include "tests/support/hostile_helpers.h"

namespace {

using Args = std::vector<std::string>;
using lftest::NetscapeFile;
using lftest::NetscapeLink;

class DiskSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(LINKFERRY_PROGRAM, Native("linkferry"));
    lftest::MakeDirs(Native("Favorites"));
  }
  std::string Native(const std::string& relative) const { return home.dir.NativePath(relative); }
  int Run(const Args& args) { return home.RunWithoutDisplay(args, out, err); }

  lftest::ProgramHome home;
  std::string out, err;
};

const std::string kHotlist =
    "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n#URL\r\n"
    "        NAME=Kept\r\n        URL=http://kept/\r\n\r\n";

TEST_F(DiskSafety, ASourceThatFailsOrHoldsNoLinkReplacesNothing) {
  lftest::WriteFile(Native("hot.adr"), kHotlist);
  lftest::MakeDirs(Native("folder.htm"));
  ASSERT_EQ(mkfifo(Native("pipe.htm").c_str(), 0600), 0);
  lftest::WriteFile(Native("empty.htm"), NetscapeFile({}));
  for (const char* source : {"typo.htm", "folder.htm", "pipe.htm", "empty.htm"}) {
    EXPECT_EQ(Run({"--run", "11", "--nn", source, "--opera", "hot.adr"}), 1) << source;
    EXPECT_NE(err.find(source), std::string::npos) << err;  // the message names the file
  }
  EXPECT_EQ(lftest::ReadFile(Native("hot.adr")), kHotlist);
  EXPECT_FALSE(lftest::Exists(Native("hot.old")));
  EXPECT_NE(err.find("にはＵＲＬがありません。何も書き込みませんでした。"), std::string::npos);
}

// Run without root's rights, as every user runs it: a folder the user may not list.
TEST_F(DiskSafety, AFolderThatCannotBeListedIsLostAloudAndNotWrittenEmpty) {
  lftest::MakeUrlFile(home.dir, "Favorites/Open/a.url", "http://a/");
  lftest::MakeUrlFile(home.dir, "Favorites/Locked/b.url", "http://b/");
  ASSERT_EQ(chmod(home.dir.Native().c_str(), 0777), 0);
  for (const char* name : {"Favorites", "Favorites/Open", "Favorites/Locked", "state"}) {
    lftest::MakeDirs(Native(name));
    ASSERT_EQ(chmod(Native(name).c_str(), 0777), 0);
  }
  ASSERT_EQ(chmod(Native("Favorites/Locked").c_str(), 0), 0);
  const std::vector<std::string> result = lftest::InChildWithoutRoot([&] {
    const int status = Run({"--run", "2", "--nn", "bookmark.htm", "--ie", "Favorites"});
    return std::vector<std::string>{std::to_string(status), out,
                                    lftest::ReadFile(Native("bookmark.htm")),
                                    lftest::ReadFile(home.StateLogNative())};
  });
  chmod(Native("Favorites/Locked").c_str(), 0755);
  ASSERT_EQ(result.size(), 4u);
  EXPECT_EQ(result[0], "1");
  EXPECT_EQ(result[1], "ＩＥ ｕｒｌ数: 1, ＮＮ ｕｒｌ数: 1, 変換エラー数: 1\n");
  EXPECT_NE(result[2].find("Open</H3>"), std::string::npos);
  EXPECT_EQ(result[2].find("Locked"), std::string::npos);
  EXPECT_EQ(result[3].rfind("Dir  Error : " + Native("Favorites/Locked") + " [ ", 0), 0u)
      << result[3];
}

TEST_F(DiskSafety, ShortcutsAndFilesThatAreNotTheProgramsStayByteForByte) {
  // A shortcut as Windows writes it: a byte order mark, more sections and keys, a capital
  // extension; and a text file of the user's own under a link's name.
  const std::string shortcut =
      "\xEF\xBB\xBF[DEFAULT]\r\nBASEURL=http://same/\r\n[InternetShortcut]\r\nURL=http://same/\r\n"
      "IconFile=http://same/favicon.ico\r\nIconIndex=1\r\nHotKey=0\r\n";
  lftest::WriteFile(Native("Favorites/大文字.URL"), shortcut);
  lftest::WriteFile(Native("Favorites/B.url"), "my own notes");
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://same/", "大文字"),
                                                          NetscapeLink("http://b/", "B")}));
  EXPECT_EQ(Run({"--run", "1", "--nn", "bookmark.htm", "--ie", "Favorites"}), 0) << err;
  EXPECT_EQ(lftest::Tree(Native("Favorites")),
            "B (2).url: " + lftest::UrlFileContent("http://b/") + "\nB.url: my own notes\n" +
                "大文字.URL: " + shortcut + "\n");
  EXPECT_NE(err.find("B (2).url ]に書き込みました。"), std::string::npos) << err;
}

TEST_F(DiskSafety, TheMergeKeepsTheBookmarkFilesTitles) {
  const std::string odd = "A/B: what? &quot;quoted&quot; &lt;x&gt; | *star*";
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://odd/", odd),
                                                          NetscapeLink("http://one/", "同じ名前"),
                                                          NetscapeLink("http://two/", "同じ名前")}));
  EXPECT_EQ(Run({"--run", "3", "--nn", "bookmark.htm", "--ie", "Favorites"}), 0) << err;
  const std::string written = lftest::U(lftest::ReadFile(Native("bookmark.htm")));
  EXPECT_NE(written.find(">" + odd + "</A>"), std::string::npos) << written;
  EXPECT_NE(written.find("\"http://one/\""), std::string::npos);
  EXPECT_NE(written.find("\"http://two/\""), std::string::npos);
  EXPECT_EQ(written.find("同じ名前 (2)"), std::string::npos) << written;
}

TEST_F(DiskSafety, TheBackupOfOneFileNeverReplacesTheBackupOfAnother) {
  const std::string bookmarks = NetscapeFile({NetscapeLink("http://b/", "B")});
  lftest::WriteFile(Native("book.htm"), bookmarks);
  lftest::WriteFile(Native("book.adr"), kHotlist);
  EXPECT_EQ(Run({"--run", "11", "--nn", "book.htm", "--opera", "book.adr"}), 0) << err;
  EXPECT_EQ(Run({"--run", "10", "--nn", "book.htm", "--opera", "book.adr"}), 0) << err;
  EXPECT_EQ(lftest::ReadFile(Native("book.adr.old")), kHotlist);
  EXPECT_EQ(lftest::ReadFile(Native("book.htm.old")), bookmarks);
  EXPECT_FALSE(lftest::Exists(Native("book.old")));
}

TEST_F(DiskSafety, SettingsThatCannotBeUsedAreSaid) {
  lftest::MakeDirs(Native("folder.ini"));
  lftest::WriteFile(Native("bookmark.htm"), NetscapeFile({NetscapeLink("http://b/", "B")}));
  EXPECT_EQ(Run({"--settings", "folder.ini", "--run", "1", "--nn", "bookmark.htm", "--ie",
                 "Favorites"}),
            1);
  EXPECT_NE(err.find("folder.ini を読み込めません"), std::string::npos) << err;
  EXPECT_FALSE(lftest::Exists(Native("Favorites/B.url")));

  // A value out of its range is said and its default used: the file declares Shift_JIS.
  lftest::WriteFile(Native("odd.ini"), "[Check]\r\nOut=7\r\n");
  EXPECT_EQ(Run({"--settings", "odd.ini", "--run", "10", "--nn", "out.htm", "--opera",
                 "hot.adr"}),
            1);  // no hotlist yet
  lftest::WriteFile(Native("hot.adr"), kHotlist);
  EXPECT_EQ(Run({"--settings", "odd.ini", "--run", "10", "--nn", "out.htm", "--opera",
                 "hot.adr"}),
            0) << err;
  EXPECT_NE(err.find("Out=7 は使えない値です。0 を使います。"), std::string::npos) << err;
  EXPECT_NE(lftest::ReadFile(Native("out.htm")).find("charset=shift_jis"), std::string::npos);
}

}  // namespace
