// Bookmark files in the shapes other programs and hand edits give them, read as a browser
// reads them: each case is a family of files that a reader keyed on lines got wrong.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using Lines = std::vector<std::string>;

const std::filesystem::path kDataDir =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "data";

struct Read {
  Lines list;  // UTF-8
  Lines lost;  // "kind : path" of what was lost, UTF-8
  lf::Report report;
  lftest::RecordingOwner owner;
};

// Reads the bytes as a bookmark file with root path "R".
Read ReadBytes(const std::string& bytes) {
  lftest::TempDir dir;
  lftest::WriteFile(dir.NativePath("b.htm"), bytes);
  TBookmarkControl control;
  lftest::FakeProgressBar bar;
  int cancel = 0;
  Read r;
  lf::BookmarkList list;
  r.report =
      control.ReadBookmarkFile({r.owner, bar, nullptr, cancel}, dir.Path("b.htm"), list, "R");
  for (const std::string& e : list) r.list.push_back(lftest::U(e));
  for (const lf::LostItem& item : r.report.lost)
    r.lost.push_back(item.kind + " : " + lftest::U(item.path));
  return r;
}

// The lines in Shift-JIS, each ended by CR LF.
std::string SjisFile(const Lines& utf8) {
  std::string out;
  for (const std::string& l : utf8) out += lftest::S(l) + "\r\n";
  return out;
}

// A browser writes a rule without a line end after it: the next item keeps its name, and no
// item takes the rule into its own.
TEST(NetscapeMarkup, ARuleOnTheLineOfTheNextItem) {
  Read r = ReadBytes(SjisFile({
      "<DL><p>",
      "    <DT><A HREF=\"http://a/\">a</A>",
      "    <HR>    <DT><H3>ニュース</H3>",
      "    <DL><p>",
      "        <DT><A HREF=\"http://n/\">n</A>",
      "        <HR><DT><A HREF=\"http://m/\">m</A><HR>",
      "    </DL><p>",
      "    <HR><DT><A HREF=\"http://b/\">b</A>",
      "</DL>",
  }));
  EXPECT_EQ(r.list, (Lines{"R\\ニュース.dir0", "R\\ニュース\\腕腕m.url1\\http://m/",
                           "R\\ニュース\\腕腕n.url1\\http://n/", "R\\腕腕a.url0\\http://a/",
                           "R\\腕腕b.url0\\http://b/"}));
  EXPECT_TRUE(r.report.Clean());
}

// Wherever the lines of a file end, even nowhere, it holds the same folders and links. The
// sample files in every character set: on one line; with a line end before and after every
// tag; and with one for every blank inside the tags.
TEST(NetscapeMarkup, WhereverTheLinesEnd) {
  const Lines sample = {
      "R\\ニュース.dir0",
      "R\\ニュース\\ソフト.dir1",
      "R\\ニュース\\ソフト\\腕腕ｿﾌﾄ置き場.url2\\ftp://ftp.example.jp/pub/",
      "R\\ニュース\\腕腕毎日のニュース & 天気.url1\\http://news.example.jp/",
      "R\\腕腕トップ.url0\\http://example.jp/",
  };
  for (const char* name : {"sjis.htm", "eucjp.htm", "utf8_lf.htm"}) {
    std::string file = lftest::ReadFile((kDataDir / "netscape" / name).string());
    std::erase(file, '\r');
    std::erase(file, '\n');
    std::string around, inside;
    bool inTag = false;
    for (char c : file) {
      if (c == '<') around += "\r\n";
      around.push_back(c);
      if (c == '>') around += "\n";
      inTag = c == '<' || (inTag && c != '>');
      inside += inTag && c == ' ' ? std::string("\r\n") : std::string(1, c);
    }
    for (const std::string& bytes : {file, around, inside}) {
      Read r = ReadBytes(bytes);
      EXPECT_EQ(r.list, sample) << name << "\n" << bytes;
      EXPECT_TRUE(r.report.Clean());
    }
  }

  // A file on one line longer than the reader takes at once holds what it holds with an item
  // a line.
  std::string perLine = "<DL><p>\r\n", oneLine = "<DL><p>";
  for (int folder = 0; folder < 50; ++folder) {
    const std::string head = "<DT><H3 ADD_DATE=\"1\">F" + std::to_string(folder) + "</H3><DL><p>";
    perLine += head + "\r\n";
    oneLine += head;
    for (int link = 0; link < 100; ++link) {
      const std::string n = std::to_string(folder * 100 + link);
      const std::string item = "<DT><A HREF=\"http://host.example/" + n + "\" ADD_DATE=\"1\">" +
                               lftest::S("リンク") + n + "</A>";
      perLine += "    " + item + "\r\n";
      oneLine += item;
    }
    perLine += "</DL><p>\r\n";
    oneLine += "</DL><p>";
  }
  Read lines = ReadBytes(perLine), line = ReadBytes(oneLine);
  EXPECT_EQ(line.list, lines.list);
  EXPECT_EQ(lines.list.size(), 5050u);
  EXPECT_EQ(line.report.links, 5000);

  // Several items on one line are as many items, each of its own name.
  Read r = ReadBytes(
      "<DL><p><DT><A HREF=\"http://1/\">one</A><DT><A HREF=\"http://2/\">two</A>"
      "<DT><H3>F</H3><DL><p><DT><A HREF=\"http://3/\">three</A></DL><p></DL><p>");
  EXPECT_EQ(r.list, (Lines{"R\\F.dir0", "R\\F\\腕腕three.url1\\http://3/",
                           "R\\腕腕one.url0\\http://1/", "R\\腕腕two.url0\\http://2/"}));
}

// Tag and attribute names in any letter case.
TEST(NetscapeMarkup, LowerAndMixedCaseMarkup) {
  Read r = ReadBytes(SjisFile({
      "<!doctype netscape-bookmark-file-1>",
      "<meta http-equiv=\"content-type\" content=\"text/html; charset=shift_jis\">",
      "<title>Bookmarks</title>",
      "<h1>Bookmarks</h1>",
      "<dl><p>",
      "  <dt><h3 add_date=\"1\">フォルダ</h3>",
      "  <dl><p>",
      "    <dt><a href=\"http://x/\" add_date=\"1\">x</a>",
      "  </dl><p>",
      "  <Dt><A hReF=\"http://y/\">y</a>",
      "</Dl><p>",
  }));
  EXPECT_EQ(r.list, (Lines{"R\\フォルダ.dir0", "R\\フォルダ\\腕腕x.url1\\http://x/",
                           "R\\腕腕y.url0\\http://y/"}));
  EXPECT_TRUE(r.report.Clean());
}

// Values in double quotes, single quotes or none; attributes in any order, with blanks
// around "=" and over several lines; of two of one name the first counts.
TEST(NetscapeMarkup, AttributesAsBrowsersReadThem) {
  Read r = ReadBytes(SjisFile({
      "<DL><p>",
      "<DT><A HREF=http://u/>unquoted</A>",
      "<DT><A HREF='http://s/'>single</A>",
      "<DT><A ADD_DATE=\"1\" ICON=\"data:x\" HREF = \"http://o/\">order</A>",
      "<DT><A",
      "   HREF=\"http://m/",
      "path\"",
      "   ADD_DATE=\"1\">tag over lines</A>",
      "<DT><A HREF=\"http://first/\" href=\"http://second/\">twice</A>",
      "<DT><A TITLE=\"a > b\" HREF=\"http://q/?a=1&amp;b='x'\">in quotes</A>",
      "<DT><A HREF=http://bare/?a=1&amp;b=2 ADD_DATE=1>bare</A>",
      "</DL>",
  }));
  EXPECT_EQ(r.list,
            (Lines{"R\\腕腕bare.url0\\http://bare/?a=1&b=2",
                   "R\\腕腕in quotes.url0\\http://q/?a=1&b='x'", "R\\腕腕order.url0\\http://o/",
                   "R\\腕腕single.url0\\http://s/", "R\\腕腕tag over lines.url0\\http://m/path",
                   "R\\腕腕twice.url0\\http://first/", "R\\腕腕unquoted.url0\\http://u/"}));
  EXPECT_TRUE(r.report.Clean());
}

// A name is the item's own text: the addresses in folder names, descriptions and text
// between items make no links; markup inside a title is no part of it; comments, the
// document type, META and TITLE give nothing, whatever they hold.
TEST(NetscapeMarkup, OnlyLinksGiveLinks) {
  Read r = ReadBytes(SjisFile({
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
      "<!-- <DT><A HREF=\"http://commented/\">old</A> -->",
      "<TITLE>Links <A HREF=\"http://title/\">of mine</A></TITLE>",
      "<H1>Bookmarks</H1>",
      "<DL><p>",
      "<DT><H3>Links from http://blog.example/</H3>",
      "<DD>Found at http://d/ last year",
      "<DL><p>",
      "<DT><A HREF=\"http://a/\">a <!-- note --> <B>b</B></A>",
      "<DD>see http://d2/",
      "</DL><p>",
      "Visit http://text.example/ today",
      "<DT><A HREF=\"http://c/\">  c &lt;x&gt;  &amp;  d  </A>",
      "</DL><p>",
  }));
  EXPECT_EQ(r.list, (Lines{"R\\Links from http://blog.example/.dir0",
                           "R\\Links from http://blog.example/\\腕腕a  b.url1\\http://a/",
                           "R\\腕腕c <x>  &  d.url0\\http://c/"}));
  EXPECT_EQ(r.report.links, 2);
  EXPECT_TRUE(r.report.Clean());
}

// An A that gives no link is counted as an error and logged where it stood: without an
// HREF, or cut off by the end of the file.
TEST(NetscapeMarkup, WhatCannotBeTakenIsLost) {
  Read r = ReadBytes(SjisFile({
      "<DL><p>",
      "<DT><H3>F</H3>",
      "<DL><p>",
      "<DT><A NAME=\"top\">no address http://x/</A>",
      "<DT><A HREF=\"http://a/\">a</A>",
      "</DL><p>",
      "<DT><A>",
      "<DT><A HREF=\"http://cut/?a=1&amp;b=2\" ADD_DATE=\"1",
  }));
  EXPECT_EQ(r.list, (Lines{"R\\F.dir0", "R\\F\\腕腕a.url1\\http://a/"}));
  EXPECT_EQ(r.lost, (Lines{"URL Error : R\\F\\no address http://x/", "URL Error : R\\",
                           "URL Error : R\\http://cut/?a=1&b=2"}));
  EXPECT_EQ(r.report.errors, 3);
  EXPECT_EQ(r.report.links, 1);
}

// A browser's own export holds the folders and links the browser holds. Its separator has
// no entry form yet: it ends the item before it and is not read as one.
TEST(NetscapeMarkup, ABrowsersExportAsTheBrowserHoldsIt) {
  Read r = ReadBytes(lftest::ReadFile((kDataDir / "real-files" / "firefox-export.html").string()));
  EXPECT_EQ(r.list,
            (Lines{
                "R\\Bookmarks Toolbar.dir0",
                "R\\Bookmarks Toolbar\\仕事.dir1",
                "R\\Bookmarks Toolbar\\仕事\\腕腕報告メール.url2\\"
                "mailto:team@example.co.jp?subject=%E5%A0%B1%E5%91%8A",
                "R\\Bookmarks Toolbar\\仕事\\腕腕予定表.url2\\https://calendar.example.co.jp/",
                "R\\Bookmarks Toolbar\\腕腕Yahoo! JAPAN.url1\\https://www.yahoo.co.jp/",
                "R\\Other Bookmarks.dir0",
                "R\\Other Bookmarks\\腕腕記事 \"後で\" <読む>.url1\\"
                "https://example.org/%E8%A8%98%E4%BA%8B?id=1&ref=bm",
                "R\\旅行 & 地図.dir0",
                "R\\旅行 & 地図\\腕腕NAVITIME.url1\\https://www.navitime.co.jp/",
                "R\\旅行 & 地図\\腕腕じゃらん.url1\\https://www.jalan.net/",
                "R\\旅行 & 地図\\腕腕地図: 東京.url1\\"
                "https://www.google.com/maps/search/?api=1&query=%E6%9D%B1%E4%BA%AC",
                "R\\腕腕서울 - 위키백과.url0\\https://ko.wikipedia.org/wiki/%EC%84%9C%EC%9A%B8",
                "R\\腕腕Archive this page.url0\\"
                "javascript:location.href='https://web.archive.org/save/'+location.href",
                "R\\腕腕BBC News — World.url0\\https://www.bbc.co.uk/news",
                "R\\腕腕DuckDuckGo search.url0\\https://duckduckgo.com/?q=%s",
            }));
  EXPECT_EQ(r.report.links, 11);
  EXPECT_EQ(r.report.folders, 4);
  EXPECT_TRUE(r.report.Clean());
  EXPECT_TRUE(r.owner.messages.empty());
}

}  // namespace
