// The order in which bookmark entries and folder captions are sorted: letter case is ignored,
// "." sorts before "\" (so a folder's own entry comes before the entries inside it), two-byte
// characters compare as they are, and texts equal but for letter case are ordered by their
// bytes, so that the same input always sorts the same way.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Negative, zero or positive as a sorts before, with or after b. Zero only for equal bytes.
int CompareText(std::string_view a, std::string_view b);

inline bool TextLess(std::string_view a, std::string_view b) { return CompareText(a, b) < 0; }

// A key whose plain byte order is the case-blind part of CompareText: for texts a and b,
// CompareText(a, b) has the sign of (SortKey(a) <=> SortKey(b)), or of a <=> b where the keys
// are equal. Sorting many texts is faster with keys computed once.
std::string SortKey(std::string_view text);

}  // namespace platform
