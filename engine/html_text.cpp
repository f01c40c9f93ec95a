#include "engine/html_text.h"

#include <array>
#include <vector>

#include "platform/codepage.h"

namespace lf {
namespace {

// The two characters of the link marker after its "\" ("腕腕").
constexpr std::string_view kMarkerCharacters = "\x98\x72\x98\x72";

struct NamedReference {
  std::string_view name;  // without "&" and ";"
  char32_t cp;
};

// The references browsers write for the characters HTML reserves, and the no-break space.
constexpr std::array<NamedReference, 6> kNamed{{
    {"amp", '&'},
    {"lt", '<'},
    {"gt", '>'},
    {"quot", '"'},
    {"apos", '\''},
    {"nbsp", 0xA0},
}};

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hex) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The length of the HTML reference at pos (0 if none) and its character. A reference to a
// control character, to no character or beyond Unicode is none: such a title keeps the text.
std::size_t HtmlReferenceAt(std::string_view text, std::size_t pos, char32_t& cp) {
  const std::string_view rest = text.substr(pos + 1);
  if (!rest.empty() && rest[0] == '#') {
    const bool hex = rest.size() > 1 && (rest[1] == 'x' || rest[1] == 'X');
    std::size_t i = hex ? 2 : 1;
    const std::size_t first = i;
    char32_t value = 0;
    for (; i < rest.size() && i < first + 8 && DigitValue(rest[i], hex) >= 0; ++i)
      value = value * (hex ? 16 : 10) + static_cast<char32_t>(DigitValue(rest[i], hex));
    if (i == first || i == rest.size() || rest[i] != ';') return 0;
    if (value < 0x20 || value == 0x7F || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
      return 0;
    cp = value;
    return i + 2;
  }
  for (const NamedReference& named : kNamed) {
    if (rest.size() > named.name.size() && rest.substr(0, named.name.size()) == named.name &&
        rest[named.name.size()] == ';') {
      cp = named.cp;
      return named.name.size() + 2;
    }
  }
  return 0;
}

}  // namespace

bool HtmlIsText(std::string_view sjis, bool name) {
  return sjis.find('&') == std::string_view::npos &&
         (!name || (sjis.find('\\') == std::string_view::npos &&
                    sjis.compare(0, 4, kMarkerCharacters) != 0));
}

std::string DecodeHtml(std::string_view sjis, bool name) {
  if (HtmlIsText(sjis, name)) return std::string(sjis);
  std::string out;
  out.reserve(sjis.size() + 8);
  std::vector<std::size_t> ampersands;  // where an "&" of the text itself was put
  for (std::size_t i = 0; i < sjis.size();) {
    const unsigned char b = static_cast<unsigned char>(sjis[i]);
    if (platform::IsLeadByte(b) && i + 1 < sjis.size() &&
        platform::IsTrailByte(static_cast<unsigned char>(sjis[i + 1]))) {
      out.append(sjis.substr(i, 2));  // its second byte may be 0x5C without being a "\"
      i += 2;
      continue;
    }
    char32_t cp = b;
    std::size_t length = 1;
    if (b == '&') {
      if (const std::size_t n = HtmlReferenceAt(sjis, i, cp)) length = n;
    }
    i += length;
    if (cp == '&') {
      ampersands.push_back(out.size());
      out.push_back('&');
    } else if (cp == '\\' && name) {
      out += "&#92;";
    } else if (length == 1) {
      out.push_back(static_cast<char>(b));
    } else {
      platform::AppendCodePoint(out, cp);
    }
  }
  // An "&" that now begins what reads as a reference ("&amp;#233;" decoded) is kept as one.
  for (auto it = ampersands.rbegin(); it != ampersands.rend(); ++it) {
    char32_t cp;
    if (platform::ReferenceAt(out, *it, cp)) out.replace(*it, 1, "&#38;");
  }
  // A name that begins with the two characters of the link marker holds the first as its
  // reference (TBookmarkControl::EntryLinkName).
  if (name && out.compare(0, 4, kMarkerCharacters) == 0) out.replace(0, 2, "&#33109;");
  return out;
}

std::string_view StripTags(std::string_view line, std::string& scratch) {
  // The pieces outside tags, from the first ">" on.
  std::string_view only;  // the one piece found so far that is not empty
  bool several = false;
  std::size_t i = line.find('>');
  while (i != std::string_view::npos) {
    ++i;  // after a ">"
    std::size_t end = i;
    while (end < line.size() && line[end] != '<' && line[end] != '>') ++end;
    if (end > i) {
      if (!only.empty() && !several) {
        scratch.assign(only);
        several = true;
      }
      if (several)
        scratch.append(line.substr(i, end - i));
      else
        only = line.substr(i, end - i);
    }
    if (end == line.size()) break;
    i = line[end] == '>' ? end : line.find('>', end + 1);
  }
  return several ? std::string_view(scratch) : only;
}

std::string EscapeHtml(std::string_view sjis, bool name) {
  // None of these bytes is ever the second byte of a two-byte character.
  const std::string_view reserved = name ? "&<>\"" : "&\"";
  if (sjis.find_first_of(reserved) == std::string_view::npos) return std::string(sjis);
  std::string out;
  out.reserve(sjis.size() + 16);
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const char c = sjis[i];
    if (c == '&') {
      char32_t cp;
      const std::size_t n = platform::ReferenceAt(sjis, i, cp);
      if (n == 0 || cp == '&') {
        out += "&amp;";
      } else if (cp == '\\') {
        out.push_back('\\');
      } else {
        out.append(sjis.substr(i, n));
      }
      if (n != 0) i += n - 1;
    } else if (c == '"') {
      out += "&quot;";
    } else if (c == '<' && name) {
      out += "&lt;";
    } else if (c == '>' && name) {
      out += "&gt;";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace lf
