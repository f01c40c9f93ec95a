#include "tests/support/conversion_reference.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <utility>

namespace lftest {
namespace {

// One descriptor per pair of encodings for the whole run: the tests convert millions of
// short texts, and opening a descriptor costs more than converting one.
class Descriptors {
 public:
  ~Descriptors() {
    for (auto& [pair, cd] : open_) iconv_close(cd);
  }
  iconv_t Of(const char* to, const char* from) {
    auto it = open_.find({to, from});
    if (it != open_.end()) return it->second;
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    return open_.emplace(std::make_pair(std::string(to), std::string(from)), cd).first->second;
  }

 private:
  std::map<std::pair<std::string, std::string>, iconv_t> open_;
};

iconv_t Descriptor(const char* to, const char* from) {
  static Descriptors descriptors;
  return descriptors.Of(to, from);
}

}  // namespace

std::optional<std::string> Iconv(const char* to, const char* from, std::string_view text) {
  const iconv_t cd = Descriptor(to, from);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(text.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(text.data());
  std::size_t left = text.size();
  char* dst = out.data();
  std::size_t room = out.size();
  while (left > 0) {
    if (iconv(cd, &src, &left, &dst, &room) != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) return std::nullopt;
    const std::size_t done = static_cast<std::size_t>(dst - out.data());
    out.resize(out.size() * 2);
    dst = out.data() + done;
    room = out.size() - done;
  }
  if (iconv(cd, nullptr, nullptr, &dst, &room) == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(static_cast<std::size_t>(dst - out.data()));
  return out;
}

std::optional<std::string> CharactersOf(std::string_view text, const char* encoding) {
  const std::optional<std::string> utf8 = Iconv("UTF-8", encoding, text);
  if (!utf8) return std::nullopt;
  const std::string& s = *utf8;
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t end = i + 2;
    std::uint32_t cp = 0;
    if (s.compare(i, 2, "&#") == 0)
      while (end < s.size() && end < i + 10 && s[end] >= '0' && s[end] <= '9')
        cp = cp * 10 + static_cast<std::uint32_t>(s[end++] - '0');
    if (end == i + 2 || end == s.size() || s[end] != ';') {
      out.push_back(s[i++]);
      continue;
    }
    const char bytes[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                           static_cast<char>((cp >> 16) & 0xFF), static_cast<char>(cp >> 24)};
    const std::optional<std::string> character = Iconv("UTF-8", "UTF-32LE", {bytes, 4});
    if (!character) return std::nullopt;
    out += *character;
    i = end + 1;
  }
  return out;
}

std::u16string Units(std::string_view utf16le) {
  std::u16string units(utf16le.size() / 2, u'\0');
  for (std::size_t k = 0; k < units.size(); ++k)
    units[k] = static_cast<char16_t>(static_cast<unsigned char>(utf16le[2 * k]) |
                                     (static_cast<unsigned char>(utf16le[2 * k + 1]) << 8));
  return units;
}

}  // namespace lftest
