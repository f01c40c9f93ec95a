#include "core/duplicate_pairs.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace lf {

std::vector<DuplicatePair> FindDuplicatePairs(const BookmarkList& list,
                                              const std::function<bool(std::size_t)>& step) {
  const std::size_t n = list.size();
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Only URL entries take part: a folder whose name happens to hold a scheme would otherwise
  // pair with its namesake elsewhere and be "deleted" as a link.
  std::vector<std::string> urls(n);
  std::vector<std::size_t> links;
  links.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (FindCharBoundary(list[i], kLinkMarker) == std::string::npos) continue;
    urls[i] = TBookmarkControl::EntryUrl(list[i]);
    if (!urls[i].empty()) links.push_back(i);
  }

  // Group equal URLs by sorting the positions by URL and then by position; each position
  // then points to the next later one with the same URL.
  std::stable_sort(links.begin(), links.end(),
                   [&](std::size_t a, std::size_t b) { return urls[a] < urls[b]; });
  std::vector<std::size_t> next(n, kNone);
  for (std::size_t k = 1; k < links.size(); ++k)
    if (urls[links[k - 1]] == urls[links[k]]) next[links[k - 1]] = links[k];

  std::vector<DuplicatePair> pairs;
  for (std::size_t i = 0; i < n; ++i) {
    if (!step(i)) break;
    for (std::size_t j = next[i]; j != kNone; j = next[j]) pairs.push_back({i, j});
  }
  return pairs;
}

}  // namespace lf
