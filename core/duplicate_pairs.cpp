#include "core/duplicate_pairs.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>

#include "engine/entry.h"

namespace lf {

std::vector<DuplicatePair> FindDuplicatePairs(const BookmarkList& list,
                                              const std::function<bool(std::size_t)>& step) {
  const std::size_t n = list.size();
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Only URL entries take part: a folder whose name happens to hold a scheme would otherwise
  // pair with its namesake elsewhere and be "deleted" as a link.
  std::vector<std::string_view> urls(n);  // views into the list
  std::vector<std::size_t> links;
  links.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const EntryView link = ViewOf(list[i]);
    if (!link.IsLink()) continue;
    urls[i] = link.url;
    if (!urls[i].empty()) links.push_back(i);
  }

  // Group equal URLs by sorting the positions by a hash of the URL, then the URL, then the
  // position; each position then points to the next later one with the same URL. Most
  // comparisons end at the hashes, without reading the URLs.
  struct Keyed {
    std::size_t hash;
    std::size_t index;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(links.size());
  for (std::size_t i : links) keyed.push_back({std::hash<std::string_view>{}(urls[i]), i});
  std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    if (a.hash != b.hash) return a.hash < b.hash;
    if (const int c = urls[a.index].compare(urls[b.index])) return c < 0;
    return a.index < b.index;
  });
  std::vector<std::size_t> next(n, kNone);
  for (std::size_t k = 1; k < keyed.size(); ++k)
    if (keyed[k - 1].hash == keyed[k].hash && urls[keyed[k - 1].index] == urls[keyed[k].index])
      next[keyed[k - 1].index] = keyed[k].index;

  std::vector<DuplicatePair> pairs;
  for (std::size_t i = 0; i < n; ++i) {
    if (!step(i)) break;
    for (std::size_t j = next[i]; j != kNone; j = next[j]) pairs.push_back({i, j});
  }
  return pairs;
}

DuplicateMarks::DuplicateMarks(const std::vector<DuplicatePair>& pairs) {
  // The pairs come ordered by their first entry, so the first pair of a URL starts at its
  // lowest entry, which then stands for the URL.
  for (const DuplicatePair& pair : pairs) {
    const auto [first, added] = url_.try_emplace(pair.first, pair.first);
    const std::size_t url = first->second;
    if (added) ++unmarked_[url];
    if (url_.try_emplace(pair.second, url).second) ++unmarked_[url];
  }
}

bool DuplicateMarks::LastCopy(std::size_t entry) const {
  if (marked_.contains(entry)) return false;
  const auto url = url_.find(entry);
  return url != url_.end() && unmarked_.at(url->second) <= 1;
}

bool DuplicateMarks::Mark(std::size_t entry) {
  if (LastCopy(entry) || !marked_.insert(entry).second) return false;
  if (const auto url = url_.find(entry); url != url_.end()) --unmarked_[url->second];
  return true;
}

}  // namespace lf
