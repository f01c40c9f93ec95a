// What a target cannot hold of what entries carry: a hotlist has no tags, the Favorites no
// keywords or separators. A writer writes what it can and says, counted by kind, what it left
// out; that is no error, only something the user should know. A browser's identities and
// fields of its own are not counted: they are no part of what the user sees.
#pragma once

#include <string>

#include "engine/bookmark_list.h"
#include "engine/report.h"

namespace lf {

// What a target holds, as a set of these.
enum Holds : unsigned {
  kHoldsSeparators = 1u << 0,
  kHoldsKeywords = 1u << 1,
  kHoldsTags = 1u << 2,
  kHoldsDescriptions = 1u << 3,
  kHoldsIcons = 1u << 4,      // icon data and where it comes from
  kHoldsIconFiles = 1u << 5,  // a shortcut's icon file
  kHoldsAdded = 1u << 6,
  kHoldsVisited = 1u << 7,
  kHoldsModified = 1u << 8,
  kHoldsToolbar = 1u << 9,      // the mark of the toolbar folder
  kHoldsOtherRoots = 1u << 10,  // the marks of the "other bookmarks" and mobile folders
  kHoldsAttributes = 1u << 11,  // other attributes of a bookmark file's items
  kHoldsAll = (1u << 12) - 1,
};

// Counts what the entries carry beyond what holds allows and, when there is any, adds one
// line of it to report.unheld, for the target at path (a program path).
void NoteUnheld(Report& report, const BookmarkList& list, unsigned holds, const std::string& path);

// The line the user is shown for one such item (Shift-JIS).
std::string UnheldText(const LostItem& unheld);

}  // namespace lf
