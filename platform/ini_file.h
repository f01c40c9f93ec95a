// Profile (INI) files with the rules of the Windows profile functions: section and key names
// match without regard to letter case, an absent key reads as the default, and a write
// creates the file, the section and the key as needed or replaces the value in place while
// keeping the rest of the file. Text is bytes (Shift-JIS); written lines end with CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IniFile {
 public:
  // Longest value read, in bytes; longer values are cut.
  static constexpr std::size_t kMaxValue = 2047;

  // Opens the file at a program path; a missing or unreadable file reads as empty.
  explicit IniFile(std::string path);

  const std::string& Path() const { return path_; }
  // Whether the file existed when it was opened or has been written since.
  bool Exists() const { return exists_; }
  // Whether the file began with the UTF-8 byte order mark (which is skipped when reading).
  bool Utf8Bom() const { return utf8Bom_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Decimal, or hexadecimal after "0x"/"0X" (more than two characters) or "$"; anything else,
  // or a number outside the 32-bit range, gives the default.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

  // Store a value and write the whole file at once; throws IoError if the file cannot be
  // written (the file then keeps its previous content as far as the system allows).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);

  // Parses an integer by the rules of ReadInteger.
  static bool ParseInteger(std::string_view text, int& value);

 private:
  struct Found {
    std::ptrdiff_t sectionLine = -1;  // the section's header line
    std::ptrdiff_t keyLine = -1;      // the key's line within it
    std::ptrdiff_t lastLine = -1;     // the section's last non-empty line
  };
  Found Find(std::string_view section, std::string_view key) const;
  void Save();

  std::string path_;
  bool exists_ = false;
  bool utf8Bom_ = false;
  std::vector<std::string> lines_;
};

}  // namespace platform
