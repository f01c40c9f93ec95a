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
// True if the text is well-formed UTF-8 (ASCII text is).
bool IsUtf8(std::string_view text);

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

// Characters beyond the code page. The program's text keeps a character that code page 932
// cannot hold, or that would not come back from it as itself (U+301C WAVE DASH returns as
// U+FF5E), as the decimal character reference "&#N;" that HTML uses for the same purpose; so
// every rule about Shift-JIS text keeps working and nothing is dropped. Two characters the
// code page does hold are kept so too where they would be misread: a "\" inside a name
// ("&#92;"), which would otherwise read as the separator of the program's paths, and an "&"
// that begins text which would itself read as a reference ("&#38;", so that a title that
// really is "&#233;" stays that text); and the first "腕" of a name that begins with two
// ("&#33109;"), which would read as the mark before a link name in the bookmark list. Only
// these count as references: "&#", the code point in decimal without leading zeros, ";", for
// 38, 92, 33109 or a code point the code page does not give back. Every other "&" is the
// character itself.
//
// Every conversion from Unicode into the program's text below makes such references (and
// keeps an "&" that would read as one as "&#38;"), and every conversion out of it turns them
// back into their characters.

// True for the code points that the program's text holds as references.
bool IsReferenced(char32_t cp);
// The length of the reference that starts at pos (0 if none does) and its code point.
std::size_t ReferenceAt(std::string_view text, std::size_t pos, char32_t& cp);
// Appends a code point as the program's text: its code page 932 bytes, or its reference.
// "\" and "&" are appended as themselves.
void AppendCodePoint(std::string& out, char32_t cp);
// The same written at out, which has room for ten bytes; returns the end of what it wrote.
char* PutCodePoint(char* out, char32_t cp);
// Appends the reference for a code point.
void AppendReference(std::string& out, char32_t cp);
// Appends a code point in UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// Keeps every "&" of the text that would read as the start of a reference as "&#38;": for
// Shift-JIS text from a file that knows no references (a shortcut's address).
std::string ProtectAmpersands(std::string_view sjis);
// The Unicode character of a code page 932 code (one byte as 0x00XX, two as 0xLLTT), or 0
// when the code is no character.
char32_t Cp932CodeToUnicode(unsigned code);
// The character of a JIS X 0212 row and cell (each 0x21-0x7E), or 0 when there is none.
char32_t JisX0212ToUnicode(unsigned row, unsigned cell);

// The conversions work on tables that are filled once from the system's (iconv) mapping of
// code page 932.

// Conversions that never fail: bytes that are no character become the default character
// (undecodable UTF-8 "?", undecodable Shift-JIS U+30FB), and every other character is
// converted, beyond the code page through its reference.
std::u16string Cp932ToUtf16(std::string_view sjis);
std::string Utf16ToCp932(std::u16string_view units);
std::string Cp932ToUtf8(std::string_view sjis);
std::string Utf8ToCp932(std::string_view utf8);
// Cp932ToUtf8 appended to out, for a text that is only part of what is written.
void AppendCp932AsUtf8(std::string& out, std::string_view sjis);

// Exact conversions for file names: false (and out untouched) if the text holds bytes that
// are no character. With paths set, the conversion is one between a program path and a
// native one: "\" and "/" separate names, and a "\" inside a name is "&#92;" in the program's
// text and "\" in the native one.
bool Cp932ToUtf8Exact(std::string_view sjis, std::string& out, bool paths = false);
bool Utf8ToCp932Exact(std::string_view utf8, std::string& out, bool paths = false);

}  // namespace platform
