#include "engine/sjis_text.h"

#include <cstring>

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
  // The needle is found where memchr finds one of its bytes: its second where it begins with
  // "\", which stands between every two names of a path (the link marker's is "腕").
  const std::size_t probe = needle.size() > 1 && needle[0] == '\\' ? 1 : 0;
  auto find = [&](std::size_t at) -> std::size_t {
    for (std::size_t k = at + probe; k < text.size();) {
      const void* hit = std::memchr(text.data() + k, needle[probe], text.size() - k);
      if (!hit) break;
      const std::size_t pos = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
      const std::size_t start = pos - probe;
      if (start + needle.size() <= text.size() &&
          std::memcmp(text.data() + start, needle.data(), needle.size()) == 0)
        return start;
      k = pos + 1;
    }
    return std::string_view::npos;
  };
  for (std::size_t pos = find(from); pos != std::string_view::npos; pos = find(pos + 1))
    if (platform::StartsCharacter(text, pos)) return pos;
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
