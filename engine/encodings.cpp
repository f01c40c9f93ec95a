// Conversions between Shift-JIS and the encodings of bookmark files: EUC-JP by byte
// arithmetic, UTF-8 through the code page tables of the platform. Characters that Shift-JIS
// cannot hold are kept as references (platform/codepage.h).
#include "engine/bookmark_control.h"
#include "engine/html_text.h"
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
    auto high = [&](std::size_t k) {
      return k < text.size() && static_cast<unsigned char>(text[k]) >= 0xA1 &&
             static_cast<unsigned char>(text[k]) <= 0xFE;
    };
    if (b == 0x8F && high(i + 1) && high(i + 2)) {
      // A character of JIS X 0212, which Shift-JIS has no place for: its reference, or the
      // two bytes after the first converted as a character of JIS X 0208 where it has none.
      const char32_t cp =
          platform::JisX0212ToUnicode(static_cast<unsigned char>(text[i + 1]) - 0x80u,
                                      static_cast<unsigned char>(text[i + 2]) - 0x80u);
      if (cp != 0) {
        platform::AppendCodePoint(out, cp);
        i += 3;
        continue;
      }
    }
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
  // A character that EUC-JP cannot hold (one of the extension or user-defined rows, whose JIS
  // row would be a control byte such as CR) becomes its reference, which the HTML of a
  // bookmark file shows as the character; a byte from 0xA1 up that is no character of its
  // own (a first byte without its second, 0xFD, 0xFE), which would take the next byte, such as
  // the "<" of a tag, with it when the line is read back, becomes "?".
  for (std::size_t i = 0; i < text.size();) {
    unsigned b = static_cast<unsigned char>(text[i]);
    if (platform::IsLeadByte(static_cast<unsigned char>(b)) && i + 1 < text.size() &&
        platform::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      unsigned j1, j2;
      SjisToJis(b, static_cast<unsigned char>(text[i + 1]), j1, j2);
      if (j1 >= 0x21 && j1 <= 0x7E) {
        out.push_back(static_cast<char>(j1 + 0x80));
        out.push_back(static_cast<char>(j2 + 0x80));
      } else if (const char32_t cp = platform::Cp932CodeToUnicode(
                     (b << 8) | static_cast<unsigned char>(text[i + 1]))) {
        platform::AppendReference(out, cp);
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

namespace {

// UTF-8 to Shift-JIS, one character per sequence of one to four bytes. A sequence that is
// broken off or does not begin with a first byte is one character that cannot be converted
// ("?"): it never takes a following byte that is not a continuation byte with it, so the next
// character is kept. A character beyond the code page becomes its reference; with text set,
// an "&" that would read as a reference becomes "&#38;" (markup, whose references are decoded
// next, keeps it).
std::string FromUtf8(std::string_view text, bool asText) {
  if (platform::IsAscii(text) && (!asText || text.find('&') == std::string_view::npos))
    return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  auto continuation = [&](std::size_t k) {
    return k < text.size() && (static_cast<unsigned char>(text[k]) & 0xC0) == 0x80;
  };
  auto low6 = [&](std::size_t k) { return static_cast<unsigned char>(text[k]) & 0x3Fu; };
  for (std::size_t i = 0; i < text.size();) {
    const unsigned b1 = static_cast<unsigned char>(text[i]);
    if (b1 < 0x80) {
      char32_t cp;
      if (b1 == '&' && asText && platform::ReferenceAt(text, i, cp))
        out += "&#38;";
      else
        out.push_back(static_cast<char>(b1));
      i += 1;
    } else if (b1 >= 0xC0 && b1 <= 0xDF && continuation(i + 1)) {
      platform::AppendCodePoint(out, ((b1 & 0x1F) << 6) | low6(i + 1));
      i += 2;
    } else if (b1 >= 0xE0 && b1 <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
      platform::AppendCodePoint(out, ((b1 & 0x0F) << 12) | (low6(i + 1) << 6) | low6(i + 2));
      i += 3;
    } else if (b1 >= 0xF0 && b1 <= 0xF4 && continuation(i + 1) && continuation(i + 2) &&
               continuation(i + 3)) {
      const char32_t cp =
          ((b1 & 0x07) << 18) | (low6(i + 1) << 12) | (low6(i + 2) << 6) | low6(i + 3);
      if (cp >= 0x10000)
        platform::AppendCodePoint(out, cp);
      else
        out.push_back(platform::kDefaultChar);
      i += 4;
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
      out.push_back(platform::kDefaultChar);
      i = end;
    }
  }
  return out;
}

}  // namespace

std::string TBookmarkControl::Utf8ToSjis(std::string_view text) {
  return FromUtf8(text, true);
}

std::string Utf8MarkupToSjis(std::string_view line) {
  return FromUtf8(line, false);
}

std::string TBookmarkControl::SjisToUtf8(std::string_view text) {
  return platform::Cp932ToUtf8(text);
}

}  // namespace lf
