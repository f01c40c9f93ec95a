// The duplicate check's pairs of links with the same address.
#include "core/duplicate_pairs.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::S;
using Pairs = std::vector<lf::DuplicatePair>;

// The check as a plain double loop over all entries: the order of rows the page must keep.
Pairs QuadraticPairs(const lf::BookmarkList& list) {
  Pairs pairs;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string u = lf::TBookmarkControl::ExtractUrl(list[i]);
    if (u.empty() || list[i].find(lf::kLinkMarker) == std::string::npos) continue;
    for (std::size_t j = i + 1; j < list.size(); ++j)
      if (list[j].find(lf::kLinkMarker) != std::string::npos &&
          lf::TBookmarkControl::ExtractUrl(list[j]) == u)
        pairs.push_back({i, j});
  }
  return pairs;
}

lf::BookmarkList L(std::initializer_list<const char*> utf8) {
  lf::BookmarkList list;
  for (const char* e : utf8) list.push_back(S(e));
  return list;
}

TEST(FindDuplicatePairs, ListsEveryPairOnceInTheOrderOfTheDoubleLoop) {
  const lf::BookmarkList list = L({
      "R\\F.dir0",
      "R\\F\\腕腕a.url1\\http://x/",
      "R\\F\\腕腕b.url1\\http://X/",  // letter case counts
      "R\\F\\腕腕c.url1\\http://x",   // so does the trailing slash
      "R\\腕腕d.url0\\http://x/",
      "R\\腕腕e.url0\\http://x/",
      "R\\腕腕f.url0\\gopher://x/",  // any scheme
      "R\\腕腕g.url0\\gopher://x/",
      "R\\腕腕h.url0\\",  // no address at all
      "R\\腕腕i.url0\\",
  });
  auto all = [](std::size_t) { return true; };
  EXPECT_EQ(lf::FindDuplicatePairs(list, all), (Pairs{{1, 4}, {1, 5}, {4, 5}, {6, 7}}));

  // Folders whose names hold a scheme are folders all the same, not links to delete.
  const lf::BookmarkList folders =
      L({"R\\A.dir0", "R\\A\\http:x.dir1", "R\\B.dir0", "R\\B\\http:x.dir1"});
  EXPECT_TRUE(lf::FindDuplicatePairs(folders, all).empty());

  // A link titled with an address pairs by the address it leads to, not by its title.
  const lf::BookmarkList titled =
      L({"R\\腕腕http://t/.url0\\http://a/", "R\\腕腕http://t/.url0\\http://b/",
         "R\\腕腕x.url0\\http://a/"});
  EXPECT_EQ(lf::FindDuplicatePairs(titled, all), (Pairs{{0, 2}}));

  std::mt19937 random(7);
  lf::BookmarkList mixed;
  for (int i = 0; i < 400; ++i) {
    const int host = static_cast<int>(random() % 60);
    mixed.push_back(random() % 9 == 0 ? "R\\D" + std::to_string(i) + ".dir0"
                                      : "R\\" + std::string(lf::kLinkMarker) + "n.url0\\http://h" +
                                            std::to_string(host) + "/");
  }
  EXPECT_EQ(lf::FindDuplicatePairs(mixed, all), QuadraticPairs(mixed));
}

TEST(FindDuplicatePairs, StopsWhenTheStepSaysSoAndKeepsWhatItFound) {
  const lf::BookmarkList list = L({"R\\腕腕a.url0\\http://x/", "R\\腕腕b.url0\\http://y/",
                                   "R\\腕腕c.url0\\http://x/", "R\\腕腕d.url0\\http://y/"});
  std::vector<std::size_t> steps;
  const Pairs found = lf::FindDuplicatePairs(list, [&](std::size_t i) {
    steps.push_back(i);
    return i < 1;
  });
  EXPECT_EQ(found, (Pairs{{0, 2}}));
  EXPECT_EQ(steps, (std::vector<std::size_t>{0, 1}));
}

}  // namespace
