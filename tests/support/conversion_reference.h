// The system's iconv(3) as the reference the program's own conversions are compared with: they
// take the code page's table from it and nothing else, so their faults are not its faults.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lftest {

// The whole text converted by iconv from one of its encodings into another; nullopt when
// iconv stops at bytes that are no character of `from` or a character `to` cannot hold.
std::optional<std::string> Iconv(const char* to, const char* from, std::string_view text);

// The characters (in UTF-8) of a conversion's result in an iconv encoding, with each "&#N;"
// as the character N: the program keeps the characters one side cannot hold as references.
// Only for the result of a text that held no "&#", whose every reference the conversion made.
std::optional<std::string> CharactersOf(std::string_view text, const char* encoding);

// UTF-16LE bytes as iconv writes them, as units.
std::u16string Units(std::string_view utf16le);

}  // namespace lftest
