#include "tests/support/regroup_reference.h"

#include <algorithm>
#include <functional>

#include "engine/bookmark_control.h"
#include "platform/collation.h"

namespace lftest {

void RegroupReference(lf::BookmarkList& list) {
  lf::BookmarkList work = list;
  std::sort(work.begin(), work.end(),
            [](const std::string& a, const std::string& b) { return platform::CompareText(a, b) < 0; });
  const std::size_t n = work.size();
  auto isFolder = [&](std::size_t i) { return lf::TBookmarkControl::IsFolderEntry(work[i]); };
  auto path = [&](std::size_t i) {
    return work[i].size() > 5 ? work[i].substr(0, work[i].size() - 5) + "\\" : std::string();
  };
  // The folder each entry lies in, compared with every earlier folder entry.
  std::vector<std::ptrdiff_t> parent(n, -1);
  for (std::size_t j = 0; j < n; ++j) {
    if (work[j].empty()) continue;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < j; ++i) {
      if (!isFolder(i)) continue;
      const std::string p = path(i);
      bool first = true;  // the first folder entry with this path
      for (std::size_t k = 0; k < i && first; ++k) first = !(isFolder(k) && path(k) == p);
      if (!first) continue;
      const bool inside =
          (!p.empty() && work[j].compare(0, p.size(), p) == 0) || (isFolder(j) && path(j) == p);
      if (inside && p.size() > longest)
        parent[j] = static_cast<std::ptrdiff_t>(i), longest = p.size();
    }
  }
  list.clear();
  std::function<void(std::size_t)> emit = [&](std::size_t i) {
    list.push_back(work[i]);
    for (std::size_t j = i + 1; j < n; ++j)
      if (parent[j] == static_cast<std::ptrdiff_t>(i)) emit(j);
  };
  for (std::size_t i = 0; i < n; ++i)
    if (!work[i].empty() && isFolder(i) && parent[i] < 0) emit(i);
  for (std::size_t i = 0; i < n; ++i)
    if (!work[i].empty() && !isFolder(i) && parent[i] < 0) list.push_back(work[i]);
}

}  // namespace lftest
