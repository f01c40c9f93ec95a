#include "core/discovery.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
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

// The browsers' profiles as their programs lay them out: every Chromium-family profile with a
// Bookmarks file, "Default" first, and the newest backup of each profile profiles.ini names,
// relative or not; folders without a Bookmarks file and other files are passed over. With no
// Netscape folder, the first of them is the bookmark file.
TEST(FindBrowserBookmarkFiles, ProfilesOfChromiumsFamilyAndFirefoxsNewestBackups) {
  lftest::ProgramHome home;
  const std::string saved = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", home.dir.NativePath("home").c_str(), 1);
  const auto file = [&](const std::string& relative) {
    lftest::MakeDirs(std::filesystem::path(home.dir.NativePath(relative)).parent_path().string());
    lftest::WriteFile(home.dir.NativePath(relative), "{}");
  };
  file("config/google-chrome/Profile 1/Bookmarks");
  file("config/google-chrome/Default/Bookmarks");
  file("config/google-chrome/System Profile/Preferences");
  file("config/BraveSoftware/Brave-Browser/Default/Bookmarks");
  file("config/vivaldi/Default/Bookmarks.bak");
  const std::string firefox = "home/.mozilla/firefox/";
  file(firefox + "abc.default-release/bookmarkbackups/bookmarks-2024-04-30_15_x.jsonlz4");
  file(firefox + "abc.default-release/bookmarkbackups/bookmarks-2024-05-01_15_y.jsonlz4");
  file(firefox + "abc.default-release/bookmarkbackups/notes.txt");
  file("elsewhere/bookmarkbackups/bookmarks-2023-01-01_3_z.jsonlz4");
  lftest::WriteFile(home.dir.NativePath(firefox + "profiles.ini"),
                    "[General]\nStartWithLastProfile=1\n\n[Profile1]\nName=work\nIsRelative=0\n"
                    "Path=" +
                        home.dir.NativePath("elsewhere") +
                        "\n\n[Profile0]\nName=default\nIsRelative=1\nPath=abc.default-release\n");
  const std::string config = home.dir.Path("config");
  // Firefox's folder is found from HOME, a native path, and profiles.ini names native paths.
  const std::string mozilla =
      platform::FromNativePath(home.dir.NativePath("home/.mozilla/firefox"));
  EXPECT_EQ(lf::FindBrowserBookmarkFiles(),
            (std::vector<std::string>{
                config + "/google-chrome/Default/Bookmarks",
                config + "/google-chrome/Profile 1/Bookmarks",
                config + "/BraveSoftware/Brave-Browser/Default/Bookmarks",
                mozilla + "/abc.default-release/bookmarkbackups/bookmarks-2024-05-01_15_y.jsonlz4",
                platform::FromNativePath(home.dir.NativePath("elsewhere")) +
                    "/bookmarkbackups/bookmarks-2023-01-01_3_z.jsonlz4",
            }));
  lf::Settings s;
  EXPECT_TRUE(lf::DiscoverDefaults(s));
  EXPECT_EQ(s.NNFileName, config + "/google-chrome/Default/Bookmarks");
  setenv("HOME", saved.c_str(), 1);
}

}  // namespace
