#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <random>

#include "engine/bookmark_control.h"
#include "engine/html_text.h"
#include "engine/sjis_text.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using lftest::S;
using Lines = std::vector<std::string>;

const std::string kDataDir =
    (std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "netscape").string();

Lines Utf8(const lf::BookmarkList& list) {
  Lines out;
  for (const std::string& e : list) out.push_back(lftest::U(e));
  return out;
}

// Shift-JIS text from UTF-8 lines, each ended by CR LF.
std::string SjisFile(const Lines& utf8) {
  std::string out;
  for (const std::string& l : utf8) out += S(l) + "\r\n";
  return out;
}

struct Read {
  Lines list;  // UTF-8
  int count = 0;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lftest::FakeTreeView tree;
};

// Reads a file with root path "R" (the root name given with a trailing backslash).
void ReadInto(Read& r, const std::string& path, TBookmarkControl& control, bool fillTree = false,
              int cancel = 0) {
  lf::BookmarkList list;
  control.ReadBookmarkFile(r.owner, path, cancel, r.count, fillTree ? &r.tree : nullptr, fillTree,
                           list, r.bar, "R\\");
  r.list = Utf8(list);
}

// Writes bytes to a temporary file and reads it.
Read ReadBytes(const std::string& bytes) {
  lftest::TempDir dir;
  lftest::WriteFile(dir.NativePath("b.htm"), bytes);
  TBookmarkControl control;
  Read r;
  ReadInto(r, dir.Path("b.htm"), control);
  return r;
}

const Lines kSampleList = {
    "R\\ニュース.dir0",
    "R\\ニュース\\ソフト.dir1",
    "R\\ニュース\\ソフト\\腕腕ｿﾌﾄ置き場.url2\\ftp://ftp.example.jp/pub/",
    "R\\ニュース\\腕腕毎日のニュース & 天気.url1\\http://news.example.jp/",
    "R\\腕腕トップ.url0\\http://example.jp/",
};

class SampleFile : public testing::TestWithParam<const char*> {};

TEST_P(SampleFile, EveryCodePageGivesTheSameList) {
  lftest::TempDir dir;
  // A copy, so that the temporary file of a UTF-8 read lands in a folder of our own.
  std::filesystem::copy_file(kDataDir + "/" + GetParam(), dir.NativePath("bookmark.htm"));
  TBookmarkControl control;
  Read r;
  r.count = 10;
  ReadInto(r, dir.Path("bookmark.htm"), control, true);
  EXPECT_EQ(r.list, kSampleList);
  EXPECT_EQ(r.count, 13);
  EXPECT_TRUE(r.owner.messages.empty());
  EXPECT_EQ(r.tree.Dump(),
            lftest::U(dir.Path("bookmark.htm")) + " [0/0]\n  ニュース [0/1]\n    ソフト [0/1]\n");
  EXPECT_EQ(r.bar.max, 707 / 90);
  EXPECT_EQ(r.bar.steps, 20);  // one per line read
  EXPECT_FALSE(lftest::Exists(dir.NativePath("bookmark.tmp")));
}

INSTANTIATE_TEST_SUITE_P(NetscapeReader, SampleFile,
                         testing::Values("sjis.htm", "eucjp.htm", "utf8_lf.htm"));

TEST(NetscapeReader, ReadsTheStandardLayout) {
  Read r = ReadBytes(SjisFile({
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
      "<TITLE>Bookmarks</TITLE>",
      "<H1>Bookmarks</H1>",
      "<DL><p>",
      "    <DT><H3 ADD_DATE=\"1\">News</H3>",
      "    <DL><p>",
      "        <DT><A HREF=\"http://host/a\" ADD_DATE=\"1\">A &amp; B</A>",
      "    </DL><p>",
      "    <DT><A HREF=\"http://host/b\">B</A>",
      "</DL><p>",
      "    <DT><A HREF=\"http://host/after\">after the end</A>",
  }));
  // A link after the end of the outermost list is read as a browser reads it.
  EXPECT_EQ(r.list, (Lines{"R\\News.dir0", "R\\News\\腕腕A & B.url1\\http://host/a",
                           "R\\腕腕after the end.url0\\http://host/after",
                           "R\\腕腕B.url0\\http://host/b"}));
  EXPECT_EQ(r.count, 3);
}

// A link's address is its whole HREF value, of whatever scheme or of none: other attributes
// and the title may hold addresses of a scheme that the search prefers, and so may the value
// itself. A description is no link, whatever it holds.
TEST(NetscapeReader, TheAddressIsTheHrefValue) {
  Read r = ReadBytes(SjisFile({
      "<DL><p>",
      "<DT><A HREF=\"http://site/\" ADD_DATE=\"1\" ICON_URI=\"https://site/favicon.ico\">Site</A>",
      "<DT><A href=\"http://plain/\">see https://elsewhere/</A>",
      "<DT><A HREF=\"mailto:a@b\">https://title/</A>",
      "<DT><A HREF=\"place:sort=8&amp;maxResults=10\">Recent</A>",
      "<DT><A HREF=\"http://web.archive.org/web/2003/https://example.jp/\">Archive</A>",
      "<DT><A HREF=\"http://example.com/path/res:x\">Res</A>",
      "<DT><A HREF=\"javascript:alert(&quot;x&quot;)\">Bookmarklet</A>",
      "<DT><A HREF=\"see http://inside/\">Text first</A>",
      "<DT><A HREF=\"relative.html\">No scheme</A>",
      "<DD>no attribute: http://d/",
      "</DL><p>",
  }));
  EXPECT_EQ(
      r.list,
      (Lines{"R\\腕腕Archive.url0\\http://web.archive.org/web/2003/https://example.jp/",
             "R\\腕腕Bookmarklet.url0\\javascript:alert(\"x\")",
             "R\\腕腕https://title/.url0\\mailto:a@b", "R\\腕腕No scheme.url0\\relative.html",
             "R\\腕腕Recent.url0\\place:sort=8&maxResults=10",
             "R\\腕腕Res.url0\\http://example.com/path/res:x",
             "R\\腕腕see https://elsewhere/.url0\\http://plain/", "R\\腕腕Site.url0\\http://site/",
             "R\\腕腕Text first.url0\\see http://inside/"}));
  EXPECT_EQ(r.count, 9);
}

// A title keeps every character, also one that holds a "\" and an address: the "\" is held as
// its reference, so the link keeps its own address through a write and a read.
TEST(NetscapeReader, ATitleHoldingTheEndOfALinkNameKeepsItsAddress) {
  const std::string file =
      SjisFile({"<DL><p>", "<DT><A HREF=\"http://c/\">a.url0\\http://b/&quot;q</A>"});
  lftest::TempDir dir;
  lftest::WriteFile(dir.NativePath("b.htm"), file);
  TBookmarkControl control;
  lf::BookmarkList first, second;
  int cancel = 0, count = 0;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  control.ReadBookmarkFile(owner, dir.Path("b.htm"), cancel, count, nullptr, false, first, bar,
                           "R");
  EXPECT_EQ(first, (lf::BookmarkList{"R" + std::string(lf::kLinkMarker) +
                                     "a.url0&#92;http://b/\"q.url0\\http://c/"}));
  control.SaveBookmarkFile(owner, bar, count, dir.Path("c.htm"), first);
  EXPECT_NE(lftest::ReadFile(dir.NativePath("c.htm"))
                .find("<A HREF=\"http://c/\" ADD_DATE=\"" + std::to_string(lf::DateStamp())),
            std::string::npos);
  control.ReadBookmarkFile(owner, dir.Path("c.htm"), cancel, count, nullptr, false, second, bar,
                           "R");
  EXPECT_EQ(second, first);
  EXPECT_TRUE(owner.messages.empty());
}

TEST(NetscapeReader, TitlesSplitOverLinesAndEntities) {
  std::string file;  // ASCII, written as it stands
  for (const char* line : {
           "<DL><p>",
           "<DT><H3 ADD_DATE=\"1\">Long",
           "   Name &amp; a/b:c &lt;&#x41;&#39;&gt;</H3>",
           "<DL><p>",
           "<DT><A HREF=\"http://host/x\">Split",
           "  Link &amp;amp; more &#233;&#0; &nbsp;</A>",
           "<DT><A HREF=\"http://host/empty\"></A>",
           "<DD>see http://host/d for details",
           "</DL><p>",
           "</DL><p>",
       })
    file += std::string(line) + "\r\n";
  Read r = ReadBytes(file);
  // A line end inside a name is a blank and the white space around it stays; references are
  // decoded once in folder names and titles alike; a link written with an empty title is a
  // link all the same; a description is not.
  EXPECT_EQ(r.list, (Lines{"R\\Long    Name & a/b:c <A'>.dir0",
                           "R\\Long    Name & a/b:c <A'>\\腕腕.url1\\http://host/empty",
                           "R\\Long    Name & a/b:c <A'>\\腕腕Split   Link &amp; more é&#0; "
                           "\u00A0.url1\\http://host/x"}));
  EXPECT_EQ(r.count, 2);
}

TEST(NetscapeReader, CleanNameAndLinkName) {
  // Names keep every character; a "\" of their own is held as its reference, while the
  // second byte of "ソ" is no "\".
  EXPECT_EQ(TBookmarkControl::CleanName("<DT><H3 X=\"1\">a/b:c*d?e\"f|g\\h</H3>"),
            "a/b:c*d?e\"f|g&#92;h");
  EXPECT_EQ(TBookmarkControl::CleanName("no tag at all"), "");
  EXPECT_EQ(TBookmarkControl::CleanName(S("<DT><H3>ソフト\\</H3>")), S("ソフト") + "&#92;");

  TBookmarkControl control;
  const std::string line = "<DT><A HREF=\"http://x\">http://x &amp;#233;</A>";
  EXPECT_EQ(control.LinkName(line), "http://x &#38;#233;");
  Read r = ReadBytes("<DL><p>\r\n<DT><A HREF=\"http://x\">http://x</A>\r\n");
  EXPECT_EQ(r.list, (Lines{"R\\腕腕http://x.url0\\http://x"}));
}

// The declared character set in any of its spellings decides; without a declaration the
// bytes do, and a byte order mark means UTF-8.
TEST(NetscapeReader, CharsetDetection) {
  const std::string body =
      "<DL><p>\r\n<DT><A HREF=\"http://h/\">" + S("日本のニュース") + "</A>\r\n";
  const std::string sjis = body;
  const std::string euc = TBookmarkControl::SjisToEuc(body);
  const std::string utf8 = lftest::U(body);
  struct Case {
    std::string head;
    const std::string& body;
  };
  const Case cases[] = {
      {"charset=Shift_JIS", sjis},
      {"CHARSET=SHIFT_JIS", sjis},
      {"<meta charset=\"x-sjis\">", sjis},
      {"content=\"text/html; charset = windows-31j\"", sjis},
      {"charset='CP932'", sjis},
      {"charset=euc-jp", euc},
      {"charset=\"x-euc-jp\"", euc},
      {"<META charset=EUC_JP>", euc},
      {"charset=utf-8", utf8},
      {"<meta charset=UTF8>", utf8},
      {"charset=\"utf-8\"", utf8},
      {"charset=iso-8859-1\r\ncharset=Shift_JIS", sjis},  // the first one the reader knows
      {"charset=Shift_JIS\r\ncharset=UTF-8", sjis},       // the first declaration decides
      {"", sjis},
      {"", euc},
      {"", utf8},
      {"\xEF\xBB\xBF", utf8},
      {"\xEF\xBB\xBF"
       "charset=Shift_JIS",
       utf8},
  };
  for (const Case& c : cases) {
    Read r = ReadBytes(c.head + "\r\n" + c.body);
    EXPECT_EQ(r.list, (Lines{"R\\腕腕日本のニュース.url0\\http://h/"})) << c.head;
  }
}

// Files saved on Unix or passed through iconv end their lines with line feeds alone, old Mac
// files with carriage returns alone: they read as the same lines in every character set.
TEST(NetscapeReader, EveryLineEndEndsALineInEveryCharset) {
  for (const char* name : {"sjis.htm", "eucjp.htm", "utf8_lf.htm"}) {
    std::string bytes = lftest::ReadFile(kDataDir + "/" + name);
    std::string lf = bytes;
    std::erase(lf, '\r');
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    for (const std::string& file : {lf, cr}) {
      Read r = ReadBytes(file);
      EXPECT_EQ(r.list, kSampleList) << name;
      EXPECT_EQ(r.count, 3) << name;
    }
  }
}

// An item that is not closed ends where the next item or list begins or ends, and the end of
// the file ends the last one; a "</DL>" with no list open closes nothing; a DL after a folder
// is the folder's list, also before any other list.
TEST(NetscapeReader, MalformedNesting) {
  Read extra =
      ReadBytes(SjisFile({"<DL><p>", "<DT><H3>F</H3>", "<DL><p>", "<DT><A HREF=\"http://a/\">a</A>",
                          "</DL><p>", "</DL><p>", "</DL><p>", "<DT><A HREF=\"http://b/\">b</A>"}));
  EXPECT_EQ(extra.list,
            (Lines{"R\\F.dir0", "R\\F\\腕腕a.url1\\http://a/", "R\\腕腕b.url0\\http://b/"}));

  Read flat = ReadBytes(SjisFile({"<DT><H3>F</H3>", "<DL><p>", "<DT><A HREF=\"http://a/\">a</A>",
                                  "</DL><p>", "<DT><A HREF=\"http://b/\">b</A>"}));
  EXPECT_EQ(flat.list,
            (Lines{"R\\F.dir0", "R\\F\\腕腕a.url1\\http://a/", "R\\腕腕b.url0\\http://b/"}));

  Read open = ReadBytes(SjisFile({"<DL><p>", "<DT><A HREF=\"http://a/\">a</A>",
                                  "<DT><A HREF=\"http://open/\">never closed",
                                  "<DT><A HREF=\"http://b/\">b<DT><H3>Open folder", "<DL><p>",
                                  "<DT><A HREF=\"http://c/\">c<A HREF=\"http://d/\">d</DL><p>",
                                  "<DT><H3>Last folder<HR>", "<DT><A HREF=\"http://e/\">e"}));
  EXPECT_EQ(open.list,
            (Lines{"R\\Last folder.dir0", "R\\Open folder.dir0",
                   "R\\Open folder\\腕腕c.url1\\http://c/", "R\\Open folder\\腕腕d.url1\\http://d/",
                   "R\\腕腕a.url0\\http://a/", "R\\腕腕b.url0\\http://b/",
                   "R\\腕腕e.url0\\http://e/", "R\\腕腕never closed.url0\\http://open/"}));
  EXPECT_EQ(open.count, 6);
}

TEST(NetscapeReader, FoldersBelowTheDeepestLevelGoIntoIt) {
  constexpr int kFolders = lf::kMaxLevel + 3;
  std::string bytes = "<DL><p>\r\n";
  for (int i = 0; i < kFolders; ++i) {
    const std::string name = "F" + std::to_string(i);
    bytes += "<DT><H3>" + name + "</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://h/" + name + "\">" +
             name + "</A>\r\n";
  }
  for (int i = 0; i < kFolders; ++i) bytes += "</DL><p>\r\n";
  bytes += "<DT><A HREF=\"http://h/top\">top</A>\r\n";
  Read r = ReadBytes(bytes);

  constexpr std::size_t kKept = lf::kMaxFolderLevel + 1;  // folders the levels can hold
  std::string deepest = "R";
  for (std::size_t i = 0; i < kKept; ++i) deepest += "\\F" + std::to_string(i);
  ASSERT_EQ(r.list.size(), kKept + kFolders + 1);
  EXPECT_EQ(r.list[kKept - 1], deepest + ".dir" + lf::LevelChar(lf::kMaxFolderLevel));
  // Levels past nine are letters: 10 is "A", 36 is "a".
  EXPECT_EQ(r.list[10], "R\\F0\\F1\\F2\\F3\\F4\\F5\\F6\\F7\\F8\\F9\\F10.dirA");
  EXPECT_NE(std::find(r.list.begin(), r.list.end(),
                      deepest.substr(0, deepest.find("\\F36")) + "\\腕腕F35.urla\\http://h/F35"),
            r.list.end());
  // The deepest folder holds its own link and those of the three folders below it, in
  // name order (F60, F61, F62, F63).
  const std::string tail = std::string(".url") + lf::LevelChar(lf::kMaxLevel) + "\\http://h/";
  for (int i = 0; i < 4; ++i) {
    const std::string name = "F" + std::to_string(lf::kMaxFolderLevel + i);
    EXPECT_EQ(r.list[kKept + i], deepest + "\\腕腕" + name + tail + name);
  }
  EXPECT_EQ(r.list.back(), "R\\腕腕top.url0\\http://h/top");
  EXPECT_EQ(r.count, kFolders + 1);
  ASSERT_EQ(r.owner.messages.size(), 1u);
  EXPECT_EQ(r.owner.messages[0].text, lf::DeepNestingMessage());
  EXPECT_EQ(r.owner.messages[0].flags, lf::kMbIconWarning | lf::kMbOk);
}

TEST(NetscapeReader, AMillionNestedLevelsNeitherRecurseNorPile) {
  constexpr int kLevels = 1000000;
  std::string lists;
  for (int i = 0; i < kLevels; ++i) lists += "<DL><p>\r";
  Read deepLists = ReadBytes(lists + "<DT><A HREF=\"http://h/\">x</A>\r");
  const std::string deepest = std::string(".url") + lf::LevelChar(lf::kMaxLevel) + "\\http://h/";
  EXPECT_EQ(deepLists.list, (Lines{"R\\腕腕x" + deepest}));
  EXPECT_EQ(deepLists.owner.messages.size(), 1u);

  std::string folders = "<DL><p>\r";
  for (int i = 0; i < kLevels; ++i) folders += "<DT><H3>F</H3>\r<DL><p>\r";
  Read deepFolders = ReadBytes(folders + "<DT><A HREF=\"http://h/\">x</A>\r");
  std::string path = "R";
  for (int i = 0; i <= lf::kMaxFolderLevel; ++i) path += "\\F";
  ASSERT_EQ(deepFolders.list.size(), lf::kMaxLevel + 1u);
  EXPECT_EQ(deepFolders.list[lf::kMaxFolderLevel],
            path + ".dir" + lf::LevelChar(lf::kMaxFolderLevel));
  EXPECT_EQ(deepFolders.list.back(), path + "\\腕腕x" + deepest);
  EXPECT_EQ(deepFolders.owner.messages.size(), 1u);
}

TEST(NetscapeReader, InputOutputErrorsAreReported) {
  lftest::TempDir dir;
  TBookmarkControl control;
  Read missing;
  ReadInto(missing, dir.Path("none.htm"), control, true);
  ASSERT_EQ(missing.owner.messages.size(), 1u);
  EXPECT_EQ(missing.owner.Texts()[0],
            "Ｂｏｏｋｍａｒｋファイル[ " + dir.NativePath("none.htm") +
                " ]の読み込みで [ 指定されたファイルが見つかりません。 ] のエラーが発生しました。");
  EXPECT_EQ(missing.owner.messages[0].caption, lf::MessageCaption());
  EXPECT_EQ(missing.owner.messages[0].flags, lf::kMbIconError | lf::kMbOk);
  EXPECT_EQ(missing.tree.nodes.size(), 1u);  // the root node is made first

  lftest::MakeDirs(dir.NativePath("folder.htm"));
  Read folder;
  ReadInto(folder, dir.Path("folder.htm"), control);
  ASSERT_EQ(folder.owner.messages.size(), 1u);
  EXPECT_NE(folder.owner.Texts()[0].find("指定されたパスはフォルダです。"), std::string::npos);
}

TEST(NetscapeReader, AUtf8FileNamedLikeItsTemporaryCopyIsKept) {
  lftest::TempDir dir;
  const std::string bytes = lftest::ReadFile(kDataDir + "/utf8_lf.htm");
  lftest::WriteFile(dir.NativePath("bookmark.tmp"), bytes);
  TBookmarkControl control;
  Read r;
  ReadInto(r, dir.Path("bookmark.tmp"), control);
  EXPECT_EQ(r.list, kSampleList);
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("bookmark.tmp")), bytes);
  EXPECT_FALSE(lftest::Exists(dir.NativePath("bookmark.tmp.tmp")));
}

TEST(NetscapeReader, CancelStopsTheReadAndKeepsWhatWasRead) {
  lftest::TempDir dir;
  std::filesystem::copy_file(kDataDir + "/sjis.htm", dir.NativePath("b.htm"));
  TBookmarkControl control;
  Read r;
  int cancel = 0;
  // Pump 12 follows line 11, the "<DL>" of the first folder.
  r.owner.onPump = [&](int pump) {
    if (pump == 12) cancel = 1;
  };
  lf::BookmarkList list;
  control.ReadBookmarkFile(r.owner, dir.Path("b.htm"), cancel, r.count, nullptr, false, list, r.bar,
                           "R");
  EXPECT_EQ(Utf8(list), (Lines{"R\\ニュース.dir0"}));
  EXPECT_EQ(r.count, 0);

  // The page's read honours its cancel button too, and hands no count back.
  lftest::FakeStatusLabel label;
  lf::BookmarkList pageList;
  cancel = 0;
  lftest::RecordingOwner owner;
  owner.onPump = [&](int pump) {
    if (pump == 17) cancel = 1;  // after the folder's first link
  };
  lftest::FakeTreeView tree;
  control.LoadBookmarkFile(owner, &label, cancel, 5, r.bar, pageList, &tree, "R",
                           dir.Path("b.htm"));
  EXPECT_EQ(Utf8(pageList), (Lines{"R\\ニュース.dir0",
                                   "R\\ニュース\\腕腕毎日のニュース & 天気.url1\\"
                                   "http://news.example.jp/"}));
  EXPECT_EQ(label.history, (Lines{"[ ブックマークファイルの読み込み ]"}));
  EXPECT_FALSE(r.bar.visible);
  EXPECT_EQ(tree.clears, 1);  // cleared once, before the root node is made
}

// CleanName jumps from tag to tag: on random lines that leaves the text that a byte-by-byte
// walk through the markup leaves.
TEST(NetscapeLines, TextFoundInOnePassAsByItsDefinition) {
  const auto stripped = [](std::string_view text) {
    enum class State { Skipping, InsideTag, Outside } state = State::Skipping;
    std::string out;
    for (char c : text) {
      if (c == '<')
        state = State::InsideTag;
      else if (c == '>')
        state = State::Outside;
      else if (state == State::Outside)
        out.push_back(c);
    }
    return out;
  };
  const std::array<std::string_view, 28> pieces = {"<DT>",  "<DT><A",   "<DT><A HREF=\"h\">",
                                                   "</A>",  "</A",      "<H3",
                                                   "</H3>", "<DL>",     "</DL>",
                                                   "<DL",   "<D",       "<",
                                                   ">",     "<DT",      "T>",
                                                   "A>",    "3",        "/",
                                                   "x",     "\x83\x5C", "&amp;",
                                                   "\x82",  "<dt>",     " ",
                                                   "</H3",  "H",        "</DL",
                                                   "L>"};
  std::mt19937 random(8);
  std::string scratch;
  for (int round = 0; round < 20000; ++round) {
    std::string line;
    for (int n = static_cast<int>(random() % 12); n > 0; --n)
      line += pieces[random() % pieces.size()];
    SCOPED_TRACE(line);
    EXPECT_EQ(lf::StripTags(line, scratch), stripped(line));
    if (HasFailure()) break;
  }
}

}  // namespace
