// Bookmark lists of a given size that look like real ones: Japanese and English names,
// folders nested up to six deep, a few hundred links per folder at most.
#pragma once

#include <cstddef>
#include <string>

#include "engine/bookmark_list.h"

namespace lfbench {

// A regrouped list of about `links` URL entries under the root path, deterministic for a
// given size.
lf::BookmarkList GeneratedList(std::size_t links, const std::string& root = "C:\\WINDOWS\\Favorites");

// Gives every link what a browser's export gives it: a date added, a keyword and an icon's
// address, different for each.
void GiveLinksProps(lf::BookmarkList& list);

// A Japanese-looking Shift-JIS name for item number i.
std::string JapaneseName(std::size_t i);

}  // namespace lfbench
