#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/support/carried_lines.h"
#include "tests/support/failing_writes.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::S;
using lftest::U;

// One write of entries given in UTF-8 with "R" for the root path; the log goes to prog/.
// A program path as messages and the log show it (UTF-8).
std::string Shown(const std::string& path) {
  return U(platform::ShownPath(path));
}

struct Write {
  explicit Write(const lftest::TempDir& d, const std::string& rootRel = "fav") : dir(d) {
    root = d.Path(rootRel);
    lftest::MakeDirs(d.NativePath("prog"));
    platform::SetProgramPath(d.Path("prog/linkferry.exe"));
  }
  void Run(std::initializer_list<const char*> entries) {
    for (const char* e : entries) list.push_back(root + S(e + 1));
    control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, list);
  }
  std::string Log() const { return lftest::ReadFile(dir.NativePath("prog/LostData.txt")); }
  std::string Failure(const char* what, const std::string& path, int code) const {
    return std::string(what) + Shown(path) + " ]の作成で\r[ " + U(platform::ErrorText(code)) +
           " ] のエラーが発生しました。\rＬｏｓｔＤａｔａ．ｔｘｔにファイル名情報が保存されます。";
  }

  const lftest::TempDir& dir;
  std::string root;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters c;
  lf::BookmarkList list;
  lf::TBookmarkControl control;
};

TEST(FavoritesWriter, WritesEveryEntryWhereItsPathSaysAndReadsBackTheSame) {
  lftest::TempDir d;
  Write w(d);
  lftest::MakeDirs(d.NativePath("fav/ニュース"));
  lftest::WriteFile(d.NativePath("fav/top.url"), "old content");
  lftest::WriteFile(d.NativePath("prog/LostData.txt"), "old\r\n");
  w.Run({"R\\ニュース.dir0", "R\\ニュース\\ソフト.dir1",
         "R\\ニュース\\ソフト\\腕腕表.url2\\http://s/", "R\\ニュース\\腕腕Daily.url1\\http://d/",
         "R\\腕腕top.url0\\http://old/", "R\\腕腕top.url0\\http://host/",
         "R\\腕腕mail.url0\\mailto:a@b", "R\\腕腕typed.url0\\www.example.jp"});
  // Two links of one name in one folder are both written, the later one numbered; a file of
  // that name from before that is no shortcut is the user's own and stays.
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/top.url")), "old content");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/top (2).url")),
            "[InternetShortcut]\r\nURL=http://old/\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/top (3).url")),
            "[InternetShortcut]\r\nURL=http://host/\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/ニュース/ソフト/表.url")).size(), 9u + 26u);
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/mail.url")),
            "[InternetShortcut]\r\nURL=mailto:a@b\r\n");
  // An address without a scheme is not written, but logged as lost (without a message).
  EXPECT_FALSE(lftest::Exists(d.NativePath("fav/typed.url")));
  EXPECT_EQ(w.c.ieUrlCount, 5);
  EXPECT_EQ(w.c.errorCount, 1);
  EXPECT_EQ(w.bar.max, 7);
  EXPECT_EQ(w.bar.steps, 8);
  EXPECT_TRUE(w.owner.messages.empty());
  EXPECT_EQ(w.Log(), "URL Error : " + Shown(w.root + "\\typed.url") + "\n");

  lf::BookmarkList read;
  lf::RunCounters c;
  w.control.LoadFavorites(w.owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, read, nullptr,
                          w.root);
  w.list[4] = w.root + S("\\腕腕top (2).url0\\http://old/");
  w.list[5] = w.root + S("\\腕腕top (3).url0\\http://host/");
  w.list.pop_back();  // never written
  lf::TBookmarkControl::Regroup(w.list);
  EXPECT_EQ(read, w.list);
  // The user's own file is no link: the read says so.
  EXPECT_EQ(w.Log(), "URL Error : " + Shown(w.root + "\\top.url") + "\n");

  Write none(d);
  none.Run({});
  EXPECT_EQ(none.bar.steps, 0);
  EXPECT_EQ(none.Log(), w.Log());
}

// Folders and links by their form: a link titled "x.dir" or whose name or folder holds an
// address is a shortcut in its folder, and a folder named with an address is a folder. A
// name loses only the characters a file name cannot hold; one beyond Shift-JIS is written
// as itself, in the name and, percent-encoded, in the address (its Unicode copy beside it).
TEST(FavoritesWriter, NamesThatLookLikeOtherThingsStayWhatTheyAre) {
  lftest::TempDir d;
  Write w(d);
  lftest::MakeDirs(d.NativePath("fav"));
  w.Run({"R\\setup.dir.dir0", "R\\setup.dir\\腕腕x.dir.url1\\http://x/", "R\\Blog http:b.dir0",
         "R\\Blog http:b\\腕腕http:t.url1\\http://real/"});
  // Names and an address in the program's text: "\" and characters beyond Shift-JIS as
  // references, a title that really is "&#233;" with its "&" as one.
  w.list = {w.root + "\\a&#92;b<c>|\"*?.dir0",
            w.root + "\\a&#92;b<c>|\"*?" + std::string(lf::kLinkMarker) +
                "Caf&#233; &#38;#233; &#2:33;.url1\\http://x/Gr&#246;&#223;e?a&b",
            // Half-width katakana whose bytes would read back as UTF-8 ("é").
            w.root + std::string(lf::kLinkMarker) + "kana.url0\\http://x/\xC3\xA9"};
  w.control.SaveFavorites(w.owner, w.bar, w.c.cancel, w.c.errorCount, w.c.ieUrlCount, w.list);
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/setup.dir/x.dir.url")),
            "[InternetShortcut]\r\nURL=http://x/\r\n");
  EXPECT_FALSE(std::filesystem::is_directory(d.NativePath("fav/setup.dir/x.dir")));
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/Blog httpb/httpt.url")),
            "[InternetShortcut]\r\nURL=http://real/\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/abc/Café &#233; &#233;.url")),
            "[InternetShortcut]\r\nURL=http://x/Gr%C3%B6%C3%9Fe?a&b\r\n"
            "[InternetShortcut.A]\r\nURL=http://x/Gr%C3%B6%C3%9Fe?a&b\r\n"
            "[InternetShortcut.W]\r\nURL=http://x/Gr+APYA3w-e?a&b\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/kana.url")),
            "[InternetShortcut]\r\nURL=http://x/%EF%BE%83%EF%BD%A9\r\n");
  EXPECT_EQ(w.c.ieUrlCount, 4);
  EXPECT_EQ(w.c.errorCount, 0);
  EXPECT_TRUE(w.owner.messages.empty());
}

// What a link carries that a shortcut can hold comes back with it: the date it was added as
// the file's time, its icon, and an address beyond Shift-JIS, which Windows reads from its
// Unicode copy and every other program from the line. A shortcut of the program's own whose
// address changed keeps every other line, the copies of its address in step.
TEST(FavoritesWriter, ShortcutsHoldTheDateTheIconAndAddressesBeyondShiftJis) {
  lftest::TempDir d;
  Write w(d);
  lftest::WriteFile(d.NativePath("fav/old.url"),
                    "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n"
                    "[InternetShortcut]\r\nIDList=\r\nURL=http://old/caf?\r\nIconIndex=1\r\n"
                    "[InternetShortcut.A]\r\nURL=http://old/caf?\r\n"
                    "[InternetShortcut.W]\r\nURL=http://old/caf+AOk-\r\n");
  lftest::WriteFile(d.NativePath("fav/bom.url"),
                    "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://old/\r\nHotKey=0\r\n");
  using P = lf::Prop;
  const auto entry = [&](const char* text, std::initializer_list<std::pair<P, const char*>> props) {
    lf::Entry e(w.root + S(text));
    for (const auto& [prop, value] : props) e.props.Set(prop, S(value));
    return e;
  };
  w.list = {
      entry("\\ニュース.dir0", {{P::Added, "1300000000"}}),
      entry(
          "\\ニュース\\腕腕Café.url1\\http://x/café/😀?a=1+2&b=~c",
          {{P::Added, "1234567890"}, {P::IconFile, "C:\\アイコン\\Café.ico"}, {P::IconIndex, "3"}}),
      entry("\\腕腕dated.url0\\http://dated/", {{P::Added, "1000000000"}}),
      entry("\\腕腕none.url0\\http://none/", {}),
      entry("\\腕腕old.url0\\http://new/été", {{P::Added, "1100000000"}}),
      entry("\\腕腕bom.url0\\http://new/ü", {{P::Added, "1200000000"}})};
  const std::unordered_set<std::string> own = {w.root + "\\old.url", w.root + "\\bom.url"};
  const lf::Report report =
      w.control.SaveFavorites({w.owner, w.bar, nullptr, w.c.cancel}, w.list, &own);
  EXPECT_EQ(report.links, 5);
  EXPECT_TRUE(report.Clean());

  const std::string address = "URL=http://x/caf%C3%A9/%F0%9F%98%80?a=1+2&b=~c\r\n";
  const std::string icon = S("IconFile=C:\\アイコン\\Caf?.ico\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/ニュース/Café.url")),
            "[InternetShortcut]\r\n" + address + icon + "IconIndex=3\r\n[InternetShortcut.A]\r\n" +
                address + icon + "[InternetShortcut.W]\r\n" +
                "URL=http://x/caf+AOk-/+2D3eAA-?a=1+-2&b=+AH4-c\r\n"
                "IconFile=C:+AFwwojCkMLMw8wBc-Caf+AOk-.ico\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/dated.url")),
            "[InternetShortcut]\r\nURL=http://dated/\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/none.url")),
            "[InternetShortcut]\r\nURL=http://none/\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/old.url")),
            "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n"
            "[InternetShortcut]\r\nIDList=\r\nURL=http://new/%C3%A9t%C3%A9\r\nIconIndex=1\r\n"
            "[InternetShortcut.A]\r\nURL=http://new/%C3%A9t%C3%A9\r\n"
            "[InternetShortcut.W]\r\nURL=http://new/+AOk-t+AOk-\r\n");
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/bom.url")),
            "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://new/ü\r\nHotKey=0\r\n");

  struct stat st;
  ASSERT_EQ(stat(d.NativePath("fav/none.url").c_str(), &st), 0);
  lf::BookmarkList read;
  w.control.LoadFavorites({w.owner, w.bar, nullptr, w.c.cancel}, read, nullptr, w.root);
  EXPECT_EQ(lftest::CarriedLines(read, w.root),
            "\\ニュース.dir0 Added=1300000000\n"
            "\\ニュース\\腕腕Café.url1\\http://x/café/😀?a=1+2&b=~c Added=1234567890 "
            "IconFile=C:\\アイコン\\Café.ico IconIndex=3\n"
            "\\腕腕bom.url0\\http://new/ü Added=1200000000\n"
            "\\腕腕dated.url0\\http://dated/ Added=1000000000\n"
            "\\腕腕none.url0\\http://none/ Added=" +
                std::to_string(st.st_mtim.tv_sec) +
                "\n"
                "\\腕腕old.url0\\http://new/été Added=1100000000 IconIndex=1\n");
  EXPECT_TRUE(w.owner.messages.empty());
}

TEST(FavoritesWriter, ShowsLogsAndCountsWhatItCannotCreate) {
  lftest::TempDir d;
  lftest::WriteFile(d.NativePath("file"), "");
  Write w(d, "file/fav");
  w.Run({"R\\A.dir0", "R\\A\\腕腕x.url1\\http://x/", "R\\腕腕y.url0\\http://y/"});
  ASSERT_EQ(w.owner.messages.size(), 3u);
  EXPECT_EQ(w.owner.Texts()[0], w.Failure("フォルダ[ ", w.root + "\\A", ENOTDIR));
  EXPECT_EQ(w.owner.Texts()[2], w.Failure("ＵＲＬ[ ", w.root + "\\y.url", ENOTDIR));
  EXPECT_EQ(w.owner.messages[1].caption, lf::MessageCaption());
  EXPECT_EQ(w.owner.messages[1].flags, 0x10u);
  EXPECT_EQ(w.c.errorCount, 2);
  EXPECT_EQ(w.c.ieUrlCount, 0);
  const std::string reason = " [ " + U(platform::ErrorText(ENOTDIR)) + " ]\n";
  EXPECT_EQ(w.Log(), "Dir  Error : " + Shown(w.root + "\\A") + reason +
                         "File Error : " + Shown(w.root + "\\A\\x.url") + reason +
                         "File Error : " + Shown(w.root + "\\y.url") + reason);

  Write fine(d);  // a later run without failures keeps the log
  fine.Run({"R\\腕腕a.url0\\http://a/"});
  EXPECT_EQ(fine.Log(), w.Log());

  // The log itself cannot be written: said through the owner, and the run ends normally.
  Write lost(d);
  platform::SetProgramPath(d.Path("file/linkferry.exe"));
  lost.Run({"R\\腕腕b/c.url0\\http://b/"});
  ASSERT_EQ(lost.owner.messages.size(), 2u);
  EXPECT_EQ(lost.owner.Texts()[1],
            "ＬｏｓｔＤａｔａ．ｔｘｔ[ " + Shown(d.Path("file") + "\\LostData.txt") +
                " ]の作成で\r[ " + U(platform::ErrorText(ENOTDIR)) + " ] のエラーが発生しました。");
  lf::Report report;
  report.lost.push_back({"URL Error", "x", {}});
  EXPECT_FALSE(lost.control.SaveLostData(lost.owner, report));
}

TEST(FavoritesWriter, AFullDiskLeavesNoHalfWrittenFile) {
  lftest::TempDir d;
  Write w(d);
  lftest::MakeDirs(d.NativePath("fav"));
  w.control.WriteFilter = lftest::FailAfter(30);
  w.Run({"R\\腕腕a.url0\\http://a/"});
  EXPECT_FALSE(lftest::Exists(d.NativePath("fav/a.url")));
  ASSERT_EQ(w.owner.messages.size(), 2u);  // the file, then the log
  EXPECT_EQ(w.owner.Texts()[0], w.Failure("ＵＲＬ[ ", w.root + "\\a.url", ENOSPC));
  EXPECT_EQ(w.c.errorCount, 1);
}

TEST(FavoritesWriter, CancelStopsBeforeTheNextEntryWithoutALog) {
  lftest::TempDir d;
  lftest::MakeDirs(d.NativePath("fav"));
  Write w(d);
  w.owner.onPump = [&](int n) { w.c.cancel = n == 3; };
  w.Run({"R\\...dir0", "R\\腕腕x.url0\\http://x/", "R\\腕腕y.url0\\http://y/"});
  EXPECT_TRUE(lftest::Exists(d.NativePath("fav/x.url")));
  EXPECT_FALSE(lftest::Exists(d.NativePath("fav/y.url")));
  EXPECT_EQ(w.owner.messages.size(), 1u);
  EXPECT_FALSE(lftest::Exists(d.NativePath("prog/LostData.txt")));
}

TEST(FavoritesWriter, NamesFromFilesNeverReachOutsideTheFavoritesFolder) {
  lftest::TempDir d;
  lftest::MakeDirs(d.NativePath("fav"));
  lftest::MakeDirs(d.NativePath("out"));
  lftest::WriteFile(d.NativePath("out/target.txt"), "keep");
  ASSERT_EQ(symlink(d.NativePath("out/target.txt").c_str(), d.NativePath("fav/s.url").c_str()), 0);
  Write w(d);
  w.Run({"R\\...dir0", "R\\..\\out.dir1", "R\\..\\out\\腕腕x.url2\\http://x/", "R\\..\\out\\y.dir0",
         "R\\..dir0", "R\\a/b.dir0", "R\\腕腕../out/z.url0\\http://z/",
         "R\\腕腕s.url0\\http://s/"});
  // "/" is dropped from the names of the Favorites like every character a file name cannot
  // hold, so "a/b" and "../out/z" are names inside the folder.
  EXPECT_EQ(w.c.errorCount, 1);
  EXPECT_EQ(w.c.ieUrlCount, 2);
  EXPECT_TRUE(std::filesystem::is_directory(d.NativePath("fav/ab")));
  EXPECT_TRUE(lftest::Exists(d.NativePath("fav/..outz.url")));
  ASSERT_EQ(w.owner.messages.size(), 5u);
  for (const std::string& text : w.owner.Texts())
    EXPECT_NE(text.find(U(platform::ErrorText(EINVAL))), std::string::npos) << text;
  EXPECT_EQ(lftest::ReadFile(d.NativePath("out/target.txt")), "keep");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(d.NativePath("out")), {}), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(d.Native()), {}), 3);
  // A symbolic link in a link's place is not the program's: it stays, and the link takes the
  // next free name.
  EXPECT_TRUE(std::filesystem::is_symlink(d.NativePath("fav/s.url")));
  EXPECT_EQ(lftest::ReadFile(d.NativePath("fav/s (2).url")),
            "[InternetShortcut]\r\nURL=http://s/\r\n");
  const std::string log = w.Log();
  EXPECT_NE(log.find("Dir  Error : " + Shown(w.root + "\\..\\out\\y")), std::string::npos);
  EXPECT_NE(log.find("File Error : " + Shown(w.root + "\\..\\out\\x.url")), std::string::npos);
}

// Without a Favorites location the entries begin with "\": nothing may be made at the top of
// the file system.
TEST(FavoritesWriter, AnEmptyRootWritesNothing) {
  lftest::TempDir d;
  const std::string name = "lftest-empty-root-" + std::to_string(getpid());
  Write w(d, "unused");
  w.root.clear();
  w.Run({("R\\" + name + ".dir0").c_str(), ("R\\" + name + "\\腕腕x.url1\\http://x/").c_str(),
         ("R\\腕腕" + name + ".url0\\http://y/").c_str()});
  const bool madeDir = std::filesystem::exists("/" + name);
  const bool madeFile = std::filesystem::exists("/" + name + ".url");
  std::filesystem::remove_all("/" + name);
  std::filesystem::remove("/" + name + ".url");
  EXPECT_FALSE(madeDir);
  EXPECT_FALSE(madeFile);
  EXPECT_EQ(w.c.ieUrlCount, 0);
  EXPECT_EQ(w.c.errorCount, 2);
  EXPECT_EQ(w.owner.messages.size(), 3u);
  EXPECT_NE(w.Log().find("Dir  Error : " + Shown("\\" + name)), std::string::npos);
}

}  // namespace
