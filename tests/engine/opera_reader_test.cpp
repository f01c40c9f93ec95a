#include <gtest/gtest.h>

#include <filesystem>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using Lines = std::vector<std::string>;

struct Read {
  Lines list;  // UTF-8
  int count = 0;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
};

// Reads a hotlist holding the bytes with the root name "R\"; a cancel at the given pump.
Read ReadHotlist(const std::string& bytes, int cancelAtPump = 0) {
  lftest::TempDir dir;
  lftest::WriteFile(dir.NativePath("h.adr"), bytes);
  Read r;
  int cancel = 0;
  if (cancelAtPump) r.owner.onPump = [&](int n) { cancel = n >= cancelAtPump; };
  lf::BookmarkList list;
  TBookmarkControl().LoadOperaFile(r.owner, dir.Path("h.adr"), cancel, r.count, r.bar, list, "R\\");
  for (const std::string& e : list) r.list.push_back(lftest::U(e));
  return r;
}

// UTF-8 lines, each ended by CR LF.
std::string Hotlist(const Lines& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

const Lines kHeader = {"Opera Hotlist version 2.0", "Options:encoding=utf8,version=3", ""};

TEST(OperaReader, BuildsNestedEntriesWithTheirLevels) {
  Lines file = kHeader;
  for (const char* l : {"#FOLDER",
                        "  NAME=旅行",
                        "  CREATED=1",
                        "#URL",
                        "  NAME=天気",
                        "  URL=http://t/",
                        "#FOLDER",
                        "  NAME=B",
                        "#FOLDER",
                        "  NAME=C",
                        "#URL",
                        "  NAME=c",
                        "  URL=gopher://c/",
                        "#URL",
                        "  URL=ftp://same-name/",
                        "-",
                        "-",
                        "#FOLDER",
                        "  NAME=Empty",
                        "-",
                        "-",
                        "#FOLDER",
                        "  NAME=a\\b",
                        "#URL",
                        "  NAME=n",
                        "  URL=x",
                        "-",
                        "#URL",
                        "  NAME=top",
                        "  URL=http://top/",
                        "  DESCRIPTION=URL=ignored"})
    file.push_back(l);
  Read r = ReadHotlist(Hotlist(file));
  EXPECT_EQ(r.list,
            (Lines{"R\\a\\b.dir0", "R\\a\\b\\腕腕n.url1\\x", "R\\旅行.dir0", "R\\旅行\\B.dir1",
                   "R\\旅行\\B\\C.dir2", "R\\旅行\\B\\C\\腕腕c.url3\\ftp://same-name/",
                   "R\\旅行\\B\\C\\腕腕c.url3\\gopher://c/", "R\\旅行\\Empty.dir1",
                   "R\\旅行\\腕腕天気.url1\\http://t/", "R\\腕腕top.url0\\http://top/"}));
  EXPECT_EQ(r.count, 5);
  EXPECT_TRUE(r.owner.messages.empty());
  EXPECT_EQ(r.bar.steps, static_cast<int>(file.size()));
  EXPECT_FALSE(r.bar.visible);
}

TEST(OperaReader, BlockLinesMustStandAloneAndClosingLinesEndLevels) {
  EXPECT_EQ(ReadHotlist(Hotlist(kHeader)).list, Lines{});
  // Lines ended by a line feed alone (a hotlist written on Unix) or a carriage return alone.
  EXPECT_EQ(ReadHotlist("\xEF\xBB\xBF#URL\nNAME=a\nURL=http://a/\n").list,
            (Lines{"R\\腕腕a.url0\\http://a/"}));
  EXPECT_EQ(ReadHotlist("#URL\rNAME=a\rURL=http://a/\r").list, (Lines{"R\\腕腕a.url0\\http://a/"}));
  EXPECT_EQ(ReadHotlist(Hotlist({"#FOLDER ", "NAME=F", "#URL", "NAME=a", "URL=http://a/"})).list,
            (Lines{"R\\腕腕a.url0\\http://a/"}));
  // An indented "-" closes nothing; a "-" with no folder open is passed over.
  EXPECT_EQ(ReadHotlist(Hotlist({"#FOLDER", "NAME=F", " -", "#URL", "NAME=a", "URL=http://a/", "-",
                                 "-", "#URL", "NAME=b", "URL=http://b/"}))
                .list,
            (Lines{"R\\F.dir0", "R\\F\\腕腕a.url1\\http://a/", "R\\腕腕b.url0\\http://b/"}));
  // A folder without a name is named as a new folder of the windows, and keeps its links.
  EXPECT_EQ(ReadHotlist(Hotlist({"#FOLDER", "NAME=F", "#FOLDER", "-", "#FOLDER", "#URL", "NAME=a",
                                 "URL=http://a/"}))
                .list,
            (Lines{"R\\F.dir0", "R\\F\\新規フォルダ.dir1", "R\\F\\新規フォルダ.dir1",
                   "R\\F\\新規フォルダ\\腕腕a.url2\\http://a/"}));
}

// A property is a whole line, white space and KEY=value, in any order within its block: a
// title holding "URL=" is a title. A separator is no link and no folder; a link without an
// address is lost, counted and logged.
TEST(OperaReader, PropertiesAreLinesOfTheirBlock) {
  Lines file = kHeader;
  for (const char* l : {"#URL",
                        "\tNAME=a URL=http://evil.example/",
                        "\tURL=http://a/",
                        "",
                        "#URL",
                        "\tURL=http://b/",
                        "\tSHORT NAME=short",
                        "\tNAME=b",
                        "\tNAME=second",
                        "#SEPERATOR",
                        "\tNAME=rule",
                        "\tURL=http://rule/",
                        "#FOLDER",
                        "\tNAME=F",
                        "\tDESCRIPTION=URL=http://description/",
                        "#URL",
                        "\tNAME=no address",
                        "#NOTE",
                        "\tNAME=note",
                        "\tURL=http://note/",
                        "-"})
    file.push_back(l);
  TBookmarkControl control;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lftest::TempDir dir;
  lftest::WriteFile(dir.NativePath("h.adr"), Hotlist(file));
  int cancel = 0;
  lf::BookmarkList list;
  const lf::Report report =
      control.LoadOperaFile({owner, bar, nullptr, cancel}, dir.Path("h.adr"), list, "R");
  Lines read;
  for (const std::string& e : list) read.push_back(lftest::U(e));
  EXPECT_EQ(read, (Lines{"R\\F.dir0", "R\\腕腕a URL=http://evil.example/.url0\\http://a/",
                         "R\\腕腕b.url0\\http://b/"}));
  ASSERT_EQ(report.lost.size(), 1u);
  EXPECT_EQ(report.lost[0].kind, "URL Error");
  EXPECT_EQ(lftest::U(report.lost[0].path), "R\\F\\no address");
  EXPECT_EQ(report.errors, 1);
  EXPECT_EQ(report.links, 2);
}

// KDE's editor exports the collection of tests/data/real-files/firefox-export.html so; it
// holds every folder and link of it, the addresses as KDE decoded them. Its separator, a link
// named "--- separator ---" without an address, is taken as the separator KDE means: as a
// link it would open nothing and no Favorites shortcut could hold it.
TEST(OperaReader, AHotlistOfKdesEditorAsItHoldsIt) {
  const std::string path = (std::filesystem::path(__FILE__).parent_path().parent_path() / "data" /
                            "real-files" / "kde-hotlist.adr")
                               .string();
  Read r = ReadHotlist(lftest::ReadFile(path));
  EXPECT_EQ(
      r.list,
      (Lines{
          "R\\Bookmarks Toolbar.dir0",
          "R\\Bookmarks Toolbar\\仕事.dir1",
          "R\\Bookmarks Toolbar\\仕事\\腕腕報告メール.url2\\mailto:team@example.co.jp?subject=報告",
          "R\\Bookmarks Toolbar\\仕事\\腕腕予定表.url2\\https://calendar.example.co.jp/",
          "R\\Bookmarks Toolbar\\腕腕Yahoo! JAPAN.url1\\https://www.yahoo.co.jp/",
          "R\\Other Bookmarks.dir0",
          "R\\Other Bookmarks\\腕腕記事 \"後で\" <読む>.url1\\https://example.org/記事?id=1&ref=bm",
          "R\\旅行 & 地図.dir0",
          "R\\旅行 & 地図\\腕腕NAVITIME.url1\\https://www.navitime.co.jp/",
          "R\\旅行 & 地図\\腕腕じゃらん.url1\\https://www.jalan.net/",
          "R\\旅行 & 地図\\腕腕地図: "
          "東京.url1\\https://www.google.com/maps/search/?api=1&query=東京",
          "R\\腕腕서울 - 위키백과.url0\\https://ko.wikipedia.org/wiki/서울",
          "R\\腕腕Archive this page.url0\\"
          "javascript:location.href='https://web.archive.org/save/'+location.href",
          "R\\腕腕BBC News — World.url0\\https://www.bbc.co.uk/news",
          "R\\腕腕DuckDuckGo search.url0\\https://duckduckgo.com/?q=%25s",
      }));
  EXPECT_EQ(r.count, 11);
  EXPECT_TRUE(r.owner.messages.empty());
}

TEST(OperaReader, FoldersTooDeepForTheEntriesAreFiledInTheDeepestOne) {
  std::string file;
  constexpr int kFolders = lf::kMaxLevel + 3;
  for (int i = 0; i < kFolders; ++i) file += "#FOLDER\r\nNAME=" + std::to_string(i) + "\r\n";
  file += "#URL\r\nNAME=deep\r\nURL=http://d/\r\n";
  for (int i = 0; i < kFolders; ++i) file += "-\r\n";
  file += "#URL\r\nNAME=top\r\nURL=http://t/\r\n";
  Read r = ReadHotlist(file);
  std::string path = "R";
  Lines expected;
  for (int i = 0; i <= lf::kMaxFolderLevel; ++i) {
    expected.push_back(path + "\\" + std::to_string(i) + ".dir" + lf::LevelChar(i));
    path += "\\" + std::to_string(i);
  }
  expected.push_back(path + "\\腕腕deep.url" + lf::LevelChar(lf::kMaxLevel) + "\\http://d/");
  expected.push_back("R\\腕腕top.url0\\http://t/");
  EXPECT_EQ(r.list, expected);
  ASSERT_EQ(r.owner.messages.size(), 1u);
  EXPECT_EQ(r.owner.messages[0].text, lf::DeepNestingMessage());
  EXPECT_EQ(r.owner.messages[0].flags, 0x30u);

  // A million nested folders cost neither the call stack nor much memory.
  std::string huge;
  for (int i = 0; i < 1000000; ++i) huge += "#FOLDER\r\nNAME=f\r\n";
  huge += "#URL\r\nNAME=x\r\nURL=http://x/\r\n";
  Read h = ReadHotlist(huge);
  std::string deepest = "R";
  for (int i = 0; i <= lf::kMaxFolderLevel; ++i) deepest += "\\f";
  ASSERT_EQ(h.list.size(), lf::kMaxLevel + 1u);
  EXPECT_EQ(h.list.back(), deepest + "\\腕腕x.url" + lf::LevelChar(lf::kMaxLevel) + "\\http://x/");
  EXPECT_EQ(h.owner.messages.size(), 1u);
}

TEST(OperaReader, CancelAndReadErrors) {
  // Cancelled at the fifth line: what was read stays, regrouped, and the bar is hidden.
  Read c = ReadHotlist(
      Hotlist({"#URL", "NAME=b", "URL=http://b/", "#URL", "NAME=a", "URL=http://a/"}), 6);
  EXPECT_EQ(c.list, (Lines{"R\\腕腕b.url0\\http://b/"}));
  EXPECT_FALSE(c.bar.visible);

  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::BookmarkList list = {"kept"};
  int cancel = 0, count = 0;
  lftest::TempDir dir;
  TBookmarkControl().LoadOperaFile(owner, dir.Path("missing.adr"), cancel, count, bar, list, "R");
  EXPECT_EQ(list, lf::BookmarkList{"kept"});
  ASSERT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(owner.Texts()[0],
            "Ｏｐｅｒａ　Ｂｏｏｋｍａｒｋファイル[ " + dir.NativePath("missing.adr") +
                " ]の読み込みで [ 指定されたファイルが見つかりません。 ] のエラーが発生しました。");
  EXPECT_EQ(owner.messages[0].caption, lf::MessageCaption());
  EXPECT_EQ(owner.messages[0].flags, 0x10u);
}

}  // namespace
