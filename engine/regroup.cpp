// Regroup sorts the list and then, for every folder entry in sorted order, pulls every later
// entry that contains the folder's path followed by "\" (its contents) right behind it; the
// entries that no folder pulled and that are no folders themselves (the links directly under
// the root) come last. A folder entry identical to the folder's own is pulled too, so that
// RemoveDuplicates finds the two next to each other.
//
// The "\" matters: a folder such as News2 merely begins with the path of a folder News and
// sorts between News and News's contents ("2" before "\"); pulled behind News it would put
// its own contents ahead of News's, and the writers, which lay files out from the order and
// the levels alone, would then file News's links in News2.
//
// Done literally this compares every folder with every later entry. Here each entry is
// instead matched once against a trie of all folder paths: an entry goes behind the first
// folder, in sorted order, that was not itself pulled and whose path occurs in the entry.
// That is exactly the folder that would have pulled it, so the result is the same.
#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>

#include "engine/bookmark_control.h"
#include "platform/collation.h"

namespace lf {
namespace {

// What every entry inside a folder contains: the folder entry without ".dir" and its level
// digit, followed by "\"; empty for an entry too short to be a folder entry.
std::string ContentsPrefixOf(std::string_view entry) {
  return entry.size() > 5 ? std::string(entry.substr(0, entry.size() - 5)) + "\\" : std::string();
}

// A byte trie of folder paths that reports every path starting at a position of a text.
class PathTrie {
 public:
  PathTrie() { top_.fill(-1); }

  // The number of the path; the same text always gets the same number.
  int Insert(std::string_view path) {
    int node = -1;
    for (unsigned char c : path) node = node < 0 ? TopChild(c) : AddChild(node, c);
    if (building_[node].id < 0) building_[node].id = ids_++;
    return building_[node].id;
  }

  int PathCount() const { return ids_; }

  // The one byte every path starts with, or -1 if they start differently (or there are none).
  int OnlyFirstByte() const {
    int only = -1;
    for (int c = 0; c < 256; ++c) {
      if (top_[c] < 0) continue;
      if (only >= 0) return -1;
      only = c;
    }
    return only;
  }

  // Turns the child lists into sorted arrays for fast lookup.
  void Finish() {
    const std::size_t n = building_.size();
    start_.assign(n + 1, 0);
    id_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      id_[i] = building_[i].id;
      int count = 0;
      for (int c = building_[i].firstChild; c >= 0; c = building_[c].nextSibling) ++count;
      start_[i + 1] = start_[i] + count;
    }
    bytes_.resize(start_[n]);
    child_.resize(start_[n]);
    std::vector<std::pair<unsigned char, int>> kids;
    for (std::size_t i = 0; i < n; ++i) {
      kids.clear();
      for (int c = building_[i].firstChild; c >= 0; c = building_[c].nextSibling)
        kids.emplace_back(building_[c].byte, c);
      std::sort(kids.begin(), kids.end());
      for (std::size_t k = 0; k < kids.size(); ++k) {
        bytes_[start_[i] + k] = kids[k].first;
        child_[start_[i] + k] = kids[k].second;
      }
    }
    building_.clear();
    building_.shrink_to_fit();
  }

  // Calls found(id) for every path that occurs in text at pos.
  template <typename Found>
  void MatchesAt(std::string_view text, std::size_t pos, Found&& found) const {
    int node = top_[static_cast<unsigned char>(text[pos])];
    while (node >= 0) {
      if (id_[node] >= 0) found(id_[node]);
      if (++pos == text.size()) return;
      node = Child(node, static_cast<unsigned char>(text[pos]));
    }
  }

 private:
  struct BuildNode {
    int firstChild = -1;
    int nextSibling = -1;
    int id = -1;
    unsigned char byte = 0;
  };

  int TopChild(unsigned char c) {
    if (top_[c] < 0) {
      top_[c] = static_cast<int>(building_.size());
      building_.push_back(BuildNode{-1, -1, -1, c});
    }
    return top_[c];
  }

  int AddChild(int node, unsigned char c) {
    for (int k = building_[node].firstChild; k >= 0; k = building_[k].nextSibling)
      if (building_[k].byte == c) return k;
    int k = static_cast<int>(building_.size());
    building_.push_back(BuildNode{-1, building_[node].firstChild, -1, c});
    building_[node].firstChild = k;
    return k;
  }

  int Child(int node, unsigned char c) const {
    const int* first = child_.data() + start_[node];
    const unsigned char* lo = bytes_.data() + start_[node];
    const unsigned char* hi = bytes_.data() + start_[node + 1];
    if (hi - lo <= 8) {
      for (const unsigned char* p = lo; p < hi; ++p)
        if (*p == c) return first[p - lo];
      return -1;
    }
    const unsigned char* p = std::lower_bound(lo, hi, c);
    return (p != hi && *p == c) ? first[p - lo] : -1;
  }

  std::array<int, 256> top_;
  std::vector<BuildNode> building_;
  std::vector<int> start_, child_, id_;
  std::vector<unsigned char> bytes_;
  int ids_ = 0;
};

constexpr std::uint32_t kLeftover = UINT32_MAX;
constexpr std::uint32_t kDropped = UINT32_MAX - 1;

// The positions of the list in collation order. The entries share a long root path, so the
// common start of all sort keys is left out and the next eight bytes are compared as one
// number before the rest.
std::vector<std::uint32_t> SortedOrder(const BookmarkList& list) {
  const std::size_t n = list.size();
  std::vector<std::string> keys;
  keys.reserve(n);
  for (const std::string& e : list) keys.push_back(platform::SortKey(e));
  std::size_t common = keys[0].size();
  for (const std::string& k : keys) {
    std::size_t m = 0;
    const std::size_t limit = std::min(common, k.size());
    while (m < limit && k[m] == keys[0][m]) ++m;
    common = m;
  }
  struct Item {
    std::uint64_t head;
    std::uint32_t index;
  };
  std::vector<Item> items(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::uint64_t head = 0;
    for (std::size_t b = 0; b < 8; ++b) {
      std::size_t at = common + b;
      head = (head << 8) | (at < keys[i].size() ? static_cast<unsigned char>(keys[i][at]) : 0u);
    }
    items[i] = {head, static_cast<std::uint32_t>(i)};
  }
  std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
    if (a.head != b.head) return a.head < b.head;
    // Equal heads: compare the keys from the common start on (a zero byte in a head may be
    // the end of the key or a real zero byte, so the heads' bytes are compared again).
    std::string_view ka = std::string_view(keys[a.index]).substr(std::min(common, keys[a.index].size()));
    std::string_view kb = std::string_view(keys[b.index]).substr(std::min(common, keys[b.index].size()));
    if (int c = ka.compare(kb)) return c < 0;
    if (int c = list[a.index].compare(list[b.index])) return c < 0;
    return a.index < b.index;
  });
  std::vector<std::uint32_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = items[i].index;
  return order;
}

}  // namespace

void TBookmarkControl::Regroup(BookmarkList& list) {
  const std::size_t n = list.size();
  if (n == 0) return;

  // Sort (entries equal but for letter case are ordered by their bytes).
  std::vector<std::uint32_t> order = SortedOrder(list);
  std::vector<std::string> work;
  work.reserve(n);
  for (std::uint32_t i : order) work.push_back(std::move(list[i]));
  list.clear();
  std::vector<std::uint32_t>().swap(order);

  // Every entry that contains ".dir" acts as a folder.
  std::vector<int> pathId(n, -1);
  std::vector<bool> folder(n, false);
  PathTrie trie;
  for (std::size_t j = 0; j < n; ++j) {
    if (work[j].find(".dir") == std::string::npos) continue;
    folder[j] = true;
    const std::string path = ContentsPrefixOf(work[j]);
    if (!path.empty()) pathId[j] = trie.Insert(path);
  }
  trie.Finish();
  const int firstByte = trie.OnlyFirstByte();

  // The folder (in sorted order) that takes each entry. A folder that is not taken by an
  // earlier one takes itself; among folders with the same path only the first can be.
  std::vector<std::int64_t> firstFolder(static_cast<std::size_t>(trie.PathCount()), -1);
  std::vector<std::uint32_t> owner(n, kLeftover);
  for (std::size_t j = 0; j < n; ++j) {
    const std::string& e = work[j];
    if (e.empty()) {
      owner[j] = kDropped;
      continue;
    }
    std::int64_t best = -1;
    auto consider = [&](int id) {
      std::int64_t f = firstFolder[static_cast<std::size_t>(id)];
      if (f >= 0 && (best < 0 || f < best)) best = f;
    };
    if (firstByte >= 0) {
      // Only where that byte occurs can a path begin.
      for (std::size_t pos = e.find(static_cast<char>(firstByte)); pos != std::string::npos;
           pos = e.find(static_cast<char>(firstByte), pos + 1))
        trie.MatchesAt(e, pos, consider);
    } else {
      for (std::size_t pos = 0; pos < e.size(); ++pos) trie.MatchesAt(e, pos, consider);
    }
    if (best >= 0) {
      owner[j] = static_cast<std::uint32_t>(best);
    } else if (folder[j] && j > 0 && e == work[j - 1] && owner[j - 1] < n) {
      owner[j] = owner[j - 1];  // the same folder entry again stays with the first
    } else if (folder[j]) {
      owner[j] = static_cast<std::uint32_t>(j);
      if (pathId[j] >= 0 && firstFolder[static_cast<std::size_t>(pathId[j])] < 0)
        firstFolder[static_cast<std::size_t>(pathId[j])] = static_cast<std::int64_t>(j);
    }
  }

  // Each folder followed by what it took, in sorted order; then the rest.
  std::vector<std::uint32_t> slot(n, 0);
  for (std::size_t j = 0; j < n; ++j)
    if (owner[j] < n) ++slot[owner[j]];
  std::uint32_t next = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (owner[i] != i) continue;
    std::uint32_t count = slot[i];
    slot[i] = next;
    next += count;
  }
  std::vector<std::uint32_t> sequence(next);
  for (std::size_t j = 0; j < n; ++j)
    if (owner[j] < n) sequence[slot[owner[j]]++] = static_cast<std::uint32_t>(j);

  list.reserve(n);
  for (std::uint32_t j : sequence) list.push_back(std::move(work[j]));
  for (std::size_t j = 0; j < n; ++j)
    if (owner[j] == kLeftover) list.push_back(std::move(work[j]));
}

}  // namespace lf
