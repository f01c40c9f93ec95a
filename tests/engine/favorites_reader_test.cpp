#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "engine/bookmark_control.h"
#include "platform/system_info.h"
#include "tests/support/carried_lines.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::S;
using lftest::U;

void Url(const lftest::TempDir& d, const std::string& rel, const std::string& value) {
  lftest::WriteFile(d.NativePath(rel), "[InternetShortcut]\r\nURL=" + value + "\r\n");
}

// One read of a Favorites folder, its entries shown in UTF-8 without the root path.
struct Read {
  explicit Read(const lftest::TempDir& d) : dir(d) {
    lftest::MakeDirs(d.NativePath("prog"));
    platform::SetProgramPath(d.Path("prog/linkferry.exe"));
  }
  std::string Run(const std::string& rel, const std::string& suffix = "") {
    control.LoadFavorites(owner, &status, c.cancel, c.errorCount, c.ieUrlCount, list, &tree,
                          dir.Path(rel) + suffix);
    std::string out;
    for (const std::string& e : list) out += U(e.substr(dir.Path(rel).size())) + "\n";
    return out;
  }
  std::string Log() const { return lftest::ReadFile(dir.NativePath("prog/LostData.txt")); }

  const lftest::TempDir& dir;
  lftest::RecordingOwner owner;
  lftest::FakeStatusLabel status;
  lftest::FakeTreeView tree;
  lf::RunCounters c;
  lf::BookmarkList list;
  lf::TBookmarkControl control;
};

TEST(FavoritesReader, ReadsFoldersLinksAndLostLinks) {
  lftest::TempDir d;
  lftest::MakeDirs(d.NativePath("fav/ニュース/Sub"));
  Url(d, "fav/ニュース/Daily.URL", "http://host/news/");
  lftest::WriteFile(d.NativePath("fav/ニュース/ftp.url"), "[internetshortcut]\r\nurl=ftp://f/");
  Url(d, "fav/Top.url", "see http://host/");
  Url(d, "fav/myurl", "http://m/");
  Url(d, "fav/notes.txt", "http://ignored/");
  Url(d, "fav/mail.url", "mailto:a@b");
  Url(d, "fav/radio.url", "http://x/vnd.ms.radio");
  lftest::WriteFile(d.NativePath("fav/nokey.url"), "[InternetShortcut]\r\nIconFile=x\r\n");

  // A link of any scheme is read.
  const std::string expected =
      "\\ニュース.dir0\n\\ニュース\\Sub.dir1\n\\ニュース\\腕腕Daily.URL1\\http://host/news/\n"
      "\\ニュース\\腕腕ftp.url1\\ftp://f/\n\\腕腕mail.url0\\mailto:a@b\n"
      "\\腕腕myurl0\\http://m/\n\\腕腕Top.url0\\see http://host/\n";
  Read r(d);
  EXPECT_EQ(r.Run("fav", "\\"), expected);
  EXPECT_EQ(r.c.ieUrlCount, 5);
  EXPECT_EQ(r.c.errorCount, 2);
  std::string log = r.Log();
  // Each lost shortcut in a line of its own, by its whole path.
  for (const char* name : {"radio.url", "nokey.url"})
    EXPECT_NE(log.find("URL Error : " + d.NativePath(std::string("fav/") + name) + "\n"),
              std::string::npos)
        << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
  EXPECT_EQ(r.tree.Dump(), U(d.Path("fav")) + "\\ [0/0]\n  ニュース [0/1]\n    Sub [0/1]\n");
  EXPECT_EQ(r.status.history, std::vector<std::string>{"[ お気に入りファイルの読み込み ]"});
  EXPECT_TRUE(r.status.visible);
  EXPECT_EQ(r.owner.pumps, 3);  // once per folder
  EXPECT_TRUE(r.owner.messages.empty());
  EXPECT_EQ(Read(d).Run("fav"), expected);
}

TEST(FavoritesReader, KeepsTheLogWhenNothingIsLost) {
  lftest::TempDir d;
  lftest::MakeDirs(d.NativePath("fav/empty"));
  Url(d, "fav/a.url", "http://a/");
  Read r(d);
  lftest::WriteFile(d.NativePath("prog/LostData.txt"), "old\r\n");
  EXPECT_EQ(r.Run("fav"), "\\empty.dir0\n\\腕腕a.url0\\http://a/\n");
  EXPECT_EQ(r.Log(), "old\r\n");
}

TEST(FavoritesReader, CancelKeepsWhatWasReadAndNoEntryForTheOpenFolder) {
  lftest::TempDir d;
  lftest::MakeDirs(d.NativePath("fav/A/B"));
  Url(d, "fav/A/B/x.url", "http://x/");
  Url(d, "fav/lost.url", "no address");
  Read r(d);
  r.owner.onPump = [&](int n) { r.c.cancel = n == 2; };  // entering A
  EXPECT_EQ(r.Run("fav"), "");
  // lost.url is read before A or never, as the folder lists them.
  EXPECT_EQ(lftest::Exists(d.NativePath("prog/LostData.txt")), r.c.errorCount == 1);
  EXPECT_EQ(r.owner.pumps, 2);
}

// Names that code page 932 cannot hold, and a "\" inside a name, come in as references (the
// list shows them in UTF-8 as the characters); only a name of bytes that are no UTF-8 has no
// form, and its folder or shortcut is counted and logged as lost.
TEST(FavoritesReader, NeverFollowsFolderLinksAndTakesEveryNameItCanWriteBack) {
  lftest::TempDir d;
  lftest::MakeDirs(d.NativePath("fav/A"));
  lftest::MakeDirs(d.NativePath("out"));
  Url(d, "out/x.url", "http://out/");
  ASSERT_EQ(symlink(d.NativePath("fav").c_str(), d.NativePath("fav/A/loop").c_str()), 0);
  ASSERT_EQ(symlink(d.NativePath("out").c_str(), d.NativePath("fav/out").c_str()), 0);
  ASSERT_EQ(symlink(d.NativePath("out/x.url").c_str(), d.NativePath("fav/link.url").c_str()), 0);
  Url(d, "fav/a\\b.url", "http://ab/");
  Url(d, "fav/絵😀.url", "http://emoji/");
  lftest::MakeDirs(d.NativePath("fav/😀"));
  Url(d, "fav/😀/y.url", "http://y/");
  Url(d, "fav/bad\xFF.url", "http://bad/");
  lftest::MakeDirs(d.NativePath("fav/bad\xFE"));
  Url(d, "fav/bad\xFE/z.url", "http://z/");
  Read r(d);
  EXPECT_EQ(r.Run("fav"),
            "\\😀.dir0\n\\😀\\腕腕y.url1\\http://y/\n\\A.dir0\n\\腕腕a\\b.url0\\http://ab/\n"
            "\\腕腕link.url0\\http://out/\n\\腕腕絵😀.url0\\http://emoji/\n");
  EXPECT_EQ(r.list[3], d.Path("fav") + S("\\腕腕a") + "&#92;b.url0\\http://ab/");
  EXPECT_EQ(r.c.errorCount, 2);
  EXPECT_EQ(r.Log(), "URL Error : " + d.NativePath("fav/bad?.url") +
                         "\nDir  Error : " + d.NativePath("fav/bad?") + "\n");
  EXPECT_EQ(r.tree.Dump(), U(d.Path("fav")) + " [0/0]\n  😀 [0/1]\n  A [0/1]\n");
}

// Shortcuts as Windows writes them: the address and the icon from their Unicode copies while
// the copy of the line matches the line (not where a program that knows only the line has
// changed it since), and the file's time as the date the link was added.
TEST(FavoritesReader, ReadsShortcutsAsWindowsWritesThem) {
  lftest::TempDir d;
  const std::string head =
      "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n[InternetShortcut]\r\n"
      "IDList=\r\n";
  lftest::WriteFile(
      d.NativePath("fav/Wiki.url"),
      head +
          "URL=https://de.wikipedia.org/wiki/Gr??e\r\nIconIndex=0\r\n"
          "IconFile=C:\\Icons\\Gr??e.ico\r\n[InternetShortcut.A]\r\n"
          "URL=https://de.wikipedia.org/wiki/Gr??e\r\nIconFile=C:\\Icons\\Gr??e.ico\r\n"
          "[InternetShortcut.W]\r\nURL=https://de.wikipedia.org/wiki/Gr+APYA3w-e\r\n"
          "IconFile=C:+AFw-Icons+AFw-Gr+APYA3w-e.ico\r\n");
  lftest::WriteFile(
      d.NativePath("fav/天気.url"),
      head + S("URL=http://天気.jp/\r\n[InternetShortcut.A]\r\nURL=http://天気.jp/\r\n") +
          "[InternetShortcut.W]\r\nURL=http://+WSlsFw-.jp/\r\n");
  lftest::WriteFile(d.NativePath("fav/Edited.url"),
                    head +
                        "URL=http://edited/\r\n[InternetShortcut.A]\r\nURL=http://x/caf?\r\n"
                        "[InternetShortcut.W]\r\nURL=http://x/caf+AOk-\r\n");
  const std::pair<const char*, time_t> times[] = {
      {"fav/Wiki.url", 1234567890}, {"fav/天気.url", 1000000000}, {"fav/Edited.url", 1}};
  for (const auto& [rel, seconds] : times) {
    const struct timespec both[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, d.NativePath(rel).c_str(), both, 0), 0);
  }
  Read r(d);
  r.Run("fav");
  EXPECT_EQ(lftest::CarriedLines(r.list, d.Path("fav")),
            "\\腕腕Edited.url0\\http://edited/ Added=1\n"
            "\\腕腕Wiki.url0\\https://de.wikipedia.org/wiki/Größe Added=1234567890 "
            "IconFile=C:\\Icons\\Größe.ico IconIndex=0\n"
            "\\腕腕天気.url0\\http://天気.jp/ Added=1000000000\n");
  EXPECT_EQ(r.c.errorCount, 0);
}

void* ReadOnSmallStack(void* read) {
  static_cast<Read*>(read)->Run("fav");
  return nullptr;
}

TEST(FavoritesReader, FilesDeepFoldersInTheDeepestLevelOnASmallStack) {
  lftest::TempDir d;
  const int kDepth = 1000;
  std::string rel = "fav", folder;
  std::vector<std::string> want;
  lftest::MakeDirs(d.NativePath(rel));
  for (int k = 1; k <= kDepth; ++k) {
    ASSERT_EQ(mkdir(d.NativePath(rel += "/d").c_str(), 0777), 0) << k;
    if (k <= lf::kMaxLevel) want.push_back((folder += "\\d") + ".dir" + lf::LevelChar(k - 1));
    if (k > lf::kMaxLevel + 3 && k < kDepth) continue;
    Url(d, rel + "/l" + std::to_string(k) + ".url", "http://l/");
    want.push_back(folder + "\\腕腕l" + std::to_string(k) + ".url" +
                   lf::LevelChar(std::min(k, lf::kMaxLevel)) + "\\http://l/");
  }

  Read r(d);
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 192 * 1024);  // too small for a walk that recurses
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attr, ReadOnSmallStack, &r), 0);
  pthread_join(thread, nullptr);
  std::vector<std::string> got;
  for (const std::string& e : r.list) got.push_back(U(e.substr(d.Path("fav").size())));
  std::sort(got.begin(), got.end());
  std::sort(want.begin(), want.end());
  EXPECT_EQ(got, want);
  ASSERT_EQ(r.owner.messages.size(), 1u);
  EXPECT_EQ(r.owner.messages[0].text, lf::DeepNestingMessage());
  EXPECT_EQ(r.owner.messages[0].flags, 0x30u);
  const std::string tree = r.tree.Dump();
  // The root node and one node per kept folder, two spaces deeper each.
  EXPECT_NE(tree.find("\n" + std::string(2 * lf::kMaxLevel, ' ') + "d"), std::string::npos);
  EXPECT_EQ(tree.find("\n" + std::string(2 * lf::kMaxLevel + 2, ' ') + "d"), std::string::npos);

  // Removed here from the deepest up: a recursive removal would hold a handle per level.
  for (int k = kDepth; k >= 1; --k, rel.resize(rel.size() - 2)) {
    unlink(d.NativePath(rel + "/l" + std::to_string(k) + ".url").c_str());
    rmdir(d.NativePath(rel).c_str());
  }
}

TEST(FavoritesReader, CancelIsSeenInsideAFolderOfManyShortcuts) {
  lftest::TempDir d;
  lftest::MakeDirs(d.NativePath("fav"));
  for (int i = 0; i < 600; ++i) Url(d, "fav/l" + std::to_string(i) + ".url", "http://l/");
  Read r(d);
  r.owner.onPump = [&](int n) { r.c.cancel = n == 2; };  // the first look inside the folder
  r.Run("fav");
  EXPECT_EQ(r.list.size(), 255u);  // what was read before it
  EXPECT_EQ(r.c.ieUrlCount, 255);
}

}  // namespace
