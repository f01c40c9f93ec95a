// Letter case as the program ignores it, in matching names and in the order in which bookmark
// entries and folder captions are sorted: A-Z count as a-z in single-byte characters and
// two-byte characters compare as they are. In that order "." sorts before "\" (so a folder's
// own entry comes before the entries inside it), and texts equal but for letter case are
// ordered by their bytes, so that the same input always sorts the same way.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The byte with A-Z taken as a-z. Of Shift-JIS text only single-byte characters are folded:
// the second byte of a two-byte character keeps its case, or two different characters would
// fold together.
inline unsigned char FoldAsciiCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// True if the texts are equal when A-Z are taken as a-z in their single-byte characters.
// Both are read from their first byte, so a part cut from a longer text must begin on one of
// its characters.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// Negative, zero or positive as a sorts before, with or after b. Zero only for equal bytes.
int CompareText(std::string_view a, std::string_view b);

// A key whose plain byte order is the case-blind part of CompareText: for texts a and b,
// CompareText(a, b) has the sign of (SortKey(a) <=> SortKey(b)), or of a <=> b where the keys
// are equal. Sorting many texts is faster with keys computed once.
std::string SortKey(std::string_view text);

}  // namespace platform
