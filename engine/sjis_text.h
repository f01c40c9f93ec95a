// Small helpers for Shift-JIS text: the program's literals (written in UTF-8 in the sources)
// and searches that respect two-byte characters.
#pragma once

#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace lf {

// A UTF-8 literal in Shift-JIS, as the program keeps all its text.
std::string Sjis(std::string_view utf8);

// The caption of every message box: "Ｌｉｎｋｆｅｒｒｙ".
const std::string& MessageCaption();

// The five bytes between a folder path and a link name: "\" and twice the character 0x98 0x72.
inline constexpr std::string_view kLinkMarker = "\x5C\x98\x72\x98\x72";

// First occurrence of needle in text that begins on a character of text (never inside a
// two-byte character), or npos.
std::size_t FindCharBoundary(std::string_view text, std::string_view needle, std::size_t from = 0);

// True if the last character of text is a single-byte "\".
bool EndsWithBackslash(std::string_view text);

// The pages and the wizard search paths with it under its engine name.
using platform::FindLastChar;

// The path with the extension of its file name (from the last "." after the last "\" or "/")
// replaced by ext; a name without one gets ext appended.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

}  // namespace lf
