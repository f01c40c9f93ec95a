#include <gtest/gtest.h>

#include <random>

#include "engine/bookmark_control.h"
#include "engine/html_text.h"
#include "platform/codepage.h"
#include "tests/support/conversion_reference.h"

namespace {

using lf::TBookmarkControl;

TEST(EucJp, HiraganaAndHalfWidthKatakanaBothWays) {
  EXPECT_EQ(TBookmarkControl::EucToSjis("\xA4\xA2"), "\x82\xA0");
  EXPECT_EQ(TBookmarkControl::SjisToEuc("\x82\xA0"), "\xA4\xA2");
  EXPECT_EQ(TBookmarkControl::EucToSjis("\x8E\xB1"), "\xB1");
  EXPECT_EQ(TBookmarkControl::SjisToEuc("\xB1"), "\x8E\xB1");
  EXPECT_EQ(TBookmarkControl::EucToSjis("\x8F\x41"), "\x8F\x41");
}

TEST(EucJp, EveryJisX0208CharacterSurvivesTheRoundTrip) {
  for (unsigned j1 = 0x21; j1 <= 0x7E; ++j1)
    for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
      std::string euc = {static_cast<char>(j1 + 0x80), static_cast<char>(j2 + 0x80)};
      std::string sjis = TBookmarkControl::EucToSjis(euc);
      ASSERT_EQ(sjis.size(), 2u);
      ASSERT_TRUE(platform::IsLeadByte(static_cast<unsigned char>(sjis[0])));
      ASSERT_EQ(TBookmarkControl::SjisToEuc(sjis), euc) << std::hex << j1 << " " << j2;
    }
}

TEST(EucJp, CutOffCharactersDoNotHarmTheRest) {
  EXPECT_EQ(TBookmarkControl::EucToSjis("ab\xA4"), "ab\xA4");
  EXPECT_EQ(TBookmarkControl::SjisToEuc("ab\x82"), "ab\x82");
  // 0x8F starts a three-byte form that is not known: copied, and the next pair converted.
  EXPECT_EQ(TBookmarkControl::EucToSjis("\x8F\xA4\xA2"), "\x8F\x82\xA0");
}

// A character of JIS X 0212 has no place in Shift-JIS, and one of the extension rows of code
// page 932 none in EUC-JP: each side keeps it as its reference (shown as the character by the
// HTML it is written in), never as "?".
TEST(EucJp, CharactersTheOtherSideLacksBecomeReferences) {
  EXPECT_EQ(TBookmarkControl::EucToSjis("a\x8F\xB0\xA1z"), "a&#19970;z");             // 丂
  EXPECT_EQ(TBookmarkControl::SjisToEuc("a\xFA\x40\xFB\xFCz"), "a&#8560;&#39641;z");  // ⅰ髙
  EXPECT_EQ(TBookmarkControl::SjisToEuc("\x87\x40"), "\xAD\xA1");  // ① in row 13 as it is
}

TEST(Utf8, HiraganaBothWays) {
  EXPECT_EQ(TBookmarkControl::SjisToUtf8("\x82\xA0"), "\xE3\x81\x82");
  EXPECT_EQ(TBookmarkControl::Utf8ToSjis("\xE3\x81\x82"), "\x82\xA0");
  EXPECT_EQ(TBookmarkControl::Utf8ToSjis(""), "");
}

TEST(Utf8, AsciiPassesAllFourConversions) {
  const std::string ascii = "<DT><A HREF=\"http://a/~b\\c\">x</A>";
  EXPECT_EQ(TBookmarkControl::Utf8ToSjis(ascii), ascii);
  EXPECT_EQ(TBookmarkControl::SjisToUtf8(ascii), ascii);
  EXPECT_EQ(TBookmarkControl::EucToSjis(ascii), ascii);
  EXPECT_EQ(TBookmarkControl::SjisToEuc(ascii), ascii);
}

TEST(Utf8, DecodesEveryThreeByteSequenceToOneCharacter) {
  // E0..EF as first byte each give one character: its bytes, its reference or the default.
  for (int b1 = 0xE0; b1 <= 0xEF; ++b1) {
    std::string s = {static_cast<char>(b1), '\x80', '\x80', 'z'};
    std::string out = TBookmarkControl::Utf8ToSjis(s);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), 'z');
    char32_t cp;
    EXPECT_TRUE(out.size() <= 3u || platform::ReferenceAt(out, 0, cp) == out.size() - 1) << b1;
  }
}

// Broken sequences become one default character each and never take the next character with
// them; characters beyond code page 932, four-byte ones included, become references.
TEST(Utf8, BrokenInputConvertsAndKeepsTheRest) {
  struct Case {
    const char* utf8;
    const char* sjis;
  };
  // clang-format off
  const Case cases[] = {
      {"\xF0\x9F\x98\x80!", "&#128512;!"},                // an emoji
      {"a\xF0\x9F\x98\x80\xF0\x9F\x8D\xA3" "b", "a&#128512;&#127843;b"},
      {"\xF0\x9F!", "?!"},                                // cut short by an ASCII byte
      {"\x80" "ab", "?ab"},                                // a continuation byte first
      {"\xC3" "ab", "?ab"},                                // a first byte without its second
      {"\xE3\x81" "ab", "?ab"},                            // one continuation byte of two
      {"\xE3\x81\x82\xE3\x81\x82", "\x82\xA0\x82\xA0"},  // well formed: exact
      {"ab\xE3\x81", "ab?"},                               // cut off at the end
      {"\xFF\x80\x80z", "?z"},
      {"\xC3\xA9", "&#233;"},                              // outside code page 932
      {"\xF4\x90\x80\x80z", "?z"},                         // beyond Unicode
      {"&#233;&", "&#38;#233;&"},                          // text that reads as a reference
  };
  // clang-format on
  for (std::size_t k = 0; k < std::size(cases); ++k)
    EXPECT_EQ(TBookmarkControl::Utf8ToSjis(cases[k].utf8), cases[k].sjis) << "case " << k;
}

TEST(Utf8, LongTextsAreConvertedWhole) {
  std::string sjis;
  for (int i = 0; i < 2000; ++i) sjis += "\x82\xA0";
  std::string utf8 = TBookmarkControl::SjisToUtf8(sjis);
  EXPECT_EQ(utf8.size(), 6000u);
  EXPECT_EQ(TBookmarkControl::Utf8ToSjis(utf8), sjis);
}

// The conversions work eight bytes at a time through plain text and by tables elsewhere;
// on random mixtures of every kind of byte sequence they give what converting one character
// at a time gives.
TEST(Conversions, MatchTheCharacterByCharacterConversions) {
  // clang-format off
  static const char* const kPieces[] = {
      "a", "Z", "0", "9", "&", "#", ";", "\\", "/", "<", ">", "\"", " ", "\x1A", "\r", "\n",
      "\0", "abcdefghijklmnopqrstu", "http://www.example.jp/x/y",
      "&#233;", "&#38;", "&#92;", "&#33109;", "&#128512;", "&#65;", "&#0;", "&#1114111;",
      "&#1114112;", "&#99999999;", "&#12354;", "&#x41;", "&amp;", "&#", "&#;", "&#12",
      "\x82\xA0", "\x83\x5C", "\x98\x72", "\x87\x40", "\xFA\x40", "\xFB\xFC", "\xF0\x40",
      "\x81", "\x9F", "\xE0", "\xFC", "\xFD", "\x80", "\xA0", "\xB1", "\xDF", "\xFF",
      "\xC3\xA9", "\xE3\x81\x82", "\xF0\x9F\x98\x80", "\xC0\xBC", "\xE0\x80\x80",
      "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xFC\x84\x80\x80\x80\x80",
      "\xC3", "\xE3\x81", "\xEF\xBD\x9E", "\xE3\x80\x9C",
      "\xA4\xA2", "\x8E\xB1", "\x8E\xE0", "\x8F\xB0\xA1", "\x8F\xA2\xAF", "\x8F\xA1\xA1",
      "\xAD\xA1", "\xF5\xA1", "\xA1",
  };
  // clang-format on
  std::mt19937 random(14);
  std::string ref, got;
  for (int round = 0; round < 30000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 24); n > 0; --n) {
      const std::size_t k = random() % std::size(kPieces);
      // The NUL piece is one byte long.
      text.append(kPieces[k], k == 16 ? 1 : std::char_traits<char>::length(kPieces[k]));
    }
    SCOPED_TRACE(::testing::PrintToString(text));
    EXPECT_EQ(TBookmarkControl::Utf8ToSjis(text), lftest::Utf8ToSjisReference(text, true));
    EXPECT_EQ(lf::Utf8MarkupToSjis(text), lftest::Utf8ToSjisReference(text, false));
    EXPECT_EQ(TBookmarkControl::EucToSjis(text), lftest::EucToSjisReference(text));
    EXPECT_EQ(TBookmarkControl::SjisToEuc(text), lftest::SjisToEucReference(text));
    lftest::Cp932ToUtf8Reference(text, ref, false, false);
    EXPECT_EQ(TBookmarkControl::SjisToUtf8(text), ref);
    lftest::Utf8ToCp932Reference(text, ref, false, false);
    EXPECT_EQ(platform::Utf8ToCp932(text), ref);
    for (bool paths : {false, true}) {
      got = "untouched";
      bool ok = lftest::Cp932ToUtf8Reference(text, ref, true, paths);
      EXPECT_EQ(platform::Cp932ToUtf8Exact(text, got, paths), ok);
      EXPECT_EQ(got, ok ? ref : "untouched");
      got = "untouched";
      ok = lftest::Utf8ToCp932Reference(text, ref, true, paths);
      EXPECT_EQ(platform::Utf8ToCp932Exact(text, got, paths), ok);
      EXPECT_EQ(got, ok ? ref : "untouched");
    }
    if (HasFailure()) break;
  }
}

}  // namespace
