#include "engine/text_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

std::vector<std::string> ReadAll(const std::string& bytes) {
  lftest::TempDir dir;
  lftest::WriteFile(dir.NativePath("t.txt"), bytes);
  lf::LineReader reader(dir.Path("t.txt"));
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, CarriageReturnEndsALineAndALineFeedAfterItIsSkipped) {
  EXPECT_EQ(ReadAll("a\r\nb\rc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(ReadAll("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(ReadAll("a\r\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ReadAll(""), Lines{});
}

// Files written on Unix end their lines with line feeds alone, old Mac files with carriage
// returns alone; a line feed right after a carriage return still belongs to that line end.
TEST(LineReader, ALoneLineFeedEndsALineToo) {
  EXPECT_EQ(ReadAll("a\nb\nc\r\n\nd"), (Lines{"a", "b", "c", "", "d"}));
  EXPECT_EQ(ReadAll("\n\r\r\n\n"), (Lines{"", "", "", ""}));
  const std::string a(65535, 'a');  // the CR ends one chunk, its LF begins the next
  EXPECT_EQ(ReadAll(a + "\r\ny\n\x1A"
                        "z\n"),
            (Lines{a, "y"}));
}

// A UTF-8 byte order mark at the start is no part of the first line; anywhere else it is text.
TEST(LineReader, ByteOrderMarkAtTheStartIsSkipped) {
  EXPECT_EQ(ReadAll("\xEF\xBB\xBF"
                    "a\nb\xEF\xBB\xBF\n"),
            (Lines{"a", "b\xEF\xBB\xBF"}));
  EXPECT_EQ(ReadAll("\xEF\xBB\xBF"), Lines{});
  EXPECT_EQ(ReadAll("\xEF\xBB"), (Lines{"\xEF\xBB"}));
}

TEST(LineReader, EndOfFileByteEndsTheInput) {
  EXPECT_EQ(ReadAll("a\r\nb\x1A" "c\r\nd\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(ReadAll("\x1A" "a"), Lines{});
}

TEST(LineReader, LinesLongerThanTheBufferAndEndsAcrossChunks) {
  std::string big(200000, 'x');
  EXPECT_EQ(ReadAll(big + "\r\n" + big), (Lines{big, big}));
  // A CR as the last byte of one chunk and its LF as the first of the next.
  std::string a(65535, 'a');
  EXPECT_EQ(ReadAll(a + "\r\nb"), (Lines{a, "b"}));
}

TEST(LineWriter, EndsEveryLineWithCrLf) {
  platform::StringSink sink;
  lf::LineWriter w(sink);
  w.WriteLine("one");
  w.WriteLine("");
  w.WriteLine(std::string(100000, 'z'));
  w.WriteLine(
      "a\rb\nc\x1A"
      "d");  // each would end the line or the file read back
  w.Flush();
  EXPECT_EQ(sink.Text(), "one\r\n\r\n" + std::string(100000, 'z') + "\r\na b c d\r\n");
}

}  // namespace
