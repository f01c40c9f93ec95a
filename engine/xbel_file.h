// XBEL 1.0, the XML bookmarks of KDE and of sync tools: folders, bookmarks and separators with
// their titles, descriptions and dates; the toolbar folder is the one with toolbar="yes", as
// KDE's editor marks it.
#pragma once

#include <string>
#include <string_view>

#include "engine/bookmark_list.h"
#include "engine/report.h"
#include "platform/save_file.h"

namespace lf {

// Reads the file into the list and regroups it in order. What an item holds beside what the
// entries hold (its <info>, other attributes) it carries as Prop::Extra: an element <kept>
// with those attributes and children, which only this format's writer writes back.
Report ReadXbelFile(const Io& io, const std::string& path, BookmarkList& list,
                    const std::string& rootName, Order order);

// Writes the list as XBEL 1.0 in UTF-8; the file it replaces is kept as its backup.
Report SaveXbelFile(const Io& io, const std::string& path, const BookmarkList& list,
                    const platform::SinkFilter& filter);

// A date of the file (ISO 8601: "2024-05-01", "2024-05-01T10:20:30Z", with a fraction or an
// offset; or seconds since 1970) as seconds since 1970 in decimal, empty when it is none; and
// back as "YYYY-MM-DDTHH:MM:SSZ".
std::string SecondsFromXbelDate(std::string_view date);
std::string XbelDateFromSeconds(std::string_view seconds);

}  // namespace lf
