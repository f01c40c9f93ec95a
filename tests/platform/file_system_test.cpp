#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/codepage.h"
#include "platform/system_info.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::Exists;
using lftest::ReadFile;
using lftest::S;
using lftest::TempDir;
using lftest::WriteFile;

TEST(NativePath, ConvertsBeforeMappingSeparators) {
  std::string native;
  // ソ ends in 0x5C; it must stay one character, not become a separator.
  ASSERT_EQ(platform::ToNativePath(S("/base\\ソフト\\a.url"), native), 0);
  EXPECT_EQ(native, "/base/\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88/a.url");
  EXPECT_EQ(platform::ToNativePath("/x\\\x80", native), EILSEQ);
}

TEST(NativePath, DrivePathsLandOnTheDriveFolder) {
  platform::SetDriveRoot('C', "/drives/c");
  std::string native;
  ASSERT_EQ(platform::ToNativePath("C:\\Program Files\\Netscape", native), 0);
  EXPECT_EQ(native, "/drives/c/Program Files/Netscape");
  ASSERT_EQ(platform::ToNativePath("c:\\WINDOWS", native), 0);
  EXPECT_EQ(native, "/drives/c/WINDOWS");
  EXPECT_EQ(platform::ToNativePath("D:\\data", native), ENOENT);
  platform::ResetDriveRoots();
}

TEST(NativePath, PlainNamesStayInsideTheirFolder) {
  EXPECT_TRUE(platform::IsPlainName("News"));
  EXPECT_TRUE(platform::IsPlainName(S("ソフト")));  // its 0x5C is not a separator
  EXPECT_TRUE(platform::IsPlainName("..."));
  EXPECT_FALSE(platform::IsPlainName(""));
  EXPECT_FALSE(platform::IsPlainName("."));
  EXPECT_FALSE(platform::IsPlainName(".."));
  EXPECT_FALSE(platform::IsPlainName("a/b"));
  EXPECT_FALSE(platform::IsPlainName("a\\b"));
  EXPECT_FALSE(platform::IsPlainName(std::string("a\0b", 3)));
}

TEST(FileSystem, ListsEveryItemWithItsKind) {
  TempDir dir;
  lftest::MakeDirs(dir.NativePath("sub"));
  WriteFile(dir.NativePath(".hidden"), "");
  WriteFile(dir.NativePath("\xE3\x82\xBD.url"), "");  // ソ.url
  WriteFile(dir.NativePath("caf\xC3\xA9.url"), "");   // not in code page 932
  WriteFile(dir.NativePath("back\\slash"), "");
  WriteFile(dir.NativePath("bad\xFF"), "");  // no UTF-8
  ASSERT_EQ(symlink(dir.Native().c_str(), dir.NativePath("loop").c_str()), 0);
  std::vector<platform::DirEntry> entries;
  ASSERT_EQ(platform::ListDirectory(dir.Path(), entries), 0);
  ASSERT_EQ(entries.size(), 7u);
  // Every name as the program holds it: a character beyond the code page and a "\" inside a
  // name as references, so each names the same file again; only a name that is no UTF-8
  // has no exact form.
  auto find = [&](const std::string& name) {
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const platform::DirEntry& e) { return e.name == name; });
    EXPECT_NE(it, entries.end()) << name;
    return it == entries.end() ? platform::DirEntry{} : *it;
  };
  EXPECT_TRUE(find("sub").isDirectory);
  EXPECT_TRUE(find(".hidden").exact);
  EXPECT_TRUE(find(S("ソ.url")).exact);
  EXPECT_TRUE(find("caf&#233;.url").exact);
  EXPECT_TRUE(find("back&#92;slash").exact);
  EXPECT_FALSE(find("bad?").exact);
  EXPECT_TRUE(find("loop").isSymlink);
  EXPECT_FALSE(find("loop").isDirectory);
  EXPECT_NE(platform::ListDirectory(dir.Path("missing"), entries), 0);
}

TEST(FileSystem, MakeDirectoryReportsAnExistingFolderApart) {
  TempDir dir;
  EXPECT_EQ(platform::MakeDirectory(dir.Path("a")), 0);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("a")), EEXIST);
  EXPECT_EQ(platform::MakeDirectory(dir.Path("x/y")), ENOENT);  // parents are not made
  EXPECT_TRUE(platform::DirectoryExists(dir.Path("a")));
  EXPECT_EQ(platform::RemoveDirectory(dir.Path("a")), 0);
  EXPECT_FALSE(platform::PathExists(dir.Path("a")));
}

TEST(FileSystem, CreateReplacesRenameAndDelete) {
  TempDir dir;
  WriteFile(dir.NativePath("f.txt"), "old content");
  {
    platform::File f(dir.Path("f.txt"), platform::File::Mode::Create);
    f.Write("new");
    f.Close();
  }
  EXPECT_EQ(ReadFile(dir.NativePath("f.txt")), "new");
  EXPECT_EQ(platform::RenameFile(dir.Path("f.txt"), dir.Path("g.txt")), 0);
  EXPECT_FALSE(platform::FileExists(dir.Path("f.txt")));
  EXPECT_TRUE(platform::FileExists(dir.Path("g.txt")));
  EXPECT_EQ(platform::DeleteFile(dir.Path("g.txt")), 0);
  EXPECT_EQ(platform::DeleteFile(dir.Path("g.txt")), ENOENT);
  lftest::MakeDirs(dir.NativePath("d"));
  EXPECT_EQ(platform::DeleteFile(dir.Path("d")), EISDIR);
  EXPECT_THROW(platform::File(dir.Path("d"), platform::File::Mode::Read), platform::IoError);
  EXPECT_THROW(platform::File(dir.Path("d"), platform::File::Mode::Create), platform::IoError);
}

TEST(FileSystem, CreatingOverASymbolicLinkNeverWritesThroughIt) {
  TempDir dir;
  WriteFile(dir.NativePath("target.txt"), "keep me");
  ASSERT_EQ(symlink(dir.NativePath("target.txt").c_str(), dir.NativePath("link.url").c_str()), 0);
  platform::File f(dir.Path("link.url"), platform::File::Mode::Create);
  f.Write("mine");
  f.Close();
  EXPECT_EQ(ReadFile(dir.NativePath("target.txt")), "keep me");
  EXPECT_EQ(ReadFile(dir.NativePath("link.url")), "mine");
  struct stat st;
  ASSERT_EQ(lstat(dir.NativePath("link.url").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
}

TEST(FileSystem, ErrorTextsAreJapaneseForCommonCodes) {
  EXPECT_EQ(lftest::U(platform::ErrorText(ENOENT)), "指定されたファイルが見つかりません。");
  EXPECT_FALSE(platform::ErrorText(EXDEV).empty());
  platform::IoError e(EACCES);
  EXPECT_EQ(lftest::U(e.what()), "アクセスが拒否されました。");
}

}  // namespace
