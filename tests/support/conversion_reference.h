// The text conversions character by character, each written the plain way: one decision per
// character, appended to a string. For comparing the table-driven conversions with on random
// text.
#pragma once

#include <string>
#include <string_view>

namespace lftest {

// platform::Cp932ToUtf8 and, with exact, platform::Cp932ToUtf8Exact (false for bytes that are
// no character).
bool Cp932ToUtf8Reference(std::string_view sjis, std::string& out, bool exact, bool paths);
// platform::Utf8ToCp932 and platform::Utf8ToCp932Exact.
bool Utf8ToCp932Reference(std::string_view utf8, std::string& out, bool exact, bool paths);
// TBookmarkControl::Utf8ToSjis (asText) and lf::Utf8MarkupToSjis.
std::string Utf8ToSjisReference(std::string_view utf8, bool asText);
std::string EucToSjisReference(std::string_view euc);
std::string SjisToEucReference(std::string_view sjis);

}  // namespace lftest
