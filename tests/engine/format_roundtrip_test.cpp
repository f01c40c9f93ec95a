// A collection carried through every format and back keeps its folders and links.
#include <gtest/gtest.h>

#include "engine/bookmark_control.h"
#include "platform/system_info.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::BookmarkList;
using lf::TBookmarkControl;
using lftest::S;

// A Netscape file with Japanese names, nesting four deep, an empty folder, the personal
// toolbar folder, links directly under the root and a name with a two-byte character whose
// second byte is a backslash (ソ).
std::string SampleFile() {
  const char* lines[] = {
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
      "<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=shift_jis\">",
      "<TITLE>Bookmarks</TITLE>",
      "<DL><p>",
      "    <DT><H3 ADD_DATE=\"1\">ニュース</H3>",
      "    <DL><p>",
      "        <DT><A HREF=\"http://news.example.jp/\" ADD_DATE=\"1\">毎日の新聞</A>",
      "        <DT><H3 ADD_DATE=\"1\">ソフトウェア</H3>",
      "        <DL><p>",
      "            <DT><H3 ADD_DATE=\"1\">開発</H3>",
      "            <DL><p>",
      "                <DT><H3 ADD_DATE=\"1\">深い</H3>",
      "                <DL><p>",
      "                    <DT><A HREF=\"ftp://ftp.example.jp/pub/\">ＦＴＰ</A>",
      "                </DL><p>",
      "                <DT><A HREF=\"https://dev.example.jp/?a=1&b=2\">Dev &amp; Test</A>",
      "            </DL><p>",
      "        </DL><p>",
      "        <DT><H3 ADD_DATE=\"1\">空のフォルダ</H3>",
      "        <DL><p>",
      "        </DL><p>",
      "    </DL><p>",
      "    <DT><H3 ADD_DATE=\"1\">ユーザ設定ツールバー フォルダ</H3>",
      "    <DL><p>",
      "        <DT><A HREF=\"http://toolbar.example.jp/\">ﾂｰﾙﾊﾞｰ</A>",
      "    </DL><p>",
      "    <DT><A HREF=\"http://top.example.jp/\">トップ</A>",
      "    <DT><A HREF=\"file:///C:/local.html\">Local</A>",
      "</DL><p>"};
  std::string out;
  for (const char* l : lines) out += S(l) + "\r\n";
  return out;
}

class RoundTrip : public testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramPath(dir.Path("linkferry"));
    platform::SetLoginName("taro");
    lftest::WriteFile(dir.NativePath("bookmark.htm"), SampleFile());
    lftest::MakeDirs(dir.NativePath("Favorites"));
    root = dir.Path("Favorites");
  }
  void TearDown() override {
    platform::SetProgramPath(std::nullopt);
    platform::SetLoginName(std::nullopt);
  }

  BookmarkList ReadNetscape(const std::string& name) {
    BookmarkList list;
    int cancel = 0, count = 0;
    engine.ReadBookmarkFile(owner, dir.Path(name), cancel, count, nullptr, false, list, bar, root);
    return list;
  }

  lftest::TempDir dir;
  std::string root;
  TBookmarkControl engine;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
};

// The Netscape writer in each output character set.
class FormatRoundTrip : public RoundTrip, public testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    RoundTrip::SetUp();
    engine.OutputCharset = GetParam();
  }
};

TEST_P(FormatRoundTrip, NetscapeOperaNetscapeKeepsEveryFolderAndLink) {
  const BookmarkList original = ReadNetscape("bookmark.htm");
  ASSERT_EQ(original.size(), 12u);  // six folders, six links

  int operaCount = 0;
  engine.SaveOperaFile(owner, bar, original, dir.Path("hotlist.adr"), operaCount);
  BookmarkList fromOpera;
  int cancel = 0, readCount = 0;
  engine.LoadOperaFile(owner, dir.Path("hotlist.adr"), cancel, readCount, bar, fromOpera, root);
  EXPECT_EQ(fromOpera, original);
  EXPECT_EQ(readCount, operaCount);
  EXPECT_EQ(operaCount, 6);

  int written = 0;
  engine.SaveBookmarkFile(owner, bar, written, dir.Path("again.htm"), fromOpera);
  EXPECT_EQ(ReadNetscape("again.htm"), original);
  EXPECT_EQ(written, 6);
  EXPECT_TRUE(owner.messages.empty()) << owner.Texts()[0];
}

TEST_F(RoundTrip, NetscapeThroughTheFavoritesFolderKeepsEveryFolderAndLink) {
  const BookmarkList original = ReadNetscape("bookmark.htm");
  int cancel = 0, errors = 0, written = 0;
  engine.SaveFavorites(owner, bar, cancel, errors, written, original);
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(written, 6);
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("Favorites/ニュース/毎日の新聞.url")),
            "[InternetShortcut]\r\nURL=http://news.example.jp/\r\n");

  BookmarkList fromFolder;
  int read = 0;
  engine.LoadFavorites(owner, nullptr, cancel, errors, read, fromFolder, nullptr, root);
  EXPECT_EQ(fromFolder, original);
  EXPECT_EQ(read, 6);
  EXPECT_FALSE(lftest::Exists(dir.NativePath("LostData.txt")));
  EXPECT_TRUE(owner.messages.empty()) << owner.Texts()[0];
}

// Forty folders inside each other, each with a link, and a link directly under the root:
// levels past nine and past thirty-five are carried through every format.
TEST_F(RoundTrip, FortyLevelsDeepSurviveEveryFormat) {
  std::string file = "<DL><p>\r\n";
  for (int i = 0; i < 40; ++i)
    file += S("<DT><H3>階層") + std::to_string(i) + "</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://d/" +
            std::to_string(i) + "\">" + S("リンク") + std::to_string(i) + "</A>\r\n";
  for (int i = 0; i < 40; ++i) file += "</DL><p>\r\n";
  file += "<DT><A HREF=\"http://top/\">top</A>\r\n</DL><p>\r\n";
  lftest::WriteFile(dir.NativePath("deep.htm"), file);

  const BookmarkList original = ReadNetscape("deep.htm");
  ASSERT_EQ(original.size(), 81u);
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_EQ(original[39].substr(original[39].size() - 5), ".dir" + std::string(1, lf::LevelChar(39)));

  int operaCount = 0, cancel = 0, readCount = 0;
  engine.SaveOperaFile(owner, bar, original, dir.Path("deep.adr"), operaCount);
  BookmarkList fromOpera;
  engine.LoadOperaFile(owner, dir.Path("deep.adr"), cancel, readCount, bar, fromOpera, root);
  EXPECT_EQ(fromOpera, original);

  int written = 0;
  engine.SaveBookmarkFile(owner, bar, written, dir.Path("again.htm"), fromOpera);
  EXPECT_EQ(ReadNetscape("again.htm"), original);

  int errors = 0;
  written = 0;
  engine.SaveFavorites(owner, bar, cancel, errors, written, original);
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(written, 41);
  BookmarkList fromFolder;
  engine.LoadFavorites(owner, nullptr, cancel, errors, readCount, fromFolder, nullptr, root);
  EXPECT_EQ(fromFolder, original);
  EXPECT_TRUE(owner.messages.empty()) << owner.Texts()[0];
}

std::string CharsetName(const testing::TestParamInfo<int>& info) {
  static const char* const names[] = {"ShiftJis", "EucJp", "Utf8"};
  return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(OutputCharsets, FormatRoundTrip, testing::Values(0, 1, 2), CharsetName);

}  // namespace
