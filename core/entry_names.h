// The names the pages show for URL entries, cut from the entry text.
#pragma once

#include <string>
#include <string_view>

namespace lf {

// The name of a link as the lists show it: the text after the link marker without ".url" and
// the level character; empty for an entry without a link marker.
std::string LinkCaption(std::string_view entry);

// The text between the link marker and the level character: the link name with its ".url" (for a
// link read from the Favorites, the shortcut file's own name); empty without a link marker.
std::string NameWithSuffix(std::string_view entry);

}  // namespace lf
