#include "platform/codepage.h"

#include <iconv.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/text_sink.h"

namespace platform {
namespace {

constexpr std::uint16_t kNone = 0xFFFF;

// Both directions of code page 932 as tables, read once from iconv: the UTF-16 unit of every
// one- and two-byte code, and the code (one byte as 0x00XX) of every UTF-16 unit that the code
// page gives back as itself; a unit that it would give back as another (U+301C comes back as
// U+FF5E) has no code here, so that it is kept as a reference.
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
      std::uint16_t c = kNone;
      if (n == 1)
        c = static_cast<unsigned char>(code[0]);
      else if (n == 2)
        c = static_cast<std::uint16_t>((static_cast<unsigned char>(code[0]) << 8) |
                                       static_cast<unsigned char>(code[1]));
      if (c != kNone && toUnit[c] == u) toCode[u] = c;
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

bool ValidCodePoint(char32_t cp) {
  return cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

// The UTF-8 bytes of a code point at out (at most four); the end of what was written.
inline char* PutUtf8(char* out, char32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// The reference of a code point at out (at most ten bytes, "&#1114111;").
inline char* PutReference(char* out, char32_t cp) {
  char digits[8];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + cp % 10);
    cp /= 10;
  } while (cp != 0 && n < 8);
  *out++ = '&';
  *out++ = '#';
  while (n > 0) *out++ = digits[--n];
  *out++ = ';';
  return out;
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
  return n == want && cp >= min && ValidCodePoint(cp);
}

// The program's text to UTF-8, appended to out: references become their characters; with
// paths, a "\" of the text becomes "/" (its reference stays "\"). Bytes that are no
// character become U+30FB, or with exact make the conversion give up (out as it was).
template <bool kPaths, bool kExact>
bool SjisToUtf8Into(std::string_view s, std::string& out) {
  const Tables& t = T();
  TextSink sink(out, s.size() + s.size() / 2);
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t plain =
        kPaths ? PlainLength<'&', '\\'>(s.substr(i)) : PlainLength<'&'>(s.substr(i));
    sink.Put(s.data() + i, plain);
    i += plain;
    if (i == s.size()) break;
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b == '&') {
      char32_t cp;
      if (const std::size_t n = ReferenceAt(s, i, cp)) {
        sink.Put(4, [cp](char* o) { return PutUtf8(o, cp); });
        i += n;
      } else {
        sink.Put('&');
        ++i;
      }
      continue;
    }
    if (kPaths && b == '\\') {
      sink.Put('/');
      ++i;
      continue;
    }
    std::size_t length;
    const std::uint16_t unit = DecodeSjis(t, s, i, length);
    if (unit == kNone && kExact) {
      sink.Discard();
      return false;
    }
    sink.Put(3, [unit](char* o) { return PutUtf8(o, unit == kNone ? 0x30FB : unit); });
    i += length;
  }
  sink.Finish();
  return true;
}

// UTF-8 to the program's text, appended to out: references for what the code page does not
// give back, "&#38;" for an "&" that would read as a reference; with paths, "/" becomes "\"
// and a "\" becomes "&#92;". Bytes that are no character become "?", or with exact make the
// conversion give up (out as it was).
template <bool kPaths, bool kExact>
bool Utf8ToSjisInto(std::string_view s, std::string& out) {
  TextSink sink(out, s.size());
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t plain =
        kPaths ? PlainLength<'&', '\\', '/'>(s.substr(i)) : PlainLength<'&'>(s.substr(i));
    sink.Put(s.data() + i, plain);
    i += plain;
    if (i == s.size()) break;
    std::uint32_t cp;
    std::size_t length;
    if (!DecodeUtf8(s, i, cp, length)) {
      if (kExact) {
        sink.Discard();
        return false;
      }
      sink.Put(kDefaultChar);
    } else if (cp == '&') {
      char32_t referenced;
      if (ReferenceAt(s, i, referenced))
        sink.Put("&#38;", 5);
      else
        sink.Put('&');
    } else if (kPaths && cp == '/') {
      sink.Put('\\');
    } else if (kPaths && cp == '\\') {
      sink.Put("&#92;", 5);
    } else {
      sink.Put(10, [cp](char* o) { return PutCodePoint(o, cp); });
    }
    i += length;
  }
  sink.Finish();
  return true;
}

// The code points of JIS X 0212 (the third set of EUC-JP), read from iconv when first needed.
struct JisX0212Table {
  std::vector<char32_t> cp;  // by (row - 0x21) * 94 + (cell - 0x21); 0 where none

  JisX0212Table() : cp(94 * 94, 0) {
    iconv_t in = iconv_open("UTF-32LE", "EUC-JP");
    if (in == reinterpret_cast<iconv_t>(-1)) return;
    for (unsigned row = 0x21; row <= 0x7E; ++row) {
      for (unsigned cell = 0x21; cell <= 0x7E; ++cell) {
        char bytes[3] = {'\x8F', static_cast<char>(row + 0x80), static_cast<char>(cell + 0x80)};
        unsigned char unit[8];
        char* src = bytes;
        char* dst = reinterpret_cast<char*>(unit);
        std::size_t left = 3, room = sizeof unit;
        iconv(in, nullptr, nullptr, nullptr, nullptr);
        if (iconv(in, &src, &left, &dst, &room) != static_cast<std::size_t>(-1) && left == 0 &&
            dst - reinterpret_cast<char*>(unit) == 4)
          cp[(row - 0x21) * 94 + (cell - 0x21)] =
              unit[0] | (unit[1] << 8) | (unit[2] << 16) | (static_cast<char32_t>(unit[3]) << 24);
      }
    }
    iconv_close(in);
  }
};

}  // namespace

bool IsAscii(std::string_view text) {
  return PlainLength<>(text) == text.size();
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    std::uint32_t cp;
    std::size_t length;
    if (!DecodeUtf8(text, i, cp, length)) return false;
    i += length;
  }
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

bool IsReferenced(char32_t cp) {
  // U+8155 as well: twice after a "\\" it is the mark between a folder path and a link name in
  // the bookmark list, so a name that begins with it twice holds the first as "&#33109;".
  if (cp == '&' || cp == '\\' || cp == 0x8155) return true;
  if (cp >= 0x10000) return cp <= 0x10FFFF;
  if (cp >= 0xD800 && cp <= 0xDFFF) return false;
  return T().toCode[cp] == kNone;
}

std::size_t ReferenceAt(std::string_view text, std::size_t pos, char32_t& cp) {
  // "&#" and one to seven digits, the first not a zero, then ";".
  if (pos + 4 > text.size() || text[pos] != '&' || text[pos + 1] != '#' || text[pos + 2] == '0')
    return 0;
  char32_t value = 0;
  std::size_t i = pos + 2;
  for (; i < text.size() && i < pos + 9 && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10 + static_cast<char32_t>(text[i] - '0');
  if (i == pos + 2 || i == text.size() || text[i] != ';' || !IsReferenced(value)) return 0;
  cp = value;
  return i + 1 - pos;
}

void AppendReference(std::string& out, char32_t cp) {
  char bytes[10];
  out.append(bytes, static_cast<std::size_t>(PutReference(bytes, cp) - bytes));
}

char* PutCodePoint(char* out, char32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
    return out;
  }
  const std::uint16_t code = cp < 0x10000 ? T().toCode[cp] : kNone;
  if (code != kNone) {
    if (code > 0xFF) *out++ = static_cast<char>(code >> 8);
    *out++ = static_cast<char>(code & 0xFF);
    return out;
  }
  if (ValidCodePoint(cp)) return PutReference(out, cp);
  *out++ = kDefaultChar;
  return out;
}

void AppendCodePoint(std::string& out, char32_t cp) {
  char bytes[10];
  out.append(bytes, static_cast<std::size_t>(PutCodePoint(bytes, cp) - bytes));
}

void AppendUtf8(std::string& out, char32_t cp) {
  char bytes[4];
  out.append(bytes, static_cast<std::size_t>(PutUtf8(bytes, cp) - bytes));
}

std::string ProtectAmpersands(std::string_view sjis) {
  std::string out;
  std::size_t done = 0;
  // "&" is never the second byte of a two-byte character, so every one is a character.
  for (std::size_t pos = sjis.find('&'); pos != std::string_view::npos;
       pos = sjis.find('&', pos + 1)) {
    char32_t cp;
    if (!ReferenceAt(sjis, pos, cp)) continue;
    out.append(sjis.substr(done, pos - done));
    out += "&#38;";
    done = pos + 1;
  }
  if (done == 0) return std::string(sjis);
  out.append(sjis.substr(done));
  return out;
}

char32_t Cp932CodeToUnicode(unsigned code) {
  if (code > 0xFFFF) return 0;
  const std::uint16_t unit = T().toUnit[code];
  return unit == kNone ? 0 : unit;
}

char32_t JisX0212ToUnicode(unsigned row, unsigned cell) {
  if (row < 0x21 || row > 0x7E || cell < 0x21 || cell > 0x7E) return 0;
  static const JisX0212Table table;
  return table.cp[(row - 0x21) * 94 + (cell - 0x21)];
}

std::u16string Cp932ToUtf16(std::string_view sjis) {
  std::u16string result;
  result.reserve(sjis.size());
  if (PlainLength<'&'>(sjis) == sjis.size()) {
    for (unsigned char c : sjis) result.push_back(c);
    return result;
  }
  const Tables& t = T();
  for (std::size_t i = 0; i < sjis.size();) {
    char32_t cp;
    if (const std::size_t n = sjis[i] == '&' ? ReferenceAt(sjis, i, cp) : 0) {
      if (cp >= 0x10000) {
        result.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
        result.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
      } else {
        result.push_back(static_cast<char16_t>(cp));
      }
      i += n;
      continue;
    }
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
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
    if (cp == '&') {
      // The units of a reference are ASCII, the same as its bytes.
      std::string ahead;
      for (std::size_t k = i; k < units.size() && k < i + 10 && units[k] < 0x80; ++k)
        ahead.push_back(static_cast<char>(units[k]));
      char32_t referenced;
      result += ReferenceAt(ahead, 0, referenced) ? "&#38;" : "&";
      continue;
    }
    AppendCodePoint(result, cp);
  }
  return result;
}

std::string Cp932ToUtf8(std::string_view sjis) {
  if (PlainLength<'&'>(sjis) == sjis.size()) return std::string(sjis);
  std::string result;
  SjisToUtf8Into<false, false>(sjis, result);
  return result;
}

void AppendCp932AsUtf8(std::string& out, std::string_view sjis) {
  SjisToUtf8Into<false, false>(sjis, out);
}

std::string Utf8ToCp932(std::string_view utf8) {
  if (PlainLength<'&'>(utf8) == utf8.size()) return std::string(utf8);
  std::string result;
  Utf8ToSjisInto<false, false>(utf8, result);
  return result;
}

bool Cp932ToUtf8Exact(std::string_view sjis, std::string& out, bool paths) {
  if ((paths ? PlainLength<'&', '\\', '/'>(sjis) : PlainLength<'&'>(sjis)) == sjis.size()) {
    out.assign(sjis);
    return true;
  }
  std::string result;
  if (!(paths ? SjisToUtf8Into<true, true>(sjis, result)
              : SjisToUtf8Into<false, true>(sjis, result)))
    return false;
  out = std::move(result);
  return true;
}

bool Utf8ToCp932Exact(std::string_view utf8, std::string& out, bool paths) {
  if ((paths ? PlainLength<'&', '\\', '/'>(utf8) : PlainLength<'&'>(utf8)) == utf8.size()) {
    out.assign(utf8);
    return true;
  }
  std::string result;
  if (!(paths ? Utf8ToSjisInto<true, true>(utf8, result)
              : Utf8ToSjisInto<false, true>(utf8, result)))
    return false;
  out = std::move(result);
  return true;
}

}  // namespace platform
