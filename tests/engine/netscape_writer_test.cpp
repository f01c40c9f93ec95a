#include <gtest/gtest.h>

#include <filesystem>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/support/failing_writes.h"
#include "tests/support/fakes.h"
#include "tests/support/hostile_helpers.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using lftest::S;
using Lines = std::vector<std::string>;

// UTF-8 lines joined with CR LF, converted to Shift-JIS.
std::string CrLf(const Lines& utf8) {
  std::string out;
  for (const std::string& l : utf8) out += S(l) + "\r\n";
  return out;
}

lf::BookmarkList L(const Lines& utf8) {
  lf::BookmarkList list;
  for (const std::string& e : utf8) list.push_back(S(e));
  return list;
}

const Lines kHeader = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "",
    "<!-- This is an automatically generated file.",
    "It will be read and overwritten.",
    "Do Not Edit! -->",
    "",
    "<TITLE>user's Bookmarks</TITLE>",
    "<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=shift_jis\">",
    "<H1>user's Bookmarks</H1>",
    "",
    "<DL><P>",
    ""};

Lines Join(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A clock that gives the date stamp 1034500000, and the login name "user".
class NetscapeWriter : public testing::Test {
 protected:
  void SetUp() override {
    platform::SetClock([] { return platform::LocalDateTime{2002, 10, 13, 9, 6, 40, 0}; });
    platform::SetLoginName("user");
  }
  void TearDown() override {
    platform::SetClock({});
    platform::SetLoginName(std::nullopt);
  }
  void Save(const lf::BookmarkList& list, const std::string& name = "bookmark.htm") {
    control.SaveBookmarkFile(owner, bar, count, dir.Path(name), list);
  }
  std::string Written(const std::string& name = "bookmark.htm") {
    return lftest::ReadFile(dir.NativePath(name));
  }

  lftest::TempDir dir;
  TBookmarkControl control;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  int count = 0;
};

#define STAMP "ADD_DATE=\"1034500000\""
#define LINK(indent, url, name) \
  indent "<DT><A HREF=\"" url "\" " STAMP " LAST_VISIT=\"0\" LAST_MODIFIED=\"0\">" name "</A>"
#define FOLDER(indent, name) indent "<DT><H3 " STAMP ">" name "</H3>"

TEST_F(NetscapeWriter, WritesTheWholeFile) {
  Save(L({"R\\A.dir0", "R\\A\\B.dir1", "R\\A\\腕腕x.url1\\http://x/", "R\\C.dir0", "R\\D.dir0",
          "R\\D\\E.dir1", "R\\D\\E\\腕腕ソフト.url2\\http://e/", "R\\腕腕y.url0\\http://y/"}));
  EXPECT_EQ(Written(), CrLf(Join(kHeader, {
                                              FOLDER("  ", "A"),
                                              "",
                                              "    <DL><P>",
                                              FOLDER("    ", "B"),
                                              "",
                                              "      <DL><P>",  // B is empty
                                              "      </DL><P>",
                                              "",
                                              LINK("    ", "http://x/", "x"),
                                              "    </DL><P>",
                                              "",
                                              FOLDER("  ", "C"),
                                              "",
                                              "    <DL><P>",  // C is empty
                                              "    </DL><P>",
                                              "",
                                              FOLDER("  ", "D"),
                                              "",
                                              "    <DL><P>",
                                              FOLDER("    ", "E"),
                                              "",
                                              "      <DL><P>",
                                              LINK("      ", "http://e/", "ソフト"),
                                              "    </DL><P>",  // closing from level 2 to 0
                                              "",
                                              "    </DL><P>",
                                              "",
                                              LINK("  ", "http://y/", "y"),
                                              "  </DL><P>",
                                              "",
                                              "",
                                              "</DL><P>",
                                          })));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(bar.max, 7);
  EXPECT_EQ(bar.steps, 8);
  EXPECT_FALSE(bar.visible);
  EXPECT_TRUE(owner.messages.empty());

  // The indentation carries over to the next write; an empty folder at the end gets no pair.
  Save(L({}));
  EXPECT_EQ(Written(), CrLf(Join(kHeader, {"  </DL><P>", "", "", "</DL><P>"})));
  Save(L({"R\\Z.dir0"}));
  EXPECT_EQ(Written(),
            CrLf(Join(kHeader, {FOLDER("  ", "Z"), "", "  </DL><P>", "", "", "</DL><P>"})));
}

TEST_F(NetscapeWriter, LevelsBeyondFiveHaveNoIndentation) {
  Save(L({"R\\1.dir0", "R\\1\\2.dir1", "R\\1\\2\\3.dir2", "R\\1\\2\\3\\4.dir3",
          "R\\1\\2\\3\\4\\5.dir4", "R\\1\\2\\3\\4\\5\\6.dir5", "R\\1\\2\\3\\4\\5\\6\\7.dir6",
          "R\\1\\2\\3\\4\\5\\6\\7\\腕腕z.url7\\http://z/", "R\\腕腕y.url0\\http://y/"}));
  const std::string text = Written();
  const std::string tail = CrLf({
      "              <DL><P>",  // level 5 opens level 6
      FOLDER("", "7"),
      "",
      "  <DL><P>",  // k = 6 has no indentation of its own
      LINK("", "http://z/", "z"),
      "    </DL><P>",
      "",
      "    </DL><P>",
      "",
      "    </DL><P>",
      "",
      "    </DL><P>",
      "",
      "    </DL><P>",
      "",
      "    </DL><P>",
      "",
      "    </DL><P>",
      "",
      LINK("  ", "http://y/", "y"),
  });
  EXPECT_NE(text.find(tail), std::string::npos) << text;
}

TEST_F(NetscapeWriter, ListsStillOpenAtTheEndAreClosedAndLinksNamedDirStayLinks) {
  Save(L({"R\\A.dir0", "R\\A\\B.dir1", "R\\A\\B\\腕腕a.dir.url2\\http://a/",
          "R\\A\\B\\腕腕z.url2\\http://z/"}));
  EXPECT_EQ(Written(), CrLf(Join(kHeader, {
                                              FOLDER("  ", "A"),
                                              "",
                                              "    <DL><P>",
                                              FOLDER("    ", "B"),
                                              "",
                                              "      <DL><P>",
                                              LINK("      ", "http://a/", "a.dir"),
                                              LINK("      ", "http://z/", "z"),
                                              "      </DL><P>",  // B's list, as for a level 1
                                              "",
                                              "    </DL><P>",
                                              "",
                                              "",
                                              "</DL><P>",
                                          })));
  EXPECT_EQ(count, 2);
}

TEST_F(NetscapeWriter, OutputCharsets) {
  const lf::BookmarkList list = L({"R\\腕腕日本.url0\\http://h/"});
  control.OutputCharset = 1;
  Save(list);
  EXPECT_NE(Written().find("\r\n<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; "
                           "charset=euc-jp\">\r\n"),
            std::string::npos);
  EXPECT_NE(Written().find(TBookmarkControl::SjisToEuc(S(">日本</A>\r\n"))), std::string::npos);

  control.OutputCharset = 2;
  lftest::WriteFile(dir.NativePath("bookmark.htm"), S("<TITLE>xのﾌﾞｯｸﾏｰｸ</TITLE>\r\n"));
  Save(list);
  const std::string utf8 = Written();
  EXPECT_TRUE(utf8.starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n\r\n<!--  これは自動生成"));
  EXPECT_NE(utf8.find("<TITLE>userのﾌﾞｯｸﾏｰｸ</TITLE>\r\n<META HTTP-EQUIV=\"Content-Type\" "
                      "CONTENT=\"text/html; charset=UTF-8\">\r\n"),
            std::string::npos);
  EXPECT_NE(utf8.find(">日本</A>\r\n"), std::string::npos);

  // A value that names no character set writes Shift-JIS and says so: a file without a
  // declaration would be read in whatever a browser guesses.
  control.OutputCharset = 3;
  Save(list);
  EXPECT_NE(Written().find("charset=shift_jis\">"), std::string::npos);
}

TEST_F(NetscapeWriter, TitleSuffixAndBackup) {
  // Without a file to replace: the English title, no backup.
  Save(L({}));
  EXPECT_FALSE(lftest::Exists(dir.NativePath("bookmark.old")));
  EXPECT_NE(Written().find("<TITLE>user's Bookmarks</TITLE>"), std::string::npos);

  // The Japanese suffix wins when a line holds both; the notice is then the Japanese one.
  lftest::WriteFile(dir.NativePath("bookmark.htm"), S("Bookmarks のﾌﾞｯｸﾏｰｸ\r\nold"));
  lftest::WriteFile(dir.NativePath("bookmark.old"), "older");
  Save(L({}));
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("bookmark.old")), S("Bookmarks のﾌﾞｯｸﾏｰｸ\r\nold"));
  EXPECT_TRUE(Written().starts_with(CrLf(
      {"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "", "<!--  これは自動生成されたﾌｧｲﾙです｡",
       "ﾌﾟﾛｸﾞﾗﾑが読み書きを実行します｡", "編集禁止! -->", "", "<TITLE>userのﾌﾞｯｸﾏｰｸ</TITLE>"})));

  // Neither suffix: the bare user name.
  lftest::WriteFile(dir.NativePath("bookmark.htm"), "nothing here");
  Save(L({}));
  EXPECT_NE(Written().find("<TITLE>user</TITLE>\r\n"), std::string::npos);
  EXPECT_TRUE(owner.messages.empty());
}

// Without a backup the file would be replaced with no copy left: it is left as it was.
TEST_F(NetscapeWriter, FailedBackupIsReportedAndTheFileLeftAsItWas) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), "<TITLE>Bookmarks</TITLE>");
  lftest::MakeDirs(dir.NativePath("bookmark.old/inside"));
  count = 3;
  Save(L({"R\\腕腕y.url0\\http://y/"}));
  ASSERT_EQ(owner.Texts(), (Lines{"ブックマークファイル[ " + dir.NativePath("bookmark.htm") +
                                  " ]のバックアップが出来ていません。\r[ " +
                                  lftest::U(platform::ErrorText(EISDIR)) + " ]"}));
  EXPECT_EQ(owner.messages[0].flags, lf::kMbIconError | lf::kMbOk);
  EXPECT_EQ(owner.messages[0].caption, lf::MessageCaption());
  EXPECT_EQ(Written(), "<TITLE>Bookmarks</TITLE>");
  EXPECT_EQ(count, 3);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Native()), {}), 2);

  // A file that has a backup's name is no backup of its own: it keeps one beside it.
  owner.messages.clear();
  lftest::WriteFile(dir.NativePath("list.old"), S("<TITLE>xのﾌﾞｯｸﾏｰｸ</TITLE>"));
  Save(L({}), "list.old");
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_EQ(Written("list.old.old"), S("<TITLE>xのﾌﾞｯｸﾏｰｸ</TITLE>"));
  EXPECT_NE(Written("list.old").find(S("<TITLE>userのﾌﾞｯｸﾏｰｸ</TITLE>")), std::string::npos);
}

TEST_F(NetscapeWriter, WriteErrorsAreReported) {
  control.WriteFilter = lftest::FailAfter(100);
  Save(L({"R\\腕腕y.url0\\http://y/"}));
  control.WriteFilter = nullptr;
  EXPECT_EQ(owner.Texts(), (Lines{"Ｂｏｏｋｍａｒｋ．ｈｔｍの保存で [ ディスクに十分な空き領域が"
                                  "ありません。 ] のエラーが発生しました。"}));
  EXPECT_EQ(owner.messages[0].flags, lf::kMbIconError | lf::kMbOk);

  owner.messages.clear();
  lftest::MakeDirs(dir.NativePath("folder.htm"));
  Save(L({}), "folder.htm");
  EXPECT_EQ(owner.Texts(),
            (Lines{"Ｂｏｏｋｍａｒｋ．ｈｔｍの保存で [ 指定されたパスはフォルダです。"
                   " ] のエラーが発生しました。"}));
}

// A write that fails, at once or part-way, leaves the previous file in its place and the
// earlier backup, no cut-off file anywhere, and counts no link.
TEST_F(NetscapeWriter, AFailedWriteIsNotCountedAndGivesThePreviousFileBack) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), "previous");
  count = 5;
  control.WriteFilter = lftest::FailAfter(0);
  Save(L({"R\\腕腕y.url0\\http://y/"}));
  control.WriteFilter = nullptr;
  EXPECT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(Written(), "previous");
  EXPECT_FALSE(lftest::Exists(dir.NativePath("bookmark.old")));

  lf::BookmarkList many;
  for (int i = 0; i < 3000; ++i)
    many.push_back("R\\" + std::string(lf::kLinkMarker.substr(1)) + std::to_string(i) +
                   ".url0\\http://h/");
  control.WriteFilter = lftest::FailAfter(100000);
  Save(many);
  control.WriteFilter = nullptr;
  EXPECT_EQ(owner.messages.size(), 2u);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(Written(), "previous");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Native()), {}), 1);

  // The backup an earlier write left outlives a failed one as well.
  lftest::WriteFile(dir.NativePath("bookmark.old"), "older");
  control.WriteFilter = lftest::FailAfter(100000);
  Save(many);
  control.WriteFilter = nullptr;
  EXPECT_EQ(owner.messages.size(), 3u);
  EXPECT_EQ(lftest::Tree(dir.Native()), "bookmark.htm: previous\nbookmark.old: older\n");
}

TEST_F(NetscapeWriter, ReadWriteReadGivesTheSameList) {
  const std::string data = std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/')) +
                           "/../data/netscape/sjis.htm";
  lftest::WriteFile(dir.NativePath("in.htm"), lftest::ReadFile(data));
  for (int charset : {0, 1, 2}) {
    lf::BookmarkList first, second;
    int cancel = 0, n = 0;
    control.ReadBookmarkFile(owner, dir.Path("in.htm"), cancel, n, nullptr, false, first, bar, "R");
    control.OutputCharset = charset;
    Save(first, "out.htm");
    control.ReadBookmarkFile(owner, dir.Path("out.htm"), cancel, n, nullptr, false, second, bar,
                             "R");
    EXPECT_EQ(second, first) << charset;
    EXPECT_EQ(first.size(), 5u);
  }
  EXPECT_TRUE(owner.messages.empty());
}

}  // namespace
