// Today's browsers' files in the bookmark file slot: the files Firefox and KDE's editor wrote
// read whole, and our own lists through Chromium's file, XBEL and a places database and back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "engine/bookmark_control.h"
#include "engine/bookmark_formats.h"
#include "engine/sjis_text.h"
#include "platform/system_info.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;
using lftest::S;
using lftest::U;

const std::filesystem::path kData =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "data";

// An entry as one line: its text and every property it carries, in UTF-8.
std::string Line(const lf::Entry& entry) {
  static const char* const kNames[] = {"",      "added", "modified", "visited",  "keyword",
                                       "tags",  "desc",  "icon",     "iconuri",  "root",
                                       "attrs", "guid",  "extra",    "iconfile", "iconindex"};
  std::string line = U(entry);
  for (const auto& [prop, value] : entry.props.All())
    line += std::string(" |") + kNames[static_cast<int>(prop)] + "=" + U(value);
  return line;
}

struct Read {
  Lines lines;
  lf::Report report;
  lftest::RecordingOwner owner;
};

class BrowserFormats : public testing::Test {
 protected:
  void SetUp() override { platform::SetLoginName("taro"); }
  void TearDown() override { platform::SetLoginName(std::nullopt); }

  Read ReadFile(const std::string& path, lf::Order order = lf::Order::Keep) {
    Read r;
    lf::BookmarkList list;
    engine.ListOrder = order;
    r.report = engine.ReadBookmarkFile({r.owner, bar, nullptr, cancel}, path, list, "R");
    for (const lf::Entry& e : list) r.lines.push_back(Line(e));
    return r;
  }

  lf::TBookmarkControl engine;
  lftest::FakeProgressBar bar;
  int cancel = 0;
  lftest::TempDir dir;
};

// Firefox's backup gives what Firefox's own export of the same bookmarks gives, folder for
// folder and link for link, with the guids, keywords and tags that the export has too; the
// empty mobile root is no folder, as the export has none.
TEST_F(BrowserFormats, FirefoxsBackupAsFirefoxExportsIt) {
  Read r = ReadFile((kData / "real-files/firefox-backup.jsonlz4").string());
  EXPECT_EQ(
      r.lines,
      (Lines{
          "R\\旅行 & 地図.dir0 |added=1356998400 |modified=1796776010 |guid=GrLeUxE_thZ1",
          "R\\旅行 & 地図\\腕腕じゃらん.url1\\https://www.jalan.net/ |added=1388534400 "
          "|modified=1388620800 |tags=宿,旅行 |guid=HIrLg3BvJSNc",
          "R\\旅行 & 地図\\腕腕地図: 東京.url1\\https://www.google.com/maps/search/"
          "?api=1&query=%E6%9D%B1%E4%BA%AC |added=1391212800 |modified=1391299200 |keyword=map "
          "|guid=L2Jwiu165hJX",
          "R\\旅行 & 地図\\腕腕・1.sep1",
          "R\\旅行 & 地図\\腕腕NAVITIME.url1\\https://www.navitime.co.jp/ |added=1393632000 "
          "|modified=1393718400 |guid=hMx9XC9zrG0N",
          "R\\腕腕BBC News — World.url0\\https://www.bbc.co.uk/news |added=1396310400 "
          "|modified=1396396800 |guid=efBfDWGYzOWB",
          "R\\腕腕서울 - 위키백과.url0\\https://ko.wikipedia.org/wiki/%EC%84%9C%EC%9A%B8 "
          "|added=1398902400 |modified=1398988800 |tags=wiki |guid=d-puh3c9QJVL",
          "R\\腕腕Archive this page.url0\\javascript:location.href='https://web.archive.org/save/'"
          "+location.href |added=1401580800 |modified=1401667200 |guid=uPUxhkR72O3c",
          "R\\腕腕DuckDuckGo search.url0\\https://duckduckgo.com/?q=%s |added=1404172800 "
          "|modified=1404259200 |keyword=d |guid=nuHQidfwn0a_",
          "R\\Bookmarks Toolbar.dir0 |added=1796776010 |modified=1414800000 |root=toolbar "
          "|guid=toolbar_____",
          "R\\Bookmarks Toolbar\\腕腕Yahoo! JAPAN.url1\\https://www.yahoo.co.jp/ |added=1406851200 "
          "|modified=1406937600 |guid=Ip53BOOS5ayC",
          "R\\Bookmarks Toolbar\\仕事.dir1 |added=1409529600 |modified=1414800000 "
          "|guid=wqSpOKdsWEkN",
          "R\\Bookmarks Toolbar\\仕事\\腕腕予定表.url2\\https://calendar.example.co.jp/ "
          "|added=1412121600 |modified=1412208000 |guid=vX_sSOFCZDDW",
          "R\\Bookmarks Toolbar\\仕事\\腕腕報告メール.url2\\mailto:team@example.co.jp?subject="
          "%E5%A0%B1%E5%91%8A |added=1414800000 |modified=1414886400 |guid=YPSBS7XqY_2P",
          "R\\Other Bookmarks.dir0 |added=1796776010 |modified=1417392000 |root=unfiled "
          "|guid=unfiled_____",
          "R\\Other Bookmarks\\腕腕記事 \"後で\" "
          "<読む>.url1\\https://example.org/%E8%A8%98%E4%BA%8B"
          "?id=1&ref=bm |added=1417392000 |modified=1417478400 |guid=eIyyO9gE8l3R",
      }));
  EXPECT_EQ(r.report.links, 11);
  EXPECT_EQ(r.report.folders, 4);
  EXPECT_TRUE(r.report.Clean());
  EXPECT_TRUE(r.owner.messages.empty());

  Read exported = ReadFile((kData / "real-files/firefox-export.html").string());
  Lines texts, exportedTexts;
  for (const std::string& line : r.lines) texts.push_back(line.substr(0, line.find(" |")));
  for (const std::string& line : exported.lines)
    exportedTexts.push_back(line.substr(0, line.find(" |")));
  EXPECT_EQ(texts, exportedTexts);
}

// KDE's editor's XBEL: its import folder, every folder, link and separator, and KDE's own
// metadata carried for an XBEL written back. An address is what KDE reads back from it: the
// "&amp;" its import left in the addresses stays "&amp;" (KDE opens it so too).
TEST_F(BrowserFormats, KdesXbelAsKdeReadsIt) {
  Read r = ReadFile((kData / "real-files/kde-bookmarks.xbel").string());
  const std::string icon =
      "<kept netscapeinfo=\"\"><info><metadata owner=\"http://freedesktop.org\"><bookmark:icon "
      "name=\"\"/></metadata></info></kept>";
  const std::string folder = " |extra=<kept netscapeinfo=\"\" folded=\"no\"/>";
  const std::string n = "R\\Netscape Bookmarks\\";
  EXPECT_EQ(
      r.lines,
      (Lines{
          "R\\Netscape Bookmarks.dir0 |extra=<kept><info><metadata "
          "owner=\"http://freedesktop.org\"><bookmark:icon "
          "name=\"netscape\"/></metadata></info></kept>",
          n + "旅行 & 地図.dir1" + folder,
          n + "旅行 & 地図\\腕腕じゃらん.url2\\https://www.jalan.net/ |extra=" + icon,
          n +
              "旅行 & 地図\\腕腕地図: 東京.url2\\https://www.google.com/maps/search/"
              "?api=1&amp;query=%E6%9D%B1%E4%BA%AC |extra=" +
              icon,
          n + "旅行 & 地図\\腕腕・1.sep2",
          n + "旅行 & 地図\\腕腕NAVITIME.url2\\https://www.navitime.co.jp/ |extra=" + icon,
          n + "腕腕BBC News — World.url1\\https://www.bbc.co.uk/news |extra=" + icon,
          n +
              "腕腕서울 - 위키백과.url1\\https://ko.wikipedia.org/wiki/%EC%84%9C%EC%9A%B8 "
              "|extra=" +
              icon,
          n +
              "腕腕Archive this page.url1\\javascript:location.href=&#39;"
              "https://web.archive.org/save/&%2339;+location.href |extra=" +
              icon,
          n + "腕腕DuckDuckGo search.url1\\https://duckduckgo.com/?q=%25s |extra=" + icon,
          n + "Bookmarks Toolbar.dir1" + folder,
          n + "Bookmarks Toolbar\\腕腕Yahoo! JAPAN.url2\\https://www.yahoo.co.jp/ |extra=" + icon,
          n + "Bookmarks Toolbar\\仕事.dir2" + folder,
          n +
              "Bookmarks Toolbar\\仕事\\腕腕予定表.url3\\https://calendar.example.co.jp/ "
              "|extra=" +
              icon,
          n +
              "Bookmarks Toolbar\\仕事\\腕腕報告メール.url3\\mailto:team@example.co.jp"
              "?subject=%E5%A0%B1%E5%91%8A |extra=" +
              icon,
          n + "Other Bookmarks.dir1" + folder,
          n +
              "Other Bookmarks\\腕腕記事 \"後で\" <読む>.url2\\https://example.org/"
              "%E8%A8%98%E4%BA%8B?id=1&amp;ref=bm |extra=" +
              icon,
      }));
  EXPECT_EQ(r.report.links, 11);
  EXPECT_TRUE(r.report.Clean());

  // Sorted by name, the separator cannot be placed: it is counted and the read says so.
  Read sorted = ReadFile((kData / "real-files/kde-bookmarks.xbel").string(), lf::Order::Sort);
  EXPECT_EQ(sorted.lines.size(), r.lines.size() - 1);
  ASSERT_EQ(sorted.report.notes.size(), 1u);
  EXPECT_EQ(
      U(sorted.report.notes[0]),
      "区切り線 1 本は名前順に並べるため読み込みませんでした。元の並び順を保つ設定にすると残せ"
      "ます。");
}

// What a run of Python's own json and hashlib finds in a Chromium file: whether its checksum
// is the one Chromium computes (MD5 over id, name as UTF-16LE, type and URL of every node,
// the roots bar, other and synced in this order), its ids and guids are unique, and what
// the script is asked to print of it.
std::string CheckedByPython(const std::string& nativePath, const std::string& print) {
  const std::string script = R"(
import hashlib, json, re, sys
d = json.load(open(sys.argv[1], encoding='utf-8'))
m = hashlib.md5(); ids = []; guids = []
def walk(n):
    ids.append(n['id']); guids.append(n['guid'])
    m.update(n['id'].encode()); m.update(n['name'].encode('utf-16-le'))
    if n['type'] == 'url':
        m.update(b'url'); m.update(n['url'].encode())
    else:
        m.update(b'folder')
        for c in n['children']: walk(c)
for k in ('bookmark_bar', 'other', 'synced'): walk(d['roots'][k])
ok = m.hexdigest() == d['checksum'] and len(set(ids)) == len(ids) and len(set(guids)) == len(guids)
ok = ok and all(re.fullmatch('[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}', g) for g in guids)
print('valid' if ok and d['version'] == 1 else 'INVALID')" +
                             print + R"()
)";
  const std::string scriptPath = nativePath + ".py";
  lftest::WriteFile(scriptPath, script);
  FILE* pipe = popen(("python3 '" + scriptPath + "' '" + nativePath + "'").c_str(), "r");
  std::string out;
  char buffer[4096];
  for (std::size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    out.append(buffer, got);
  if (pipe) pclose(pipe);
  return out;
}

// True when the line ends in a new version-4 guid, which is then cut off.
bool EndsInNewGuid(std::string& line) {
  if (line.size() < 36) return false;
  const std::string guid = line.substr(line.size() - 36);
  for (std::size_t i = 0; i < guid.size(); ++i) {
    const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
    if (hyphen != (guid[i] == '-')) return false;
    if (!hyphen && std::string_view("0123456789abcdef").find(guid[i]) == std::string_view::npos)
      return false;
  }
  if (guid[14] != '4' || std::string_view("89ab").find(guid[19]) == std::string_view::npos)
    return false;
  line.resize(line.size() - 36);
  return true;
}

lf::Entry With(lf::Entry entry, std::vector<std::pair<lf::Prop, std::string>> props) {
  for (const auto& [prop, value] : props) entry.props.Set(prop, S(value));
  return entry;
}

// A list of our own through a new "Bookmarks" file and back: the toolbar folder becomes the
// bar (with Chromium's own guid for it), what lies outside any root goes to "other
// bookmarks", names beyond Shift-JIS, dates and guids come back; what the file cannot hold
// (separators, keywords) is said. Written over that file, a node keeps what Chromium gave it
// there (meta_info) and so does the file (sync_metadata); while the browser runs, nothing is
// written.
TEST_F(BrowserFormats, ChromiumFileWrittenAndReadBack) {
  platform::SetClock([] { return platform::LocalDateTime{2024, 5, 1}; });
  using lf::Prop;
  const std::string a = "aaaaaaaa-aaaa-4aaa-8aaa-aaaaaaaaaaaa",
                    b = "bbbbbbbb-bbbb-4bbb-9bbb-bbbbbbbbbbbb",
                    c = "cccccccc-cccc-4ccc-accc-cccccccccccc";
  lf::BookmarkList list{
      With(lf::MakeFolderEntry("R", "Bookmarks bar", 0), {{Prop::Added, "1700000000"},
                                                          {Prop::Modified, "1700000100"},
                                                          {Prop::Root, "toolbar"},
                                                          {Prop::Guid, a}}),
      With(lf::MakeLinkEntry("R\\Bookmarks bar", "Yahoo! JAPAN", 1, "https://www.yahoo.co.jp/"),
           {{Prop::Added, "1600000000"},
            {Prop::Visited, "1650000000"},
            {Prop::Keyword, "y"},
            {Prop::Guid, b}}),
      With(lf::MakeFolderEntry("R\\Bookmarks bar", S("仕事"), 1), {{Prop::Added, "1500000000"}}),
      lf::MakeLinkEntry(S("R\\Bookmarks bar\\仕事"), S("서울 \"위키\" <&>"), 2,
                        S("https://ko.wikipedia.org/wiki/서울?a=1&b=2")),
      lf::MakeSeparatorEntry(S("R\\Bookmarks bar\\仕事"), 1, 2),
      With(lf::MakeLinkEntry("R", "BBC", 0, "https://www.bbc.co.uk/news"),
           {{Prop::Guid, c}, {Prop::Extra, R"({"meta_info":{"from":"elsewhere"}})"}}),
  };
  const std::string path = dir.Path("profile/Default/Bookmarks");
  lftest::MakeDirs(dir.NativePath("profile/Default"));
  lftest::RecordingOwner owner;
  lf::Report written = engine.SaveBookmarkFile({owner, bar, nullptr, cancel}, path, list);
  EXPECT_EQ(written.links, 3);
  ASSERT_EQ(written.notes.size(), 1u);
  EXPECT_EQ(U(written.notes[0]), "[ " + dir.NativePath("profile/Default/Bookmarks") +
                                     " ]には入らないため書かなかったもの：区切り線 1 件、"
                                     "キーワード 1 件");
  const std::string native = dir.NativePath("profile/Default/Bookmarks");
  EXPECT_EQ(CheckedByPython(native, ""), "valid\n");

  Read r = ReadFile(path);
  const std::string stamp = "1714521600";
  // The items that had no guid have new ones; the one that came from elsewhere has no
  // meta_info.
  ASSERT_EQ(r.lines.size(), 6u);
  EXPECT_TRUE(EndsInNewGuid(r.lines[2]));
  EXPECT_TRUE(EndsInNewGuid(r.lines[3]));
  EXPECT_EQ(
      r.lines,
      (Lines{
          "R\\Bookmarks bar.dir0 |added=1700000000 |modified=1700000100 |root=toolbar "
          "|guid=0bc5d13f-2cba-5d74-951f-3f233fe6c908",
          "R\\Bookmarks bar\\腕腕Yahoo! JAPAN.url1\\https://www.yahoo.co.jp/ |added=1600000000 "
          "|visited=1650000000 |guid=" +
              b,
          "R\\Bookmarks bar\\仕事.dir1 |added=1500000000 |guid=",
          "R\\Bookmarks bar\\仕事\\腕腕서울 \"위키\" <&>.url2\\https://ko.wikipedia.org/wiki/"
          "서울?a=1&b=2 |added=" +
              stamp + " |guid=",
          "R\\Other bookmarks.dir0 |added=" + stamp +
              " |root=unfiled "
              "|guid=82b081ec-3dd3-529c-8475-ab6c344590dd",
          "R\\Other bookmarks\\腕腕BBC.url1\\https://www.bbc.co.uk/news |added=" + stamp +
              " |guid=" + c,
      }));

  // Chromium's own additions to the file, then the list read from it written over it.
  const std::string add = R"(
import json, sys
p = sys.argv[1]; d = json.load(open(p, encoding='utf-8'))
d['sync_metadata'] = 'c3luYw=='
d['roots']['bookmark_bar']['children'][0]['meta_info'] = {'power_bookmark': 'x'}
json.dump(d, open(p, 'w', encoding='utf-8'), ensure_ascii=False, indent=3)
)";
  lftest::WriteFile(native + ".add.py", add);
  ASSERT_EQ(std::system(("python3 '" + native + ".add.py' '" + native + "'").c_str()), 0);
  lf::BookmarkList again;
  engine.ReadBookmarkFile({owner, bar, nullptr, cancel}, path, again, "R");
  EXPECT_EQ(engine.SaveBookmarkFile({owner, bar, nullptr, cancel}, path, again).links, 3);
  EXPECT_EQ(CheckedByPython(native,
                            ", d.get('sync_metadata'), "
                            "d['roots']['bookmark_bar']['children'][0].get('meta_info')"),
            "valid c3luYw== {'power_bookmark': 'x'}\n");
  EXPECT_TRUE(lftest::Exists(dir.NativePath("profile/Default/Bookmarks.old")));

  // The browser runs: its lock stands beside the profile, and the file stays as it is.
  const std::string before = lftest::ReadFile(native);
  ASSERT_EQ(symlink("host-123", dir.NativePath("profile/SingletonLock").c_str()), 0);
  lftest::RecordingOwner refused;
  const lf::Report locked = engine.SaveBookmarkFile({refused, bar, nullptr, cancel}, path, again);
  EXPECT_TRUE(locked.Failed());
  EXPECT_EQ(refused.Texts(),
            (Lines{"ブラウザが動いているため [ " + native + " ] に書き込めません（" +
                   dir.NativePath("profile/SingletonLock") +
                   " があります）。ブラウザを終了してから、もう一度実行してください。"}));
  EXPECT_EQ(lftest::ReadFile(native), before);
  platform::SetClock({});
}

// A file of more than a megabyte as other writers lay it out, indented, with CR LF or all on
// one line, reads the same: the text is taken in pieces without its blanks, and a line longer
// than a piece goes on as it is.
TEST_F(BrowserFormats, ChromiumFilesIndentedOrOnOneLineReadAlike) {
  const std::string make = R"(
import json, sys
folders = [{'type': 'folder', 'name': 'F%d' % f, 'id': str(f + 10), 'guid': '', 'children': [
    {'type': 'url', 'name': 'L "%d" \u3042 {x}\n' % i, 'url': 'http://e.org/?q=%d&r= ,' % i,
     'id': str(1000 + f * 1000 + i), 'date_added': '13300000000000000'} for i in range(1000)]}
    for f in range(30)]
roots = {'bookmark_bar': {'type': 'folder', 'name': 'Bar', 'children': folders},
         'other': {'type': 'folder', 'name': 'Other', 'children': []},
         'synced': {'type': 'folder', 'name': 'Mobile', 'children': []}}
d = {'checksum': '', 'roots': roots, 'version': 1}
json.dump(d, open(sys.argv[1] + '/indented.json', 'w'), indent=3)
json.dump(d, open(sys.argv[1] + '/crlf.json', 'w', newline='\r\n'), indent=3)
json.dump(d, open(sys.argv[1] + '/line.json', 'w'), separators=(',', ':'))
)";
  lftest::WriteFile(dir.NativePath("make.py"), make);
  ASSERT_EQ(
      std::system(("python3 '" + dir.NativePath("make.py") + "' '" + dir.Native() + "'").c_str()),
      0);
  Read indented = ReadFile(dir.Path("indented.json"));
  EXPECT_EQ(indented.report.links, 30000);
  EXPECT_TRUE(indented.report.Clean());
  EXPECT_EQ(indented.lines[2],
            "R\\Bar\\F0\\腕腕L \"0\" あ {x} .url2\\http://e.org/?q=0&r= , |added=1655526400");
  EXPECT_EQ(ReadFile(dir.Path("crlf.json")).lines, indented.lines);
  EXPECT_EQ(ReadFile(dir.Path("line.json")).lines, indented.lines);
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
