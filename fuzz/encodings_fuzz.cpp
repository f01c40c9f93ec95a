// The four text conversions on raw bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/bookmark_control.h"
#include "engine/html_text.h"
#include "fuzz/fuzz_support.h"
#include "platform/codepage.h"

namespace {

using lf::TBookmarkControl;

bool Ascii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

// The JIS X 0208 characters and half-width katakana of the input (Shift-JIS pairs whose
// first byte is 0x81-0x9F or 0xE0-0xEF), and its ASCII: what EUC-JP can hold.
std::string JisPart(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF);
    if (lead && i + 1 < text.size()) {
      const unsigned char t = static_cast<unsigned char>(text[i + 1]);
      if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) out.append(text, i, 2);
      ++i;
    } else if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using lffuzz::Check;
  const std::string text(reinterpret_cast<const char*>(data), size);

  const std::string fromUtf8 = TBookmarkControl::Utf8ToSjis(text);
  const std::string toUtf8 = TBookmarkControl::SjisToUtf8(text);
  const std::string fromEuc = TBookmarkControl::EucToSjis(text);
  const std::string toEuc = TBookmarkControl::SjisToEuc(text);

  // A character beyond Shift-JIS is kept as its reference ("&#2047;" for two bytes at most),
  // an "&" that would read as one as "&#38;".
  Check(fromUtf8.size() <= 4 * text.size(), "at most four bytes per UTF-8 byte");
  // No broken sequence takes an ASCII byte with it: every one comes out again.
  auto ascii = [](const std::string& s) {
    return std::count_if(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
  };
  Check(ascii(fromUtf8) >= ascii(text), "every ASCII byte of UTF-8 input kept");
  Check(toUtf8.size() <= 3 * text.size(), "at most three bytes per character");
  Check(fromEuc.size() <= 3 * text.size(), "a JIS X 0212 character as its reference at most");
  Check(toEuc.size() <= 4 * text.size(), "a character EUC-JP lacks as its reference at most");
  if (Ascii(text) && text.find("&#") == std::string::npos) {
    Check(fromUtf8 == text && toUtf8 == text && fromEuc == text && toEuc == text,
          "ASCII passes unchanged", text);
  }

  // Nothing is lost: every UTF-8 text comes back from Shift-JIS as itself, and so does every
  // native name from a program path.
  if (platform::IsUtf8(text)) {
    Check(TBookmarkControl::SjisToUtf8(fromUtf8) == text, "UTF-8 through Shift-JIS and back", text);
    std::string path, native;
    Check(platform::Utf8ToCp932Exact(text, path, true) &&
              platform::Cp932ToUtf8Exact(path, native, true) && native == text,
          "a native path through a program path and back", text);
    // The text of a name or an address comes back from a bookmark file as itself.
    const std::string name = TBookmarkControl::EntryLinkName(fromUtf8);
    Check(lf::DecodeHtml(lf::EscapeHtml(name, true), true) == name, "a name through HTML", name);
    Check(lf::DecodeHtml(lf::EscapeHtml(fromUtf8, false), false) == fromUtf8,
          "an address through HTML", fromUtf8);
  }

  // Every Shift-JIS text of the characters EUC-JP holds comes back from EUC-JP unchanged.
  const std::string jis = JisPart(text);
  Check(TBookmarkControl::EucToSjis(TBookmarkControl::SjisToEuc(jis)) == jis,
        "Shift-JIS through EUC-JP and back", jis);
  // And every text from the code page comes back from UTF-8 unchanged once it has been
  // through UTF-16 (which settles the characters the code page has twice).
  const std::string settled = platform::Utf16ToCp932(platform::Cp932ToUtf16(text));
  Check(TBookmarkControl::Utf8ToSjis(TBookmarkControl::SjisToUtf8(settled)) == settled,
        "Shift-JIS through UTF-8 and back", settled);
  return 0;
}
