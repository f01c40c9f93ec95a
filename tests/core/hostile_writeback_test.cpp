// The editor page's write-back of the Favorites folder under failure: a write cut off
// part-way or cancelled deletes nothing, and symbolic links (to an ancestor, to a folder
// elsewhere, named like a shortcut) are never followed, emptied or deleted through.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "core/editor_list.h"
#include "core/favorites_writeback.h"
#include "engine/bookmark_control.h"
#include "engine/favorites_targets.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/support/failing_writes.h"
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

class WriteBackUnderFailure : public testing::Test {
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
  void TearDown() override { platform::SetProgramPath(std::nullopt); }

  lf::BookmarkList Read(const std::string& folder = "Favorites") {
    lf::BookmarkList list;
    lf::RunCounters c;
    control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, list, nullptr,
                          dir.Path(folder));
    return list;
  }
  std::string Everything() {
    return lftest::Tree(dir.NativePath("Favorites")) + lftest::Tree(dir.NativePath("Outside"));
  }

  lftest::TempDir dir;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters counters;
  TBookmarkControl control;
};

TEST_F(WriteBackUnderFailure, AWriteCutOffPartWayDeletesNothing) {
  const lf::BookmarkList loaded = Read();
  lf::FavoritesWriteBack writeBack(dir.Path("Favorites"), loaded);
  lf::BookmarkList list = loaded;
  lf::DirDel(list, dir.Path("Favorites/A"), 0);  // x.url and y.url to move up, A\B to go
  list.push_back(dir.Path("Favorites") + std::string(lf::kLinkMarker) + "new.url0\\http://new/");
  TBookmarkControl::Regroup(list);
  const std::string before = Everything();
  control.WriteFilter = lftest::FailAfter(0);  // the disk is full
  const lf::WriteBackResult result = writeBack.Write(control, owner, bar, counters, list);
  control.WriteFilter = nullptr;
  EXPECT_FALSE(result.written);
  // z.url holds its address already: it needs no writing, and nothing else could be written.
  EXPECT_EQ(result.linksNotWritten, 3);
  EXPECT_EQ(counters.errorCount, 3);
  EXPECT_EQ(Everything(), before);
  EXPECT_EQ(lftest::Tree(dir.Native()).find(".lfbackup"), std::string::npos);

  // With room again the same list goes through, and only then the old places go.
  const lf::WriteBackResult again = writeBack.Write(control, owner, bar, counters, list);
  EXPECT_TRUE(again.written);
  std::string expected;
  for (const char* name : {"new", "x", "y", "z"})
    expected += std::string(name) + ".url: " + Shortcut("http://" + std::string(name) + "/") + "\n";
  EXPECT_EQ(lftest::Tree(dir.NativePath("Favorites")), expected);
}

TEST_F(WriteBackUnderFailure, LinksAreNeverFollowedEmptiedOrDeletedThrough) {
  ASSERT_EQ(symlink(dir.NativePath("Favorites").c_str(), dir.NativePath("Favorites/A/Up").c_str()),
            0);
  ASSERT_EQ(symlink(dir.NativePath("Outside").c_str(), dir.NativePath("Favorites/Out").c_str()), 0);
  ASSERT_EQ(
      symlink(dir.NativePath("Outside/Deep").c_str(), dir.NativePath("Favorites/trap.url").c_str()),
      0);
  const std::string outside = lftest::Tree(dir.NativePath("Outside"));
  const lf::BookmarkList loaded = Read();
  EXPECT_EQ(loaded.size(), 5u);  // A, A\B and the three shortcuts; no link was walked into
  lf::FavoritesWriteBack writeBack(dir.Path("Favorites"), loaded);
  lf::BookmarkList list = loaded;
  lf::DirDel(list, dir.Path("Favorites/A"), 0);
  EXPECT_TRUE(writeBack.Write(control, owner, bar, counters, list).written);
  // A folder that holds a link is not empty and stays, without a word: the link is not the
  // page's to delete, and neither is the shortcut-named link to a folder.
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_EQ(lftest::Tree(dir.NativePath("Outside")), outside);
  EXPECT_TRUE(fs::is_symlink(dir.NativePath("Favorites/A/Up")));
  EXPECT_TRUE(fs::is_symlink(dir.NativePath("Favorites/trap.url")));
  EXPECT_FALSE(lftest::Exists(dir.NativePath("Favorites/A/B")));
  lf::BookmarkList expected = list;
  expected.insert(expected.begin(), dir.Path("Favorites/A.dir0"));  // still on the disk
  EXPECT_EQ(Read(), expected);
}

// A link renamed or moved on the page takes its shortcut along, with every other line of it;
// its old file goes.
TEST_F(WriteBackUnderFailure, ARenamedOrMovedLinkKeepsItsShortcut) {
  const std::string windows =
      "\xEF\xBB\xBF[DEFAULT]\r\nBASEURL=http://z/\r\n[InternetShortcut]\r\nURL=http://z/\r\n"
      "HotKey=0\r\n";
  lftest::WriteFile(dir.NativePath("Favorites/z.url"), windows);
  lf::BookmarkList list = Read();
  lf::FavoritesWriteBack writeBack(dir.Path("Favorites"), list);
  lf::MarkShortcutFiles(list);
  ASSERT_TRUE(lf::RenameUrlEntry(list, dir.Path("Favorites"), "z", "renamed"));
  ASSERT_EQ(lf::MoveUrlEntries(list, dir.Path("Favorites/A"), "x", dir.Path("Favorites/A/B"), 2),
            1);
  TBookmarkControl::Regroup(list);
  EXPECT_TRUE(writeBack.Write(control, owner, bar, counters, list).written);
  EXPECT_EQ(lftest::Tree(dir.NativePath("Favorites")),
            "A/\nA/B/\nA/B/x.url: " + Shortcut("http://x/") +
                "\nA/B/y.url: " + Shortcut("http://y/") + "\nrenamed.url: " + windows + "\n");
  EXPECT_TRUE(owner.messages.empty());
}

TEST_F(WriteBackUnderFailure, AFavoritesFolderThatIsAFileIsReportedAndNothingIsWritten) {
  lftest::WriteFile(dir.NativePath("file"), "content");
  const std::string before = lftest::Tree(dir.Native());
  const lf::BookmarkList list = {dir.Path("file") + std::string(lf::kLinkMarker) +
                                 "x.url0\\http://x/"};
  lf::FavoritesWriteBack writeBack(dir.Path("file"), {});
  EXPECT_FALSE(writeBack.Write(control, owner, bar, counters, list).written);
  EXPECT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(lftest::Tree(dir.Native()), before);
}

// Cancelled, a write deletes nothing; complete, it deletes a shortcut that is a link itself,
// never what the link leads to, nor a linked folder.
TEST_F(WriteBackUnderFailure, ACancelledWriteDeletesNothingAndLinksLeadNowhere) {
  lftest::WriteFile(dir.NativePath("Outside/keep.url"), Shortcut("http://keep/"));
  fs::create_directory_symlink(dir.NativePath("Outside"), dir.NativePath("Favorites/Linked"));
  fs::create_symlink(dir.NativePath("Outside/keep.url"), dir.NativePath("Favorites/alias.url"));
  const lf::BookmarkList loaded = Read();
  lf::FavoritesWriteBack writeBack(dir.Path("Favorites"), loaded);
  lf::BookmarkList list;
  for (const std::string& entry : loaded)
    if (entry.find("alias.url") == std::string::npos && entry.find("z.url") == std::string::npos)
      list.push_back(entry);
  const std::string before = Everything();

  const int pumps = owner.pumps;
  owner.onPump = [&](int pump) {
    if (pump == pumps + 2) counters.cancel = 1;
  };
  const lf::WriteBackResult cancelled = writeBack.Write(control, owner, bar, counters, list);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_FALSE(cancelled.written);
  EXPECT_EQ(Everything(), before);

  owner.onPump = nullptr;
  counters.cancel = 0;
  EXPECT_TRUE(writeBack.Write(control, owner, bar, counters, list).written);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.NativePath("Favorites/alias.url"))));
  EXPECT_FALSE(lftest::Exists(dir.NativePath("Favorites/z.url")));
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("Outside/keep.url")), Shortcut("http://keep/"));
  EXPECT_TRUE(fs::is_symlink(dir.NativePath("Favorites/Linked")));
  EXPECT_TRUE(owner.messages.empty());
}

// A Favorites folder whose parent the user may not write to (a home folder's Favorites on a
// shared disk, a folder of its own mount) is written back like any other: nothing is kept
// beside it.
TEST_F(WriteBackUnderFailure, AFolderWhoseParentIsReadOnlyIsWrittenBack) {
  const lf::BookmarkList loaded = Read();
  lf::BookmarkList list;
  for (const std::string& entry : loaded)
    if (entry.find("z.url") == std::string::npos) list.push_back(entry);
  for (const char* folder : {"Favorites", "Favorites/A", "Favorites/A/B", "prog"})
    ASSERT_EQ(chmod(dir.NativePath(folder).c_str(), 0777), 0);
  ASSERT_EQ(chmod(dir.Native().c_str(), 0555), 0);
  const std::vector<std::string> result = lftest::InChildWithoutRoot([&] {
    lftest::RecordingOwner child;
    lf::FavoritesWriteBack writeBack(dir.Path("Favorites"), loaded);
    lf::RunCounters c;
    const bool written = writeBack.Write(control, child, bar, c, list).written;
    std::vector<std::string> texts = child.Texts();
    texts.push_back(written ? "written" : "not written");
    return texts;
  });
  chmod(dir.Native().c_str(), 0755);
  EXPECT_EQ(result, std::vector<std::string>{"written"});
  EXPECT_FALSE(lftest::Exists(dir.NativePath("Favorites/z.url")));
  EXPECT_EQ(Read(), list);
}

// The write-back keeps what the writer made apart from what it may delete by the file names
// it expects the writer to give: they must be the names the writer gives.
TEST_F(WriteBackUnderFailure, WrittenFilesAreTheOnesTheWriterWrites) {
  lftest::MakeDirs(dir.NativePath("New"));
  const std::string root = dir.Path("New");
  const std::string marker(lf::kLinkMarker);
  const lf::BookmarkList list = {
      root + "\\F.dir0",
      root + "\\F" + marker + "Capital.URL.url1\\http://c/",
      root + "\\F" + marker + lf::Sjis("ソフト.url") + "1\\http://s/",
      root + marker + "a.b.url0\\ftp://a/",
      root + marker + "Yahoo.url0\\before http://y/",
      root + marker + "typed.url0\\www.example.com",  // no scheme: not written
      root + marker + "mail.url0\\mailto:a@b",
      root + marker + "C:\\/C++&#92;?.url0\\http://c/",  // without what a file name cannot hold
      root + marker + "C:\\/C++&#92;?.url0\\http://d/",  // then numbered
      root + marker + "Caf&#233;.url0\\http://e/",
  };
  // Both as paths below the folder, "\\" between their names; the names as the folder is
  // before the write.
  std::set<std::string> expected, written;
  lf::FavoritesTargets names;  // in list order, as one write gives them
  for (const std::string& entry : list) {
    std::string path = names.File(entry);
    if (path.empty()) path = lf::FavoritesTargets::Folder(entry);
    if (!path.empty()) expected.insert(path.substr(root.size() + 1));
  }
  lf::RunCounters c;
  control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, list);
  for (const auto& item : fs::recursive_directory_iterator(dir.NativePath("New"))) {
    std::string path;
    ASSERT_EQ(platform::FromNativePathExact(
                  fs::relative(item.path(), dir.NativePath("New")).string(), path),
              0);
    written.insert(path);
  }
  EXPECT_EQ(written, expected);
}

// A shortcut of another scheme is written back and kept; a folder whose name the writer
// cannot write as it is (read on Unix) is written under the name it can, and only then the
// old one goes, so the folder ends up holding the list as the writer writes it.
TEST_F(WriteBackUnderFailure, LinksOfEveryKindSurviveTheWriteBack) {
  lftest::MakeDirs(dir.NativePath("Other/a:b"));
  lftest::WriteFile(dir.NativePath("Other/mail.url"), Shortcut("mailto:a@b"));
  lftest::WriteFile(dir.NativePath("Other/a:b/x.url"), Shortcut("http://x/"));
  const lf::BookmarkList loaded = Read("Other");
  lf::FavoritesWriteBack writeBack(dir.Path("Other"), loaded);
  EXPECT_TRUE(writeBack.Write(control, owner, bar, counters, loaded).written);
  EXPECT_EQ(
      lftest::Tree(dir.NativePath("Other")),
      "ab/\nab/x.url: " + Shortcut("http://x/") + "\nmail.url: " + Shortcut("mailto:a@b") + "\n");
}

}  // namespace
