#include "platform/collation.h"

#include <cstring>

#include "platform/codepage.h"

namespace platform {
namespace {

// The case-blind comparison of the first n bytes of a and b.
int CompareFolded(std::string_view a, std::string_view b, std::size_t n) {
  bool trail = false;
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    // While the texts agree their byte kinds agree too, so one flag serves both.
    unsigned char ka = trail ? ca : FoldAsciiCase(ca);
    unsigned char kb = trail ? cb : FoldAsciiCase(cb);
    if (ka != kb) return ka < kb ? -1 : 1;
    trail = !trail && IsLeadByte(ca);
  }
  return 0;
}

}  // namespace

std::string SortKey(std::string_view text) {
  std::string key(text);
  bool trail = false;
  for (char& ch : key) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (trail) {
      trail = false;  // second byte of a two-byte character: kept as it is
    } else if (IsLeadByte(c)) {
      trail = true;
    } else {
      ch = static_cast<char>(FoldAsciiCase(c));
    }
  }
  return key;
}

int CompareText(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  if (int folded = CompareFolded(a, b, n)) return folded;
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  int raw = n ? std::memcmp(a.data(), b.data(), n) : 0;
  return raw < 0 ? -1 : raw > 0 ? 1 : 0;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareFolded(a, b, a.size()) == 0;
}

}  // namespace platform
