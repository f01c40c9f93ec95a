#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using platform::ByteKind;

TEST(CodePage, LeadBytesAreExactlyTheTwoRanges) {
  for (int b = 0; b < 256; ++b) {
    bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(platform::IsLeadByte(static_cast<unsigned char>(b)), expected) << b;
  }
}

TEST(CodePage, ClassifiesPositionsFromTheStart) {
  // "aソb": 0x61 0x83 0x5C 0x62 -- the 0x5C is the second byte of ソ.
  const std::string text =
      "a\x83\x5C"
      "b";
  EXPECT_EQ(platform::ClassifyByte(text, 0), ByteKind::Single);
  EXPECT_EQ(platform::ClassifyByte(text, 1), ByteKind::Lead);
  EXPECT_EQ(platform::ClassifyByte(text, 2), ByteKind::Trail);
  EXPECT_EQ(platform::ClassifyByte(text, 3), ByteKind::Single);
  // Half-width katakana are single bytes, so the byte after one starts a character again.
  EXPECT_EQ(platform::ClassifyByte("\xB1\x83\x41", 1), ByteKind::Lead);

  // Looking back from a position gives what reading from the start gives, also in runs of
  // second bytes that have the value of a first byte.
  std::mt19937 random(3);
  const unsigned char bytes[] = {0x41, 0x5C, 0x81, 0x83, 0x9F, 0xB1, 0xE0, 0xFC, 0xFD};
  for (int round = 0; round < 2000; ++round) {
    std::string t;
    for (int i = random() % 12; i > 0; --i) t.push_back(static_cast<char>(bytes[random() % 9]));
    std::size_t start = 0;  // the next character start, read from the beginning
    for (std::size_t pos = 0; pos <= t.size(); ++pos) {
      EXPECT_EQ(platform::StartsCharacter(t, pos), pos == start) << round << " " << pos;
      if (pos == start && pos < t.size())
        start += platform::IsLeadByte(static_cast<unsigned char>(t[pos])) ? 2 : 1;
    }
  }
}

TEST(CodePage, ConvertsMicrosoftMappingBothWays) {
  // あ, ソ, ① (NEC row 13), ～ (FULLWIDTH TILDE in Microsoft's table), half-width ｱ.
  const std::string sjis = "\x82\xA0\x83\x5C\x87\x40\x81\x60\xB1";
  const std::string utf8 = "\xE3\x81\x82\xE3\x82\xBD\xE2\x91\xA0\xEF\xBD\x9E\xEF\xBD\xB1";
  EXPECT_EQ(platform::Cp932ToUtf8(sjis), utf8);
  EXPECT_EQ(platform::Utf8ToCp932(utf8), sjis);
  EXPECT_EQ(platform::Cp932ToUtf16(sjis), u"\u3042\u30BD\u2460\uFF5E\uFF71");
  EXPECT_EQ(platform::Utf16ToCp932(u"\u3042\u30BD\u2460\uFF5E\uFF71"), sjis);
}

// What code page 932 cannot hold, or would give back as another character (WAVE DASH comes
// back as FULLWIDTH TILDE), is kept as its decimal reference; an "&" that would read as one is
// kept as "&#38;"; and every conversion out gives the text back as it came in.
TEST(CodePage, CharactersBeyondTheCodePageAreKeptAsReferences) {
  struct Case {
    const char* utf8;
    const char* sjis;
  };
  // clang-format off
  const Case cases[] = {
      {"a\xC3\xA9" "b\xF0\x9F\x98\x80" "c", "a&#233;b&#128512;c"},  // é and an emoji
      {"\xE3\x80\x9C\xEF\xBD\x9E", "&#12316;\x81\x60"},             // U+301C, U+FF5E
      {"\xC2\xA5" "\\", "&#165;\\"},                                // yen sign, backslash
      {"&#233; &#65; &#0233; & &amp; &#92;", "&#38;#233; &#65; &#0233; & &amp; &#38;#92;"},
      {"\xE4\xBD\xA0\xE5\xA5\xBD", "&#20320;\x8D\x44"},             // 你 is not in it, 好 is
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(platform::Utf8ToCp932(c.utf8), c.sjis) << c.utf8;
    EXPECT_EQ(platform::Cp932ToUtf8(c.sjis), c.utf8) << c.utf8;
    std::string exact;
    ASSERT_TRUE(platform::Utf8ToCp932Exact(c.utf8, exact));
    EXPECT_EQ(exact, c.sjis);
  }
  EXPECT_EQ(platform::Utf16ToCp932(u"x\u00E9y\U0001F600&#9;"), "x&#233;y&#128512;&#9;");
  EXPECT_EQ(platform::Cp932ToUtf16("x&#233;y&#128512;&#38;#233;"), u"x\u00E9y\U0001F600&#233;");
  // A lone surrogate and broken UTF-8 are no characters: they become the default.
  EXPECT_EQ(platform::Utf16ToCp932(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b");
  EXPECT_EQ(platform::Utf8ToCp932("a\xE3\x81" "b\xE3"), "a?b?");
  EXPECT_EQ(platform::ProtectAmpersands("&#233;&#65;\x83\x5C&#92;&"),
            "&#38;#233;&#65;\x83\x5C&#38;#92;&");
}

TEST(CodePage, UndecodableShiftJisBytesDoNotSwallowNeighbours) {
  // 0x80 and 0xA0 are no characters; 0x81 followed by a space is a broken pair.
  EXPECT_EQ(platform::Cp932ToUtf16("a\x80"
                                   "b"),
            u"a\u30FBb");
  EXPECT_EQ(platform::Cp932ToUtf16("a\x81 b"), u"a\u30FB b");
  // A lead byte cut off by the end.
  EXPECT_EQ(platform::Cp932ToUtf16("ab\x82"), u"ab\u30FB");
}

TEST(CodePage, ExactConversionsRefuseBytesThatAreNoCharacter) {
  std::string out = "untouched";
  EXPECT_FALSE(platform::Utf8ToCp932Exact("caf\xC3", out));
  EXPECT_FALSE(platform::Cp932ToUtf8Exact("a\x80", out));
  EXPECT_EQ(out, "untouched");
  ASSERT_TRUE(platform::Utf8ToCp932Exact("\xE3\x82\xBD", out));
  EXPECT_EQ(out, "\x83\x5C");
  ASSERT_TRUE(platform::Cp932ToUtf8Exact("\x83\x5C", out));
  EXPECT_EQ(out, "\xE3\x82\xBD");
  // Between program paths and native ones "\" and "/" separate names, and a "\" inside a name
  // is its reference; the second byte of "ソ" is neither.
  ASSERT_TRUE(platform::Utf8ToCp932Exact("/a\\b/\xE3\x82\xBD/caf\xC3\xA9", out, true));
  EXPECT_EQ(out, "\\a&#92;b\\\x83\x5C\\caf&#233;");
  ASSERT_TRUE(platform::Cp932ToUtf8Exact(out, out, true));
  EXPECT_EQ(out, "/a\\b/\xE3\x82\xBD/caf\xC3\xA9");
}

TEST(CodePage, AsciiIsUnchangedIncludingBackslashAndTilde) {
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii.push_back(static_cast<char>(c));
  EXPECT_EQ(platform::Cp932ToUtf8(ascii), ascii);
  EXPECT_EQ(platform::Utf8ToCp932(ascii), ascii);
  EXPECT_EQ(platform::Utf16ToCp932(platform::Cp932ToUtf16(ascii)), ascii);
}

}  // namespace
