#include "engine/sjis_text.h"

#include "platform/codepage.h"

namespace lf {

std::string Sjis(std::string_view utf8) {
  return platform::Utf8ToCp932(utf8);
}

const std::string& MessageCaption() {
  static const std::string caption = Sjis("Ｌｉｎｋｆｅｒｒｙ");
  return caption;
}

std::size_t FindCharBoundary(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return std::string_view::npos;
  std::size_t boundary = 0;  // the first character start at or after the last one checked
  for (std::size_t pos = text.find(needle, from); pos != std::string_view::npos;
       pos = text.find(needle, pos + 1)) {
    // Walk the characters up to pos to see whether pos starts one.
    while (boundary < pos)
      boundary += platform::IsLeadByte(static_cast<unsigned char>(text[boundary])) ? 2 : 1;
    if (boundary == pos) return pos;
  }
  return std::string_view::npos;
}

bool EndsWithBackslash(std::string_view text) {
  if (text.empty() || text.back() != '\\') return false;
  return platform::ClassifyByte(text, text.size() - 1) == platform::ByteKind::Single;
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::size_t nameStart = FindLastChar(path, "\\/:");
  nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
  std::size_t dot = FindLastChar(path.substr(nameStart), ".");
  std::string result(dot == std::string_view::npos ? path : path.substr(0, nameStart + dot));
  result += ext;
  return result;
}

}  // namespace lf
