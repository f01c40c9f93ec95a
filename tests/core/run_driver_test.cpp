#include "core/run_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "engine/sjis_text.h"
#include "tests/core/program_home.h"
#include "tests/support/fakes.h"

namespace {

using lftest::NetscapeFile;
using lftest::NetscapeLink;
using lftest::S;
using lftest::U;

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s.NNFileName = home.dir.Path("bookmark.htm");
    s.IEDirName = home.dir.Path("Favorites");
    s.OPFileName = home.dir.Path("Opera6.adr");
    lftest::MakeDirs(Native("Favorites"));
  }

  lf::RunContext Context() { return {control, s, counters, owner, bar, &status}; }
  void Run(int proc) { lf::RunOperation(proc, Context()); }
  void Auto(int op) { lf::AutoProc(op, Context()); }

  std::string Native(const std::string& relative) const { return home.dir.NativePath(relative); }
  void WriteNetscape(const std::vector<std::string>& body) const {
    lftest::WriteFile(Native("bookmark.htm"), NetscapeFile(body));
  }
  std::string Netscape() const { return lftest::ReadFile(Native("bookmark.htm")); }
  static int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  lftest::ProgramHome home;
  lf::TBookmarkControl control;
  lf::Settings s;
  lf::RunCounters counters;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lftest::FakeStatusLabel status;
};

TEST_F(RunTest, NetscapeToFavoritesWritesOneShortcutPerLinkAndSumsUp) {
  WriteNetscape({"    <DT><H3 ADD_DATE=\"1\">ニュース</H3>", "    <DL><p>",
                 NetscapeLink("http://host/a", "A"), "    </DL><p>",
                 NetscapeLink("http://host/b", "B")});
  bar.visible = true;
  Run(1);
  EXPECT_TRUE(owner.messages.empty()) << ::testing::PrintToString(owner.Texts());
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/ニュース/A.url")),
            lftest::UrlFileContent("http://host/a"));
  EXPECT_EQ(lftest::ReadFile(Native("Favorites/B.url")), lftest::UrlFileContent("http://host/b"));
  EXPECT_EQ(status.history,
            (std::vector<std::string>{"[ ブックマークファイルの読み込み ]",
                                      "[ お気に入りファイルへの書き込み ]",
                                      "ＩＥ ｕｒｌ数: 2, ＮＮ ｕｒｌ数: 2, 変換エラー数: 0"}));
  EXPECT_FALSE(bar.visible);
  EXPECT_TRUE(status.visible);
}

TEST_F(RunTest, NetscapeToFavoritesMapsTheToolbarFolderOnlyWithLnk) {
  WriteNetscape({"    <DT><H3 ADD_DATE=\"1\">ユーザ設定ツールバー フォルダ</H3>", "    <DL><p>",
                 NetscapeLink("http://host/t", "T"), "    </DL><p>"});
  Run(1);
  EXPECT_TRUE(lftest::Exists(Native("Favorites/ユーザ設定ツールバー フォルダ/T.url")));
  s.LNK = 1;
  Run(1);
  EXPECT_TRUE(lftest::Exists(Native("Favorites/リンク/T.url")));
}

TEST_F(RunTest, ConversionsIntoTheNetscapeFileMapTheLinksFolderOnlyWithLnk) {
  lftest::MakeUrlFile(home.dir, "Favorites/リンク/T.url", "http://host/t");
  lftest::WriteFile(Native("Opera6.adr"),
                    "Opera Hotlist version 2.0\r\n\r\n#FOLDER\r\n\tNAME=リンク\r\n\r\n"
                    "#URL\r\n\tNAME=T\r\n\tURL=http://host/t\r\n\r\n-\r\n");
  const std::string toolbar = S(">ユーザ設定ツールバー フォルダ</H3>"), links = S(">リンク</H3>");
  for (int proc : {2, 10}) {
    s.LNK = 0;
    Run(proc);
    EXPECT_EQ(Occurrences(Netscape(), links), 1) << proc;
    EXPECT_EQ(Occurrences(Netscape(), toolbar), 0) << proc;
    s.LNK = 1;
    Run(proc);
    EXPECT_EQ(Occurrences(Netscape(), links), 0) << proc;
    EXPECT_EQ(Occurrences(Netscape(), toolbar), 1) << proc;
  }
  EXPECT_TRUE(owner.messages.empty()) << ::testing::PrintToString(owner.Texts());
}

TEST_F(RunTest, ARunStartsAfreshWhateverAPreviousPageLeftBehind) {
  WriteNetscape({NetscapeLink("http://host/ab", "a/b")});
  counters.cancel = 1;       // a page cancelled its load
  counters.ieUrlCount = 40;  // and counted something
  Run(1);
  EXPECT_TRUE(owner.messages.empty()) << ::testing::PrintToString(owner.Texts());
  EXPECT_TRUE(lftest::Exists(Native("Favorites/ab.url")));
  EXPECT_EQ(counters.ieUrlCount, 1);
  EXPECT_EQ(counters.errorCount, 0);
}

TEST_F(RunTest, FavoritesToNetscapeKeepsTheNetscapeLinksWithNnConv) {
  WriteNetscape({"    <DT><H3 ADD_DATE=\"1\">News</H3>", "    <DL><p>",
                 NetscapeLink("http://host/a", "A"), "    </DL><p>",
                 NetscapeLink("http://host/b", "B")});
  lftest::MakeUrlFile(home.dir, "Favorites/News/A.url", "http://host/a");
  lftest::MakeUrlFile(home.dir, "Favorites/C.url", "http://host/c");
  s.NNConv = 1;
  Run(2);
  EXPECT_TRUE(owner.messages.empty()) << ::testing::PrintToString(owner.Texts());
  const std::string written = Netscape();
  for (const char* url : {"\"http://host/a\"", "\"http://host/b\"", "\"http://host/c\""})
    EXPECT_EQ(Occurrences(written, url), 1) << url;
  EXPECT_EQ(Occurrences(written, ">News</H3>"), 1);
  // The NN count is what was written, not what was read first.
  EXPECT_EQ(U(status.caption), "ＩＥ ｕｒｌ数: 2, ＮＮ ｕｒｌ数: 3, 変換エラー数: 0");
  EXPECT_EQ(status.history.front(), "[ ブックマークファイルの読み込み ]");
  EXPECT_NE(std::find(status.history.begin(), status.history.end(),
                      "[ ブックマークファイルへの書き込み ]"),
            status.history.end());
}

TEST_F(RunTest, NothingToWriteLeavesTheNetscapeFileAndSaysSo) {
  WriteNetscape({NetscapeLink("http://host/keep", "Keep")});
  const std::string before = Netscape();
  s.NNConv = 2;  // only 1 keeps the Netscape links
  Run(2);
  ASSERT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(owner.messages[0].text, lf::NoUrlMessage());
  EXPECT_EQ(U(owner.messages[0].text),
            "お気に入りのＵＲＬがありません。フォルダの再確認を行ってください。");
  EXPECT_EQ(owner.messages[0].flags, lf::kMbIconError | lf::kMbOk);
  EXPECT_EQ(Netscape(), before);
  EXPECT_FALSE(lftest::Exists(Native("bookmark.old")));
  EXPECT_EQ(U(status.caption), "ＩＥ ｕｒｌ数: 0, ＮＮ ｕｒｌ数: 0, 変換エラー数: 0");

  // Unattended: the same, and it says so as well (a run that writes nothing is no success).
  owner.messages.clear();
  status.history.clear();
  Auto(2);
  ASSERT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(owner.messages[0].text, lf::NoUrlMessage());
  EXPECT_TRUE(status.history.empty());
  EXPECT_EQ(Netscape(), before);
}

TEST_F(RunTest, MergeRebuildsBothAndCountsTheSecondHalf) {
  WriteNetscape({NetscapeLink("http://host/b", "B")});
  lftest::MakeUrlFile(home.dir, "Favorites/C.url", "http://host/c");
  Run(3);
  EXPECT_TRUE(owner.messages.empty()) << ::testing::PrintToString(owner.Texts());
  EXPECT_TRUE(lftest::Exists(Native("Favorites/B.url")));
  const std::string written = Netscape();
  EXPECT_EQ(Occurrences(written, "\"http://host/b\""), 1);
  EXPECT_EQ(Occurrences(written, "\"http://host/c\""), 1);
  EXPECT_EQ(U(status.caption), "ＩＥ ｕｒｌ数: 2, ＮＮ ｕｒｌ数: 2, 変換エラー数: 0");
}

TEST_F(RunTest, HotlistRoundTripAndNnConvOnlyDropsRepeatsWithinTheHotlist) {
  WriteNetscape({NetscapeLink("http://host/x", "X")});
  Run(11);
  EXPECT_TRUE(owner.messages.empty()) << ::testing::PrintToString(owner.Texts());
  EXPECT_EQ(U(status.caption), "ＯＰ ｕｒｌ数: 1, ＮＮ ｕｒｌ数: 1, 変換エラー数: 0");
  EXPECT_EQ(status.history[1], "[ Ｏｐｅｒａブックマークファイルへの書き込み ]");

  // The hotlist is read alone: the Netscape file's own link Y is not kept (it stays in the
  // ".old" backup), and a link the hotlist holds twice is written once.
  WriteNetscape({NetscapeLink("http://host/y", "Y")});
  const std::string block = "#URL\r\n        NAME=X\r\n        URL=http://host/x\r\n\r\n";
  lftest::WriteFile(Native("Opera6.adr"), "Opera Hotlist version 2.0\r\n\r\n" + block + block);
  s.NNConv = 1;
  Run(10);
  EXPECT_TRUE(owner.messages.empty()) << ::testing::PrintToString(owner.Texts());
  EXPECT_EQ(Occurrences(Netscape(), "\"http://host/x\""), 1);
  EXPECT_EQ(Occurrences(Netscape(), "\"http://host/y\""), 0);
  EXPECT_EQ(Occurrences(lftest::ReadFile(Native("bookmark.old")), "\"http://host/y\""), 1);
  EXPECT_EQ(U(status.caption), "ＯＰ ｕｒｌ数: 2, ＮＮ ｕｒｌ数: 1, 変換エラー数: 0");

  s.NNConv = 0;
  Run(10);
  EXPECT_EQ(Occurrences(Netscape(), "\"http://host/x\""), 2);
}

TEST_F(RunTest, AMissingHotlistIsReportedByTheReaderAndNothingIsWritten) {
  Run(10);
  ASSERT_EQ(owner.messages.size(), 1u) << ::testing::PrintToString(owner.Texts());
  EXPECT_NE(U(owner.messages[0].text).find("Ｏｐｅｒａ　Ｂｏｏｋｍａｒｋファイル[ "),
            std::string::npos);
  EXPECT_FALSE(lftest::Exists(Native("bookmark.htm")));
}

TEST_F(RunTest, ErrorsNoReaderOrWriterHandlesReachTheCaller) {
  WriteNetscape({NetscapeLink("http://host/b", "B")});
  owner.onPump = [](int) { throw std::runtime_error("out of memory"); };
  EXPECT_THROW(Run(1), std::runtime_error);
}

TEST_F(RunTest, UnattendedMergeNeedsNoStatusLabel) {
  WriteNetscape({NetscapeLink("http://host/b", "B")});
  lftest::MakeUrlFile(home.dir, "Favorites/C.url", "http://host/c");
  lf::AutoProc(3, {control, s, counters, owner, bar, nullptr});
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_TRUE(lftest::Exists(Native("Favorites/B.url")));
  EXPECT_EQ(Occurrences(Netscape(), "\"http://host/c\""), 1);
}

}  // namespace
