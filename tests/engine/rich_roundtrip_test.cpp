// A bookmark file carrying everything a browser attaches to its items (dates, the toolbar and
// "other bookmarks" marks, separators, keywords, tags, descriptions, icons, attributes of its
// own), carried through each format and back: what the format holds comes back whole, and
// the run says what it does not hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/bookmark_control.h"
#include "platform/system_info.h"
#include "tests/support/carried_lines.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::BookmarkList;
using lftest::S;

constexpr const char* kRichFile[] = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
    "<TITLE>Bookmarks</TITLE>",
    "<H1>Bookmarks Menu</H1>",
    "<DL><p>",
    "    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000100\" "
    "PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks Toolbar</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://news.example/\" ADD_DATE=\"1600000200\" "
    "LAST_MODIFIED=\"1600000300\" ICON_URI=\"https://news.example/favicon.ico\" "
    "SHORTCUTURL=\"news&amp;\" TAGS=\"daily,jp&amp;en\">ニュース</A>",
    "        <DD>毎朝読む",
    "        <HR>",
    "        <DT><A HREF=\"https://a.example/\" ADD_DATE=\"1600000400\" "
    "LAST_CHARSET=\"UTF-8\">Alpha</A>",
    "    </DL><p>",
    "    <DT><A HREF=\"https://z.example/\" ADD_DATE=\"1600000500\">Zulu</A>",
    "    <HR>",
    "    <DT><A HREF=\"https://b.example/\" ADD_DATE=\"1600000600\" "
    "LAST_VISIT=\"1600000700\">Bravo</A>",
    "    <DT><H3 ADD_DATE=\"1600000800\" UNFILED_BOOKMARKS_FOLDER=\"true\">Other Bookmarks</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://o.example/\" ADD_DATE=\"1600000900\" "
    "SHORTCUTURL=\"o\">Other</A>",
    "    </DL><p>",
    "</DL><p>",
};

class RichRoundTrip : public testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramPath(dir.Path("linkferry"));
    platform::SetLoginName("taro");
    std::string file;
    for (const char* line : kRichFile) file += std::string(line) + "\n";
    lftest::WriteFile(dir.NativePath("rich.html"), file);
    root = dir.Path("Favorites");
    engine.ListOrder = lf::Order::Keep;
  }
  void TearDown() override {
    platform::SetProgramPath(std::nullopt);
    platform::SetLoginName(std::nullopt);
  }

  lf::Io Io() { return {owner, bar, nullptr, cancel}; }
  BookmarkList ReadNetscape(const std::string& name) {
    BookmarkList list;
    EXPECT_TRUE(engine.ReadBookmarkFile(Io(), dir.Path(name), list, root).Clean());
    return list;
  }

  lftest::TempDir dir;
  std::string root;
  lf::TBookmarkControl engine;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  int cancel = 0;
};

// What the file holds, in its order; every entry under the root.
constexpr char kEverything[] =
    "\\Bookmarks Toolbar.dir0 Added=1600000000 Modified=1600000100 Root=toolbar\n"
    "\\Bookmarks Toolbar\\腕腕ニュース.url1\\https://news.example/ Added=1600000200 "
    "Modified=1600000300 Keyword=news& Tags=daily,jp&en Description=毎朝読む "
    "IconUri=https://news.example/favicon.ico\n"
    "\\Bookmarks Toolbar\\腕腕\xE3\x83\xBB"
    "1.sep1\n"
    "\\Bookmarks Toolbar\\腕腕Alpha.url1\\https://a.example/ Added=1600000400 "
    "Attributes=LAST_CHARSET=UTF-8\n"
    "\\腕腕Zulu.url0\\https://z.example/ Added=1600000500\n"
    "\\腕腕\xE3\x83\xBB"
    "1.sep0\n"
    "\\腕腕Bravo.url0\\https://b.example/ Added=1600000600 Visited=1600000700\n"
    "\\Other Bookmarks.dir0 Added=1600000800 Root=unfiled\n"
    "\\Other Bookmarks\\腕腕Other.url1\\https://o.example/ Added=1600000900 Keyword=o\n";

TEST_F(RichRoundTrip, BookmarkFileToBookmarkFileKeepsEverything) {
  const BookmarkList read = ReadNetscape("rich.html");
  EXPECT_EQ(lftest::CarriedLines(read, root), kEverything);
  const lf::Report written = engine.SaveBookmarkFile(Io(), dir.Path("again.html"), read);
  EXPECT_EQ(written.links, 5);
  EXPECT_TRUE(written.notes.empty());
  EXPECT_EQ(lftest::CarriedLines(ReadNetscape("again.html"), root), kEverything);
  // Written again from what it gave, the file is the same to the byte.
  engine.SaveBookmarkFile(Io(), dir.Path("third.html"), ReadNetscape("again.html"));
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("third.html")),
            lftest::ReadFile(dir.NativePath("again.html")));
  EXPECT_TRUE(owner.messages.empty());
}

TEST_F(RichRoundTrip, HotlistHoldsDatesKeywordsDescriptionsSeparatorsAndTheToolbar) {
  const lf::Report written =
      engine.SaveOperaFile(Io(), ReadNetscape("rich.html"), dir.Path("hotlist.adr"));
  EXPECT_EQ(written.links, 5);
  EXPECT_EQ(written.notes,
            std::vector<std::string>{
                S("[ " + dir.NativePath("hotlist.adr") +
                  " ]には入らないため書かなかったもの：タグ 1 件、アイコン 1 件、更新日時 2 件、"
                  "「その他のブックマーク」などの印 1 件、その他の属性 1 件")});
  BookmarkList back;
  EXPECT_TRUE(engine.LoadOperaFile(Io(), dir.Path("hotlist.adr"), back, root).Clean());
  EXPECT_EQ(lftest::CarriedLines(back, root),
            "\\Bookmarks Toolbar.dir0 Added=1600000000 Root=toolbar\n"
            "\\Bookmarks Toolbar\\腕腕ニュース.url1\\https://news.example/ Added=1600000200 "
            "Keyword=news& Description=毎朝読む\n"
            "\\Bookmarks Toolbar\\腕腕\xE3\x83\xBB"
            "1.sep1\n"
            "\\Bookmarks Toolbar\\腕腕Alpha.url1\\https://a.example/ Added=1600000400\n"
            "\\腕腕Zulu.url0\\https://z.example/ Added=1600000500\n"
            "\\腕腕\xE3\x83\xBB"
            "1.sep0\n"
            "\\腕腕Bravo.url0\\https://b.example/ Added=1600000600 Visited=1600000700\n"
            "\\Other Bookmarks.dir0 Added=1600000800\n"
            "\\Other Bookmarks\\腕腕Other.url1\\https://o.example/ Added=1600000900 Keyword=o\n");
  EXPECT_TRUE(owner.messages.empty());
}

// The Favorites hold the dates added, as the times of the shortcuts and folders, and no more;
// they have no order of their own, so they are read back by name.
TEST_F(RichRoundTrip, FavoritesHoldTheDatesAddedAndSayWhatTheyLeaveOut) {
  std::filesystem::create_directory(dir.NativePath("Favorites"));
  const lf::Report written = engine.SaveFavorites(Io(), ReadNetscape("rich.html"));
  EXPECT_EQ(written.links, 5);
  EXPECT_EQ(written.notes,
            std::vector<std::string>{S(
                "[ " + dir.NativePath("Favorites") +
                " ]には入らないため書かなかったもの：区切り線 2 件、キーワード 2 件、タグ 1 件、"
                "説明 1 件、アイコン 1 件、最終訪問日時 1 件、更新日時 2 件、ツールバーの印 1 件、"
                "「その他のブックマーク」などの印 1 件、その他の属性 1 件")});
  BookmarkList back;
  EXPECT_TRUE(engine.LoadFavorites(Io(), back, nullptr, root).Clean());
  EXPECT_EQ(lftest::CarriedLines(back, root),
            "\\Bookmarks Toolbar.dir0 Added=1600000000\n"
            "\\Bookmarks Toolbar\\腕腕Alpha.url1\\https://a.example/ Added=1600000400\n"
            "\\Bookmarks Toolbar\\腕腕ニュース.url1\\https://news.example/ Added=1600000200\n"
            "\\Other Bookmarks.dir0 Added=1600000800\n"
            "\\Other Bookmarks\\腕腕Other.url1\\https://o.example/ Added=1600000900\n"
            "\\腕腕Bravo.url0\\https://b.example/ Added=1600000600\n"
            "\\腕腕Zulu.url0\\https://z.example/ Added=1600000500\n");
  EXPECT_TRUE(owner.messages.empty());
}

// Sorted by name, as the lists are by default: the separators cannot keep their places, and
// the reader says so instead of dropping them without a word.
TEST_F(RichRoundTrip, SortedListsCountTheSeparatorsTheyCannotPlace) {
  engine.ListOrder = lf::Order::Sort;
  BookmarkList list;
  const lf::Report read = engine.ReadBookmarkFile(Io(), dir.Path("rich.html"), list, root);
  EXPECT_EQ(read.links, 5);
  EXPECT_EQ(read.notes,
            std::vector<std::string>{S("区切り線 2 本は名前順に並べるため読み込みませんでした。"
                                       "元の並び順を保つ設定にすると残せます。")});
  std::string names;
  for (const lf::Entry& entry : list) names += lftest::U(lf::ViewOf(entry).name) + ";";
  EXPECT_EQ(names, "Bookmarks Toolbar;Alpha;ニュース;Other Bookmarks;Other;Bravo;Zulu;");
}

}  // namespace
