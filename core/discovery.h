// Where page 1 looks for the Netscape bookmark file and the Favorites folder when their
// settings are empty.
#pragma once

#include <string>

#include "core/app_state.h"

namespace lf {

// The folder searched for a bookmark file.
inline constexpr char kNetscapeFolder[] = "C:\\Program Files\\Netscape";

// The path of the last file named exactly "bookmark.htm" met in a depth-first walk of the
// folder (listing order, sub-folders searched where they are listed), or empty. Symbolic
// links are not followed and the walk keeps its own stack, so neither a link loop nor a
// very deep tree can exhaust the program's stack.
std::string FindBookmarkFile(const std::string& folder);

// The Windows folder's "Favorites" folder if it exists, or empty.
std::string FindFavoritesFolder();

// Fills an empty NNFileName or IEDirName with what the two searches find (in memory only);
// true if either was empty, which page 1 shows by turning Label3 red.
bool DiscoverDefaults(Settings& settings);

}  // namespace lf
