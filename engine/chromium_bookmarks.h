// Chromium's "Bookmarks" file (Chrome, Edge, Brave, Vivaldi keep the same): JSON with the
// roots "bookmark_bar", "other" and "synced", which are read as the folders marked as the
// toolbar, "other bookmarks" and the mobile folder; dates are microseconds since 1601.
#pragma once

#include <string>
#include <string_view>

#include "engine/bookmark_list.h"
#include "engine/report.h"
#include "platform/save_file.h"

namespace lf {

// Reads the file into the list and regroups it in order. What a node holds that nothing here
// reads (meta_info, unknown keys) it carries as Prop::Extra, a JSON object in ASCII.
Report ReadChromiumBookmarks(const Io& io, const std::string& path, BookmarkList& list,
                             const std::string& rootName, Order order);

// Writes the list as version 1 of the file with all three roots, an id and a guid for every
// node and the checksum Chromium checks; the file it replaces is kept as its backup. Nodes
// whose guid the replaced file holds get back what they carried from it, and so does the
// file's own data beside the roots. Refused while the profile's browser runs.
Report SaveChromiumBookmarks(const Io& io, const std::string& path, const BookmarkList& list,
                             const platform::SinkFilter& filter);

// Chromium's time (microseconds since 1601-01-01 UTC) as seconds since 1970 in decimal, empty
// for none; and back, "0" for none.
std::string SecondsFromChromiumTime(std::string_view micros);
std::string ChromiumTimeFromSeconds(std::string_view seconds);

// The lock a running browser keeps beside its profiles: the path of the file's profile
// folder's parent "SingletonLock" when it is there, otherwise empty.
std::string ChromiumLockOf(const std::string& path);

}  // namespace lf
