// Regroup exactly as the step-by-step description reads: sort, then for every folder entry
// in turn pull every later entry that contains its folder path. Quadratic, for comparing
// the real implementation with on small lists.
#pragma once

#include "engine/bookmark_list.h"

namespace lftest {
void RegroupReference(lf::BookmarkList& list);
}
