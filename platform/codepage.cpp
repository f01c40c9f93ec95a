#include "platform/codepage.h"

#include <iconv.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace platform {
namespace {

constexpr std::uint16_t kNone = 0xFFFF;

// Both directions of code page 932 as tables, read once from iconv: the UTF-16 unit of every
// one- and two-byte code, and the code (one byte as 0x00XX) of every UTF-16 unit.
struct Tables {
  std::vector<std::uint16_t> toUnit;  // by code; kNone where the code is no character
  std::vector<std::uint16_t> toCode;  // by unit; kNone where the unit has no code

  Tables() : toUnit(0x10000, kNone), toCode(0x10000, kNone) {
    iconv_t in = iconv_open("UTF-16LE", "CP932");
    iconv_t out = iconv_open("CP932", "UTF-16LE");
    if (in == reinterpret_cast<iconv_t>(-1) || out == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv does not know code page 932 (CP932)");
    auto decode = [&](unsigned code, const char* bytes, std::size_t length) {
      char unit[8];
      char* src = const_cast<char*>(bytes);
      char* dst = unit;
      std::size_t left = length, room = sizeof unit;
      iconv(in, nullptr, nullptr, nullptr, nullptr);
      if (iconv(in, &src, &left, &dst, &room) != static_cast<std::size_t>(-1) && left == 0 &&
          dst - unit == 2)
        toUnit[code] = static_cast<std::uint16_t>(static_cast<unsigned char>(unit[0]) |
                                                  (static_cast<unsigned char>(unit[1]) << 8));
    };
    for (unsigned b = 0; b < 0x100; ++b) {
      if (IsLeadByte(static_cast<unsigned char>(b))) continue;
      char c = static_cast<char>(b);
      decode(b, &c, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
        char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        decode((lead << 8) | trail, pair, 2);
      }
    }
    for (unsigned u = 0; u < 0x10000; ++u) {
      if (u >= 0xD800 && u <= 0xDFFF) continue;
      char unit[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
      char code[4];
      char* src = unit;
      char* dst = code;
      std::size_t left = 2, room = sizeof code;
      iconv(out, nullptr, nullptr, nullptr, nullptr);
      if (iconv(out, &src, &left, &dst, &room) == static_cast<std::size_t>(-1)) continue;
      std::size_t n = static_cast<std::size_t>(dst - code);
      if (n == 1)
        toCode[u] = static_cast<unsigned char>(code[0]);
      else if (n == 2)
        toCode[u] = static_cast<std::uint16_t>((static_cast<unsigned char>(code[0]) << 8) |
                                               static_cast<unsigned char>(code[1]));
    }
    iconv_close(in);
    iconv_close(out);
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

// Decodes the character at pos: its unit (kNone if it is no character) and its length.
inline std::uint16_t DecodeSjis(const Tables& t, std::string_view s, std::size_t pos,
                                std::size_t& length) {
  unsigned char b = static_cast<unsigned char>(s[pos]);
  if (IsLeadByte(b) && pos + 1 < s.size() && IsTrailByte(static_cast<unsigned char>(s[pos + 1]))) {
    length = 2;
    return t.toUnit[(b << 8) | static_cast<unsigned char>(s[pos + 1])];
  }
  length = 1;
  return IsLeadByte(b) ? kNone : t.toUnit[b];
}

inline void AppendCode(std::string& out, std::uint16_t code) {
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

inline void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one well-formed UTF-8 character at pos; false (with the length of the bad bytes)
// for anything else.
bool DecodeUtf8(std::string_view s, std::size_t pos, std::uint32_t& cp, std::size_t& length) {
  unsigned char b = static_cast<unsigned char>(s[pos]);
  std::size_t want;
  std::uint32_t min;
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
    unsigned char c = static_cast<unsigned char>(s[pos + n]);
    if ((c & 0xC0) != 0x80) break;
    cp = (cp << 6) | (c & 0x3F);
  }
  length = n;
  return n == want && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

// Shift-JIS to UTF-8; onBad appends a replacement or returns false to give up.
template <typename OnBad>
bool SjisToUtf8Impl(std::string_view s, std::string& out, OnBad onBad) {
  const Tables& t = T();
  out.reserve(out.size() + s.size() * 3 / 2);
  for (std::size_t i = 0; i < s.size();) {
    std::size_t length;
    std::uint16_t unit = DecodeSjis(t, s, i, length);
    if (unit == kNone) {
      if (!onBad(out)) return false;
    } else {
      AppendUtf8(out, unit);
    }
    i += length;
  }
  return true;
}

template <typename OnBad>
bool Utf8ToSjisImpl(std::string_view s, std::string& out, OnBad onBad) {
  const Tables& t = T();
  out.reserve(out.size() + s.size());
  for (std::size_t i = 0; i < s.size();) {
    std::uint32_t cp;
    std::size_t length;
    bool ok = DecodeUtf8(s, i, cp, length);
    std::uint16_t code = ok && cp < 0x10000 ? t.toCode[cp] : kNone;
    if (code == kNone) {
      if (!onBad(out)) return false;
    } else {
      AppendCode(out, code);
    }
    i += length;
  }
  return true;
}

}  // namespace

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

ByteKind ClassifyByte(std::string_view text, std::size_t index) {
  if (text.empty()) return ByteKind::Single;
  if (index >= text.size()) index = text.size() - 1;
  if (!StartsCharacter(text, index)) return ByteKind::Trail;
  return IsLeadByte(static_cast<unsigned char>(text[index])) ? ByteKind::Lead : ByteKind::Single;
}

std::size_t FindLastChar(std::string_view text, std::string_view chars) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (chars.find(static_cast<char>(c)) != std::string_view::npos) found = i;
  }
  return found;
}

std::u16string Cp932ToUtf16(std::string_view sjis) {
  std::u16string result;
  result.reserve(sjis.size());
  if (IsAscii(sjis)) {
    for (unsigned char c : sjis) result.push_back(c);
    return result;
  }
  const Tables& t = T();
  for (std::size_t i = 0; i < sjis.size();) {
    std::size_t length;
    std::uint16_t unit = DecodeSjis(t, sjis, i, length);
    result.push_back(unit == kNone ? kDefaultUnit : static_cast<char16_t>(unit));
    i += length;
  }
  return result;
}

std::string Utf16ToCp932(std::u16string_view units) {
  std::string result;
  result.reserve(units.size() * 2);
  const Tables* t = nullptr;
  for (char16_t u : units) {
    if (u < 0x80) {
      result.push_back(static_cast<char>(u));
      continue;
    }
    if (!t) t = &T();
    std::uint16_t code = t->toCode[u];
    if (code == kNone)
      result.push_back(kDefaultChar);
    else
      AppendCode(result, code);
  }
  return result;
}

std::string Cp932ToUtf8(std::string_view sjis) {
  if (IsAscii(sjis)) return std::string(sjis);
  std::string result;
  SjisToUtf8Impl(sjis, result, [](std::string& out) {
    out += "\xE3\x83\xBB";  // U+30FB
    return true;
  });
  return result;
}

std::string Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::string result;
  Utf8ToSjisImpl(utf8, result, [](std::string& out) {
    out.push_back(kDefaultChar);
    return true;
  });
  return result;
}

bool Cp932ToUtf8Exact(std::string_view sjis, std::string& out) {
  if (IsAscii(sjis)) {
    out.assign(sjis);
    return true;
  }
  std::string result;
  if (!SjisToUtf8Impl(sjis, result, [](std::string&) { return false; })) return false;
  out = std::move(result);
  return true;
}

bool Utf8ToCp932Exact(std::string_view utf8, std::string& out) {
  if (IsAscii(utf8)) {
    out.assign(utf8);
    return true;
  }
  std::string result;
  if (!Utf8ToSjisImpl(utf8, result, [](std::string&) { return false; })) return false;
  // Some characters have two spellings in code page 932 and convert back to the other one;
  // a name only counts as exact when it survives the way back unchanged.
  std::string back;
  if (!SjisToUtf8Impl(result, back, [](std::string&) { return false; }) || back != utf8)
    return false;
  out = std::move(result);
  return true;
}

}  // namespace platform
