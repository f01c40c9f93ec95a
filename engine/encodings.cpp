// Conversions between Shift-JIS and the encodings of bookmark files: EUC-JP by byte
// arithmetic, UTF-8 through the code page tables of the platform. Characters that Shift-JIS
// cannot hold are kept as references (platform/codepage.h).
#include <algorithm>

#include "engine/bookmark_control.h"
#include "engine/html_text.h"
#include "platform/codepage.h"
#include "platform/text_sink.h"

namespace lf {
namespace {

// One JIS X 0208 pair to Shift-JIS (arithmetic modulo 256) at out; nothing for a row out of
// range.
inline char* PutJisAsSjis(char* out, unsigned j1, unsigned j2) {
  if (j1 < 0x21 || j1 > 0x7E) return out;
  unsigned s2;
  if (j1 & 1)
    s2 = j2 < 0x60 ? j2 + 0x1F : j2 + 0x20;
  else
    s2 = j2 + 0x7E;
  const unsigned s1 = (j1 + 1) / 2 + (j1 < 0x5F ? 0x70 : 0xB0);
  *out++ = static_cast<char>(s1 & 0xFF);
  *out++ = static_cast<char>(s2 & 0xFF);
  return out;
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

bool EucHigh(unsigned char c) {
  return c >= 0xA1 && c <= 0xFE;
}

}  // namespace

std::string TBookmarkControl::EucToSjis(std::string_view text) {
  std::size_t i = platform::PlainLength<>(text);
  if (i == text.size()) return std::string(text);
  std::string result;
  platform::TextSink out(result, text.size());
  out.Put(text.data(), i);
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  while (i < text.size()) {
    const unsigned b = byte(i);
    if (b < 0x80) {
      const std::size_t plain = platform::PlainLength<>(text.substr(i));
      out.Put(text.data() + i, plain);
      i += plain;
      continue;
    }
    if (b == 0x8F && i + 2 < text.size() && EucHigh(byte(i + 1)) && EucHigh(byte(i + 2))) {
      // A character of JIS X 0212, which Shift-JIS has no place for: its reference, or the
      // two bytes after the first converted as a character of JIS X 0208 where it has none.
      const char32_t cp = platform::JisX0212ToUnicode(byte(i + 1) - 0x80u, byte(i + 2) - 0x80u);
      if (cp != 0) {
        out.Put(10, [cp](char* o) { return platform::PutCodePoint(o, cp); });
        i += 3;
        continue;
      }
    }
    if (b >= 0xA1 && b <= 0xFE && i + 1 < text.size()) {
      const unsigned j2 = (byte(i + 1) - 0x80u) & 0xFF;
      out.Put(2, [b, j2](char* o) { return PutJisAsSjis(o, b - 0x80, j2); });
      i += 2;
    } else if (b == 0x8E && i + 1 < text.size() && byte(i + 1) >= 0xA1 && byte(i + 1) <= 0xDF) {
      out.Put(text[i + 1]);  // half-width katakana
      i += 2;
    } else {
      out.Put(static_cast<char>(b));  // also a first byte cut off by the end
      ++i;
    }
  }
  out.Finish();
  return result;
}

std::string TBookmarkControl::SjisToEuc(std::string_view text) {
  std::size_t i = platform::PlainLength<>(text);
  if (i == text.size()) return std::string(text);
  std::string result;
  platform::TextSink out(result, text.size() + text.size() / 4);
  out.Put(text.data(), i);
  // A character that EUC-JP cannot hold (one of the extension or user-defined rows, whose JIS
  // row would be a control byte such as CR) becomes its reference, which the HTML of a
  // bookmark file shows as the character; a byte from 0xA1 up that is no character of its
  // own (a first byte without its second, 0xFD, 0xFE), which would take the next byte, such as
  // the "<" of a tag, with it when the line is read back, becomes "?".
  while (i < text.size()) {
    const unsigned b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      const std::size_t plain = platform::PlainLength<>(text.substr(i));
      out.Put(text.data() + i, plain);
      i += plain;
      continue;
    }
    if (platform::IsLeadByte(static_cast<unsigned char>(b)) && i + 1 < text.size() &&
        platform::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      const unsigned s2 = static_cast<unsigned char>(text[i + 1]);
      unsigned j1, j2;
      SjisToJis(b, s2, j1, j2);
      if (j1 >= 0x21 && j1 <= 0x7E) {
        out.Put(2, [j1, j2](char* o) {
          o[0] = static_cast<char>(j1 + 0x80);
          o[1] = static_cast<char>(j2 + 0x80);
          return o + 2;
        });
      } else if (const char32_t cp = platform::Cp932CodeToUnicode((b << 8) | s2)) {
        std::string reference;
        platform::AppendReference(reference, cp);
        out.Put(reference.data(), reference.size());
      } else {
        out.Put('?');
      }
      i += 2;
    } else if (b >= 0xA1 && b <= 0xDF) {
      out.Put(2, [b](char* o) {
        o[0] = '\x8E';
        o[1] = static_cast<char>(b);
        return o + 2;
      });
      ++i;
    } else {
      out.Put(b >= 0xA1 && b <= 0xFE ? '?' : static_cast<char>(b));
      ++i;
    }
  }
  out.Finish();
  return result;
}

namespace {

// UTF-8 to Shift-JIS, one character per sequence of one to four bytes. A sequence that is
// broken off or does not begin with a first byte is one character that cannot be converted
// ("?"): it never takes a following byte that is not a continuation byte with it, so the next
// character is kept. A character beyond the code page becomes its reference; with text set,
// an "&" that would read as a reference becomes "&#38;" (markup, whose references are decoded
// next, keeps it).
std::string FromUtf8(std::string_view text, bool asText) {
  const auto plainLength = [asText](std::string_view rest) {
    return asText ? platform::PlainLength<'&'>(rest) : platform::PlainLength<>(rest);
  };
  std::size_t i = plainLength(text);
  if (i == text.size()) return std::string(text);
  std::string result;
  platform::TextSink out(result, text.size() + 8);
  out.Put(text.data(), i);
  auto continuation = [&](std::size_t k) {
    return k < text.size() && (static_cast<unsigned char>(text[k]) & 0xC0) == 0x80;
  };
  auto low6 = [&](std::size_t k) { return static_cast<unsigned char>(text[k]) & 0x3Fu; };
  const auto put = [&out](char32_t cp) {
    out.Put(10, [cp](char* o) { return platform::PutCodePoint(o, cp); });
  };
  while (i < text.size()) {
    const unsigned b1 = static_cast<unsigned char>(text[i]);
    if (b1 < 0x80) {
      char32_t cp;
      if (b1 == '&' && asText && platform::ReferenceAt(text, i, cp)) {
        out.Put("&#38;", 5);
        i += 1;
      } else {
        const std::size_t plain = std::max<std::size_t>(plainLength(text.substr(i)), 1);
        out.Put(text.data() + i, plain);
        i += plain;
      }
    } else if (b1 >= 0xC0 && b1 <= 0xDF && continuation(i + 1)) {
      // A character written longer than it needs ("/" as C0 AF) is no character: taken as
      // one, it would let a name smuggle a separator past every check of the text.
      const char32_t cp = ((b1 & 0x1F) << 6) | low6(i + 1);
      if (cp >= 0x80)
        put(cp);
      else
        out.Put(platform::kDefaultChar);
      i += 2;
    } else if (b1 >= 0xE0 && b1 <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
      const char32_t cp = ((b1 & 0x0F) << 12) | (low6(i + 1) << 6) | low6(i + 2);
      if (cp >= 0x800)
        put(cp);
      else
        out.Put(platform::kDefaultChar);
      i += 3;
    } else if (b1 >= 0xF0 && b1 <= 0xF4 && continuation(i + 1) && continuation(i + 2) &&
               continuation(i + 3)) {
      const char32_t cp =
          ((b1 & 0x07) << 18) | (low6(i + 1) << 12) | (low6(i + 2) << 6) | low6(i + 3);
      if (cp >= 0x10000)
        put(cp);
      else
        out.Put(platform::kDefaultChar);
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
      out.Put(platform::kDefaultChar);
      i = end;
    }
  }
  out.Finish();
  return result;
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
