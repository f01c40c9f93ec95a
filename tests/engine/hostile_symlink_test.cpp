// Symbolic links in the Favorites folder are never folders of it: the walk does not follow
// them, and the writer never creates anything through them, whether they point at an
// ancestor, elsewhere, or nowhere.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/support/fakes.h"
#include "tests/support/hostile_helpers.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using lftest::U;

const std::string M(lf::kLinkMarker);

class FolderLinks : public testing::Test {
 protected:
  void SetUp() override {
    lftest::MakeDirs(dir.NativePath("prog"));
    lftest::MakeDirs(dir.NativePath("fav/Real"));
    lftest::MakeDirs(dir.NativePath("out/Sub"));
    lftest::WriteFile(dir.NativePath("out/x.url"), "[InternetShortcut]\r\nURL=http://out/\r\n");
    platform::SetProgramPath(dir.Path("prog/linkferry.exe"));
    Link(dir.NativePath("out"), "fav/Out");
    Link(dir.NativePath("fav"), "fav/Real/Up");
    Link(dir.NativePath("nowhere"), "fav/Gone");
  }
  void TearDown() override { platform::SetProgramPath(std::nullopt); }

  void Link(const std::string& target, const std::string& at) {
    ASSERT_EQ(symlink(target.c_str(), dir.NativePath(at).c_str()), 0);
  }
  std::string R(const std::string& rest) { return dir.Path("fav") + rest; }

  lftest::TempDir dir;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters c;
  TBookmarkControl control;
};

TEST_F(FolderLinks, WritingNeverGoesThroughALinkNamedLikeAFolder) {
  const std::string outside = lftest::Tree(dir.NativePath("out"));
  const lf::BookmarkList list = {R("\\Gone.dir0"),
                                 R("\\Gone" + M + "g.url1\\http://g/"),
                                 R("\\Out.dir0"),
                                 R("\\Out" + M + "x.url1\\http://evil/"),
                                 R("\\Out\\New.dir1"),
                                 R("\\Out\\Sub" + M + "y.url2\\http://y/"),
                                 R("\\Real.dir0"),
                                 R("\\Real" + M + "ok.url1\\http://ok/"),
                                 R("\\Real\\Up.dir1"),
                                 R("\\Real\\Up" + M + "loop.url2\\http://loop/"),
                                 R("\\Real\\Up\\Real" + M + "deep.url3\\http://deep/"),
                                 R(M + "Out&#92;Sub&#92;named.url0\\http://named/")};
  control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, list);

  EXPECT_EQ(lftest::Tree(dir.NativePath("out")), outside);
  EXPECT_FALSE(lftest::Exists(dir.NativePath("nowhere")));
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("fav/Real/ok.url")),
            "[InternetShortcut]\r\nURL=http://ok/\r\n");
  // A name holding "\" names no folders: it is one shortcut of the Favorites' top folder.
  EXPECT_EQ(
      lftest::Tree(dir.NativePath("fav")),
      "Gone -> " + dir.NativePath("nowhere") + "\nOut -> " + dir.NativePath("out") +
          "\nOutSubnamed.url: [InternetShortcut]\r\nURL=http://named/\r\n\nReal/\nReal/Up -> " +
          dir.NativePath("fav") + "\nReal/ok.url: [InternetShortcut]\r\nURL=http://ok/\r\n\n");
  // Every folder and link that would have gone through a link is reported and logged.
  EXPECT_EQ(c.ieUrlCount, 2);
  EXPECT_EQ(c.errorCount, 5);
  ASSERT_EQ(owner.messages.size(), 9u);
  for (const std::string& text : owner.Texts())
    EXPECT_NE(text.find(U(platform::ErrorText(ELOOP))), std::string::npos) << text;
  const std::string log = lftest::ReadFile(dir.NativePath("prog/LostData.txt"));
  const std::string loop = " [ " + U(platform::ErrorText(ELOOP)) + " ]\n";
  EXPECT_NE(log.find("Dir  Error : " + dir.NativePath("fav/Out") + loop), std::string::npos);
  EXPECT_NE(log.find("Dir  Error : " + dir.NativePath("fav/Out/New") + loop), std::string::npos);
  EXPECT_NE(log.find("File Error : " + dir.NativePath("fav/Real/Up/Real/deep.url") + loop),
            std::string::npos);
  EXPECT_EQ(log.find("named.url"), std::string::npos);
}

// A symbolic link in a shortcut's place, to a file elsewhere or to a name not yet made there,
// is no shortcut of the program's: it stays, the link takes the next free name, and the file
// it points to is neither changed nor made.
TEST_F(FolderLinks, ShortcutsInThePlaceOfLinksLeaveTheLinksAndTheirTargets) {
  Link(dir.NativePath("out/x.url"), "fav/Real/file.url");
  Link(dir.NativePath("out/made.url"), "fav/Real/dangling.url");
  const std::string outside = lftest::Tree(dir.NativePath("out"));
  control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount,
                        {R("\\Real.dir0"), R("\\Real" + M + "dangling.url1\\http://d/"),
                         R("\\Real" + M + "file.url1\\http://f/")});
  EXPECT_EQ(lftest::Tree(dir.NativePath("out")), outside);
  EXPECT_EQ(lftest::Tree(dir.NativePath("fav/Real")),
            "Up -> " + dir.NativePath("fav") +
                "\ndangling (2).url: [InternetShortcut]\r\nURL=http://d/\r\n\n"
                "dangling.url -> " + dir.NativePath("out/made.url") +
                "\nfile (2).url: [InternetShortcut]\r\nURL=http://f/\r\n\n"
                "file.url -> " + dir.NativePath("out/x.url") + "\n");
  EXPECT_EQ(c.ieUrlCount, 2);
  EXPECT_EQ(c.errorCount, 0);
  EXPECT_TRUE(owner.messages.empty());
}

TEST_F(FolderLinks, ReadingSkipsLinksToFoldersAndReadsBackOnlyTheRealFolder) {
  lftest::WriteFile(dir.NativePath("fav/Real/ok.url"), "[InternetShortcut]\r\nURL=http://ok/\r\n");
  lf::BookmarkList list;
  control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, list, nullptr, R(""));
  EXPECT_EQ(list, (lf::BookmarkList{R("\\Real.dir0"), R("\\Real" + M + "ok.url1\\http://ok/")}));
  EXPECT_EQ(c.errorCount, 0);
  EXPECT_TRUE(owner.messages.empty());
}

}  // namespace
