// The editor page's emptying and rewriting of the Favorites folder under failure: a write
// cut off part-way puts every shortcut back, and symbolic links (to an ancestor, to a folder
// elsewhere, named like a shortcut) are never followed, emptied or deleted through, and a
// cancelled clearing puts back what it took.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/favorites_clear.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/support/fakes.h"
#include "tests/support/hostile_helpers.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using lf::TBookmarkControl;
using lftest::U;

std::string Shortcut(const std::string& url) {
  return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

class ClearingUnderFailure : public testing::Test {
 protected:
  void SetUp() override {
    lftest::MakeDirs(dir.NativePath("prog"));
    lftest::MakeDirs(dir.NativePath("Favorites/A/B"));
    lftest::MakeDirs(dir.NativePath("Outside/Deep"));
    lftest::WriteFile(dir.NativePath("Favorites/A/x.url"), Shortcut("http://x/"));
    lftest::WriteFile(dir.NativePath("Favorites/A/B/y.url"), Shortcut("http://y/"));
    lftest::WriteFile(dir.NativePath("Favorites/z.url"), Shortcut("http://z/"));
    lftest::WriteFile(dir.NativePath("Outside/o.url"), Shortcut("http://o/"));
    lftest::WriteFile(dir.NativePath("Outside/Deep/d.url"), Shortcut("http://d/"));
    platform::SetProgramPath(dir.Path("prog/linkferry.exe"));
  }
  void TearDown() override {
    platform::SetProgramPath(std::nullopt);
    platform::testing::SetWriteLimit(-1);
  }

  lf::BookmarkList Read() {
    lf::BookmarkList list;
    lf::RunCounters c;
    control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, list, nullptr,
                          dir.Path("Favorites"));
    return list;
  }

  lftest::TempDir dir;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters counters;
  TBookmarkControl control;
};

TEST_F(ClearingUnderFailure, WriteCutOffPartWayPutsEveryShortcutBack) {
  lf::BookmarkList list = Read();
  list.push_back(dir.Path("Favorites") + std::string(lf::kLinkMarker) + "new.url0\\http://new/");
  TBookmarkControl::Regroup(list);
  const std::string before =
      lftest::Tree(dir.NativePath("Favorites")) + lftest::Tree(dir.NativePath("Outside"));
  platform::testing::SetWriteLimit(40);  // the first shortcut is written, then the disk is full
  EXPECT_FALSE(lf::ReplaceFavorites(control, owner, bar, counters, list, dir.Path("Favorites")));
  platform::testing::SetWriteLimit(-1);
  EXPECT_EQ(lftest::Tree(dir.NativePath("Favorites")) + lftest::Tree(dir.NativePath("Outside")),
            before);
  EXPECT_EQ(lftest::Tree(dir.Native()).find(".lfbackup"), std::string::npos);
  EXPECT_GE(counters.errorCount, 1);
  EXPECT_FALSE(owner.messages.empty());
}

TEST_F(ClearingUnderFailure, LinksAreNeverFollowedEmptiedOrDeletedThrough) {
  ASSERT_EQ(symlink(dir.NativePath("Favorites").c_str(), dir.NativePath("Favorites/A/Up").c_str()),
            0);
  ASSERT_EQ(symlink(dir.NativePath("Outside").c_str(), dir.NativePath("Favorites/Out").c_str()), 0);
  ASSERT_EQ(
      symlink(dir.NativePath("Outside/Deep").c_str(), dir.NativePath("Favorites/trap.url").c_str()),
      0);
  const std::string outside = lftest::Tree(dir.NativePath("Outside"));
  lf::BookmarkList list = Read();
  EXPECT_EQ(list.size(), 5u);  // A, A\B and the three shortcuts; no link was walked into
  EXPECT_TRUE(lf::ReplaceFavorites(control, owner, bar, counters, list, dir.Path("Favorites")));
  // A folder that holds a link is not empty and stays, which is said as for any such folder.
  EXPECT_EQ(owner.Texts(),
            std::vector<std::string>{"フォルダ[ " + lftest::U(dir.Path("Favorites/A")) +
                                     " ]の削除で\r[ " + lftest::U(platform::ErrorText(ENOTEMPTY)) +
                                     " ] のエラーが発生しました。"});
  EXPECT_EQ(lftest::Tree(dir.NativePath("Outside")), outside);
  // The shortcut-named link went with the shortcuts; the folder links stay; the folder
  // reads back as before.
  EXPECT_FALSE(lftest::Exists(dir.NativePath("Favorites/trap.url")));
  EXPECT_EQ(Read(), list);
  EXPECT_EQ(lftest::Tree(dir.Native()).find(".lfbackup"), std::string::npos);
}

TEST_F(ClearingUnderFailure, AFavoritesFolderThatIsAFileIsReportedAndNothingIsWritten) {
  lftest::WriteFile(dir.NativePath("file"), "content");
  const std::string before = lftest::Tree(dir.Native());
  const lf::BookmarkList list = {dir.Path("file") + std::string(lf::kLinkMarker) +
                                 "x.url0\\http://x/"};
  EXPECT_FALSE(lf::ReplaceFavorites(control, owner, bar, counters, list, dir.Path("file")));
  EXPECT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(lftest::Tree(dir.Native()), before);
}

// The clearing on its own: where it may and may not reach.
TEST(ClearFavoritesFolder, NeverFollowsLinksOutOfTheFolderAndPutsBackOnCancel) {
  lftest::TempDir dir;
  lftest::MakeDirs(dir.NativePath("Favorites/Sub"));
  lftest::MakeDirs(dir.NativePath("Outside"));
  lftest::WriteFile(dir.NativePath("Outside/keep.url"), Shortcut("http://keep/"));
  lftest::WriteFile(dir.NativePath("Favorites/Sub/s.url"), Shortcut("http://s/"));
  lftest::WriteFile(dir.NativePath("Favorites/t.url"), Shortcut("http://t/"));
  fs::create_directory_symlink(dir.NativePath("Outside"), dir.NativePath("Favorites/Linked"));
  fs::create_symlink(dir.NativePath("Outside/keep.url"), dir.NativePath("Favorites/alias.url"));
  const std::string favorites = dir.Path("Favorites");

  // Cancelled half-way: what was taken goes back.
  lftest::RecordingOwner owner;
  int cancel = 0;
  owner.onPump = [&](int pump) {
    if (pump == 3) cancel = 1;
  };
  {
    lf::RemovedShortcuts removed(favorites);
    EXPECT_FALSE(lf::ClearFavoritesFolder(owner, favorites, cancel, removed));
    removed.PutBack(owner);
  }
  for (const char* name : {"Favorites/Sub/s.url", "Favorites/t.url", "Favorites/alias.url"})
    EXPECT_TRUE(fs::exists(fs::symlink_status(dir.NativePath(name)))) << name;

  cancel = 0;
  owner.onPump = nullptr;
  lf::RemovedShortcuts removed(favorites);
  EXPECT_TRUE(lf::ClearFavoritesFolder(owner, favorites, cancel, removed));
  EXPECT_EQ(removed.Count(), 3u);
  EXPECT_EQ(U(removed.KeepFolder()), U(favorites) + ".lfbackup");
  removed.Discard();
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_FALSE(lftest::Exists(dir.NativePath("Favorites.lfbackup")));
  EXPECT_FALSE(lftest::Exists(dir.NativePath("Favorites/Sub")));
  // The linked folder is left as it is, and so is everything it leads to.
  EXPECT_TRUE(fs::is_symlink(dir.NativePath("Favorites/Linked")));
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("Outside/keep.url")), Shortcut("http://keep/"));

  lf::RemovedShortcuts none(dir.Path("Missing"));
  EXPECT_FALSE(lf::ClearFavoritesFolder(owner, dir.Path("Missing"), cancel, none));
  ASSERT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(owner.messages[0].flags, unsigned{lf::kMbIconError});
}

}  // namespace
