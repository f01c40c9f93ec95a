#include <gtest/gtest.h>

#include <random>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "tests/support/regroup_reference.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::BookmarkList;
using lf::TBookmarkControl;

const std::string M(lf::kLinkMarker);

std::string Join(const BookmarkList& list) {
  std::string out;
  for (const std::string& e : list) out += lftest::U(e) + "\n";
  return out;
}

TEST(Regroup, FoldersComeBeforeTheirContentsAndRootLinksLast) {
  BookmarkList list = {"R" + M + "y.url0\\http://y", "R\\AB.dir0",
                       "R\\A" + M + "x.url1\\http://x", "R\\A.dir0"};
  TBookmarkControl::Regroup(list);
  EXPECT_EQ(list, (BookmarkList{"R\\A.dir0", "R\\A" + M + "x.url1\\http://x", "R\\AB.dir0",
                                "R" + M + "y.url0\\http://y"}));
}

TEST(Regroup, NestedFoldersAndNewsBesideNews2) {
  BookmarkList list = {
      "R\\News2" + M + "b.url1\\http://b", "R\\News.dir0",      "R\\News2.dir0",
      "R\\News" + M + "a.url1\\http://a",  "R\\News\\Sub.dir1", "R\\News\\Sub" + M + "c.url2\\http://c",
      "R" + M + "top.url0\\http://t"};
  TBookmarkControl::Regroup(list);
  // News2 begins with the path R\News and sorts before News's contents ("2" before "\"),
  // but it is not inside News: it follows News's contents with its own, so that a writer
  // laying the folders out by level keeps each link in its folder.
  EXPECT_EQ(Join(list),
            "R\\News.dir0\n"
            "R\\News\\Sub.dir1\n"
            "R\\News\\Sub\\腕腕c.url2\\http://c\n"
            "R\\News\\腕腕a.url1\\http://a\n"
            "R\\News2.dir0\n"
            "R\\News2\\腕腕b.url1\\http://b\n"
            "R\\腕腕top.url0\\http://t\n");
}

TEST(Regroup, KeepsIdenticalEntriesAndDropsEmptyOnes) {
  const std::string link = "R\\A" + M + "x.url1\\http://x";
  BookmarkList list = {link, "", "R\\A.dir0", link};
  TBookmarkControl::Regroup(list);
  EXPECT_EQ(list, (BookmarkList{"R\\A.dir0", link, link}));
}

TEST(Regroup, RootLinksHoldingDotDirAreLinksAndComeLast) {
  const std::string odd = "R" + M + "a.url0\\http://h/x.dir/";
  const std::string named = "R" + M + "setup.dir.url0\\http://s/";
  // Links sort between folders with ASCII names and those starting with half-width kana.
  const std::string kana = lftest::S("R\\ﾃｽﾄ.dir0");
  BookmarkList list = {named, kana, odd, "R" + M + "b.url0\\http://b"};
  TBookmarkControl::Regroup(list);
  EXPECT_EQ(list, (BookmarkList{kana, odd, "R" + M + "b.url0\\http://b", named}));
}

// Random lists full of the awkward cases: folder names that are prefixes of others, paths
// occurring inside names and URLs, identical and case-variant entries, ".dir" in URLs.
BookmarkList RandomList(std::mt19937& rng) {
  static const char* names[] = {"A", "a", "AB", "News", "News2", "R", "x.dir", "B\\A", "",
                                "\x83\x5C", "\x83\x5C\x83\x41"};
  static const char* urls[] = {"http://h/", "http://h/R\\A", "ftp://R\\News.dir0",
                               "https://x.dir/", "none"};
  BookmarkList list;
  int count = 1 + rng() % 12;
  std::vector<std::string> folders = {"R"};
  for (int i = 0; i < count; ++i) {
    const std::string& parent = folders[rng() % folders.size()];
    int level = static_cast<int>(std::count(parent.begin(), parent.end(), '\\'));
    std::string name = names[rng() % std::size(names)];
    if (rng() % 3 == 0) {
      std::string path = parent + "\\" + name;
      list.push_back(path + ".dir" + std::to_string(level));
      folders.push_back(path);
    } else {
      list.push_back(parent + M + name + ".url" + std::to_string(level) + "\\" +
                     urls[rng() % std::size(urls)]);
    }
    if (rng() % 8 == 0) list.push_back(list.back());
    if (rng() % 10 == 0) list.push_back("");
  }
  return list;
}

TEST(Regroup, AgreesWithTheStepByStepAlgorithm) {
  std::mt19937 rng(2002);
  for (int round = 0; round < 4000; ++round) {
    BookmarkList list = RandomList(rng);
    BookmarkList expected = list;
    lftest::RegroupReference(expected);
    BookmarkList actual = list;
    TBookmarkControl::Regroup(actual);
    ASSERT_EQ(Join(actual), Join(expected)) << "input:\n" << Join(list);
  }
}

TEST(Regroup, GivesTheSameResultWhateverTheInputOrder) {
  std::mt19937 rng(11);
  for (int round = 0; round < 500; ++round) {
    BookmarkList list = RandomList(rng);
    BookmarkList shuffled = list;
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    TBookmarkControl::Regroup(list);
    TBookmarkControl::Regroup(shuffled);
    ASSERT_EQ(list, shuffled);
  }
}

}  // namespace
