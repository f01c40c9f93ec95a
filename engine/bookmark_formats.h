// The formats the bookmark file slot takes beside the Netscape file, told apart by what a file
// holds; a file not there yet by its name. Every read and write of "the bookmark file" goes
// through ReadBookmarkFileAs / SaveBookmarkFileAs.
#pragma once

#include <string>

#include "engine/bookmark_list.h"
#include "engine/report.h"
#include "engine/ui.h"
#include "platform/save_file.h"

namespace lf {

enum class BookmarkFormat {
  Netscape,       // the Netscape bookmark file (HTML)
  Chromium,       // the "Bookmarks" JSON file of a Chromium profile
  Xbel,           // XBEL 1.0
  FirefoxBackup,  // a Firefox backup: ".jsonlz4", or the same JSON uncompressed; read only
  FirefoxPlaces,  // Firefox's places.sqlite; read only
};

// The format of the file at path by its first bytes; a file that is not there or is empty by
// its name: ".json" or the name "Bookmarks" Chromium's, ".xbel" XBEL, anything else the
// Netscape file.
BookmarkFormat BookmarkFormatOf(const std::string& path);

// Reads the file, in a format other than the Netscape file's, into the list, as the bookmark
// file reader does (the tree filled when given; the list regrouped in order).
Report ReadBookmarkFileAs(BookmarkFormat format, const Io& io, const std::string& path,
                          BookmarkList& list, const std::string& rootName, TreeView* tree,
                          Order order);
// Writes the list in a format other than the Netscape file's; the formats that are read only
// are refused, and so nothing of them is replaced.
Report SaveBookmarkFileAs(BookmarkFormat format, const Io& io, const std::string& path,
                          const BookmarkList& list, const platform::SinkFilter& filter);

}  // namespace lf
