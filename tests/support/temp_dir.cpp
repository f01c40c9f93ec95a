#include "tests/support/temp_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "platform/codepage.h"

namespace lftest {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lftest.XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  native_ = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  // Folders made read-only by a test must be writable again to be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(native_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(native_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(native_, ec);
}

std::string TempDir::Path(std::string_view relativeUtf8) const {
  std::string path = platform::Utf8ToCp932(native_);
  if (!relativeUtf8.empty()) {
    std::string rel = platform::Utf8ToCp932(relativeUtf8);
    path += "\\";
    for (char c : rel) path += (c == '/') ? '\\' : c;
  }
  return path;
}

std::string TempDir::NativePath(std::string_view relativeUtf8) const {
  return native_ + "/" + std::string(relativeUtf8);
}

void WriteFile(const std::string& nativePath, std::string_view bytes) {
  std::filesystem::create_directories(std::filesystem::path(nativePath).parent_path());
  std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + nativePath);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + nativePath);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& nativePath) {
  struct stat st;
  return lstat(nativePath.c_str(), &st) == 0;
}

void MakeDirs(const std::string& nativePath) { std::filesystem::create_directories(nativePath); }

std::string S(std::string_view utf8) { return platform::Utf8ToCp932(utf8); }
std::string U(std::string_view sjis) { return platform::Cp932ToUtf8(sjis); }

}  // namespace lftest
