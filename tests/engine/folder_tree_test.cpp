#include <gtest/gtest.h>

#include "engine/bookmark_control.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using lftest::S;
using Lines = std::vector<std::string>;

lf::BookmarkList L(const Lines& utf8) {
  lf::BookmarkList list;
  for (const std::string& e : utf8) list.push_back(S(e));
  return list;
}

const lf::BookmarkList kList =
    L({"R\\A.dir0", "R\\A\\B.dir1", "R\\A\\B\\C.dir2", "R\\A\\B\\腕腕Site.url3\\http://s/",
       "R\\News.dir0", "R\\News\\腕腕n.url1\\http://n/", "R\\News2.dir0",
       "R\\News2\\腕腕n2.url1\\http://n2/", "R\\D.dir0", "R\\X\\Y\\Orphan.dir2",
       "R\\腕腕ルート.url0\\http://r/", "R\\Last.dir0"});

TEST(FolderTree, BuildsOneNodePerFolderUnderTheFolderOfTheLevelAbove) {
  lftest::FakeTreeView tree;
  lftest::FakeProgressBar bar;
  TBookmarkControl::BuildFolderTree(bar, S("ルート"), tree, kList);
  // A level-2 folder without a level-1 folder before it stands beside the root node.
  EXPECT_EQ(tree.Dump(),
            "Orphan [0/1]\n"
            "ルート [0/0]\n"
            "  A [0/1]\n"
            "    B [0/1]\n"
            "      C [0/1]\n"
            "  D [0/1]\n"
            "  Last [0/1]\n"
            "  News [0/1]\n"
            "  News2 [0/1]\n");
  EXPECT_EQ(bar.max, 11);
  EXPECT_EQ(bar.steps, 12);
}

TEST(FolderTree, SelectedFolderPathSpellsTheBranch) {
  lftest::FakeTreeView tree;
  lftest::FakeProgressBar bar;
  TBookmarkControl::BuildFolderTree(bar, "root caption", tree, kList);
  EXPECT_EQ(TBookmarkControl::SelectedFolderPath("R", tree), "R");  // nothing selected
  tree.selected = tree.Find({"root caption"});
  EXPECT_EQ(TBookmarkControl::SelectedFolderPath("R", tree), "R");
  tree.selected = tree.Find({"root caption", "A", "B", "C"});
  EXPECT_EQ(TBookmarkControl::SelectedFolderPath("R", tree), "R\\A\\B\\C");
}

TEST(FolderTree, FillUrlListShowsOnlyTheLinksDirectlyInTheFolder) {
  lftest::FakeListItems items;
  auto captions = [&](const char* folder) {
    TBookmarkControl::FillUrlList(S(folder), kList, items);
    return items.Captions();
  };
  EXPECT_EQ(captions("R"), Lines{"ルート"});
  EXPECT_EQ(captions("R\\News"), Lines{"n"});
  EXPECT_EQ(captions("R\\News2"), Lines{"n2"});
  EXPECT_EQ(captions("R\\A"), Lines{});
  EXPECT_EQ(captions("R\\A\\B"), Lines{"Site"});
  EXPECT_EQ(items.items[0].second, lf::kImageLink);
}

// Names that look like other things: a folder with an address and a colon in its name, a
// link titled with an address, a link named like a folder entry.
TEST(FolderTree, NamesHoldingAddressesOrDirStayWhatTheyAre) {
  const lf::BookmarkList list =
      L({"R\\Blog: http://b.dir0", "R\\Blog: http://b\\腕腕http://t.url1\\http://real/",
         "R\\Blog: http://b\\腕腕a.dir.url1\\http://a/"});
  lftest::FakeTreeView tree;
  lftest::FakeProgressBar bar;
  TBookmarkControl::BuildFolderTree(bar, "R", tree, list);
  EXPECT_EQ(tree.Dump(), "R [0/0]\n  Blog: http://b [0/1]\n");

  tree.selected = tree.Find({"R", "Blog: http://b"});
  const std::string folder = TBookmarkControl::SelectedFolderPath("R", tree);
  EXPECT_EQ(folder, "R\\Blog: http://b");
  lftest::FakeListItems items;
  TBookmarkControl::FillUrlList(folder, list, items);
  EXPECT_EQ(items.Captions(), (Lines{"http://t", "a.dir"}));
}

}  // namespace
