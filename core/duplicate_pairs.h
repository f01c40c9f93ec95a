// Finding the links of a bookmark list that carry the same URL, for the duplicate check page.
// No Qt here, so the search can be measured on its own.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "engine/bookmark_list.h"

namespace lf {

// Two positions of a bookmark list whose URL entries carry byte-equal URLs; first < second.
struct DuplicatePair {
  std::size_t first;
  std::size_t second;
  bool operator==(const DuplicatePair&) const = default;
};

// Every pair of URL entries with the same URL, ordered by first and then by second. Folder
// entries and links without an address never pair. step(i) is called before the pairs
// whose first position is i are collected, for every i in order; when it returns false the
// search stops and the pairs found so far are returned.
std::vector<DuplicatePair> FindDuplicatePairs(const BookmarkList& list,
                                              const std::function<bool(std::size_t)>& step);

}  // namespace lf
