// Firefox's places.sqlite, read only, laid out as its backups are (firefox_backup.h): the
// menu's items at the top, the toolbar, "other bookmarks" and the mobile folder as marked
// folders, with dates, keywords, tags and separators. The database is opened read-only; one
// that Firefox holds locked while it runs is said to be so.
#pragma once

#include <string>

#include "engine/bookmark_list.h"
#include "engine/report.h"

namespace lf {

Report ReadFirefoxPlaces(const Io& io, const std::string& path, BookmarkList& list,
                         const std::string& rootName, Order order);

}  // namespace lf
