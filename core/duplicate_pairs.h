// Finding the links of a bookmark list that carry the same URL, for the duplicate check page.
// No Qt here, so the search can be measured on its own.
#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <unordered_map>
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

// The entries marked for deletion on the duplicate check page. Every row offers either side,
// so row after row could mark every copy of a URL and delete the link altogether: the last
// copy that is not marked cannot be marked.
class DuplicateMarks {
 public:
  DuplicateMarks() = default;
  // The copies of each URL are the entries its pairs name (all pairs of a URL come together).
  explicit DuplicateMarks(const std::vector<DuplicatePair>& pairs);

  // True when marking the entry would leave its URL without a copy.
  bool LastCopy(std::size_t entry) const;
  // Marks the entry unless it is the last copy; false when it was marked before or is the
  // last copy.
  bool Mark(std::size_t entry);
  const std::set<std::size_t>& Marked() const { return marked_; }
  void Clear() { marked_.clear(); }

 private:
  std::unordered_map<std::size_t, std::size_t> url_;       // entry -> first entry of its URL
  std::unordered_map<std::size_t, std::size_t> unmarked_;  // first entry -> copies not marked
  std::set<std::size_t> marked_;
};

}  // namespace lf
