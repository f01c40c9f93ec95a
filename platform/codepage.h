// Code page 932 (Microsoft's Shift-JIS): byte classification and conversion to and from
// UTF-16 and UTF-8. All of the program's own text is kept in this code page.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace platform {

namespace detail {
constexpr std::array<bool, 256> MakeLeadTable() {
  std::array<bool, 256> table{};
  for (int b = 0x81; b <= 0x9F; ++b) table[b] = true;
  for (int b = 0xE0; b <= 0xFC; ++b) table[b] = true;
  return table;
}
inline constexpr std::array<bool, 256> kLeadBytes = MakeLeadTable();
}  // namespace detail

// True for the bytes that begin a two-byte character (0x81-0x9F, 0xE0-0xFC).
inline bool IsLeadByte(unsigned char byte) {
  return detail::kLeadBytes[byte];
}

// True for the bytes that can follow a first byte in a two-byte character (0x40-0x7E,
// 0x80-0xFC); after a first byte, anything else leaves the first byte without a character.
inline bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// True if no byte of the text is above 0x7F: such a text reads the same in every encoding
// the program converts between, so conversions can hand it back as it is.
bool IsAscii(std::string_view text);

// What the byte at a position of a text is, reading the text from its start.
enum class ByteKind { Single, Lead, Trail };
ByteKind ClassifyByte(std::string_view text, std::size_t index);

// True if a character of the text begins at pos (pos <= size), reading the text from its
// start: every byte with the value of a lead byte takes the next byte with it. Only the bytes
// just before pos are looked at: the byte before a run of lead-byte values always ends a
// character, and the run is read in pairs from there.
inline bool StartsCharacter(std::string_view text, std::size_t pos) {
  std::size_t run = 0;
  while (run < pos && IsLeadByte(static_cast<unsigned char>(text[pos - 1 - run]))) ++run;
  return run % 2 == 0;
}

// Position of the last single-byte character of text that is one of chars, or npos: the
// second byte of a two-byte character is never taken for one ("ソ" ends in 0x5C, "\").
std::size_t FindLastChar(std::string_view text, std::string_view chars);

// The character that stands for what the other side cannot represent.
inline constexpr char kDefaultChar = '?';            // in code page 932
inline constexpr char16_t kDefaultUnit = u'\u30FB';  // in UTF-16, for bytes that are no character

// The conversions work on tables that are filled once from the system's (iconv) mapping of
// code page 932.

// Lossy conversions: what cannot be converted becomes the default character, and every
// other character is converted whatever comes before or after it.
std::u16string Cp932ToUtf16(std::string_view sjis);
std::string Utf16ToCp932(std::u16string_view units);
std::string Cp932ToUtf8(std::string_view sjis);
std::string Utf8ToCp932(std::string_view utf8);

// Exact conversions for file names: false (and out untouched) if any character does not
// survive the conversion.
bool Cp932ToUtf8Exact(std::string_view sjis, std::string& out);
bool Utf8ToCp932Exact(std::string_view utf8, std::string& out);

}  // namespace platform
