#include <gtest/gtest.h>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::BookmarkList;
using lf::TBookmarkControl;
using lftest::S;

// Entries written in UTF-8 with "腕腕" for the marker's two characters.
BookmarkList L(std::initializer_list<const char*> utf8) {
  BookmarkList list;
  for (const char* e : utf8) list.push_back(S(e));
  return list;
}

std::vector<std::string> Utf8(const BookmarkList& list) {
  std::vector<std::string> out;
  for (const std::string& e : list) out.push_back(lftest::U(e));
  return out;
}

TEST(RemoveDuplicates, KeepsOneOfEachRunOfIdenticalEntries) {
  BookmarkList list =
      L({"R\\腕腕a.url0\\http://a/", "R\\腕腕b.url0\\http://b/", "R\\腕腕a.url0\\http://a/",
         "R\\腕腕a.url0\\http://a/", "R\\腕腕A.url0\\http://a/"});
  TBookmarkControl::RemoveDuplicates(list);
  // Case variants are different entries.
  EXPECT_EQ(Utf8(list),
            (std::vector<std::string>{"R\\腕腕A.url0\\http://a/", "R\\腕腕a.url0\\http://a/",
                                      "R\\腕腕b.url0\\http://b/"}));
}

TEST(RemoveDuplicates, MergesTwoBrowsersFolderByFolder) {
  BookmarkList list =
      L({"R\\F.dir0", "R\\F\\腕腕x.url1\\http://x/", "R\\腕腕y.url0\\http://y/", "R\\F.dir0",
         "R\\F\\腕腕x.url1\\http://x/", "R\\F\\腕腕x.url1\\http://X/"});
  TBookmarkControl::RemoveDuplicates(list);
  EXPECT_EQ(Utf8(list),
            (std::vector<std::string>{"R\\F.dir0", "R\\F\\腕腕x.url1\\http://X/",
                                      "R\\F\\腕腕x.url1\\http://x/", "R\\腕腕y.url0\\http://y/"}));
}

TEST(SpecialFolders, LinksBecomeTheToolbarFolder) {
  BookmarkList list = L({"R\\リンク.dir0", "R\\リンク\\腕腕a.url1\\http://a/"});
  TBookmarkControl::LinksToToolbar(list);
  EXPECT_EQ(Utf8(list),
            (std::vector<std::string>{"R\\ユーザ設定ツールバー フォルダ.dir0",
                                      "R\\ユーザ設定ツールバー フォルダ\\腕腕a.url1\\http://a/"}));
}

TEST(SpecialFolders, AnExistingToolbarFolderTakesTheLinksContents) {
  BookmarkList list = L({"R\\リンク.dir0", "R\\リンク\\腕腕a.url1\\http://a/",
                         "R\\ユーザ設定ツールバー フォルダ.dir0"});
  TBookmarkControl::LinksToToolbar(list);
  EXPECT_EQ(Utf8(list),
            (std::vector<std::string>{"R\\ユーザ設定ツールバー フォルダ.dir0",
                                      "R\\ユーザ設定ツールバー フォルダ\\腕腕a.url1\\http://a/",
                                      "R\\リンク.dir0"}));
}

TEST(SpecialFolders, ToolbarBecomesLinksAtAnyDepth) {
  BookmarkList list = L({"R\\A.dir0", "R\\A\\ユーザ設定ツールバー フォルダ.dir1",
                         "R\\A\\ユーザ設定ツールバー フォルダ\\腕腕t.url2\\http://t/"});
  TBookmarkControl::ToolbarToLinks(list);
  EXPECT_EQ(Utf8(list), (std::vector<std::string>{"R\\A.dir0", "R\\A\\リンク.dir1",
                                                  "R\\A\\リンク\\腕腕t.url2\\http://t/"}));

  BookmarkList both = L({"R\\リンク.dir0", "R\\ユーザ設定ツールバー フォルダ.dir0",
                         "R\\ユーザ設定ツールバー フォルダ\\腕腕t.url1\\http://t/"});
  TBookmarkControl::ToolbarToLinks(both);
  EXPECT_EQ(Utf8(both),
            (std::vector<std::string>{"R\\ユーザ設定ツールバー フォルダ.dir0", "R\\リンク.dir0",
                                      "R\\リンク\\腕腕t.url1\\http://t/"}));
}

// Whether the target folder exists is asked of the folder that holds the one being mapped:
// a toolbar folder at the top must not keep a Links folder further down from being renamed
// while its links move, which would leave them in a folder that has no entry.
TEST(SpecialFolders, OnlyATargetBesideTheFolderKeepsItsEntry) {
  BookmarkList list = L({"R\\ユーザ設定ツールバー フォルダ.dir0", "R\\A.dir0", "R\\A\\リンク.dir1",
                         "R\\A\\リンク\\腕腕a.url2\\http://a/"});
  TBookmarkControl::LinksToToolbar(list);
  EXPECT_EQ(Utf8(list),
            (std::vector<std::string>{"R\\A.dir0", "R\\A\\ユーザ設定ツールバー フォルダ.dir1",
                                      "R\\A\\ユーザ設定ツールバー フォルダ\\腕腕a.url2\\http://a/",
                                      "R\\ユーザ設定ツールバー フォルダ.dir0"}));

  BookmarkList back = L({"R\\リンク.dir0", "R\\B.dir0", "R\\B\\ユーザ設定ツールバー フォルダ.dir1",
                         "R\\B\\ユーザ設定ツールバー フォルダ\\腕腕t.url2\\http://t/"});
  TBookmarkControl::ToolbarToLinks(back);
  EXPECT_EQ(Utf8(back),
            (std::vector<std::string>{"R\\B.dir0", "R\\B\\リンク.dir1",
                                      "R\\B\\リンク\\腕腕t.url2\\http://t/", "R\\リンク.dir0"}));
}

TEST(SpecialFolders, AFolderNameEndingInLinksIsNotMistakenForIt) {
  // ソ ends in the byte 0x5C, so "ソリンク" holds the bytes of "\リンク"; it is another folder.
  BookmarkList list = L({"R\\ソリンク.dir0", "R\\ソリンク\\腕腕a.url1\\http://a/"});
  BookmarkList before = list;
  TBookmarkControl::LinksToToolbar(list);
  EXPECT_EQ(list, before);
}

}  // namespace
