#include "tests/support/conversion_reference.h"

#include <cstdint>

#include "platform/codepage.h"

namespace lftest {
namespace {

// The Unicode character of the Shift-JIS character at pos and its length; 0 for bytes that
// are no character (the byte 0x00 is U+0000).
char32_t DecodeSjis(std::string_view s, std::size_t pos, std::size_t& length, bool& ok) {
  const unsigned char b = static_cast<unsigned char>(s[pos]);
  if (platform::IsLeadByte(b) && pos + 1 < s.size() &&
      platform::IsTrailByte(static_cast<unsigned char>(s[pos + 1]))) {
    length = 2;
    const char32_t cp = platform::Cp932CodeToUnicode((b << 8) | static_cast<unsigned char>(s[pos + 1]));
    ok = cp != 0;
    return cp;
  }
  length = 1;
  if (b == 0) {
    ok = true;
    return 0;
  }
  const char32_t cp = platform::IsLeadByte(b) ? 0 : platform::Cp932CodeToUnicode(b);
  ok = cp != 0;
  return cp;
}

// One well-formed UTF-8 character at pos; false (with the length of the bad bytes) else.
bool DecodeUtf8(std::string_view s, std::size_t pos, char32_t& cp, std::size_t& length) {
  const unsigned char b = static_cast<unsigned char>(s[pos]);
  std::size_t want;
  char32_t min;
  if (b < 0x80) {
    cp = b;
    length = 1;
    return true;
  } else if (b >= 0xC2 && b <= 0xDF) {
    want = 2, cp = b & 0x1F, min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    want = 3, cp = b & 0x0F, min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    want = 4, cp = b & 0x07, min = 0x10000;
  } else {
    length = 1;
    return false;
  }
  std::size_t n = 1;
  for (; n < want && pos + n < s.size(); ++n) {
    const unsigned char c = static_cast<unsigned char>(s[pos + n]);
    if ((c & 0xC0) != 0x80) break;
    cp = (cp << 6) | (c & 0x3F);
  }
  length = n;
  return n == want && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

void JisToSjis(unsigned j1, unsigned j2, std::string& out) {
  if (j1 < 0x21 || j1 > 0x7E) return;
  unsigned s2;
  if (j1 & 1)
    s2 = j2 < 0x60 ? j2 + 0x1F : j2 + 0x20;
  else
    s2 = j2 + 0x7E;
  const unsigned s1 = (j1 + 1) / 2 + (j1 < 0x5F ? 0x70 : 0xB0);
  out.push_back(static_cast<char>(s1 & 0xFF));
  out.push_back(static_cast<char>(s2 & 0xFF));
}

}  // namespace

bool Cp932ToUtf8Reference(std::string_view s, std::string& out, bool exact, bool paths) {
  out.clear();
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    char32_t cp;
    if (b == '&') {
      if (const std::size_t n = platform::ReferenceAt(s, i, cp)) {
        platform::AppendUtf8(out, cp);
        i += n;
        continue;
      }
    } else if (b == '\\' && paths) {
      out.push_back('/');
      ++i;
      continue;
    }
    std::size_t length;
    bool ok;
    cp = DecodeSjis(s, i, length, ok);
    if (!ok) {
      if (exact) return false;
      platform::AppendUtf8(out, 0x30FB);
    } else {
      platform::AppendUtf8(out, cp);
    }
    i += length;
  }
  return true;
}

bool Utf8ToCp932Reference(std::string_view s, std::string& out, bool exact, bool paths) {
  out.clear();
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp;
    std::size_t length;
    if (!DecodeUtf8(s, i, cp, length)) {
      if (exact) return false;
      out.push_back('?');
    } else if (cp == '&') {
      char32_t referenced;
      out += platform::ReferenceAt(s, i, referenced) ? "&#38;" : "&";
    } else if (paths && cp == '/') {
      out.push_back('\\');
    } else if (paths && cp == '\\') {
      out += "&#92;";
    } else {
      platform::AppendCodePoint(out, cp);
    }
    i += length;
  }
  return true;
}

std::string Utf8ToSjisReference(std::string_view text, bool asText) {
  std::string out;
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
        out.push_back('?');
      i += 4;
    } else {
      const std::size_t length = b1 >= 0xFC   ? 6
                                 : b1 >= 0xF8 ? 5
                                 : b1 >= 0xF0 ? 4
                                 : b1 >= 0xE0 ? 3
                                 : b1 >= 0xC0 ? 2
                                              : 1;
      std::size_t end = i + 1;
      while (end < i + length && continuation(end)) ++end;
      out.push_back('?');
      i = end;
    }
  }
  return out;
}

std::string EucToSjisReference(std::string_view text) {
  std::string out;
  auto high = [&](std::size_t k) {
    return k < text.size() && static_cast<unsigned char>(text[k]) >= 0xA1 &&
           static_cast<unsigned char>(text[k]) <= 0xFE;
  };
  for (std::size_t i = 0; i < text.size();) {
    const unsigned b = static_cast<unsigned char>(text[i]);
    if (b == 0x8F && high(i + 1) && high(i + 2)) {
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
      out.push_back(text[i + 1]);
      i += 2;
    } else {
      out.push_back(static_cast<char>(b));
      ++i;
    }
  }
  return out;
}

std::string SjisToEucReference(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned b = static_cast<unsigned char>(text[i]);
    if (platform::IsLeadByte(static_cast<unsigned char>(b)) && i + 1 < text.size() &&
        platform::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      const unsigned s2 = static_cast<unsigned char>(text[i + 1]);
      const unsigned a = b <= 0x9F ? 0x70 : 0xB0;
      const unsigned d = s2 < 0x9F ? 1 : 0;
      const unsigned j1 = ((b - a) * 2 - d) & 0xFF;
      const unsigned j2 = (s2 < 0x7F ? s2 - 0x1F : s2 < 0x9F ? s2 - 0x20 : s2 - 0x7E) & 0xFF;
      if (j1 >= 0x21 && j1 <= 0x7E) {
        out.push_back(static_cast<char>(j1 + 0x80));
        out.push_back(static_cast<char>(j2 + 0x80));
      } else if (const char32_t cp = platform::Cp932CodeToUnicode((b << 8) | s2)) {
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

}  // namespace lftest
