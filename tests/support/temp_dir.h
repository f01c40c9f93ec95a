// A temporary folder for one test, removed with everything in it at the end, and small file
// helpers that work on native paths.
#pragma once

#include <string>
#include <string_view>

namespace lftest {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Native (UTF-8) path of the folder.
  const std::string& Native() const { return native_; }
  // The program's (Shift-JIS) form of the folder, or of a name below it given in UTF-8
  // with "/" between components.
  std::string Path(std::string_view relativeUtf8 = {}) const;
  // Native path of a name below the folder (UTF-8, "/" between components).
  std::string NativePath(std::string_view relativeUtf8) const;

 private:
  std::string native_;
};

// Writes (making the folders on the way) / reads a whole file by native path.
void WriteFile(const std::string& nativePath, std::string_view bytes);
std::string ReadFile(const std::string& nativePath);
bool Exists(const std::string& nativePath);
void MakeDirs(const std::string& nativePath);

// Text conversions for readable tests: UTF-8 literal to Shift-JIS and back.
std::string S(std::string_view utf8);
std::string U(std::string_view sjis);

}  // namespace lftest
