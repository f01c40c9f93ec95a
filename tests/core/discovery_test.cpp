#include "core/discovery.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/core/program_home.h"

namespace {

using lftest::S;

// Drive C in the test's folder, with the Netscape folder on it.
struct DriveC {
  explicit DriveC(const lftest::ProgramHome& home) : root(home.dir.NativePath("c")) {
    lftest::MakeDirs(root + "/Program Files/Netscape");
    platform::SetDriveRoot('C', root);
  }
  void File(const std::string& relative) const {
    lftest::MakeDirs(std::filesystem::path(root + "/" + relative).parent_path().string());
    lftest::WriteFile(root + "/" + relative, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n");
  }
  std::string root;
};

TEST(FindBookmarkFile, FindsTheExactNameBelowTheDriveFolder) {
  lftest::ProgramHome home;
  DriveC c(home);
  c.File("Program Files/Netscape/Users/taro/Bookmark.htm");  // letter case counts
  c.File("Program Files/Netscape/Users/taro/bookmark.html");
  EXPECT_EQ(lf::FindBookmarkFile(lf::kNetscapeFolder), "");
  c.File("Program Files/Netscape/Users/taro/bookmark.htm");
  EXPECT_EQ(lf::FindBookmarkFile(lf::kNetscapeFolder),
            "C:\\Program Files\\Netscape\\Users\\taro\\bookmark.htm");
  EXPECT_EQ(lf::FindBookmarkFile("C:\\Program Files\\Nowhere"), "");
}

TEST(FindBookmarkFile, TheLastMatchOfTheWalkWins) {
  lftest::ProgramHome home;
  DriveC c(home);
  c.File("Program Files/Netscape/Users/hanako/bookmark.htm");
  c.File("Program Files/Netscape/Users/taro/bookmark.htm");
  // The walk follows the order in which the folder is listed.
  std::vector<platform::DirEntry> users;
  ASSERT_EQ(platform::ListDirectory("C:\\Program Files\\Netscape\\Users", users), 0);
  ASSERT_EQ(users.size(), 2u);
  EXPECT_EQ(lf::FindBookmarkFile(lf::kNetscapeFolder),
            "C:\\Program Files\\Netscape\\Users\\" + users.back().name + "\\bookmark.htm");
}

TEST(FindBookmarkFile, DoesNotFollowALinkBackUp) {
  lftest::ProgramHome home;
  DriveC c(home);
  c.File("Program Files/Netscape/bookmark.htm");
  ASSERT_EQ(symlink("..", (c.root + "/Program Files/Netscape/up").c_str()), 0);
  EXPECT_EQ(lf::FindBookmarkFile(lf::kNetscapeFolder), "C:\\Program Files\\Netscape\\bookmark.htm");
}

TEST(FindFavoritesFolder, NeedsTheFolderInTheWindowsDirectory) {
  lftest::ProgramHome home;
  EXPECT_EQ(lf::FindFavoritesFolder(), "");  // no Windows directory at all
  DriveC c(home);
  platform::SetWindowsDirectory("C:\\WINDOWS");
  EXPECT_EQ(lf::FindFavoritesFolder(), "");
  lftest::MakeDirs(c.root + "/WINDOWS/Favorites");
  EXPECT_EQ(lf::FindFavoritesFolder(), "C:\\WINDOWS\\Favorites");
}

TEST(DiscoverDefaults, FillsOnlyEmptyLocationsAndSaysWhetherOneWasEmpty) {
  lftest::ProgramHome home;
  DriveC c(home);
  c.File("Program Files/Netscape/bookmark.htm");
  platform::SetWindowsDirectory("C:\\WINDOWS");
  lf::Settings s;
  s.IEDirName = S("D:\\お気に入り");
  EXPECT_TRUE(lf::DiscoverDefaults(s));
  EXPECT_EQ(s.NNFileName, "C:\\Program Files\\Netscape\\bookmark.htm");
  EXPECT_EQ(s.IEDirName, S("D:\\お気に入り"));
  EXPECT_FALSE(lf::DiscoverDefaults(s));

  lf::Settings none;  // nothing to be found: still reported, so Label3 turns red
  platform::SetDriveRoot('C', "");
  EXPECT_TRUE(lf::DiscoverDefaults(none));
  EXPECT_EQ(none.NNFileName, "");
  EXPECT_EQ(none.IEDirName, "");
}

}  // namespace
