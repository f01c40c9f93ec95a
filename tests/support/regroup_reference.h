// Regroup by its definition, step by step: sort; find for every entry the earlier folder
// entry with the longest path that the entry begins with, followed by "\" (the first of the
// folder entries with that path, which also holds later ones); then write each folder
// followed by what lies in it, depth first, and the entries that lie in no folder last.
// Cubic, for comparing the real implementation with on small lists.
#pragma once

#include "engine/bookmark_list.h"

namespace lftest {
void RegroupReference(lf::BookmarkList& list);
}
