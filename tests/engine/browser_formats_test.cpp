// Today's browsers' files in the bookmark file slot: the files Firefox and KDE's editor wrote
// read whole, and our own lists through Chromium's file and back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "tests/engine/browser_formats_fixture.h"

namespace {

using namespace lftest;

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

}  // namespace
