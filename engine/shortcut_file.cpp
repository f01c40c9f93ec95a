#include "engine/shortcut_file.h"

#include <cerrno>
#include <charconv>
#include <cstdint>

#include "engine/bookmark_control.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/utf7.h"

namespace lf {
namespace {

// The section of a shortcut's values, and the two Windows adds where a value holds what the
// code page cannot: a copy of the value's line as Windows wrote it ("A"), and the value in
// UTF-7 ("W"), which Windows reads instead as long as the copy matches the line.
constexpr std::string_view kSection = "InternetShortcut";
constexpr std::string_view kLineCopy = "InternetShortcut.A";
constexpr std::string_view kUnicode = "InternetShortcut.W";

std::string_view Trim(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::string_view();
  return text.substr(start, text.find_last_not_of(" \t") + 1 - start);
}

// Where the value of a key of a section lies in the content, by the rules of profile files
// (names in any letter case, blanks around them, the first section of the name the one that
// counts, a byte order mark no part of the first line); npos for a file without one. at is
// where a new line of the key would go otherwise (after the section's header, or at the end).
struct ValueAt {
  std::size_t begin = std::string::npos;
  std::size_t end = std::string::npos;
  std::size_t at = std::string::npos;
};

ValueAt FindValue(std::string_view content, std::string_view section, std::string_view key) {
  ValueAt found;
  bool inSection = false;
  std::size_t pos = content.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (pos < content.size()) {
    std::size_t eol = content.find_first_of("\r\n", pos);
    if (eol == std::string::npos) eol = content.size();
    const std::string_view line = Trim(content.substr(pos, eol - pos));
    std::size_t next = eol;
    while (next < content.size() && (content[next] == '\r' || content[next] == '\n') &&
           next < eol + 2)
      ++next;
    if (!line.empty() && line.front() == '[') {
      if (inSection) return found;
      const std::size_t close = line.find(']');
      inSection = close != std::string_view::npos &&
                  platform::SameIgnoringAsciiCase(Trim(line.substr(1, close - 1)), section);
      if (inSection) found.at = next;
    } else if (inSection) {
      const std::size_t equals = line.find('=');
      if (equals != std::string_view::npos &&
          platform::SameIgnoringAsciiCase(Trim(line.substr(0, equals)), key)) {
        found.begin = content.find('=', pos) + 1;
        found.end = eol;
        return found;
      }
    }
    pos = next;
  }
  return found;
}

// Sets the value of a key of a section in the content: in place where the key is, as a line
// of its own after the section's header where only the section is, else in a new section at
// the end. Every other byte stays.
void SetValue(std::string& content, std::string_view section, std::string_view key,
              std::string_view text) {
  const ValueAt value = FindValue(content, section, key);
  if (value.begin != std::string::npos) {
    content.replace(value.begin, value.end - value.begin, text);
    return;
  }
  const std::string line = std::string(key) + "=" + std::string(text) + "\r\n";
  if (value.at != std::string::npos) {
    content.insert(value.at, line);
    return;
  }
  if (!content.empty() && content.back() != '\n') content += "\r\n";
  content.append(1, '[').append(section).append("]\r\n").append(line);
}

// The text without line ends: a value of a profile file is one line, and a line end in one
// would give the shortcut lines of its own (another address, an icon from elsewhere). A
// browser drops them from an address too. buffer holds the text where it had any.
std::string_view OneLine(std::string_view text, std::string& buffer) {
  if (text.find_first_of("\r\n") == std::string_view::npos) return text;
  buffer.assign(text);
  std::erase(buffer, '\r');
  std::erase(buffer, '\n');
  return buffer;
}

// True when the program's text holds a character that code page 932 has not (a reference
// other than those of "&", "\" and "腕", which the code page holds).
bool BeyondCodePage(std::string_view text) {
  for (std::size_t i = text.find('&'); i != std::string_view::npos; i = text.find('&', i + 1)) {
    char32_t cp;
    if (platform::ReferenceAt(text, i, cp) && cp != '&' && cp != '\\' && cp != 0x8155) return true;
  }
  return false;
}

// The program's text as the line of a value that is no address holds it: in the code page,
// what lies beyond it as "?", as Windows writes it there.
std::string LineText(std::string_view text) {
  if (text.find('&') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp;
    if (const std::size_t n = text[i] == '&' ? platform::ReferenceAt(text, i, cp) : 0) {
      std::string character;
      platform::AppendCodePoint(character, cp);
      out += character.size() > 1 && character.front() == '&' ? std::string("?") : character;
      i += n - 1;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// The program's text in UTF-7, for a shortcut's Unicode section.
std::string UnicodeText(std::string_view text) {
  return platform::Utf8ToUtf7(platform::Cp932ToUtf8(text));
}

// A value of a shortcut as the program keeps it: the Unicode copy, where there is one and the
// copy of the line (where there is one) is the line as it stands, for otherwise a program that
// knows only the line changed it since; else the line, in the file's own text.
std::string ValueOf(const platform::IniFile& file, std::string_view key) {
  const std::string line = file.ReadString(kSection, key, "");
  if (const std::string unicode = file.ReadString(kUnicode, key, ""); !unicode.empty()) {
    static constexpr std::string_view kNone = "\n";  // no value read holds a line end
    const std::string copy = file.ReadString(kLineCopy, key, kNone);
    std::string utf8, buffer;
    if ((copy == kNone || copy == line) && platform::Utf7ToUtf8(unicode, utf8))
      return TBookmarkControl::Utf8ToSjis(OneLine(utf8, buffer));
  }
  // A shortcut with a byte order mark, or whose value is UTF-8 (as other programs write them
  // on systems without code page 932), is UTF-8; any other is Shift-JIS.
  const bool utf8 = file.Utf8Bom() || (!platform::IsAscii(line) && platform::IsUtf8(line));
  return utf8 ? TBookmarkControl::Utf8ToSjis(line) : platform::ProtectAmpersands(line);
}

// A new shortcut as Windows writes one: the address and the icon the link carries, and where
// a value holds what the code page cannot, the copy of its line and the value in Unicode.
std::string NewShortcut(std::string_view url, const EntryProps& props) {
  std::string content = "[InternetShortcut]\r\n", copies, unicode;
  const auto add = [&](std::string_view key, const std::string& line, std::string_view text) {
    const std::string keyed = std::string(key) + "=";
    content.append(keyed).append(line).append("\r\n");
    if (!BeyondCodePage(text)) return;
    copies.append(keyed).append(line).append("\r\n");
    unicode.append(keyed).append(UnicodeText(text)).append("\r\n");
  };
  add("URL", ShortcutAddress(url), url);
  std::string buffer;
  if (const std::string_view icon = OneLine(props.Get(Prop::IconFile), buffer); !icon.empty())
    add("IconFile", LineText(icon), icon);
  int index;
  if (const std::string_view number = props.Get(Prop::IconIndex);
      platform::IniFile::ParseInteger(number, index))
    add("IconIndex", std::string(number), number);
  if (unicode.empty()) return content;
  return content + "[InternetShortcut.A]\r\n" + copies + "[InternetShortcut.W]\r\n" + unicode;
}

// The content with the address as its URL value, in the file's own text: UTF-8 where the
// file is (a byte order mark, or an address in UTF-8 already), else as a new shortcut holds it.
// The copies of the line Windows reads the address from stay in step with it: where the file
// has them, and where the address needs them.
std::string WithAddress(const std::string& content, std::string_view url) {
  const ValueAt value = FindValue(content, kSection, "URL");
  const bool bom = content.compare(0, 3, "\xEF\xBB\xBF") == 0;
  std::string_view old;
  if (value.begin != std::string::npos)
    old = std::string_view(content).substr(value.begin, value.end - value.begin);
  const bool utf8 = bom || (!platform::IsAscii(old) && platform::IsUtf8(old));
  const std::string text = utf8 ? platform::Cp932ToUtf8(url) : ShortcutAddress(url);
  std::string out = content;
  SetValue(out, kSection, "URL", text);
  const bool unicode = !utf8 && BeyondCodePage(url);
  if (unicode || FindValue(out, kLineCopy, "URL").begin != std::string::npos)
    SetValue(out, kLineCopy, "URL", text);
  if (unicode || FindValue(out, kUnicode, "URL").begin != std::string::npos)
    SetValue(out, kUnicode, "URL", UnicodeText(url));
  return out;
}

}  // namespace

void StampWithDate(const std::string& path, const EntryProps& props) {
  const std::string_view added = props.Get(Prop::Added);
  std::int64_t seconds = 0;
  const auto [end, error] = std::from_chars(added.data(), added.data() + added.size(), seconds);
  // A file system that keeps no such time loses only the date: the item itself is written.
  if (error == std::errc() && end == added.data() + added.size() && seconds > 0)
    platform::SetModifiedTime(path, seconds);
}

void ReadDateOfFile(const std::string& path, EntryProps& props) {
  std::int64_t seconds = 0;
  if (platform::ModifiedTime(path, seconds) == 0 && seconds > 0)
    props.Set(Prop::Added, std::to_string(seconds));
}

std::string ReadShortcut(const std::string& path, EntryProps* props) {
  const platform::IniFile file(path);
  std::string url = ValueOf(file, "URL");
  if (url.find("vnd.ms.radio") != std::string::npos) return std::string();
  if (props && !url.empty()) {
    props->Set(Prop::IconFile, ValueOf(file, "IconFile"));
    props->Set(Prop::IconIndex, file.ReadString(kSection, "IconIndex", ""));
    ReadDateOfFile(path, *props);
  }
  return url;
}

ShortcutPlace PlaceOf(const std::string& file, std::string_view url,
                      const std::unordered_set<std::string>* own) {
  if (platform::IsSymbolicLink(file)) return ShortcutPlace::Taken;
  if (!platform::PathExists(file)) return ShortcutPlace::Free;
  if (platform::DirectoryExists(file)) return ShortcutPlace::Taken;
  const bool ours = own && own->contains(file);
  const std::string held = ReadShortcut(file);
  std::string buffer;
  if (!held.empty() && held == OneLine(url, buffer)) return ShortcutPlace::Same;
  return ours ? ShortcutPlace::Ours : ShortcutPlace::Taken;
}

int WriteShortcut(const std::string& file, std::string_view url, const EntryProps& props,
                  const platform::SinkFilter& filter) {
  std::string buffer;
  url = OneLine(url, buffer);
  try {
    platform::WriteNewFile(file, NewShortcut(url, props), filter);
    StampWithDate(file, props);
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
  StampWithDate(file, props);
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
