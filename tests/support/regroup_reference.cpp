#include "tests/support/regroup_reference.h"

#include <algorithm>

#include "platform/collation.h"

namespace lftest {
namespace {
// "contains" as a substring test in which an empty text is never contained.
bool Contains(const std::string& text, const std::string& part) {
  return !part.empty() && text.find(part) != std::string::npos;
}
}  // namespace

void RegroupReference(lf::BookmarkList& list) {
  std::vector<std::string> work = list;
  std::sort(work.begin(), work.end(),
            [](const std::string& a, const std::string& b) { return platform::TextLess(a, b); });
  list.clear();
  for (std::size_t i = 0; i < work.size(); ++i) {
    if (work[i].find(".dir") == std::string::npos) continue;
    list.push_back(work[i]);
    std::string path = work[i].size() > 5 ? work[i].substr(0, work[i].size() - 5) + "\\" : "";
    for (std::size_t j = i + 1; j < work.size(); ++j) {
      if (Contains(work[j], path) || work[j] == list.back()) {
        list.push_back(work[j]);
        work[j].clear();
      }
    }
  }
  for (const std::string& e : work)
    if (!e.empty() && e.find(".dir") == std::string::npos) list.push_back(e);
}

}  // namespace lftest
