#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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

// The program's text of a Unicode text (UTF-8): every character comes back as itself, and where
// iconv's code page 932 form of the text comes back as the text, it is that form.
void ExpectProgramTextOf(const std::string& utf8, const std::string& got) {
  EXPECT_EQ(lftest::CharactersOf(got, "CP932"), utf8);
  const std::optional<std::string> direct = lftest::Iconv("CP932", "UTF-8", utf8);
  if (direct && lftest::Iconv("UTF-8", "CP932", *direct) == utf8) {
    EXPECT_EQ(got, *direct);
  }
}

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

// Every character by itself, each one that iconv knows, converted each way.
TEST(Conversions, EveryCharacterAgreesWithIconv) {
  for (unsigned code = 0; code <= 0xFCFC; ++code) {
    const unsigned lead = code >> 8, trail = code & 0xFF;
    if (code > 0xFF && !platform::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    std::string sjis(1, static_cast<char>(trail));
    if (code > 0xFF) sjis.insert(sjis.begin(), static_cast<char>(lead));
    const std::optional<std::string> utf8 = lftest::Iconv("UTF-8", "CP932", sjis);
    if (!utf8) continue;
    SCOPED_TRACE(::testing::Message() << std::hex << code);
    EXPECT_EQ(TBookmarkControl::SjisToUtf8(sjis), *utf8);
    EXPECT_EQ(platform::Cp932ToUtf16(sjis),
              lftest::Units(*lftest::Iconv("UTF-16LE", "CP932", sjis)));
    // The arithmetic puts code page 932's rows 0xED, 0xEE where EUC-JP-MS has user-defined ones.
    if (lead != 0xED && lead != 0xEE) {
      EXPECT_EQ(lftest::CharactersOf(TBookmarkControl::SjisToEuc(sjis), "EUC-JP-MS"), *utf8);
    }
  }
  // EUC-JP-MS maps as code page 932 does, but keeps rows 0x75-0x7E for user-defined characters.
  for (unsigned j1 = 0x21; j1 <= 0x74; ++j1)
    for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
      const std::string euc = {static_cast<char>(j1 + 0x80), static_cast<char>(j2 + 0x80)};
      if (const std::optional<std::string> utf8 = lftest::Iconv("UTF-8", "EUC-JP-MS", euc)) {
        EXPECT_EQ(lftest::CharactersOf(TBookmarkControl::EucToSjis(euc), "CP932"), *utf8)
            << std::hex << j1 << " " << j2;
      }
    }
  // The three-byte form against EUC-JP: EUC-JP-MS adds Microsoft's rows and mappings to it.
  for (unsigned row = 0x21; row <= 0x7E; ++row)
    for (unsigned cell = 0x21; cell <= 0x7E; ++cell) {
      const std::string euc = {'\x8F', static_cast<char>(row + 0x80),
                               static_cast<char>(cell + 0x80)};
      if (const std::optional<std::string> utf8 = lftest::Iconv("UTF-8", "EUC-JP", euc)) {
        EXPECT_EQ(lftest::CharactersOf(TBookmarkControl::EucToSjis(euc), "CP932"), *utf8)
            << std::hex << row << " " << cell;
      }
    }
  for (char32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x10000 ? 1 : 0x3FF) {
    const char bytes[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                           static_cast<char>(cp >> 16), 0};
    const std::optional<std::string> utf8 = lftest::Iconv("UTF-8", "UTF-32LE", {bytes, 4});
    if (!utf8) continue;  // a surrogate
    SCOPED_TRACE(::testing::Message() << std::hex << static_cast<unsigned>(cp));
    ExpectProgramTextOf(*utf8, TBookmarkControl::Utf8ToSjis(*utf8));
    ExpectProgramTextOf(*utf8, platform::Utf8ToCp932(*utf8));
    ExpectProgramTextOf(
        *utf8, platform::Utf16ToCp932(lftest::Units(*lftest::Iconv("UTF-16LE", "UTF-8", *utf8))));
    if (HasFailure()) break;
  }
}

// Whether a text holds a C1 control or a user-defined character: what EUC-JP-MS reads so, the
// EUC-JP conversion copies as bytes (that Shift-JIS reads as first bytes) or maps by arithmetic.
bool HasControlOrUserDefined(std::string_view utf8) {
  for (std::size_t i = 0; i + 1 < utf8.size(); ++i) {
    const unsigned char a = static_cast<unsigned char>(utf8[i]);
    const unsigned char b = static_cast<unsigned char>(utf8[i + 1]);
    if ((a == 0xC2 && b < 0xA0) || a == 0xEE || (a == 0xEF && b < 0xA4)) return true;
  }
  return false;
}

// The conversions work eight bytes at a time through plain text and by tables elsewhere; on
// random mixtures of every kind of byte sequence they give what iconv gives.
TEST(Conversions, MixturesAgreeWithIconv) {
  // clang-format off
  static const char* const kPieces[] = {
      "a", "Z", "0", "9", "&", "#", ";", "\\", "/", "<", ">", "\"", " ", "\x1A", "\r", "\n",
      "\0", "abcdefghijklmnopqrstu", "http://www.example.jp/x/y",
      "&#233;", "&#38;", "&#92;", "&#33109;", "&#128512;", "&#65;", "&#0;", "&#1114111;",
      "&#1114112;", "&#99999999;", "&#12354;", "&#x41;", "&amp;", "&#", "&#;", "&#12",
      "\x82\xA0", "\x83\x5C", "\x98\x72", "\x87\x40", "\x87\x90", "\xFA\x40", "\xFB\xFC",
      "\xF0\x40", "\xED\x40", "\x81", "\x9F", "\xE0", "\xFC", "\xFD", "\x80", "\xA0", "\xB1",
      "\xDF", "\xFF", "\xC3\xA9", "\xE3\x81\x82", "\xF0\x9F\x98\x80", "\xC0\xBC",
      "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80",
      "\xFC\x84\x80\x80\x80\x80", "\xC3", "\xE3\x81", "\xEF\xBD\x9E", "\xE3\x80\x9C",
      "\xC2\xA5", "\xE2\x80\x94", "\xA4\xA2", "\x8E\xB1", "\x8E\xE0", "\x8F\xB0\xA1",
      "\x8F\xA2\xAF", "\x8F\xA1\xA1", "\xAD\xA1", "\xF5\xA1", "\xA1",
  };
  // clang-format on
  std::mt19937 random(14);
  std::string got;
  for (int round = 0; round < 60000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 24); n > 0; --n) {
      const std::size_t k = random() % std::size(kPieces);
      // The NUL piece is one byte long.
      text.append(kPieces[k], k == 16 ? 1 : std::char_traits<char>::length(kPieces[k]));
    }
    SCOPED_TRACE(::testing::PrintToString(text));
    const std::optional<std::string> fromSjis = lftest::Iconv("UTF-8", "CP932", text);
    const std::optional<std::string> utf16 = lftest::Iconv("UTF-16LE", "UTF-8", text);
    for (bool paths : {false, true}) {
      got = "untouched";
      EXPECT_EQ(platform::Cp932ToUtf8Exact(text, got, paths), fromSjis.has_value());
      if (!fromSjis) {
        EXPECT_EQ(got, "untouched");
      }
      got = "untouched";
      EXPECT_EQ(platform::Utf8ToCp932Exact(text, got, paths), utf16.has_value());
      if (!utf16) {
        EXPECT_EQ(got, "untouched");
      }
    }
    // iconv reads a reference as its characters "&", "#", digits and ";".
    if (text.find("&#") != std::string::npos) continue;
    if (fromSjis) {
      EXPECT_EQ(TBookmarkControl::SjisToUtf8(text), *fromSjis);
      EXPECT_EQ(platform::Cp932ToUtf16(text),
                lftest::Units(*lftest::Iconv("UTF-16LE", "CP932", text)));
      EXPECT_TRUE(platform::Cp932ToUtf8Exact(text, got, true));
      EXPECT_EQ(got, Replaced(*fromSjis, '\\', '/'));
      // The arithmetic puts code page 932's rows 0xED, 0xEE where EUC-JP-MS has user-defined ones.
      if (text.find_first_of("\xED\xEE") == std::string::npos) {
        EXPECT_EQ(lftest::CharactersOf(TBookmarkControl::SjisToEuc(text), "EUC-JP-MS"), *fromSjis);
      }
    }
    if (utf16) {
      ExpectProgramTextOf(text, TBookmarkControl::Utf8ToSjis(text));
      ExpectProgramTextOf(text, lf::Utf8MarkupToSjis(text));
      ExpectProgramTextOf(text, platform::Utf8ToCp932(text));
      ExpectProgramTextOf(text, platform::Utf16ToCp932(lftest::Units(*utf16)));
      // A "\" inside a name is its reference in the program's paths.
      if (text.find('\\') == std::string::npos && platform::Utf8ToCp932Exact(text, got, true))
        ExpectProgramTextOf(Replaced(text, '/', '\\'), got);
    }
    const std::optional<std::string> fromEuc = lftest::Iconv("UTF-8", "EUC-JP-MS", text);
    // Controls and user-defined characters follow the arithmetic, as above.
    if (fromEuc && !HasControlOrUserDefined(*fromEuc)) {
      EXPECT_EQ(lftest::CharactersOf(TBookmarkControl::EucToSjis(text), "CP932"), *fromEuc);
    }
    if (HasFailure()) break;
  }
}

}  // namespace
