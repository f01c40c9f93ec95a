#include "engine/shortcut_file.h"

#include <cerrno>

#include "engine/bookmark_control.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"

namespace lf {
namespace {

std::string_view Trim(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::string_view();
  return text.substr(start, text.find_last_not_of(" \t") + 1 - start);
}

// Where the value of the "URL=" key of the "[InternetShortcut]" section lies in the content,
// by the rules of profile files (names in any letter case, blanks around them); npos for a
// file without one. at is where a new "URL=" line would go otherwise (after the section's
// header, or at the end).
struct UrlValue {
  std::size_t begin = std::string::npos;
  std::size_t end = std::string::npos;
  std::size_t at = std::string::npos;
};

UrlValue FindUrlValue(const std::string& content) {
  UrlValue found;
  bool inSection = false;
  for (std::size_t pos = 0; pos < content.size();) {
    std::size_t eol = content.find_first_of("\r\n", pos);
    if (eol == std::string::npos) eol = content.size();
    const std::string_view line = Trim(std::string_view(content).substr(pos, eol - pos));
    std::size_t next = eol;
    while (next < content.size() && (content[next] == '\r' || content[next] == '\n') &&
           next < eol + 2)
      ++next;
    if (!line.empty() && line.front() == '[') {
      const std::size_t close = line.find(']');
      inSection =
          close != std::string_view::npos &&
          platform::SameIgnoringAsciiCase(Trim(line.substr(1, close - 1)), "InternetShortcut");
      if (inSection) found.at = next;
    } else if (inSection) {
      const std::size_t equals = line.find('=');
      if (equals != std::string_view::npos &&
          platform::SameIgnoringAsciiCase(Trim(line.substr(0, equals)), "URL")) {
        const std::size_t raw = content.find('=', pos) + 1;
        found.begin = raw;
        found.end = eol;
        return found;
      }
    }
    pos = next;
  }
  return found;
}

// The content with the address as its URL value, in the file's own text: UTF-8 where the
// file is (a byte order mark, or an address in UTF-8 already), else as a new shortcut holds it.
std::string WithAddress(const std::string& content, std::string_view url) {
  const UrlValue value = FindUrlValue(content);
  const bool bom = content.compare(0, 3, "\xEF\xBB\xBF") == 0;
  std::string_view old;
  if (value.begin != std::string::npos)
    old = std::string_view(content).substr(value.begin, value.end - value.begin);
  const bool utf8 = bom || (!platform::IsAscii(old) && platform::IsUtf8(old));
  const std::string text = utf8 ? platform::Cp932ToUtf8(url) : ShortcutAddress(url);
  std::string out = content;
  if (value.begin != std::string::npos)
    return out.replace(value.begin, value.end - value.begin, text);
  const std::string line = "URL=" + text + "\r\n";
  if (value.at != std::string::npos) return out.insert(value.at, line);
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out + "[InternetShortcut]\r\n" + line;
}

}  // namespace

std::string ReadShortcut(const std::string& path) {
  const platform::IniFile file(path);
  std::string url = file.ReadString("InternetShortcut", "URL", "");
  // A shortcut with a byte order mark, or whose address is UTF-8 (as other programs write
  // them on systems without code page 932), is UTF-8; any other is Shift-JIS.
  const bool utf8 = file.Utf8Bom() || (!platform::IsAscii(url) && platform::IsUtf8(url));
  if (url.find("vnd.ms.radio") != std::string::npos) return std::string();
  return utf8 ? TBookmarkControl::Utf8ToSjis(url) : platform::ProtectAmpersands(url);
}

ShortcutPlace PlaceOf(const std::string& file, std::string_view url,
                      const std::unordered_set<std::string>* own) {
  if (platform::IsSymbolicLink(file)) return ShortcutPlace::Taken;
  if (!platform::PathExists(file)) return ShortcutPlace::Free;
  if (platform::DirectoryExists(file)) return ShortcutPlace::Taken;
  const bool ours = own && own->contains(file);
  const std::string held = ReadShortcut(file);
  if (!held.empty() && held == url) return ShortcutPlace::Same;
  return ours ? ShortcutPlace::Ours : ShortcutPlace::Taken;
}

int WriteShortcut(const std::string& file, std::string_view url,
                  const platform::SinkFilter& filter) {
  std::string content = "[InternetShortcut]\r\nURL=";
  content.append(ShortcutAddress(url));
  content.append("\r\n");
  try {
    platform::WriteNewFile(file, content, filter);
    return 0;
  } catch (const platform::IoError& e) {
    if (e.code() != EEXIST) return e.code();
  }
  if (ReadShortcut(file) == url) return 0;
  std::string old;
  if (const int rc = platform::ReadWholeFile(file, old)) return rc;
  try {
    const std::string changed = WithAddress(old, url);
    // Shortcuts are replaced by the thousand, each rebuilt from the list should a crash cut
    // it off: not synced one by one.
    platform::SaveFile(file, [&](platform::ByteSink& sink) { sink.Write(changed); },
                       {std::string(), filter, false});
  } catch (const platform::IoError& e) {
    return e.code();
  }
  return 0;
}

// The address as a shortcut holds it: a character beyond Shift-JIS, kept as its reference,
// as its UTF-8 bytes in percent-encoding, the form an address takes in any code page. An
// address whose Shift-JIS bytes would read as UTF-8 (a shortcut may be either) has all its
// characters beyond ASCII so, so that it reads back as the same address.
std::string ShortcutAddress(std::string_view url) {
  const bool ambiguous = !platform::IsAscii(url) && platform::IsUtf8(url);
  if (url.find('&') == std::string_view::npos && !ambiguous) return std::string(url);
  static constexpr char kHex[] = "0123456789ABCDEF";
  auto percent = [](std::string& out, char32_t cp) {
    std::string utf8;
    platform::AppendUtf8(utf8, cp);
    for (unsigned char b : utf8) {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0xF]);
    }
  };
  std::string out;
  out.reserve(url.size() + 16);
  for (std::size_t i = 0; i < url.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(url[i]);
    char32_t cp;
    if (const std::size_t n = b == '&' ? platform::ReferenceAt(url, i, cp) : 0) {
      i += n - 1;
      if (cp < 0x80)
        out.push_back(static_cast<char>(cp));  // "&" and "\"
      else
        percent(out, cp);
    } else if (ambiguous && b >= 0x80) {
      const std::size_t length = platform::IsLeadByte(b) && i + 1 < url.size() ? 2 : 1;
      const unsigned code = length == 2 ? (b << 8) | static_cast<unsigned char>(url[i + 1]) : b;
      if (const char32_t c = platform::Cp932CodeToUnicode(code))
        percent(out, c);
      else
        out.append(url.substr(i, length));
      i += length - 1;
    } else {
      out.push_back(static_cast<char>(b));
    }
  }
  return out;
}

}  // namespace lf
