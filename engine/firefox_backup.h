// Firefox's bookmark backups (bookmarkbackups/*.jsonlz4: "mozLz40\0", the size of the JSON
// little-endian in four bytes, one LZ4 block; or the same JSON uncompressed), read as Firefox's
// own export of the bookmark file lays them out: the menu's items at the top, the toolbar,
// "other bookmarks" and the mobile folder as folders of their own, marked.
#pragma once

#include <string>
#include <string_view>

#include "engine/bookmark_list.h"
#include "engine/report.h"

namespace lf {

Report ReadFirefoxBackup(const Io& io, const std::string& path, BookmarkList& list,
                         const std::string& rootName, Order order);

// How a root folder of Firefox's, by its guid, is read.
struct FirefoxRoot {
  enum Kind { Contents, Folder, Skipped } kind;
  const char* name;  // of the folder that stands for it
  const char* mark;  // its Prop::Root
};
// The root of that guid; a folder of no root's guid is read as a folder.
FirefoxRoot FirefoxRootOf(std::string_view guid);

}  // namespace lf
