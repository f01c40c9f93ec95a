#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/file_system.h"
#include "tests/support/failing_writes.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::ReadFile;
using lftest::TempDir;
using lftest::WriteFile;
using platform::IniFile;

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
  TempDir dir;
  WriteFile(dir.NativePath("a.ini"),
            "; comment\r\n[Dir]\r\nNNFileName = C:\\bm.htm \r\n[check]\nOut=2\r\n"
            "[InternetShortcut]\r\nurl=\"http://q/\"\r\n");
  IniFile ini(dir.Path("a.ini"));
  EXPECT_TRUE(ini.Exists());
  EXPECT_EQ(ini.ReadString("DIR", "nnfilename", "x"), "C:\\bm.htm");
  EXPECT_EQ(ini.ReadInteger("Check", "OUT", 0), 2);
  EXPECT_EQ(ini.ReadString("internetshortcut", "URL", ""), "http://q/");  // quotes dropped
  EXPECT_EQ(ini.ReadString("Dir", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("Nowhere", "NNFileName", "dflt"), "dflt");
}

TEST(IniFile, KeysOfOtherSectionsDoNotMatch) {
  TempDir dir;
  WriteFile(dir.NativePath("a.ini"), "[A]\r\nKey=1\r\n[B]\r\nOther=2\r\n");
  IniFile ini(dir.Path("a.ini"));
  EXPECT_EQ(ini.ReadInteger("B", "Key", 7), 7);
}

TEST(IniFile, IntegersAcceptDecimalAndBothHexFormsOnly) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {{"12", 12},    {"-3", -3},    {"0x2", 2},      {"0X1f", 31}, {"$10", 16},
               {"0x", 99},    {"$", 99},     {"12abc", 99},   {"", 99},     {"1.5", 99},
               {"0xZ", 99},   {"2147483647", 2147483647},     {"2147483648", 99},
               {"$FFFFFFFF", -1}, {"0x100000000", 99}};
  for (const Case& c : cases) {
    int value = 99;
    if (!IniFile::ParseInteger(c.text, value)) value = 99;
    EXPECT_EQ(value, c.expected) << c.text;
  }
}

TEST(IniFile, LongValuesAreCutTo2047Bytes) {
  TempDir dir;
  WriteFile(dir.NativePath("a.url"), "[InternetShortcut]\r\nURL=" + std::string(5000, 'u') + "\r\n");
  IniFile ini(dir.Path("a.url"));
  EXPECT_EQ(ini.ReadString("InternetShortcut", "URL", "").size(), 2047u);
}

TEST(IniFile, WriteCreatesFileSectionAndKeyWithCrLf) {
  TempDir dir;
  IniFile ini(dir.Path("new.ini"));
  EXPECT_FALSE(ini.Exists());
  ini.WriteInteger("Proc", "Proc", 3);
  ini.WriteString("Dir", "NNFileName", "C:\\b.htm");
  ini.WriteString("Dir", "IEDirName", "C:\\Fav");
  EXPECT_TRUE(ini.Exists());
  EXPECT_EQ(ReadFile(dir.NativePath("new.ini")),
            "[Proc]\r\nProc=3\r\n\r\n[Dir]\r\nNNFileName=C:\\b.htm\r\nIEDirName=C:\\Fav\r\n");
  IniFile again(dir.Path("new.ini"));
  EXPECT_EQ(again.ReadInteger("proc", "proc", 0), 3);
}

TEST(IniFile, WriteReplacesInPlaceAndKeepsTheRestOfTheFile) {
  TempDir dir;
  WriteFile(dir.NativePath("a.ini"),
            "; mine\r\n[Dir]\r\nNNFileName=old\r\nextra line\r\n\r\n[Check]\r\nOut=1\r\n");
  IniFile ini(dir.Path("a.ini"));
  ini.WriteString("dir", "nnfilename", "new");
  ini.WriteString("Dir", "OPFileName", "op.adr");  // after the section's last line
  EXPECT_EQ(ReadFile(dir.NativePath("a.ini")),
            "; mine\r\n[Dir]\r\nNNFileName=new\r\nextra line\r\nOPFileName=op.adr\r\n\r\n"
            "[Check]\r\nOut=1\r\n");
}

TEST(IniFile, RefusedWriteThrowsAndKeepsTheOldContent) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
  TempDir dir;
  lftest::MakeDirs(dir.NativePath("ro"));
  WriteFile(dir.NativePath("ro/a.ini"), "[Proc]\r\nProc=1\r\n");
  chmod(dir.NativePath("ro/a.ini").c_str(), 0444);
  chmod(dir.NativePath("ro").c_str(), 0555);
  IniFile ini(dir.Path("ro/a.ini"));
  EXPECT_THROW(ini.WriteInteger("Proc", "Proc", 5), platform::IoError);
  EXPECT_EQ(ini.ReadInteger("Proc", "Proc", 0), 1);
  EXPECT_EQ(ReadFile(dir.NativePath("ro/a.ini")), "[Proc]\r\nProc=1\r\n");
}

TEST(IniFile, WriteOntoAFolderThrows) {
  TempDir dir;
  lftest::MakeDirs(dir.NativePath("a.ini"));
  IniFile ini(dir.Path("a.ini"));
  EXPECT_FALSE(ini.Exists());
  EXPECT_THROW(ini.WriteInteger("Proc", "Proc", 5), platform::IoError);
  EXPECT_EQ(ini.ReadInteger("Proc", "Proc", 0), 0);
  EXPECT_FALSE(lftest::Exists(dir.NativePath("a.ini.tmp")));
}

TEST(IniFile, FailedWriteLeavesThePreviousFile) {
  TempDir dir;
  WriteFile(dir.NativePath("a.ini"), "[Proc]\r\nProc=1\r\n");
  IniFile ini(dir.Path("a.ini"));
  {
    lftest::FileSizeLimit limit(3);
    EXPECT_THROW(ini.WriteInteger("Proc", "Proc", 5), platform::IoError);
  }
  EXPECT_EQ(ReadFile(dir.NativePath("a.ini")), "[Proc]\r\nProc=1\r\n");
  EXPECT_FALSE(lftest::Exists(dir.NativePath("a.ini.tmp")));
}

}  // namespace
