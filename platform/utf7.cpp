#include "platform/utf7.h"

#include <errno.h>
#include <iconv.h>

#include <stdexcept>

namespace platform {
namespace {

// The characters Windows writes as themselves.
bool Direct(unsigned char c) {
  return (c >= 0x20 && c <= 0x7E && c != '+' && c != '\\' && c != '~') || c == '\t' || c == '\r' ||
         c == '\n';
}

bool Base64(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '/';
}

// Appends the whole text converted by the system's iconv; false when the text is not of its
// encoding (what was converted before the fault is appended all the same).
bool Convert(const char* to, const char* from, std::string_view text, std::string& out) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error(std::string("iconv does not convert ") + from + " to " + to);
  char* src = const_cast<char*>(text.data());
  std::size_t left = text.size();
  bool ok = true;
  char buffer[256];
  while (ok) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    // At the end of the text, the call without input ends an open run of base64 with its "-".
    const bool end = left == 0;
    const std::size_t rc =
        end ? iconv(cd, nullptr, nullptr, &dst, &room) : iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) ok = false;
    if (end && rc != static_cast<std::size_t>(-1)) break;
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

std::string Utf8ToUtf7(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 8);
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (Direct(c)) {
      out.push_back(static_cast<char>(c));
      ++i;
    } else if (c == '+') {
      out.append("+-");
      ++i;
    } else {
      std::size_t end = i + 1;
      while (end < utf8.size() && !Direct(static_cast<unsigned char>(utf8[end])) &&
             utf8[end] != '+')
        ++end;
      std::string run;
      if (Convert("UTF-7", "UTF-8", utf8.substr(i, end - i), run))
        out += run;
      else
        out.push_back('?');
      i = end;
    }
  }
  return out;
}

bool Utf7ToUtf8(std::string_view utf7, std::string& out) {
  std::string text;
  text.reserve(utf7.size());
  for (std::size_t i = 0; i < utf7.size();) {
    const unsigned char c = static_cast<unsigned char>(utf7[i]);
    if (c >= 0x80) return false;
    if (c != '+') {
      text.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < utf7.size() && Base64(static_cast<unsigned char>(utf7[end]))) ++end;
    const bool closed = end < utf7.size() && utf7[end] == '-';
    if (end == i + 1) {
      if (!closed) return false;  // a "+" that begins nothing
      text.push_back('+');
    } else {
      std::string run(utf7.substr(i, end - i));
      run.push_back('-');
      if (!Convert("UTF-8", "UTF-7", run, text)) return false;
    }
    i = end + (closed ? 1 : 0);
  }
  out = std::move(text);
  return true;
}

}  // namespace platform
