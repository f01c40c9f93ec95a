// Writing that fails part-way and input that cannot be read: every failure is reported with
// the program's message, the previous file or folder content stays, and nothing outside the
// target changes. The failures are of kinds that stop root as well (a folder in the file's
// place, a file limit, a pipe), since the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <unordered_set>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/support/failing_writes.h"
#include "tests/support/fakes.h"
#include "tests/support/hostile_helpers.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using lftest::S;
using lftest::U;

const std::string M(lf::kLinkMarker);

// A list of folders with many links, large enough that writing it passes a file limit of a
// few kilobytes part-way.
lf::BookmarkList ManyLinks(const std::string& root, int count) {
  lf::BookmarkList list = {root + "\\F.dir0"};
  for (int i = 0; i < count; ++i)
    list.push_back(root + "\\F" + M + "link" + std::to_string(i) + ".url1\\http://host/" +
                   std::to_string(i));
  return list;
}

// A program path as messages and the lost-data log show it (UTF-8).
std::string Shown(const std::string& path) {
  return U(platform::ShownPath(path));
}

// The message of a file that cannot be kept as its backup.
std::string NoBackup(const char* kind, const std::string& path, int code) {
  return std::string(kind) + "[ " + Shown(path) + " ]のバックアップが出来ていません。\r[ " +
         U(platform::ErrorText(code)) + " ]";
}

// The message of a file that cannot be read.
std::string Reading(const char* kind, const std::string& path, int code) {
  return std::string(kind) + "[ " + Shown(path) + " ]の読み込みで [ " +
         U(platform::ErrorText(code)) + " ] のエラーが発生しました。";
}

std::string Failure(const char* prefix, int code) {
  return std::string(prefix) + U(platform::ErrorText(code)) + " ] のエラーが発生しました。";
}

class HostileWriters : public testing::Test {
 protected:
  void SetUp() override {
    platform::SetClock([] { return platform::LocalDateTime{2002, 10, 13, 9, 6, 40, 0}; });
    platform::SetLoginName("user");
    lftest::MakeDirs(dir.NativePath("prog"));
    platform::SetProgramPath(dir.Path("prog/linkferry.exe"));
  }
  void TearDown() override {
    platform::SetClock({});
    platform::SetLoginName(std::nullopt);
    platform::SetProgramPath(std::nullopt);
  }

  lftest::TempDir dir;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters c;
  TBookmarkControl control;
};

TEST_F(HostileWriters, BookmarkFileThatIsAFolderIsReportedAndLeftAlone) {
  lftest::MakeDirs(dir.NativePath("out/bookmark.htm/inside"));
  lftest::WriteFile(dir.NativePath("out/bookmark.htm/inside/x"), "x");
  lftest::MakeDirs(dir.NativePath("out/opera6.adr"));
  const std::string before = lftest::Tree(dir.Native());
  control.SaveBookmarkFile(owner, bar, c.nnUrlCount, dir.Path("out/bookmark.htm"),
                           ManyLinks(dir.Path("fav"), 3));
  control.SaveOperaFile(owner, bar, ManyLinks(dir.Path("fav"), 3), dir.Path("out/opera6.adr"),
                        c.operaUrlCount);
  EXPECT_EQ(owner.Texts(),
            (std::vector<std::string>{Failure("Ｂｏｏｋｍａｒｋ．ｈｔｍの保存で [ ", EISDIR),
                                      Failure("Ｏｐｅｒａ６．ａｄｒの保存で [ ", EISDIR)}));
  EXPECT_EQ(owner.messages[0].flags, 0x10u);
  EXPECT_EQ(owner.messages[1].caption, lf::MessageCaption());
  EXPECT_EQ(lftest::Tree(dir.Native()), before);
  EXPECT_EQ(c.nnUrlCount + c.operaUrlCount, 0);
}

// A write cut off part-way (a file size limit in a child process) leaves the previous file
// in its place, back from its backup, and no cut-off file anywhere.
TEST_F(HostileWriters, WriteCutOffPartWayLeavesThePreviousFile) {
  lftest::MakeDirs(dir.NativePath("out"));
  const std::string previous = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>old</TITLE>\r\n";
  lftest::WriteFile(dir.NativePath("out/bookmark.htm"), previous);
  lftest::WriteFile(dir.NativePath("out/opera6.adr"), "Opera Hotlist version 2.0\r\n");
  lftest::WriteFile(dir.NativePath("beside.txt"), "untouched");
  const std::string before = lftest::Tree(dir.Native());
  const lf::BookmarkList list = ManyLinks(dir.Path("fav"), 3000);
  const std::vector<std::string> texts = lftest::InChildWithFileLimit(8192, [&] {
    control.SaveBookmarkFile(owner, bar, c.nnUrlCount, dir.Path("out/bookmark.htm"), list);
    control.SaveOperaFile(owner, bar, list, dir.Path("out/opera6.adr"), c.operaUrlCount);
    return owner.Texts();
  });
  EXPECT_EQ(texts, (std::vector<std::string>{Failure("Ｂｏｏｋｍａｒｋ．ｈｔｍの保存で [ ", EFBIG),
                                             Failure("Ｏｐｅｒａ６．ａｄｒの保存で [ ", EFBIG)}));
  EXPECT_EQ(lftest::Tree(dir.Native()), before);
}

// When the previous file cannot be moved aside (a folder holds the backup's name), replacing
// it would leave no copy: the backup message is shown and the file is left as it was.
TEST_F(HostileWriters, WithoutABackupThePreviousFileIsLeftAsItWas) {
  lftest::MakeDirs(dir.NativePath("out/bookmark.old"));
  lftest::MakeDirs(dir.NativePath("out/opera6.old"));
  lftest::WriteFile(dir.NativePath("out/bookmark.htm"), "previous bookmarks");
  lftest::WriteFile(dir.NativePath("out/opera6.adr"), "previous hotlist");
  const std::string before = lftest::Tree(dir.Native());
  const lf::BookmarkList list = ManyLinks(dir.Path("fav"), 3000);
  control.SaveBookmarkFile(owner, bar, c.nnUrlCount, dir.Path("out/bookmark.htm"), list);
  control.SaveOperaFile(owner, bar, list, dir.Path("out/opera6.adr"), c.operaUrlCount);
  EXPECT_EQ(owner.Texts(),
            (std::vector<std::string>{
                NoBackup("ブックマークファイル", dir.Path("out/bookmark.htm"), EISDIR),
                NoBackup("Ｏｐｅｒａブックマークファイル", dir.Path("out/opera6.adr"), EISDIR)}));
  EXPECT_EQ(lftest::Tree(dir.Native()), before);
  EXPECT_EQ(c.nnUrlCount, 0);
  EXPECT_EQ(c.operaUrlCount, 0);
}

// A shortcut that is rewritten is replaced only by a complete new one: a disk that fills up
// part-way keeps the previous shortcut, reports the new one as lost and leaves no file
// behind. What stands in a shortcut's place and is no shortcut (a folder) is left alone.
TEST_F(HostileWriters, ShortcutRewriteCutOffKeepsThePreviousShortcut) {
  lftest::MakeDirs(dir.NativePath("fav/F"));
  const std::string old = "[InternetShortcut]\r\nURL=http://old/\r\n";
  lftest::WriteFile(dir.NativePath("fav/F/a.url"), old);
  lftest::MakeDirs(dir.NativePath("fav/F/b.url"));  // a folder in a shortcut's place
  lftest::WriteFile(dir.NativePath("fav/G"), "a file in a folder's place");
  const std::string before = lftest::Tree(dir.NativePath("fav"));
  const std::string root = dir.Path("fav");
  control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount,
                        {root + "\\F.dir0", root + "\\F" + M + "b.url1\\http://b/",
                         root + "\\G.dir0", root + "\\G" + M + "c.url1\\http://c/"});
  const std::string firstLog = lftest::ReadFile(dir.NativePath("prog/LostData.txt"));
  // The second write's shortcut is one a read took in: it is rewritten, or kept whole.
  control.WriteFilter = lftest::FailAfter(10);
  const std::unordered_set<std::string> own = {root + "\\F\\a.url"};
  const lf::Report report =
      control.SaveFavorites({owner, bar, nullptr, c.cancel},
                            {root + "\\F.dir0", root + "\\F" + M + "a.url1\\http://new/"}, &own);
  control.SaveLostData(owner, report);
  control.WriteFilter = nullptr;
  EXPECT_EQ(lftest::Tree(dir.NativePath("fav")),
            "F/\nF/a.url: " + old + "\nF/b (2).url: [InternetShortcut]\r\nURL=http://b/\r\n\n" +
                "F/b.url/\nG: a file in a folder's place\n");
  EXPECT_EQ(c.errorCount + report.errors, 2);
  EXPECT_EQ(c.ieUrlCount + report.links, 1);
  // The disk is still full when the second write's log is saved: that is reported as well.
  const std::vector<std::string> texts = owner.Texts();
  ASSERT_EQ(texts.size(), 4u);
  // A file in a folder's place is no folder: neither it nor its links can be written.
  EXPECT_NE(texts[0].find("フォルダ[ " + Shown(root + "\\G") + " ]"), std::string::npos);
  EXPECT_NE(texts[1].find(Shown(root + "\\G\\c.url") + " ]"), std::string::npos);
  EXPECT_NE(texts[1].find(U(platform::ErrorText(ENOTDIR))), std::string::npos);
  EXPECT_EQ(
      texts[2],
      "ＵＲＬ[ " + Shown(root + "\\F\\a.url") + " ]の作成で\r[ " + U(platform::ErrorText(ENOSPC)) +
          " ] のエラーが発生しました。\rＬｏｓｔＤａｔａ．ｔｘｔにファイル名情報が保存されます。");
  EXPECT_EQ(texts[3].find("ＬｏｓｔＤａｔａ．ｔｘｔ[ "), 0u);
  // The log that could not be replaced is still the first write's.
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("prog/LostData.txt")), firstLog);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.NativePath("prog")), {}), 1);
}

// Under a file limit every link is either written whole or counted and logged as lost.
TEST_F(HostileWriters, FavoritesUnderAFileLimitLoseNothingSilently) {
  lftest::MakeDirs(dir.NativePath("fav"));
  const std::string root = dir.Path("fav");
  lf::BookmarkList list = {root + "\\F.dir0"};
  for (int i = 0; i < 40; ++i)
    list.push_back(root + "\\F" + M + "l" + std::to_string(i) + ".url1\\http://h/" +
                   std::string(static_cast<std::size_t>(i) * 10, 'x'));
  const std::vector<std::string> counts = lftest::InChildWithFileLimit(200, [&] {
    control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, list);
    return std::vector<std::string>{std::to_string(c.ieUrlCount), std::to_string(c.errorCount)};
  });
  ASSERT_EQ(counts.size(), 2u);
  int written = 0;
  for (const auto& item : std::filesystem::directory_iterator(dir.NativePath("fav/F"))) {
    const std::string content = lftest::ReadFile(item.path().string());
    EXPECT_EQ(content.substr(content.size() - 2), "\r\n") << item.path();
    ++written;
  }
  EXPECT_EQ(std::to_string(written), counts[0]);
  EXPECT_EQ(written + std::stoi(counts[1]), 40);
  EXPECT_GT(written, 0);
  EXPECT_LT(written, 40);
}

// Folders the user may not write to and files the user may not read (the work runs without
// root's rights, which would pass over both): every target is reported with the system's
// reason, the previous files and shortcuts stay, and the lost links are logged.
TEST_F(HostileWriters, ReadOnlyFoldersAndUnreadableFilesAreReportedAndLeftAlone) {
  const std::string root = dir.Path("fav");
  lftest::MakeDirs(dir.NativePath("fav/F"));
  lftest::WriteFile(dir.NativePath("fav/F/old.url"), "[InternetShortcut]\r\nURL=http://old/\r\n");
  lftest::MakeDirs(dir.NativePath("out"));
  lftest::WriteFile(dir.NativePath("out/bookmark.htm"), "previous bookmarks");
  lftest::WriteFile(dir.NativePath("out/opera6.adr"), "previous hotlist");
  lftest::WriteFile(dir.NativePath("secret.htm"), "<DL><p>\r\n<DT><A HREF=\"http://s/\">S</A>\r\n");
  lftest::MakeDirs(dir.NativePath("in"));
  lftest::WriteFile(dir.NativePath("in/locked.url"), "[InternetShortcut]\r\nURL=http://l/\r\n");
  const std::string before = lftest::Tree(dir.Native());
  const std::vector<std::pair<std::string, mode_t>> modes = {
      {"", 0777},    {"prog", 0777},    {"fav", 0555}, {"fav/F", 0555},
      {"out", 0555}, {"secret.htm", 0}, {"in", 0777},  {"in/locked.url", 0}};
  for (const auto& [name, mode] : modes)
    ASSERT_EQ(chmod(name.empty() ? dir.Native().c_str() : dir.NativePath(name).c_str(), mode), 0);

  const lf::BookmarkList list = {root + "\\F.dir0", root + "\\F" + M + "old.url1\\http://new/",
                                 root + "\\F\\G.dir1", root + M + "top.url0\\http://top/"};
  const std::vector<std::string> texts = lftest::InChildWithoutRoot([&] {
    control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, list);
    std::vector<std::string> out = owner.Texts();
    out.push_back(lftest::ReadFile(dir.NativePath("prog/LostData.txt")));
    out.push_back(std::to_string(c.ieUrlCount) + " " + std::to_string(c.errorCount));
    owner.messages.clear();
    control.SaveBookmarkFile(owner, bar, c.nnUrlCount, dir.Path("out/bookmark.htm"), list);
    control.SaveOperaFile(owner, bar, list, dir.Path("out/opera6.adr"), c.operaUrlCount);
    control.SaveBookmarkFile(owner, bar, c.nnUrlCount, dir.Path("out/new.htm"), list);
    control.SaveOperaFile(owner, bar, list, dir.Path("out/new.adr"), c.operaUrlCount);
    lf::BookmarkList read;
    control.ReadBookmarkFile(owner, dir.Path("secret.htm"), c.cancel, c.nnUrlCount, nullptr, false,
                             read, bar, root);
    control.LoadOperaFile(owner, dir.Path("secret.htm"), c.cancel, c.operaUrlCount, bar, read,
                          root);
    control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, read, nullptr,
                          dir.Path("in"));
    for (const std::string& text : owner.Texts()) out.push_back(text);
    out.push_back(std::to_string(read.size()) + " " + std::to_string(c.nnUrlCount) + " " +
                  std::to_string(c.operaUrlCount) + " " + std::to_string(c.errorCount));
    out.push_back(lftest::ReadFile(dir.NativePath("prog/LostData.txt")));
    return out;
  });
  for (const auto& [name, mode] : modes)
    chmod(name.empty() ? dir.Native().c_str() : dir.NativePath(name).c_str(), 0755);

  const std::string denied = U(platform::ErrorText(EACCES));
  auto favoritesFailure = [&](const std::string& what, const std::string& path) {
    return what + "[ " + Shown(root + path) + " ]の作成で\r[ " + denied +
           " ] のエラーが発生しました。\rＬｏｓｔＤａｔａ．ｔｘｔにファイル名情報が保存されます。";
  };
  auto lost = [&](const std::string& kind, const std::string& path) {
    return kind + " : " + Shown(root + path) + " [ " + denied + " ]\n";
  };
  // The shortcut of the link's name is someone else's (no read took it in): the link would
  // take the next free name, which the folder refuses too.
  EXPECT_EQ(texts,
            (std::vector<std::string>{
                favoritesFailure("ＵＲＬ", "\\F\\old (2).url"),
                favoritesFailure("フォルダ", "\\F\\G"), favoritesFailure("ＵＲＬ", "\\top.url"),
                lost("File Error", "\\F\\old (2).url") + lost("Dir  Error", "\\F\\G") +
                    lost("File Error", "\\top.url"),
                "0 2", NoBackup("ブックマークファイル", dir.Path("out/bookmark.htm"), EACCES),
                NoBackup("Ｏｐｅｒａブックマークファイル", dir.Path("out/opera6.adr"), EACCES),
                Failure("Ｂｏｏｋｍａｒｋ．ｈｔｍの保存で [ ", EACCES),
                Failure("Ｏｐｅｒａ６．ａｄｒの保存で [ ", EACCES),
                Reading("Ｂｏｏｋｍａｒｋファイル", dir.Path("secret.htm"), EACCES),
                Reading("Ｏｐｅｒａ　Ｂｏｏｋｍａｒｋファイル", dir.Path("secret.htm"), EACCES),
                "0 0 0 3", "URL Error : " + Shown(dir.Path("in") + "\\locked.url") + "\n"}));
  // Beside the log (checked above) everything is as it was.
  std::filesystem::remove(dir.NativePath("prog/LostData.txt"));
  EXPECT_EQ(lftest::Tree(dir.Native()), before);
}

class HostileReaders : public testing::Test {
 protected:
  void SetUp() override {
    lftest::MakeDirs(dir.NativePath("prog"));
    platform::SetProgramPath(dir.Path("prog/linkferry.exe"));
    alarm(30);  // a read that blocks ends the test program instead of hanging it
  }
  void TearDown() override {
    alarm(0);
    platform::SetProgramPath(std::nullopt);
  }

  // The message of each reader for the file, with its error code.
  std::vector<std::string> ReadAll(const std::string& relative) {
    owner.messages.clear();
    lf::BookmarkList list;
    control.ReadBookmarkFile(owner, dir.Path(relative), c.cancel, c.nnUrlCount, nullptr, false,
                             list, bar, dir.Path("fav"));
    control.LoadOperaFile(owner, dir.Path(relative), c.cancel, c.operaUrlCount, bar, list,
                          dir.Path("fav"));
    EXPECT_TRUE(list.empty());
    return owner.Texts();
  }
  std::vector<std::string> Expected(const std::string& relative, int code) {
    return {Reading("Ｂｏｏｋｍａｒｋファイル", dir.Path(relative), code),
            Reading("Ｏｐｅｒａ　Ｂｏｏｋｍａｒｋファイル", dir.Path(relative), code)};
  }

  lftest::TempDir dir;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters c;
  TBookmarkControl control;
};

TEST_F(HostileReaders, MissingFolderPipeAndDeviceAreReportedWithoutBlocking) {
  lftest::MakeDirs(dir.NativePath("folder.htm"));
  ASSERT_EQ(mkfifo(dir.NativePath("pipe.htm").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", dir.NativePath("zero.htm").c_str()), 0);
  ASSERT_EQ(symlink(dir.NativePath("gone").c_str(), dir.NativePath("dangling.htm").c_str()), 0);
  const std::string before = lftest::Tree(dir.Native());
  EXPECT_EQ(ReadAll("missing.htm"), Expected("missing.htm", ENOENT));
  EXPECT_EQ(ReadAll("dangling.htm"), Expected("dangling.htm", ENOENT));
  EXPECT_EQ(ReadAll("folder.htm"), Expected("folder.htm", EISDIR));
  EXPECT_EQ(ReadAll("pipe.htm"), Expected("pipe.htm", ENODEV));
  EXPECT_EQ(ReadAll("zero.htm"), Expected("zero.htm", ENODEV));
  EXPECT_EQ(owner.messages[0].flags, 0x10u);
  EXPECT_EQ(lftest::Tree(dir.Native()), before);
}

// A UTF-8 file with line feeds alone is read where it is: nothing is written beside it, so a
// folder in the way (or a read-only folder) changes nothing.
TEST_F(HostileReaders, Utf8FileIsReadInPlace) {
  const std::string file =
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<DL><p>\n"
      "<DT><A HREF=\"http://a/\">A</A>\n</DL><p>\n";
  lftest::WriteFile(dir.NativePath("bookmark.htm"), file);
  lftest::MakeDirs(dir.NativePath("bookmark.tmp"));
  const std::string before = lftest::Tree(dir.Native());
  lf::BookmarkList list;
  control.ReadBookmarkFile(owner, dir.Path("bookmark.htm"), c.cancel, c.nnUrlCount, nullptr, false,
                           list, bar, dir.Path("fav"));
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_EQ(list, lf::BookmarkList{dir.Path("fav") + M + "A.url0\\http://a/"});
  EXPECT_EQ(lftest::Tree(dir.Native()), before);
}

// Shortcuts that are pipes or devices are lost links, not a walk that never ends.
TEST_F(HostileReaders, ShortcutsThatArePipesOrDevicesAreLostLinks) {
  lftest::MakeDirs(dir.NativePath("fav"));
  ASSERT_EQ(mkfifo(dir.NativePath("fav/pipe.url").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", dir.NativePath("fav/zero.url").c_str()), 0);
  lftest::WriteFile(dir.NativePath("fav/ok.url"), "[InternetShortcut]\r\nURL=http://ok/\r\n");
  lf::BookmarkList list;
  control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, list, nullptr,
                        dir.Path("fav"));
  EXPECT_EQ(list, lf::BookmarkList{dir.Path("fav") + M + "ok.url0\\http://ok/"});
  EXPECT_EQ(c.errorCount, 2);
  const std::string log = lftest::ReadFile(dir.NativePath("prog/LostData.txt"));
  EXPECT_NE(log.find("URL Error : " + dir.NativePath("fav/pipe.url") + "\n"), std::string::npos);
  EXPECT_NE(log.find("URL Error : " + dir.NativePath("fav/zero.url") + "\n"), std::string::npos);
  EXPECT_TRUE(owner.messages.empty());

  // A Favorites folder that is missing or is a file gives nothing, and says why.
  list.clear();
  control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, list, nullptr,
                        dir.Path("missing"));
  control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, list, nullptr,
                        dir.Path("fav/ok.url"));
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(owner.Texts(),
            (std::vector<std::string>{
                "お気に入りフォルダ[ " + dir.NativePath("missing") + " ]を読み込めません。\r[ " +
                    U(platform::ErrorText(ENOENT)) + " ]",
                "お気に入りフォルダ[ " + dir.NativePath("fav/ok.url") + " ]を読み込めません。\r[ " +
                    U(platform::ErrorText(ENOTDIR)) + " ]"}));
}

}  // namespace
