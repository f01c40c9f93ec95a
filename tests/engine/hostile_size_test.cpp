// Big and deep input: a 100 MB bookmark file, a million nested folders, megabyte lines and
// shortcut files, names of 10 000 bytes. Each is read without a crash (the readers keep
// their own stacks), in time that grows with the size and no faster, and in memory within a
// small multiple of the file. Built with sanitizers the big file is cut to a quarter and time
// and memory are not measured.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "tests/support/fakes.h"
#include "tests/support/hostile_helpers.h"
#include "tests/support/temp_dir.h"

#if defined(__SANITIZE_ADDRESS__)
#define LF_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LF_SANITIZED 1
#endif
#endif
#ifndef LF_SANITIZED
#define LF_SANITIZED 0
#endif

namespace {

using lf::TBookmarkControl;

constexpr bool kSanitized = LF_SANITIZED;
constexpr long kScale = kSanitized ? 4 : 1;
const std::string M(lf::kLinkMarker);

// What one read in a child process cost: CPU seconds, peak resident memory in bytes, and
// the number it handed back.
struct Cost {
  double seconds = 0;
  long long peakBytes = 0;
  long long result = -1;
};

Cost InChild(const std::function<long long()>& work) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    Cost cost;
    cost.result = work();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    cost.seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    cost.peakBytes = usage.ru_maxrss * 1024LL;
    const ssize_t n = write(fds[1], &cost, sizeof cost);
    _exit(n == static_cast<ssize_t>(sizeof cost) ? 0 : 1);
  }
  close(fds[1]);
  Cost cost;
  const ssize_t n = read(fds[0], &cost, sizeof cost);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(n == static_cast<ssize_t>(sizeof cost) && WIFEXITED(status) &&
              WEXITSTATUS(status) == 0)
      << "the read crashed";
  return cost;
}

// Appends to a file in large pieces.
class Writer {
 public:
  explicit Writer(const std::string& native) : out_(native, std::ios::binary) {}
  void operator()(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() > (1 << 20)) Flush();
  }
  ~Writer() { Flush(); }

 private:
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }
  std::ofstream out_;
  std::string buffer_;
};

// A Netscape file of about `bytes` bytes: folders of 1000 links of about 100 bytes each.
long long WriteBigNetscapeFile(const std::string& native, long long bytes) {
  Writer w(native);
  w("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<DL><p>\r\n");
  long long written = 0, links = 0;
  const std::string title = lftest::S("リンク");
  for (int folder = 0; written < bytes; ++folder) {
    w("  <DT><H3 ADD_DATE=\"1\">Folder" + std::to_string(folder) + "</H3>\r\n  <DL><p>\r\n");
    for (int i = 0; i < 1000 && written < bytes; ++i, ++links) {
      const std::string n = std::to_string(links);
      const std::string line = "    <DT><A HREF=\"http://host.example.jp/path/to/" + n +
                               "\" ADD_DATE=\"1034500000\">" + title + n + "</A>\r\n";
      w(line);
      written += static_cast<long long>(line.size());
    }
    w("  </DL><p>\r\n");
  }
  w("</DL><p>\r\n");
  return links;
}

class BigInput : public testing::Test {
 protected:
  void SetUp() override {
    lftest::MakeDirs(dir.NativePath("prog"));
    platform::SetProgramPath(dir.Path("prog/linkferry.exe"));
  }
  void TearDown() override { platform::SetProgramPath(std::nullopt); }

  // Reads the Netscape file in a child; the result is the number of entries.
  Cost ReadNetscape(const std::string& name) {
    return InChild([&] {
      lftest::RecordingOwner owner;
      lftest::FakeProgressBar bar;
      lf::RunCounters c;
      lf::BookmarkList list;
      TBookmarkControl().ReadBookmarkFile(owner, dir.Path(name), c.cancel, c.nnUrlCount, nullptr,
                                          false, list, bar, "R");
      return static_cast<long long>(owner.messages.empty() ? list.size() : 0);
    });
  }

  lftest::TempDir dir;
};

TEST_F(BigInput, HundredMegabyteBookmarkFileInLinearTimeAndBoundedMemory) {
  const long long big = 100'000'000 / kScale, quarter = big / 4;
  const long long links = WriteBigNetscapeFile(dir.NativePath("big.htm"), big);
  const long long fewer = WriteBigNetscapeFile(dir.NativePath("quarter.htm"), quarter);
  const Cost whole = ReadNetscape("big.htm");
  const Cost part = ReadNetscape("quarter.htm");
  EXPECT_EQ(whole.result, links + (links + 999) / 1000);
  EXPECT_EQ(part.result, fewer + (fewer + 999) / 1000);
  if (kSanitized) return;
  std::cout << "100 MB: " << whole.seconds << " s, " << whole.peakBytes / 1'000'000
            << " MB; 25 MB: " << part.seconds << " s, " << part.peakBytes / 1'000'000 << " MB\n";
  EXPECT_LT(whole.seconds, 6 * part.seconds + 1) << "four times the input, four times the time";
  EXPECT_LT(whole.peakBytes, 5 * big) << "memory within a small multiple of the file";
}

TEST_F(BigInput, MillionNestedFoldersInBothFilesOnTheOwnStack) {
  const long depth = 1'000'000;
  {
    Writer w(dir.NativePath("deep.htm"));
    w("<DL><p>\r\n");
    for (long i = 0; i < depth; ++i) w("<DT><H3>F</H3>\r\n<DL><p>\r\n");
    w("<DT><A HREF=\"http://deep/\">deep</A>\r\n");
    for (long i = 0; i < depth; ++i) w("</DL><p>\r\n");
    w("<DT><A HREF=\"http://top/\">top</A>\r\n</DL><p>\r\n");
  }
  {
    Writer w(dir.NativePath("deep.adr"));
    w("Opera Hotlist version 2.0\r\n\r\n");
    for (long i = 0; i < depth; ++i) w("#FOLDER\r\n\tNAME=F\r\n");
    w("#URL\r\n\tNAME=deep\r\n\tURL=http://deep/\r\n");
    for (long i = 0; i < depth; ++i) w("-\r\n");
  }
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters c;
  lf::BookmarkList netscape, opera;
  TBookmarkControl control;
  control.ReadBookmarkFile(owner, dir.Path("deep.htm"), c.cancel, c.nnUrlCount, nullptr, false,
                           netscape, bar, "R");
  control.LoadOperaFile(owner, dir.Path("deep.adr"), c.cancel, c.operaUrlCount, bar, opera, "R");
  // The folders down to the deepest folder level are kept; what lies deeper is filed there.
  std::string path = "R";
  lf::BookmarkList expected;
  for (int level = 0; level <= lf::kMaxFolderLevel; ++level) {
    expected.push_back(path + "\\F.dir" + lf::LevelChar(level));
    path += "\\F";
  }
  expected.push_back(path + M + "deep.url" + lf::LevelChar(lf::kMaxLevel) + "\\http://deep/");
  lf::BookmarkList withTop = expected;
  withTop.push_back("R" + M + "top.url0\\http://top/");
  EXPECT_EQ(netscape, withTop);
  EXPECT_EQ(opera, expected);
  EXPECT_EQ(owner.messages.size(), 2u);
  for (const lftest::MessageRecord& m : owner.messages) EXPECT_EQ(m.text, lf::DeepNestingMessage());
}

TEST_F(BigInput, MegabyteLinesNamesAndShortcutsAreTakenWhole) {
  const std::string mega(1 << 20, 'x');
  lftest::WriteFile(dir.NativePath("line.htm"), "<DL><p>\r\n<DT><A HREF=\"http://a/" + mega +
                                                    "\">" + mega + "</A>\r\n</DL>\r\n");
  lftest::WriteFile(dir.NativePath("line.adr"),
                    "#URL\r\n\tNAME=" + mega + "\r\n\tURL=http://a/" + mega + "\r\n");
  lftest::MakeDirs(dir.NativePath("fav"));
  lftest::WriteFile(dir.NativePath("fav/big.url"),
                    "[InternetShortcut]\r\nURL=http://a/" + mega + "\r\n");
  // Links whose closing tags never come end where the next one begins.
  {
    Writer w(dir.NativePath("open.htm"));
    w("<DL><p>\r\n<DT><A HREF=\"http://open/\">");
    for (int i = 0; i < 100'000; ++i) w("  <DT><A HREF=\"http://never/\">x\r\n");
  }
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters c;
  TBookmarkControl control;
  lf::BookmarkList netscape, opera, favorites, open;
  control.ReadBookmarkFile(owner, dir.Path("line.htm"), c.cancel, c.nnUrlCount, nullptr, false,
                           netscape, bar, "R");
  control.LoadOperaFile(owner, dir.Path("line.adr"), c.cancel, c.operaUrlCount, bar, opera, "R");
  control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, favorites, nullptr,
                        dir.Path("fav"));
  control.ReadBookmarkFile(owner, dir.Path("open.htm"), c.cancel, c.nnUrlCount, nullptr, false,
                           open, bar, "R");
  const std::string link = M + mega + ".url0\\http://a/" + mega;
  EXPECT_EQ(netscape, lf::BookmarkList{"R" + link});
  EXPECT_EQ(opera, lf::BookmarkList{"R" + link});
  ASSERT_EQ(favorites.size(), 1u);
  EXPECT_EQ(favorites[0].size(), dir.Path("fav").size() + M.size() + 8 + 1 + 2047);
  ASSERT_EQ(open.size(), 100'001u);
  EXPECT_EQ(open.front(), "R" + M + ".url0\\http://open/");
  EXPECT_EQ(open.back(), "R" + M + "x.url0\\http://never/");
  EXPECT_TRUE(owner.messages.empty());
}

// A name of 10 000 bytes passes through both files; as a folder of the Favorites it is one
// the file system refuses, which is reported and logged.
TEST_F(BigInput, TenThousandByteNamesGoThroughBothFilesAndAreRefusedAsFolders) {
  const std::string name(10'000, 'n');
  const lf::BookmarkList list = {"R\\" + name + ".dir0",
                                 "R\\" + name + M + name + ".url1\\http://x/"};
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::RunCounters c;
  TBookmarkControl control;
  control.SaveBookmarkFile(owner, bar, c.nnUrlCount, dir.Path("names.htm"), list);
  control.SaveOperaFile(owner, bar, list, dir.Path("names.adr"), c.operaUrlCount);
  lf::BookmarkList netscape, opera;
  control.ReadBookmarkFile(owner, dir.Path("names.htm"), c.cancel, c.nnUrlCount, nullptr, false,
                           netscape, bar, "R");
  control.LoadOperaFile(owner, dir.Path("names.adr"), c.cancel, c.operaUrlCount, bar, opera, "R");
  EXPECT_EQ(netscape, list);
  EXPECT_EQ(opera, list);
  EXPECT_TRUE(owner.messages.empty());

  lftest::MakeDirs(dir.NativePath("fav"));
  const std::string root = dir.Path("fav");
  control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount,
                        {root + "\\" + name + ".dir0", root + "\\" + name + M + "x.url1\\http://x/",
                         root + M + name + ".url0\\http://y/"});
  ASSERT_EQ(owner.messages.size(), 3u);
  EXPECT_NE(lftest::U(owner.messages[0].text).find(lftest::U(platform::ErrorText(ENAMETOOLONG))),
            std::string::npos);
  EXPECT_EQ(c.errorCount, 2);
  EXPECT_EQ(lftest::Tree(dir.NativePath("fav")), "");
}

}  // namespace
