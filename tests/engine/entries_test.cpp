#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <random>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/system_info.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using lftest::S;

// R\腕腕x... : the link marker in Shift-JIS.
const std::string kMark(lf::kLinkMarker);

TEST(ExtractUrl, TakesTheFirstSchemeOfTheListNotTheLeftmost) {
  EXPECT_EQ(TBookmarkControl::ExtractUrl(R"(<DT><A HREF="http://a/b" ADD_DATE="1">x</A>)"),
            "http://a/b");
  EXPECT_EQ(TBookmarkControl::ExtractUrl("R" + kMark + "x.url0\\ftp://h/p"), "ftp://h/p");
  EXPECT_EQ(TBookmarkControl::ExtractUrl("file://c/ then http://later/"), "http://later/");
  EXPECT_EQ(TBookmarkControl::ExtractUrl("https://s/ and http://p/"), "https://s/ and http://p/");
  EXPECT_EQ(TBookmarkControl::ExtractUrl("see res://x.dll/y"), "res://x.dll/y");
  EXPECT_EQ(TBookmarkControl::ExtractUrl("HTTP://A/"), "");
  EXPECT_EQ(TBookmarkControl::ExtractUrl("mailto:a@b"), "");
  EXPECT_EQ(TBookmarkControl::ExtractUrl(""), "");
}

// The schemes are looked for in one pass over the colons; on random text that gives what a
// search for each scheme in turn gives.
TEST(ExtractUrl, OnePassFindsWhatASearchPerSchemeFinds) {
  const auto bySearches = [](std::string_view text) {
    for (std::string_view scheme : {"res:", "https:", "http:", "news:", "ftp:", "file:"}) {
      const std::size_t pos = text.find(scheme);
      if (pos == std::string_view::npos) continue;
      const std::size_t quote = text.find('"', pos);
      return std::string(text.substr(pos, quote == std::string_view::npos ? quote : quote - pos));
    }
    return std::string();
  };
  const std::array<std::string_view, 16> pieces = {
      "res:", "https:", "http:", "news:", "ftp:", "file:", "http", "s:",
      "ttp:", "e:",     ":",     "\"",    "x",    "fil",   "re",   "\x83\x5C"};
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 10); n > 0; --n) text += pieces[random() % 16];
    ASSERT_EQ(TBookmarkControl::ExtractUrl(text), bySearches(text)) << text;
  }
}

TEST(EntryParts, CutEntriesAtTheLinkMarkerAndTheUrl) {
  const std::string link = "R\\F" + kMark + "x.url1\\http://h/";
  EXPECT_EQ(TBookmarkControl::EntryPath(link), "R\\F" + kMark + "x.url1");
  EXPECT_EQ(TBookmarkControl::UrlPart(link), "\x98\x72\x98\x72x.url1\\http://h/");
  EXPECT_EQ(TBookmarkControl::FolderPart(link), "R\\F\\");
  // A folder entry has no URL and no marker.
  EXPECT_EQ(TBookmarkControl::EntryPath("R\\News.dir0"), "R\\News.dir");
  EXPECT_EQ(TBookmarkControl::UrlPart("R\\News.dir0"), "R\\News.dir0");
  EXPECT_EQ(TBookmarkControl::FolderPart("R\\News.dir0"), "");
  EXPECT_EQ(TBookmarkControl::EntryPath(""), "");
}

// Entries split by their form, so that names holding addresses stay names.
TEST(EntrySplit, NamesHoldingAddressesStayNames) {
  struct Case {
    std::string entry, key, url, address;
  };
  const std::string titled = "R\\F" + kMark + "http://x.url1";
  const std::string deep = "R\\F" + kMark + "x.urlB";
  const Case cases[] = {
      {"R\\F" + kMark + "x.url1\\http://h/", "R\\F" + kMark + "x.url1", "http://h/", "http://h/"},
      // A link titled with an address: the URL is the one after the level.
      {titled + "\\http://real/", titled, "http://real/", "http://real/"},
      // Names never hold a "\" (see below): where text does, the name ends there.
      {"R" + kMark + "a.url0\\y.url0\\http://c/", "R" + kMark + "a.url0", "y.url0\\http://c/",
       "y.url0\\http://c/"},
      // An address of any scheme, or with text before its scheme, is kept whole.
      {"R" + kMark + "m.url0\\mailto:a@b", "R" + kMark + "m.url0", "mailto:a@b", "mailto:a@b"},
      // A shortcut read with its extension in capitals splits the same way, whatever its
      // address holds.
      {"R" + kMark + "Daily.URL0\\http://web.archive.org/web/2003/https://example.jp/",
       "R" + kMark + "Daily.URL0", "http://web.archive.org/web/2003/https://example.jp/",
       "http://web.archive.org/web/2003/https://example.jp/"},
      {"R" + kMark + "Memo.URL0\\see http://example.jp/", "R" + kMark + "Memo.URL0",
       "see http://example.jp/", "see http://example.jp/"},
      // Levels past nine.
      {deep + "\\ftp://h/", deep, "ftp://h/", "ftp://h/"},
      // A folder has no URL, whatever its name holds.
      {"R\\Blog http:x.dir0", "R\\Blog http:x.dir0", "", ""},
      {"R\\a\\b.dirC", "R\\a\\b.dirC", "", ""},
  };
  for (const Case& c : cases) {
    std::string key, url;
    TBookmarkControl::SplitEntry(c.entry, key, url);
    EXPECT_EQ(key, c.key) << c.entry;
    EXPECT_EQ(url, c.url) << c.entry;
    EXPECT_EQ(TBookmarkControl::EntryKey(c.entry), c.key) << c.entry;
    EXPECT_EQ(TBookmarkControl::EntryUrl(c.entry), c.address) << c.entry;
  }
  // A name holds every "\" of its own as its reference; the second byte of "ソ" is none.
  EXPECT_EQ(TBookmarkControl::EntryLinkName("a.url0\\http://b/ .urlZ\\ x.url\\ \x83\x5C.url0"),
            "a.url0&#92;http://b/ .urlZ&#92; x.url&#92; \x83\x5C.url0");
  EXPECT_EQ(TBookmarkControl::EntryLinkName("plain"), "plain");
  // A name beginning with the link marker's two characters holds the first as its reference.
  EXPECT_EQ(TBookmarkControl::EntryLinkName("\x98\x72\x98\x72x\x98\x72\x98\x72"),
            "&#33109;\x98\x72x\x98\x72\x98\x72");
  EXPECT_TRUE(TBookmarkControl::IsFolderEntry("R\\Blog http:x.dir0"));
  EXPECT_TRUE(TBookmarkControl::IsFolderEntry("R\\x.dirz"));
  EXPECT_FALSE(TBookmarkControl::IsFolderEntry("R" + kMark + "x.dir0"));  // a link named so
  EXPECT_FALSE(TBookmarkControl::IsFolderEntry("R\\x.dir-"));
  EXPECT_FALSE(TBookmarkControl::IsFolderEntry(".dir0"));
}

TEST(Levels, OneCharacterForEveryLevelTheListHolds) {
  for (int level = 0; level <= lf::kMaxLevel; ++level) {
    const char c = lf::LevelChar(level);
    EXPECT_EQ(lf::LevelValue(c), level);
    EXPECT_FALSE(c == '\\' || c == ':' || c == '/' || c == '.') << level;
  }
  EXPECT_EQ(lf::LevelChar(9), '9');
  EXPECT_EQ(lf::LevelChar(10), 'A');
  EXPECT_EQ(lf::LevelChar(36), 'a');
  EXPECT_EQ(lf::LevelChar(lf::kMaxLevel + 5), lf::LevelChar(lf::kMaxLevel));
  EXPECT_EQ(lf::LevelChar(-1), '0');
  EXPECT_EQ(lf::LevelValue('\\'), -1);
  EXPECT_EQ(lf::LevelValue('\x83'), -1);
}

TEST(Backslashes, OneTrailingBackslashAddedOrRemoved) {
  EXPECT_EQ(TBookmarkControl::RemoveBackslash("C:\\a\\\\"), "C:\\a\\");
  EXPECT_EQ(TBookmarkControl::RemoveBackslash("C:\\a"), "C:\\a");
  EXPECT_EQ(TBookmarkControl::RemoveBackslash(""), "");
  EXPECT_EQ(TBookmarkControl::AddBackslash(""), "");
  EXPECT_EQ(TBookmarkControl::AddBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(TBookmarkControl::AddBackslash("C:\\a\\"), "C:\\a\\");
}

TEST(Backslashes, SecondByteOfSoIsNotABackslash) {
  // A root ending in ソ (0x83 0x5C) must keep its last character.
  const std::string root = S("C:\\ソ");
  EXPECT_EQ(TBookmarkControl::RemoveBackslash(root), root);
  EXPECT_EQ(TBookmarkControl::AddBackslash(root), root + "\\");
  EXPECT_EQ(TBookmarkControl::RemoveBackslash(root + "\\"), root);
}

// The stamp is the true time, whatever the zone of the machine's clock: a stamp nine hours
// early on a machine on UTC would give every written link a wrong date.
TEST(DateStamp, SecondsSinceTheEpochInUtc) {
  platform::SetClock([] { return platform::LocalDateTime{2002, 10, 18, 9, 1, 0, 999}; });
  EXPECT_EQ(lf::DateStamp(), 11978LL * 86400 + 9 * 3600 + 60);  // whole seconds
  platform::SetClock(nullptr);
  const long long now = static_cast<long long>(std::time(nullptr));
  EXPECT_LE(std::llabs(lf::DateStamp() - now), 2);
}

TEST(SjisText, SearchesRespectTwoByteCharacters) {
  // "\リンク" is found after a real backslash, but not in ソリンク whose ソ ends in 0x5C.
  const std::string needle = S("\\リンク");
  EXPECT_EQ(lf::FindCharBoundary(S("R\\ソリンク"), needle), std::string::npos);
  EXPECT_EQ(lf::FindCharBoundary(S("R\\ソ\\リンク"), needle), 4u);
  EXPECT_EQ(lf::ChangeFileExt("C:\\a.b\\bookmark.htm", ".old"), "C:\\a.b\\bookmark.old");
  EXPECT_EQ(lf::ChangeFileExt("C:\\a.b\\hotlist", ".old"), "C:\\a.b\\hotlist.old");
  EXPECT_EQ(lf::ChangeFileExt("/x.y/Opera6.adr", ".old"), "/x.y/Opera6.old");
}

}  // namespace
