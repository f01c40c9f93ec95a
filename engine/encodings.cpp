// Conversions between Shift-JIS and the encodings of bookmark files: EUC-JP by byte
// arithmetic, UTF-8 through UTF-16 units and the code page conversion of the platform.
#include "engine/bookmark_control.h"
#include "platform/codepage.h"

namespace lf {
namespace {

// One JIS X 0208 pair to Shift-JIS (arithmetic modulo 256); empty for a row out of range.
void JisToSjis(unsigned j1, unsigned j2, std::string& out) {
  if (j1 < 0x21 || j1 > 0x7E) return;
  unsigned s2;
  if (j1 & 1)
    s2 = j2 < 0x60 ? j2 + 0x1F : j2 + 0x20;
  else
    s2 = j2 + 0x7E;
  unsigned s1 = (j1 + 1) / 2 + (j1 < 0x5F ? 0x70 : 0xB0);
  out.push_back(static_cast<char>(s1 & 0xFF));
  out.push_back(static_cast<char>(s2 & 0xFF));
}

void SjisToJis(unsigned s1, unsigned s2, unsigned& j1, unsigned& j2) {
  unsigned a = s1 <= 0x9F ? 0x70 : 0xB0;
  unsigned d = s2 < 0x9F ? 1 : 0;
  j1 = ((s1 - a) * 2 - d) & 0xFF;
  if (s2 < 0x7F)
    j2 = s2 - 0x1F;
  else if (s2 < 0x9F)
    j2 = s2 - 0x20;
  else
    j2 = s2 - 0x7E;
  j2 &= 0xFF;
}

}  // namespace

std::string TBookmarkControl::EucToSjis(std::string_view text) {
  if (platform::IsAscii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    unsigned b = static_cast<unsigned char>(text[i]);
    if (b >= 0xA1 && b <= 0xFE && i + 1 < text.size()) {
      JisToSjis(b - 0x80, (static_cast<unsigned char>(text[i + 1]) - 0x80u) & 0xFF, out);
      i += 2;
    } else if (b == 0x8E && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0xA1 &&
               static_cast<unsigned char>(text[i + 1]) <= 0xDF) {
      out.push_back(text[i + 1]);  // half-width katakana
      i += 2;
    } else {
      out.push_back(static_cast<char>(b));  // also a first byte cut off by the end
      ++i;
    }
  }
  return out;
}

std::string TBookmarkControl::SjisToEuc(std::string_view text) {
  if (platform::IsAscii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  // What EUC-JP cannot hold becomes "?": a character of the user-defined rows (its JIS row
  // would be a control byte such as CR), and a byte from 0xA1 up that is no character of its
  // own (a first byte without its second, 0xFD, 0xFE), which would take the next byte, such as
  // the "<" of a tag, with it when the line is read back.
  for (std::size_t i = 0; i < text.size();) {
    unsigned b = static_cast<unsigned char>(text[i]);
    if (platform::IsLeadByte(static_cast<unsigned char>(b)) && i + 1 < text.size() &&
        platform::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      unsigned j1, j2;
      SjisToJis(b, static_cast<unsigned char>(text[i + 1]), j1, j2);
      if (j1 >= 0x21 && j1 <= 0x7E) {
        out.push_back(static_cast<char>(j1 + 0x80));
        out.push_back(static_cast<char>(j2 + 0x80));
      } else {
        out.push_back('?');
      }
      i += 2;
    } else if (b >= 0xA1 && b <= 0xDF) {
      out.push_back('\x8E');
      out.push_back(static_cast<char>(b));
      ++i;
    } else {
      out.push_back(b >= 0xA1 && b <= 0xFE ? '?' : static_cast<char>(b));
      ++i;
    }
  }
  return out;
}

std::string TBookmarkControl::Utf8ToSjis(std::string_view text) {
  if (platform::IsAscii(text)) return std::string(text);
  // One UTF-16 unit per sequence of one to three bytes. A four-byte sequence (an emoji) is
  // one character that code page 932 cannot hold, and a sequence that is broken off or does
  // not begin with a first byte is one such character too: it never takes a following byte
  // that is not a continuation byte with it, so the next character is kept.
  constexpr char16_t kUnmappable = 0xFFFD;
  std::u16string units;
  units.reserve(text.size());
  auto continuation = [&](std::size_t k) {
    return k < text.size() && (static_cast<unsigned char>(text[k]) & 0xC0) == 0x80;
  };
  auto low6 = [&](std::size_t k) { return static_cast<unsigned char>(text[k]) & 0x3Fu; };
  for (std::size_t i = 0; i < text.size();) {
    const unsigned b1 = static_cast<unsigned char>(text[i]);
    if (b1 < 0x80) {
      units.push_back(static_cast<char16_t>(b1));
      i += 1;
    } else if (b1 >= 0xC0 && b1 <= 0xDF && continuation(i + 1)) {
      units.push_back(static_cast<char16_t>(((b1 & 0x1F) << 6) | low6(i + 1)));
      i += 2;
    } else if (b1 >= 0xE0 && b1 <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
      units.push_back(
          static_cast<char16_t>(((b1 & 0x0F) << 12) | (low6(i + 1) << 6) | low6(i + 2)));
      i += 3;
    } else {
      // The lead byte and the continuation bytes its sequence may have, as one character.
      const std::size_t length = b1 >= 0xFC   ? 6
                                 : b1 >= 0xF8 ? 5
                                 : b1 >= 0xF0 ? 4
                                 : b1 >= 0xE0 ? 3
                                 : b1 >= 0xC0 ? 2
                                              : 1;
      std::size_t end = i + 1;
      while (end < i + length && continuation(end)) ++end;
      units.push_back(kUnmappable);
      i = end;
    }
  }
  return platform::Utf16ToCp932(units);
}

std::string TBookmarkControl::SjisToUtf8(std::string_view text) {
  return platform::Cp932ToUtf8(text);
}

}  // namespace lf
