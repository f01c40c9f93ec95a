#include "platform/ini_file.h"

#include <cerrno>
#include <climits>

#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/save_file.h"

namespace platform {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The section name of a header line, or false if the line is none.
bool SectionOf(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  std::size_t close = line.find(']');
  name = Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
  return true;
}

// Key and value of a key line, or false if the line has no "=".
bool KeyOf(std::string_view line, std::string_view& key, std::string_view& value) {
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  std::string content;
  if (ReadWholeFile(path_, content) != 0) return;
  exists_ = true;
  // A byte order mark is no part of the first line: without this the first section would not
  // be found. It is not written back.
  std::size_t start = 0;
  if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    utf8Bom_ = true;
    start = 3;
  }
  while (start < content.size()) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string::npos) end = content.size();
    lines_.emplace_back(content, start, end - start);
    if (end < content.size() && content[end] == '\r' && end + 1 < content.size() &&
        content[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
}

IniFile::Found IniFile::Find(std::string_view section, std::string_view key) const {
  Found found;
  section = Trim(section);
  key = Trim(key);
  bool inside = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view name;
    if (SectionOf(lines_[i], name)) {
      if (inside) break;  // the first section of that name is the one used
      inside = SameIgnoringAsciiCase(name, section);
      if (inside) found.sectionLine = found.lastLine = static_cast<std::ptrdiff_t>(i);
      continue;
    }
    if (!inside) continue;
    if (!Trim(lines_[i]).empty()) found.lastLine = static_cast<std::ptrdiff_t>(i);
    std::string_view k, v;
    if (found.keyLine < 0 && KeyOf(lines_[i], k, v) && SameIgnoringAsciiCase(k, key))
      found.keyLine = static_cast<std::ptrdiff_t>(i);
  }
  return found;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  Found found = Find(section, key);
  if (found.keyLine < 0) return std::string(defaultValue.substr(0, kMaxValue));
  std::string_view k, value;
  KeyOf(lines_[static_cast<std::size_t>(found.keyLine)], k, value);
  // A value in matching quotes is read without them.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, kMaxValue));
}

bool IniFile::ParseInteger(std::string_view text, int& value) {
  if (text.empty()) return false;
  long long result = 0;
  std::size_t i = 0;
  bool hex = false;
  if (text[0] == '$') {
    hex = true;
    i = 1;
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    i = 2;
  }
  if (hex) {
    if (i >= text.size()) return false;
    for (; i < text.size(); ++i) {
      char c = text[i];
      int digit = (c >= '0' && c <= '9')   ? c - '0'
                  : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                  : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                           : -1;
      if (digit < 0) return false;
      result = result * 16 + digit;
      if (result > 0xFFFFFFFFLL) return false;
    }
    value = static_cast<int>(static_cast<unsigned int>(result));  // $FFFFFFFF is -1
    return true;
  }
  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i >= text.size()) return false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
    if (result > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) result = -result;
  if (result > INT_MAX || result < INT_MIN) return false;
  value = static_cast<int>(result);
  return true;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  int value = defaultValue;
  if (!ParseInteger(ReadString(section, key, ""), value)) return defaultValue;
  return value;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::vector<std::string> previous = lines_;
  Found found = Find(section, key);
  std::string line = std::string(Trim(key)) + "=" + std::string(value);
  if (found.keyLine >= 0) {
    // Keep the key as the file spells it.
    std::string& old = lines_[static_cast<std::size_t>(found.keyLine)];
    std::string_view k, v;
    KeyOf(old, k, v);
    old = std::string(k) + "=" + std::string(value);
  } else if (found.sectionLine >= 0) {
    lines_.insert(lines_.begin() + found.lastLine + 1, line);
  } else {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(Trim(section)) + "]");
    lines_.push_back(line);
  }
  try {
    Save();
  } catch (...) {
    lines_ = std::move(previous);
    throw;
  }
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::Save() {
  std::string content;
  for (const std::string& line : lines_) {
    content += line;
    content += "\r\n";
  }
  try {
    SaveFile(path_, [&](ByteSink& sink) { sink.Write(content); });
  } catch (const IoError& e) {
    // A folder the user may not write to can still hold a file the user may: where no new
    // file can be made beside it, the file is rewritten in place.
    if (e.code() != EACCES && e.code() != EPERM && e.code() != EROFS) throw;
    File file(path_, File::Mode::Create);
    file.Write(content);
    file.Close();
  }
  exists_ = true;
}

}  // namespace platform
