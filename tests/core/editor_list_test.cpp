// The editor page's list edits on their own.
#include "core/editor_list.h"

#include <gtest/gtest.h>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::S;

// List edits that the page tests reach only indirectly.
TEST(EditorList, RewritesKeepAddressesAndLeaveOtherFoldersAlone) {
  const std::string r = S("C:\\Favorites");
  const std::string m(lf::kLinkMarker);
  lf::BookmarkList list = {r + "\\News.dir0", r + "\\News" + m + "dir.url1\\http://h/a.dir",
                           r + "\\News" + m + "plain.url1\\www.example.com", r + "\\News2.dir0",
                           r + "\\News2" + m + "other.url1\\http://o/"};
  // A link whose address holds ".dir" is still a link, and an address without a known scheme
  // survives being lifted.
  lf::DirDel(list, r + "\\News", 0);
  EXPECT_EQ(list, (lf::BookmarkList{r + "\\News2.dir0", r + "\\News2" + m + "other.url1\\http://o/",
                                    r + m + "dir.url0\\http://h/a.dir",
                                    r + m + "plain.url0\\www.example.com"}));

  // The link list shows such a link under its own name, and the name finds it.
  lftest::FakeListItems items;
  lf::TBookmarkControl::FillUrlList(r, list, items);
  ASSERT_EQ(items.items.size(), 2u);
  const std::string shown = items.items[1].first;
  EXPECT_EQ(shown, "plain");
  EXPECT_EQ(lf::FindItemEntry(list, r, shown), 3u);
  EXPECT_EQ(lf::MoveUrlEntries(list, r, shown, r + "\\News2", 1), 1);
  EXPECT_EQ(list[3], r + "\\News2" + m + "plain.url1\\www.example.com");

  // Past level nine the levels are letters, and edits there keep them.
  std::string deep = r;
  for (int i = 0; i < 11; ++i) deep += "\\d";
  lf::BookmarkList nested = {deep + ".dirA", deep + m + "x.urlB\\http://x/"};
  lf::InsertFolderEntry(nested, deep, "new", 11);
  EXPECT_EQ(nested[0], deep + "\\new.dirB");
  EXPECT_EQ(lf::MoveUrlEntries(nested, deep, "x", deep + "\\new", 12), 1);
  EXPECT_EQ(nested[2], deep + "\\new" + m + "x.urlC\\http://x/");
  lf::DirDel(nested, deep + "\\new", 0);
  EXPECT_EQ(nested, (lf::BookmarkList{deep + ".dirA", deep + m + "x.urlB\\http://x/"}));

  // A link name holding what looks like the end of a name keeps its "\" as a reference, so
  // the list edits and the writers cut the entry in the same place.
  const std::string oddName = lf::TBookmarkControl::EntryLinkName("x.url1\\y");
  EXPECT_EQ(oddName, "x.url1&#92;y");
  lf::BookmarkList odd = {r + "\\F" + m + oddName + ".url1\\http://h/"};
  EXPECT_EQ(lf::FindItemEntry(odd, r + "\\F", oddName), 0u);
  EXPECT_EQ(lf::MoveUrlEntries(odd, r + "\\F", oddName, r, 0), 1);
  EXPECT_EQ(odd[0], r + m + oddName + ".url0\\http://h/");
  EXPECT_EQ(lf::TBookmarkControl::EntryUrl(odd[0]), "http://h/");

  EXPECT_TRUE(lf::UsableFolderName(S("ソフト")));  // 0x5C as a second byte is no separator
  for (const char* bad : {"", ".", "..", "a\\b", "a/b"})
    EXPECT_FALSE(lf::UsableFolderName(bad)) << bad;
}

}  // namespace
