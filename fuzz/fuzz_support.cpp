#include "fuzz/fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/system_info.h"

namespace lffuzz {

namespace fs = std::filesystem;

int QuietOwner::MessageBox(const std::string& text, const std::string&, unsigned flags) {
  ++messages;
  if ((flags & 0xF0) == lf::kMbIconError) ++errors;
  last = text;
  return lf::kIdOk;
}

Scratch& Scratch::Get() {
  static Scratch scratch;
  return scratch;
}

Scratch::Scratch() {
  std::error_code ec;
  const std::string parent =
      fs::is_directory("/dev/shm", ec) ? "/dev/shm" : fs::temp_directory_path().string();
  std::string pattern = parent + "/lf-fuzz.XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  top_ = buffer.data();
  base_ = top_ + "/a/b/c/box";
  fs::create_directories(base_);
  platform::SetProgramPath(Path("prog\\linkferry.exe"));
  Reset();
}

Scratch::~Scratch() {
  std::error_code ec;
  fs::remove_all(top_, ec);
}

std::string Scratch::Path(std::string_view relative) const {
  std::string path = platform::Utf8ToCp932(base_);
  if (!relative.empty()) {
    path += '\\';
    path += relative;
  }
  return path;
}

std::string Scratch::Native(std::string_view relative) const {
  std::string path = base_;
  if (!relative.empty()) {
    path += '/';
    path += relative;
  }
  return path;
}

void Scratch::Write(std::string_view relative, std::string_view bytes) const {
  std::ofstream out(Native(relative), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Check(static_cast<bool>(out), "scratch file written", relative);
}

std::string Scratch::Read(std::string_view relative) const {
  std::ifstream in(Native(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Scratch::Reset() const {
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(base_, ec)) {
    // Test runs may have left folders without write permission behind.
    fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(item.path(), ec);
  }
  fs::create_directories(base_ + "/prog", ec);
}

void Scratch::CheckNothingOutside() const {
  Check(ListNames(top_) == "a\n", "nothing made beside the scratch folder", ListNames(top_));
  Check(ListNames(top_ + "/a") == "b\n", "nothing made beside the scratch folder");
  Check(ListNames(top_ + "/a/b") == "c\n", "nothing made beside the scratch folder");
  Check(ListNames(top_ + "/a/b/c") == "box\n", "nothing made beside the scratch folder");
}

std::string ListNames(const std::string& nativeFolder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(nativeFolder, ec))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const std::string& n : names) out += n + "\n";
  return out;
}

void Check(bool condition, const char* what, std::string_view detail) {
  if (condition) return;
  std::fprintf(stderr, "\ncheck failed: %s\n", what);
  if (!detail.empty()) {
    std::string shown;
    for (unsigned char c : detail) {
      if (c >= 0x20 && c < 0x7F) {
        shown += static_cast<char>(c);
      } else {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        shown += hex;
      }
    }
    std::fprintf(stderr, "  %s\n", shown.c_str());
  }
  std::abort();
}

void CheckEntriesUnder(const lf::BookmarkList& list, const std::string& rootPath) {
  const std::string prefix = rootPath + "\\";
  for (const std::string& entry : list)
    Check(entry.compare(0, prefix.size(), prefix) == 0, "entry under the root path", entry);
}

bool IsLevelChar(std::string_view text, std::size_t pos) {
  return pos < text.size() && lf::LevelValue(text[pos]) >= 0;
}

bool LevelsMatchPaths(const lf::BookmarkList& list, const std::string& rootPath) {
  const std::string marker(lf::kLinkMarker);
  std::set<std::string> folders;  // path and level character of every folder entry
  for (const std::string& entry : list)
    if (entry.size() > 5 && entry.compare(entry.size() - 5, 4, ".dir") == 0 &&
        entry.find(marker) == std::string::npos)
      folders.insert(entry.substr(0, entry.size() - 5) + entry.back());
  for (const std::string& entry : list) {
    std::string key, url;
    lf::TBookmarkControl::SplitEntry(entry, key, url);
    if (key.size() <= rootPath.size() || !IsLevelChar(key, key.size() - 1)) return false;
    const std::size_t link = key.find(marker);
    if (link != std::string::npos && url.empty()) return false;  // a folder named like a link
    int steps = 0;
    std::size_t last = 0;  // the "\" before the entry's own name
    for (std::size_t i = rootPath.size(); i < key.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(key[i]);
      if (platform::IsLeadByte(c)) {
        ++i;
      } else if (c == '\\' && (link == std::string::npos || i <= link)) {
        ++steps;
        last = i;
      }
    }
    const int level = lf::LevelValue(key.back());
    if (steps != level + 1) return false;
    if (level > 0 && !folders.count(key.substr(0, last) + lf::LevelChar(level - 1)))
      return false;
  }
  return true;
}

}  // namespace lffuzz
