// UTF-7 (RFC 2152): the form in which Windows keeps the Unicode copies of a profile file's
// values (the "[InternetShortcut.W]" section of a shortcut), each a line of ASCII.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The UTF-8 text in UTF-7 as Windows writes it: printable ASCII other than "+", "\" and "~",
// tabs and line ends as themselves, "+" as "+-", and every other run of characters in base64
// between "+" and "-" ("+AOk-" for "é"). Bytes that are no UTF-8 become "?".
std::string Utf8ToUtf7(std::string_view utf8);

// The UTF-7 text in UTF-8: false (and out untouched) when it is no UTF-7. ASCII outside base64
// is taken as itself, "\" and "~" too, which strict decoders refuse and other programs write.
bool Utf7ToUtf8(std::string_view utf7, std::string& out);

}  // namespace platform
