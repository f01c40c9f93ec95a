// Our own lists through XBEL and back, and a places database read as Firefox keeps it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "engine/bookmark_formats.h"
#include "tests/engine/browser_formats_fixture.h"

namespace {

using namespace lftest;

// Files are told apart by their first bytes, whatever their names; text that only mentions
// another format stays the Netscape file's, which reads any text; a file not there yet goes
// by its name.
TEST_F(BrowserFormats, FilesToldApartByWhatTheyHold) {
  using lf::BookmarkFormat;
  const std::pair<const char*, std::string> files[] = {
      {"a.html", "{\n  \"checksum\": \"0\",\n  \"roots\": {}\n}"},
      {"b.html", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- kept by KDE -->\n<!DOCTYPE xbel>"},
      {"c.html", "<xbel version=\"1.0\"></xbel>"},
      {"d.xbel", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DT><A HREF=\"x:<xbel>\">x</A>"},
      {"e.xbel", "<?xml version=\"1.0\"?><xbelish/>"},
      {"Bookmarks", "{\"roots?\": 1}"},
      {"f.json", std::string("mozLz40\0\0\0\0\0", 12)},
  };
  std::string kinds;
  for (const auto& [name, bytes] : files) {
    WriteFile(dir.NativePath(name), bytes);
    kinds += std::to_string(static_cast<int>(lf::BookmarkFormatOf(dir.Path(name))));
  }
  for (const char* missing : {"Bookmarks", "new.JSON", "new.xbel", "new.htm"})
    kinds += std::to_string(static_cast<int>(lf::BookmarkFormatOf(dir.Path("no/") + missing)));
  EXPECT_EQ(kinds, "12200031120");
}

// A list of our own through a new XBEL file and back, whole: dates, descriptions, the toolbar
// mark, separators, names and addresses with what XML reserves, and what KDE's items carried;
// only the keyword, which XBEL cannot hold, stays behind and the write says so.
TEST_F(BrowserFormats, XbelWrittenAndReadBack) {
  using lf::Prop;
  const std::string kept =
      "<kept netscapeinfo=\"\"><info><metadata owner=\"http://freedesktop.org\"><bookmark:icon "
      "name=\"\"/></metadata></info></kept>";
  lf::BookmarkList list{
      With(lf::MakeFolderEntry("R", "Toolbar", 0),
           {{Prop::Added, "1700000000"}, {Prop::Root, "toolbar"}}),
      With(lf::MakeLinkEntry("R\\Toolbar", S("記事 \"後で\" <読む>"), 1,
                             "https://example.org/?a=1&b=2"),
           {{Prop::Added, "1600000000"},
            {Prop::Modified, "1600000001"},
            {Prop::Visited, "1650000000"},
            {Prop::Description, "説明 & 注"}}),
      lf::MakeSeparatorEntry("R\\Toolbar", 1, 1),
      With(lf::MakeFolderEntry("R\\Toolbar", S("서울"), 1), {{Prop::Description, "d"}}),
      With(lf::MakeLinkEntry(S("R\\Toolbar\\서울"), "x", 2, "http://x/"), {{Prop::Keyword, "k"}}),
      With(lf::MakeLinkEntry("R", "top", 0, "javascript:alert('&#39;')"), {{Prop::Extra, kept}}),
  };
  const std::string path = dir.Path("b.xbel");
  lftest::RecordingOwner owner;
  const lf::Report written = engine.SaveBookmarkFile({owner, bar, nullptr, cancel}, path, list);
  EXPECT_EQ(written.links, 3);
  ASSERT_EQ(written.notes.size(), 1u);
  EXPECT_EQ(U(written.notes[0]), "[ " + dir.NativePath("b.xbel") +
                                     " ]には入らないため書かなかったもの：キーワード 1 件");
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("b.xbel")),
            R"xbel(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE xbel>
<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info" xmlns:kdepriv="http://www.kde.org/kdepriv">
 <folder added="2023-11-14T22:13:20Z" toolbar="yes">
  <title>Toolbar</title>
  <bookmark href="https://example.org/?a=1&amp;b=2" added="2020-09-13T12:26:40Z" modified="2020-09-13T12:26:41Z" visited="2022-04-15T05:20:00Z">
   <title>記事 "後で" &lt;読む&gt;</title>
   <desc>説明 &amp; 注</desc>
  </bookmark>
  <separator />
  <folder>
   <title>서울</title>
   <desc>d</desc>
   <bookmark href="http://x/">
    <title>x</title>
   </bookmark>
  </folder>
 </folder>
 <bookmark href="javascript:alert('&amp;#39;')" netscapeinfo="">
  <title>top</title>
  <info>
   <metadata owner="http://freedesktop.org">
    <bookmark:icon name="" />
   </metadata>
  </info>
 </bookmark>
</xbel>
)xbel");

  Read r = ReadFile(path);
  list[4].props.Set(Prop::Keyword, "");
  Lines expected;
  for (const lf::Entry& e : list) expected.push_back(Line(e));
  EXPECT_EQ(r.lines, expected);
  EXPECT_TRUE(r.report.Clean());
}

// A places database as Firefox keeps it (WAL, the roots by their guids, tags as folders of
// the tags root, keywords in a table of their own), read only: laid out as the backup is, the
// empty mobile root and the tags root no folders. One that Firefox holds locked is said to be
// in use, and it is never written.
TEST_F(BrowserFormats, FirefoxPlacesReadOnly) {
  const std::string native = dir.NativePath("places.sqlite");
  const std::string make = R"(
import sqlite3, sys
c = sqlite3.connect(sys.argv[1]); c.execute('PRAGMA journal_mode=WAL')
c.executescript('''
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, guid TEXT);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,
  parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT,
  dateAdded INTEGER, lastModified INTEGER, guid TEXT);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE,
  place_id INTEGER, post_data TEXT);
INSERT INTO moz_places VALUES (1, 'https://www.jalan.net/', 'j', 'p1'),
  (2, 'https://duckduckgo.com/?q=%s', 'd', 'p2'), (3, 'https://www.yahoo.co.jp/', 'y', 'p3'),
  (4, 'https://ko.wikipedia.org/wiki/%EC%84%9C%EC%9A%B8', 's', 'p4');
INSERT INTO moz_keywords (keyword, place_id) VALUES ('d', 2);
INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, lastModified, guid)
VALUES (1, 2, NULL, 0, 0, '', 1, 1, 'root________'),
  (2, 2, NULL, 1, 0, 'menu', 1000000, 2000000, 'menu________'),
  (3, 2, NULL, 1, 1, 'toolbar', 3000000, 4000000, 'toolbar_____'),
  (4, 2, NULL, 1, 2, 'tags', 1, 1, 'tags________'),
  (5, 2, NULL, 1, 3, 'unfiled', 1, 1, 'unfiled_____'),
  (6, 2, NULL, 1, 4, 'mobile', 1, 1, 'mobile______'),
  (11, 1, 2, 2, 1, 'DuckDuckGo', 1404172800000000, 1404259200000000, 'ddgddgddgddg'),
  (7, 2, NULL, 2, 0, '旅行 & 地図', 1356998400000000, 1356998400000001, 'travelfolder'),
  (8, 1, 1, 7, 0, 'じゃらん', 1388534400000000, 1388620800000000, 'jalanjalanja'),
  (9, 3, NULL, 7, 1, '', 1, 1, 'separatorsep'),
  (10, 1, 4, 7, 2, '서울', 1398902400000000, 0, 'seoulseoulse'),
  (12, 1, 3, 3, 0, 'Yahoo! JAPAN', 1406851200000000, 1406937600000000, 'yahooyahooya'),
  (13, 2, NULL, 4, 0, '宿', 1, 1, 'tagfolder001'), (14, 2, NULL, 4, 1, '旅行', 1, 1, 'tagfolder002'),
  (15, 1, 1, 13, 0, NULL, 1, 1, 'tagentry0001'), (16, 1, 1, 14, 0, NULL, 1, 1, 'tagentry0002');
''')
c.commit(); c.close()
)";
  lftest::WriteFile(native + ".py", make);
  ASSERT_EQ(std::system(("python3 '" + native + ".py' '" + native + "'").c_str()), 0);
  Read r = ReadFile(dir.Path("places.sqlite"));
  EXPECT_EQ(r.lines,
            (Lines{
                "R\\旅行 & 地図.dir0 |added=1356998400 |modified=1356998400 |guid=travelfolder",
                "R\\旅行 & 地図\\腕腕じゃらん.url1\\https://www.jalan.net/ |added=1388534400 "
                "|modified=1388620800 |tags=宿,旅行 |guid=jalanjalanja",
                "R\\旅行 & 地図\\腕腕・1.sep1",
                "R\\旅行 & 地図\\腕腕서울.url1\\https://ko.wikipedia.org/wiki/%EC%84%9C%EC%9A%B8 "
                "|added=1398902400 |guid=seoulseoulse",
                "R\\腕腕DuckDuckGo.url0\\https://duckduckgo.com/?q=%s |added=1404172800 "
                "|modified=1404259200 |keyword=d |guid=ddgddgddgddg",
                "R\\Bookmarks Toolbar.dir0 |added=3 |modified=4 |root=toolbar |guid=toolbar_____",
                "R\\Bookmarks Toolbar\\腕腕Yahoo! JAPAN.url1\\https://www.yahoo.co.jp/ "
                "|added=1406851200 |modified=1406937600 |guid=yahooyahooya",
            }));
  EXPECT_EQ(r.report.links, 4);
  EXPECT_TRUE(r.report.Clean());

  const std::string before = lftest::ReadFile(native);
  lftest::RecordingOwner owner;
  EXPECT_TRUE(engine.SaveBookmarkFile({owner, bar, nullptr, cancel}, dir.Path("places.sqlite"), {})
                  .Failed());
  EXPECT_EQ(owner.Texts(),
            (Lines{"[ " + native +
                   " ] は Firefox のファイルで、書き込めません。Firefox へはブックマークファイル"
                   "（HTML）に書き出して、Firefox の「インポート」で読み込んでください。"}));
  EXPECT_EQ(lftest::ReadFile(native), before);

  // Firefox running: it holds the database locked until it ends.
  const std::string flag = native + ".locked";
  const std::string hold =
      "import sqlite3, sys, os\n"
      "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
      "c.execute('PRAGMA locking_mode=EXCLUSIVE'); c.execute('BEGIN EXCLUSIVE')\n"
      "open(sys.argv[2], 'w').close(); sys.stdin.read()\n";
  lftest::WriteFile(native + ".hold.py", hold);
  FILE* holder =
      popen(("python3 '" + native + ".hold.py' '" + native + "' '" + flag + "'").c_str(), "w");
  ASSERT_NE(holder, nullptr);
  for (int i = 0; i < 500 && !lftest::Exists(flag); ++i) usleep(10000);
  ASSERT_TRUE(lftest::Exists(flag));
  Read locked = ReadFile(dir.Path("places.sqlite"));
  pclose(holder);
  EXPECT_TRUE(locked.lines.empty());
  EXPECT_EQ(locked.owner.Texts(), (Lines{"[ " + native +
                                         " ] は Firefox が使っているため読めません。Firefox を終了"
                                         "してから、もう一度実行してください。"}));
}
}  // namespace
