// Inputs found by fuzzing that lost or moved links on their way through the writers.
#include <gtest/gtest.h>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/system_info.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using lftest::S;

const std::string M(lf::kLinkMarker);

class WrittenAndReadBack : public testing::Test {
 protected:
  void SetUp() override {
    platform::SetLoginName("user");
    lftest::MakeDirs(dir.NativePath("prog"));
    platform::SetProgramPath(dir.Path("prog/linkferry.exe"));
  }
  void TearDown() override {
    platform::SetLoginName(std::nullopt);
    platform::SetProgramPath(std::nullopt);
  }

  lf::BookmarkList ThroughNetscape(const lf::BookmarkList& list) {
    control.SaveBookmarkFile(owner, bar, c.nnUrlCount, dir.Path("bookmark.htm"), list);
    lf::BookmarkList back;
    reader.ReadBookmarkFile(owner, dir.Path("bookmark.htm"), c.cancel, c.nnUrlCount, nullptr, false,
                            back, bar, root);
    return back;
  }
  lf::BookmarkList ThroughOpera(const lf::BookmarkList& list) {
    control.SaveOperaFile(owner, bar, list, dir.Path("opera6.adr"), c.operaUrlCount);
    lf::BookmarkList back;
    reader.LoadOperaFile(owner, dir.Path("opera6.adr"), c.cancel, c.operaUrlCount, bar, back, root);
    return back;
  }
  lf::BookmarkList Sorted(lf::BookmarkList list) {
    TBookmarkControl::Regroup(list);
    return list;
  }

  lftest::TempDir dir;
  std::string root = "R";
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters c;
  TBookmarkControl control, reader;
};

// A folder whose name begins with another folder's name and a digit ("News2" beside "News")
// sorts between that folder and its contents; the links of News stayed in News only because
// Regroup no longer pulls News2 behind News.
TEST_F(WrittenAndReadBack, LinksStayInTheirFolderBesideAFolderWithALongerName) {
  const lf::BookmarkList list = Sorted({"R\\News.dir0", "R\\News" + M + "a.url1\\http://a/",
                                        "R\\News2.dir0", "R\\News2" + M + "b.url1\\http://b/",
                                        "R\\News;old.dir0", "R\\News;old" + M + "c.url1\\http://c/",
                                        "R\\News\\9.dir1", "R\\News\\9" + M + "d.url2\\http://d/",
                                        "R\\News.x.dir0", "R\\News.x" + M + "e.url1\\http://e/"});
  EXPECT_EQ(ThroughNetscape(list), list);
  EXPECT_EQ(ThroughOpera(list), list);

  // The same inside folders, where sorting alone kept F11 between F1 and F1's contents.
  const lf::BookmarkList nested =
      Sorted({"R\\A.dir0", "R\\A\\F1.dir1", "R\\A\\F1" + M + "x.url2\\http://x/", "R\\A\\F11.dir1",
              "R\\A\\F11" + M + "y.url2\\http://y/", "R\\A\\F1\\G.dir2", "R\\A\\F1\\G2.dir2",
              "R\\A\\F1\\G" + M + "z.url3\\http://z/"});
  EXPECT_EQ(nested[1], "R\\A\\F1.dir1");
  EXPECT_EQ(nested[2], "R\\A\\F1\\G.dir2");
  EXPECT_EQ(nested[3], "R\\A\\F1\\G" + M + "z.url3\\http://z/");
  EXPECT_EQ(ThroughNetscape(nested), nested);
  EXPECT_EQ(ThroughOpera(nested), nested);

  // A link whose URL holds a folder's path (a file: URL into the Favorites folder) lies in
  // its own folder, not in the one its URL names.
  const lf::BookmarkList local = Sorted(
      {"R\\A.dir0", "R\\A\\B.dir1", "R\\A\\B\\C.dir2", "R\\A\\B\\C" + M + "c.url3\\http://c/",
       "R\\A\\B" + M + "d.url2\\http://d/", "R" + M + "r.url0\\file://R\\A\\B\\C\\page.htm"});
  EXPECT_EQ(local.back(), "R" + M + "r.url0\\file://R\\A\\B\\C\\page.htm");
  EXPECT_EQ(ThroughNetscape(local), local);
  EXPECT_EQ(ThroughOpera(local), local);
  EXPECT_TRUE(owner.messages.empty());
}

// Titles that hold a URL (kept by the pages' link names), hotlist links of other schemes and
// Favorites values with text before the scheme split where the reader joined them.
TEST_F(WrittenAndReadBack, NamesHoldingSchemesAndUrlsOfOtherSchemesKeepTheirLink) {
  const lf::BookmarkList titled = {"R" + M + "http://x.example/.url0\\http://x.example/",
                                   "R" + M + "see http://y/ too.url0\\http://y/"};
  EXPECT_EQ(ThroughNetscape(titled), Sorted(titled));

  const lf::BookmarkList hotlist = {"R" + M + "mail.url0\\mailto:a@b",
                                    "R" + M + "odd.url0\\javascript:x(\"http://z/\")",
                                    "R" + M + "ftp://f/.url0\\ftp://f/"};
  EXPECT_EQ(ThroughOpera(hotlist), Sorted(hotlist));
  // The Netscape file gets the hotlist's link as it is, though only known schemes are links
  // when it is read again.
  ThroughNetscape(hotlist);
  EXPECT_NE(
      lftest::ReadFile(dir.NativePath("bookmark.htm")).find("<DT><A HREF=\"mailto:a@b\" ADD_DATE="),
      std::string::npos);

  root = dir.Path("fav");
  lftest::MakeDirs(dir.NativePath("fav"));
  const lf::BookmarkList favorites = {root + M + "a.url0\\see http://a/",
                                      root + M + "b.url0\\http://b/" + M + "c.url0\\http://c/"};
  control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, favorites);
  lf::BookmarkList back;
  reader.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, back, nullptr, root);
  EXPECT_EQ(back, Sorted(favorites));
  EXPECT_EQ(c.errorCount, 0);
}

// A hotlist's folder names may hold ":"; the writers took only the part after it.
TEST_F(WrittenAndReadBack, FolderNamesWithAColonKeepTheirWholeName) {
  const lf::BookmarkList list = {"R\\Blog: tech.dir0", "R\\Blog: tech" + M + "x.url1\\http://x/"};
  EXPECT_EQ(ThroughOpera(list), list);
  ThroughNetscape(list);
  EXPECT_NE(lftest::ReadFile(dir.NativePath("bookmark.htm")).find("\">Blog: tech</H3>"),
            std::string::npos);
}

// Written in EUC-JP, a title ending in the first byte of a two-byte character took the "<"
// of "</A>" with it, and a user-defined character became a carriage return: the next read
// lost the link and the lines after it. Now the bytes that are no character are written as
// "?", and the user-defined character as its reference, which brings it back.
TEST_F(WrittenAndReadBack, BrokenCharactersDoNotBreakTheLinesOfAnEucJpFile) {
  control.OutputCharset = 1;
  const lf::BookmarkList list = {"R" + M + "a\xEC.url0\\http://a/",
                                 "R" + M + "b\xF7\x40.url0\\http://b/",
                                 "R" + M + "c\xFD.url0\\http://c/", "R" + M + "d.url0\\http://d/"};
  EXPECT_EQ(ThroughNetscape(list),
            (lf::BookmarkList{"R" + M + "a?.url0\\http://a/", "R" + M + "b\xF7\x40.url0\\http://b/",
                              "R" + M + "c?.url0\\http://c/", "R" + M + "d.url0\\http://d/"}));
}

// A carriage return or an end-of-file byte in a name (a Favorites file may be named so)
// ended the written line or the whole file when it was read back, losing every later link.
TEST_F(WrittenAndReadBack, ControlBytesInNamesDoNotCutTheWrittenFileShort) {
  const lf::BookmarkList list = {"R" + M +
                                     "a\x1A"
                                     "b.url0\\http://a/",
                                 "R" + M + "c\rd.url0\\http://c/", "R" + M + "z.url0\\http://z/"};
  const lf::BookmarkList blanks = {"R" + M + "a b.url0\\http://a/", "R" + M + "c d.url0\\http://c/",
                                   "R" + M + "z.url0\\http://z/"};
  EXPECT_EQ(ThroughNetscape(list), blanks);
  EXPECT_EQ(ThroughOpera(list), blanks);
}

// A folder title in another character set may end in the first byte of a two-byte
// character; it took the "\\" after the name for its second byte, so the folders inside were
// written under a name made of both.
TEST_F(WrittenAndReadBack, AFolderTitleEndingInAFirstByteKeepsItsContentsApart) {
  lftest::WriteFile(
      dir.NativePath("in.htm"),
      "charset=Shift_JIS\r\n<DL><p>\r\n<DT><H3>A\xC6\xFC</H3>\r\n<DL><p>\r\n<DT><H3>B</H3>"
      "\r\n<DL><p>\r\n"
      "<DT><A HREF=\"http://x/\">X</A>\r\n</DL><p>\r\n</DL><p>\r\n</DL><p>\r\n");
  lf::BookmarkList list;
  reader.ReadBookmarkFile(owner, dir.Path("in.htm"), c.cancel, c.nnUrlCount, nullptr, false, list,
                          bar, root);
  EXPECT_EQ(list, (lf::BookmarkList{"R\\A\xC6.dir0", "R\\A\xC6\\B.dir1",
                                    "R\\A\xC6\\B" + M + "X.url2\\http://x/"}));
  EXPECT_EQ(ThroughNetscape(list), list);
}

// A folder named with the two characters of the link marker first ("腕腕") put the marker
// right after the "\" in front of its name: its links were split inside the folder path. The
// first of the two is held as its reference, in every format the name goes through.
TEST_F(WrittenAndReadBack, AFolderNamedLikeTheLinkMarkerKeepsItsLinks) {
  lftest::WriteFile(dir.NativePath("in.htm"),
                    S("<DL><p>\r\n<DT><H3>腕腕相撲</H3>\r\n<DL><p>\r\n"
                      "<DT><A HREF=\"http://x/\">腕腕</A>\r\n</DL><p>\r\n</DL><p>\r\n"));
  lf::BookmarkList list;
  reader.ReadBookmarkFile(owner, dir.Path("in.htm"), c.cancel, c.nnUrlCount, nullptr, false, list,
                          bar, root);
  const std::string folder = "R\\&#33109;" + S("腕相撲");
  EXPECT_EQ(list, (lf::BookmarkList{folder + ".dir0",
                                    folder + M + "&#33109;" + S("腕") + ".url1\\http://x/"}));
  EXPECT_EQ(ThroughNetscape(list), list);
  EXPECT_EQ(ThroughOpera(list), list);
  EXPECT_NE(lftest::ReadFile(dir.NativePath("bookmark.htm")).find(">&#33109;" + S("腕相撲</H3>")),
            std::string::npos);
}

}  // namespace
