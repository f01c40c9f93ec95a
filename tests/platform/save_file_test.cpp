#include "platform/save_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "tests/support/failing_writes.h"
#include "tests/support/hostile_helpers.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::TempDir;
using lftest::Tree;
using lftest::WriteFile;

// A write of `size` bytes in lines of 100, as the writers give them.
std::function<void(platform::ByteSink&)> Lines(std::size_t size) {
  return [size](platform::ByteSink& sink) {
    for (std::size_t done = 0; done < size; done += 100)
      sink.Write(std::string(98, static_cast<char>('a' + done / 100 % 26)) + "\r\n");
  };
}

TEST(SaveFile, ReplacesTheFileAndKeepsThePreviousAsItsBackup) {
  TempDir dir;
  WriteFile(dir.NativePath("a.htm"), "previous");
  WriteFile(dir.NativePath("a.old"), "older");
  const platform::SaveOptions backup{dir.Path("a.old"), {}};
  platform::SaveFile(
      dir.Path("a.htm"), [](platform::ByteSink& s) { s.Write("new"); }, backup);
  EXPECT_EQ(Tree(dir.Native()), "a.htm: new\na.old: previous\n");

  // Without a file there is nothing to keep.
  platform::SaveFile(dir.Path("b.htm"), [](platform::ByteSink& s) { s.Write("b"); },
                     {dir.Path("b.old"), {}});
  EXPECT_EQ(Tree(dir.Native()), "a.htm: new\na.old: previous\nb.htm: b\n");
}

// A full disk part-way (or at once) leaves the file in place and the earlier backup byte for
// byte, and nothing beside them.
TEST(SaveFile, AFailurePartWayKeepsTheFileAndTheEarlierBackup) {
  TempDir dir;
  const std::string previous = "previous\r\n", older = "older\r\n";
  WriteFile(dir.NativePath("a.htm"), previous);
  WriteFile(dir.NativePath("a.old"), older);
  const std::string before = Tree(dir.Native());
  for (std::int64_t room : {0, 70000}) {
    try {
      platform::SaveFile(dir.Path("a.htm"), Lines(200000),
                         {dir.Path("a.old"), lftest::FailAfter(room)});
      ADD_FAILURE() << "the save should fail";
    } catch (const platform::IoError& e) {
      EXPECT_EQ(e.code(), ENOSPC);
    }
    EXPECT_EQ(Tree(dir.Native()), before);
  }
}

// A file that already has its backup's name cannot be its own backup, nor can a folder take
// the backup's place: nothing is written, and the file stays as it was.
TEST(SaveFile, AFileThatCannotBeBackedUpIsLeftAsItWas) {
  TempDir dir;
  WriteFile(dir.NativePath("a.old"), "kept");
  WriteFile(dir.NativePath("b.htm"), "previous");
  lftest::MakeDirs(dir.NativePath("b.old"));
  const std::string before = Tree(dir.Native());
  bool written = false;
  auto write = [&](platform::ByteSink& s) {
    written = true;
    s.Write("new");
  };
  EXPECT_THROW(platform::SaveFile(dir.Path("a.old"), write, {dir.Path("a.old"), {}}),
               platform::BackupError);
  EXPECT_THROW(platform::SaveFile(dir.Path("b.htm"), write, {dir.Path("b.old"), {}}),
               platform::BackupError);
  EXPECT_FALSE(written);
  EXPECT_EQ(Tree(dir.Native()), before);
}

}  // namespace
