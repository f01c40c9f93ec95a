// Profile files on raw bytes. The input is a section, a key and a value, each ended by a NUL
// byte, followed by the file: the key is read, then written with the value, and read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"

namespace {

// The next field ended by a NUL byte (or the rest of the input).
std::string_view Field(std::string_view& input) {
  const std::size_t end = input.find('\0');
  std::string_view field = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return field;
}

bool Blank(char c) {
  return c == ' ' || c == '\t';
}

// A name or value that a profile file stores and gives back unchanged: one line, no blanks
// at its ends, no quotes around it, not longer than a value may be.
bool Storable(std::string_view text, std::string_view forbidden) {
  if (text.find_first_of("\r\n") != std::string_view::npos) return false;
  if (text.find_first_of(forbidden) != std::string_view::npos) return false;
  if (!text.empty() && (Blank(text.front()) || Blank(text.back()))) return false;
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front())
    return false;
  return text.size() <= platform::IniFile::kMaxValue;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lffuzz;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string section(Field(input));
  const std::string key(Field(input));
  const std::string value(Field(input));
  const std::string content(input);

  const Scratch& scratch = Scratch::Get();
  scratch.Reset();
  scratch.Write("linkferry.ini", content);
  const std::string path = scratch.Path("linkferry.ini");

  platform::IniFile ini(path);
  Check(ini.Exists(), "an existing file exists");
  const std::string before = ini.ReadString(section, key, "default");
  Check(before.size() <= platform::IniFile::kMaxValue, "values are cut to their limit");
  int number = 0;
  number = ini.ReadInteger(section, key, -7);
  (void)number;

  try {
    ini.WriteString(section, key, value);
  } catch (const platform::IoError&) {
    Check(false, "writing a profile file in a writable folder");
  }
  Check(ListNames(scratch.Native()) == "linkferry.ini\nprog\n", "no file left beside it");

  // What a key line cannot hold: a section name with "]", a key with "=" or beginning with
  // "[" (it would be read as a section).
  const bool sectionOk = Storable(section, "]") && !section.empty() && section.front() != '[';
  const bool keyOk = Storable(key, "=") && !key.empty() && key.front() != '[' && key.front() != ';';
  if (sectionOk && keyOk && Storable(value, "")) {
    platform::IniFile again(path);
    Check(again.ReadString(section, key, "default") == value, "a written value reads back",
          section + "|" + key + "|" + value);
    Check(ini.ReadString(section, key, "default") == value, "and in the same object");
  }
  scratch.CheckNothingOutside();
  return 0;
}
