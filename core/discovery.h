// Where page 1 looks for the Netscape bookmark file and the Favorites folder when their
// settings are empty, and the bookmark files of today's browsers that the settings offer.
#pragma once

#include <string>
#include <vector>

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

// The bookmark files of today's browsers found for the user: the "Bookmarks" file of every
// profile of Chromium, Chrome, Edge, Brave and Vivaldi in the user's settings folder
// (~/.config), then the newest backup (bookmarkbackups/*.jsonlz4) of every Firefox profile
// that ~/.mozilla/firefox/profiles.ini names. Program paths, in this order.
std::vector<std::string> FindBrowserBookmarkFiles();

// Fills an empty NNFileName with the bookmark file found below the Netscape folder or, without
// one, the first browser file found, and an empty IEDirName with the Favorites folder (in
// memory only); true if either was empty, which page 1 shows by turning Label3 red.
bool DiscoverDefaults(Settings& settings);

}  // namespace lf
