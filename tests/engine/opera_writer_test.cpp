#include <gtest/gtest.h>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/support/failing_writes.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::TBookmarkControl;
using lftest::S;
using Lines = std::vector<std::string>;

lf::BookmarkList L(const Lines& utf8) {
  lf::BookmarkList list;
  for (const std::string& e : utf8) list.push_back(S(e));
  return list;
}

class OperaWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    // 2020-01-01 09:01:00 local time: the stamp is 1577836800.
    platform::SetClock([] { return platform::LocalDateTime{2020, 1, 1, 0, 0, 0, 0}; });
  }
  void TearDown() override { platform::SetClock({}); }

  // Saves the list as dir/Opera6.adr, through the filter; the count starts at 5.
  void Save(const Lines& utf8, const platform::SinkFilter& filter = {}) {
    TBookmarkControl control;
    control.WriteFilter = filter;
    control.SaveOperaFile(owner, bar, L(utf8), dir.Path("Opera6.adr"), count);
  }
  std::string File(const char* name) { return lftest::ReadFile(dir.NativePath(name)); }

  lftest::TempDir dir;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  int count = 5;
};

const std::string kHead = "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n";
const std::string kProps =
    "        CREATED=1577836800\r\n        VISITED=0\r\n        ORDER=0\r\n"
    "        DESCRIPTION=\r\n        SHORT NAME=\r\n\r\n";
std::string Folder(const std::string& name) {
  return "#FOLDER\r\n        NAME=" + name + "\r\n" + kProps;
}
std::string Link(const std::string& name, const std::string& url) {
  return "#URL\r\n        NAME=" + name + "\r\n        URL=" + url + "\r\n" + kProps;
}

TEST_F(OperaWriter, WritesTheWholeHotlistWithItsClosingLines) {
  Save({"R\\A.dir0", "R\\A\\B.dir1", "R\\A\\B\\空.dir2", "R\\F.dir0",
        "R\\F\\腕腕日本.url1\\http://x/", "R\\G.dir0", "R\\腕腕y.url0\\news:y"});
  EXPECT_EQ(File("Opera6.adr"), kHead + Folder("A") + Folder("B") + Folder("空") +
                                    "-\r\n-\r\n-\r\n" + Folder("F") + Link("日本", "http://x/") +
                                    "-\r\n" + Folder("G") + "-\r\n" + Link("y", "news:y") +
                                    "\r\n-\r\n-\r\n");
  EXPECT_EQ(count, 7);
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_EQ(bar.max, 6);
  EXPECT_FALSE(bar.visible);

  Save({});
  EXPECT_EQ(File("Opera6.adr"), kHead + "\r\n-\r\n-\r\n");
}

TEST_F(OperaWriter, KeepsThePreviousHotlistAsBackup) {
  Save({});
  EXPECT_FALSE(lftest::Exists(dir.NativePath("Opera6.old")));
  lftest::WriteFile(dir.NativePath("Opera6.adr"), "previous");
  lftest::WriteFile(dir.NativePath("Opera6.old"), "older");
  Save({});
  EXPECT_EQ(File("Opera6.old"), "previous");
  EXPECT_TRUE(owner.messages.empty());

  // A backup that cannot be made is reported with the file and the reason, and the hotlist
  // is left as it was.
  platform::DeleteFile(dir.Path("Opera6.old"));
  lftest::MakeDirs(dir.NativePath("Opera6.old/x"));
  Save({});
  EXPECT_EQ(owner.Texts(), Lines{"Ｏｐｅｒａブックマークファイル[ " + dir.NativePath("Opera6.adr") +
                                 " ]のバックアップが出来ていません。\r[ " +
                                 lftest::U(platform::ErrorText(EISDIR)) + " ]"});
  EXPECT_EQ(owner.messages[0].flags, 0x10u);
  EXPECT_EQ(File("Opera6.adr"), kHead + "\r\n-\r\n-\r\n");
}

TEST_F(OperaWriter, AFailedSaveIsReportedAndNotCounted) {
  lftest::WriteFile(dir.NativePath("Opera6.adr"), "previous");
  Save({"R\\腕腕a.url0\\http://a/"}, lftest::FailAfter(0));
  EXPECT_EQ(owner.Texts(),
            Lines{"Ｏｐｅｒａ６．ａｄｒの保存で [ "
                  "ディスクに十分な空き領域がありません。 ] のエラーが発生しました。"});
  EXPECT_EQ(owner.messages[0].flags, 0x10u);
  EXPECT_EQ(count, 5);
  // Nothing was written: the previous hotlist is back in its place.
  EXPECT_EQ(File("Opera6.adr"), "previous");

  // Cut off part-way: no incomplete hotlist is left, and the previous one is back too.
  Lines many;
  for (int i = 0; i < 1000; ++i) many.push_back("R\\腕腕" + std::to_string(i) + ".url0\\http://h/");
  Save(many, lftest::FailAfter(100000));
  EXPECT_EQ(count, 5);
  EXPECT_EQ(owner.messages.size(), 2u);
  EXPECT_EQ(File("Opera6.adr"), "previous");
  EXPECT_FALSE(lftest::Exists(dir.NativePath("Opera6.old")));

  lftest::MakeDirs(dir.NativePath("folder.adr"));
  TBookmarkControl().SaveOperaFile(owner, bar, {}, dir.Path("folder.adr"), count);
  EXPECT_EQ(owner.Texts().back(),
            "Ｏｐｅｒａ６．ａｄｒの保存で [ "
            "指定されたパスはフォルダです。 ] のエラーが発生しました。");
}

TEST_F(OperaWriter, TheReaderRebuildsTheWrittenList) {
  const lf::BookmarkList list =
      L({"R\\ソフト.dir0", "R\\ソフト\\表示.dir1", "R\\ソフト\\表示\\空.dir2",
         "R\\ソフト\\表示\\腕腕ﾌﾞｯｸ.url2\\https://h/?a=1", "R\\ソフト\\腕腕x.url1\\ftp://f/",
         "R\\旅行.dir0", "R\\腕腕トップ.url0\\http://t/"});
  TBookmarkControl control;
  control.SaveOperaFile(owner, bar, list, dir.Path("Opera6.adr"), count);
  lf::BookmarkList read;
  int cancel = 0, readCount = 0;
  control.LoadOperaFile(owner, dir.Path("Opera6.adr"), cancel, readCount, bar, read, "R");
  EXPECT_EQ(read, list);
  EXPECT_EQ(readCount, 3);
  EXPECT_TRUE(owner.messages.empty());
}

}  // namespace
