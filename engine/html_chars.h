// The bytes of HTML markup as the tokenizer (html_tokens.h) tells them apart. None of them is
// ever the second byte of a Shift-JIS character.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace lf::html {

// The bytes that end names in tags: white space, "/", ">" and (of attribute names) "=".
enum : unsigned char { kSpace = 1, kSlash = 2, kGreater = 4, kEquals = 8 };
inline constexpr std::array<unsigned char, 256> kStops = [] {
  std::array<unsigned char, 256> stops{};
  for (unsigned char c : {' ', '\n', '\t', '\f', '\r'}) stops[c] = kSpace;
  stops['/'] = kSlash;
  stops['>'] = kGreater;
  stops['='] = kEquals;
  return stops;
}();

inline bool IsSpace(char c) {
  return kStops[static_cast<unsigned char>(c)] == kSpace;
}
inline bool IsAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// True when the names are the same in any letter case.
inline bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// The offset of c in text from i on, or text.size().
inline std::size_t Next(std::string_view text, std::size_t i, char c) {
  const void* at = std::memchr(text.data() + i, c, text.size() - i);
  return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : text.size();
}

// Where a name from i ends: at a byte of the stops, or at the end of the text. Every stop is
// below 0x40, so eight bytes at 0x40 and above are passed over at once.
inline std::size_t NameEnd(std::string_view text, std::size_t i, unsigned char stops) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  for (std::uint64_t word; i + 8 <= text.size(); i += 8) {
    std::memcpy(&word, text.data() + i, 8);
    const std::uint64_t high = word & (kOnes * 0xC0);  // zero in a byte below 0x40
    if (((high - kOnes) & ~high & (kOnes * 0x80)) != 0) break;
  }
  while (i < text.size() && (kStops[static_cast<unsigned char>(text[i])] & stops) == 0) ++i;
  return i;
}

}  // namespace lf::html
