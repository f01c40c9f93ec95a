// Regroup sorts the list and then puts every folder entry in front of the entries inside it:
// each folder is followed, depth first and in sorted order, by what lies in it, the folders
// that lie in no other come in sorted order, and the entries that are no folders and lie in
// none (the links directly under the root) come last. An entry lies in a folder when it
// begins with the folder's path followed by "\" and sorts after the folder entry; of several
// such folders, in the one with the longest path. A folder entry with the path of an earlier
// one lies in that one, so that RemoveDuplicates finds identical folder entries together.
//
// Sorting alone does not give this order: a folder such as News2 sorts between a folder News
// and News's contents ("2" before "\"), at any depth. The writers lay files out from the order
// and the levels alone, so in sorted order they would file News's links in News2.
//
// Only the beginning counts: a URL may hold the text of a folder's path (a file: URL into the
// Favorites folder), and the link would otherwise be put, and written, into that folder.
//
// Each entry is matched once against a trie of all folder paths to find its folder.
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
    std::string_view ka =
        std::string_view(keys[a.index]).substr(std::min(common, keys[a.index].size()));
    std::string_view kb =
        std::string_view(keys[b.index]).substr(std::min(common, keys[b.index].size()));
    if (int c = ka.compare(kb)) return c < 0;
    if (int c = list[a.index].compare(list[b.index])) return c < 0;
    return a.index < b.index;
  });
  std::vector<std::uint32_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = items[i].index;
  return order;
}

// The entries in collation order, taken out of the list, which is left empty. Entries equal
// but for letter case are ordered by their bytes.
std::vector<std::string> TakeSorted(BookmarkList& list) {
  const std::vector<std::uint32_t> order = SortedOrder(list);
  std::vector<std::string> sorted;
  sorted.reserve(list.size());
  for (std::uint32_t i : order) sorted.push_back(std::move(list[i]));
  list.clear();
  return sorted;
}

// The folder entries of a sorted list and the paths their contents begin with. Folders are
// told by their form: a link named "x.dir" or with ".dir" in its URL is a link.
struct FolderIndex {
  std::vector<bool> folder;             // by entry
  std::vector<int> pathId;              // by entry: its contents' path in the trie, or -1
  std::vector<std::size_t> pathLength;  // by path
  PathTrie trie;
};

FolderIndex IndexFolders(const std::vector<std::string>& work) {
  const std::size_t n = work.size();
  FolderIndex index;
  index.folder.assign(n, false);
  index.pathId.assign(n, -1);
  for (std::size_t j = 0; j < n; ++j) {
    if (!TBookmarkControl::IsFolderEntry(work[j])) continue;
    index.folder[j] = true;
    const std::string path = ContentsPrefixOf(work[j]);
    if (path.empty()) continue;
    const int id = index.trie.Insert(path);
    index.pathId[j] = id;
    if (static_cast<std::size_t>(id) == index.pathLength.size())
      index.pathLength.push_back(path.size());
  }
  index.trie.Finish();
  return index;
}

// The folder each entry lies in, or -1: of the earlier folders (in sorted order) whose path
// and "\" occur in the entry, the one with the longest path; a folder entry with the path of
// an earlier one lies in that one. Among folders with the same path the first stands for all.
std::vector<std::int64_t> FindParents(const std::vector<std::string>& work,
                                      const FolderIndex& folders) {
  const std::size_t n = work.size();
  std::vector<std::int64_t> firstFolder(static_cast<std::size_t>(folders.trie.PathCount()), -1);
  std::vector<std::int64_t> parent(n, -1);
  for (std::size_t j = 0; j < n; ++j) {
    const std::string& e = work[j];
    if (e.empty()) continue;
    std::int64_t best = -1;
    std::size_t bestLength = 0;
    auto consider = [&](int id) {
      const std::int64_t f = firstFolder[static_cast<std::size_t>(id)];
      const std::size_t length = folders.pathLength[static_cast<std::size_t>(id)];
      if (f >= 0 && length > bestLength) best = f, bestLength = length;
    };
    folders.trie.MatchesAt(e, 0, consider);
    if (folders.pathId[j] >= 0) {
      const std::size_t id = static_cast<std::size_t>(folders.pathId[j]);
      if (firstFolder[id] >= 0)
        best = firstFolder[id];
      else
        firstFolder[id] = static_cast<std::int64_t>(j);
    }
    parent[j] = best;
  }
  return parent;
}

// The entries lying directly in each entry: those of entry i are items[start[i]] up to
// items[start[i + 1]], in sorted order.
struct ChildLists {
  std::vector<std::uint32_t> start, items;
};

ChildLists ChildrenOf(const std::vector<std::int64_t>& parent) {
  const std::size_t n = parent.size();
  ChildLists children;
  children.start.assign(n + 1, 0);
  for (std::size_t j = 0; j < n; ++j)
    if (parent[j] >= 0) ++children.start[static_cast<std::size_t>(parent[j]) + 1];
  for (std::size_t i = 0; i < n; ++i) children.start[i + 1] += children.start[i];
  children.items.resize(children.start[n]);
  std::vector<std::uint32_t> fill(children.start.begin(), children.start.end() - 1);
  for (std::size_t j = 0; j < n; ++j)
    if (parent[j] >= 0) children.items[fill[static_cast<std::size_t>(parent[j])]++] = j;
  return children;
}

// Appends each folder followed by what lies in it, depth first, in sorted order: the folders
// that lie in none first, then the other entries that lie in none.
void AppendGrouped(std::vector<std::string>& work, const std::vector<bool>& folder,
                   const std::vector<std::int64_t>& parent, BookmarkList& list) {
  const std::size_t n = work.size();
  const ChildLists children = ChildrenOf(parent);
  list.reserve(n);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;  // folder, next child
  for (std::size_t top = 0; top < n; ++top) {
    if (work[top].empty() || !folder[top] || parent[top] >= 0) continue;
    list.push_back(std::move(work[top]));
    stack.push_back({static_cast<std::uint32_t>(top), children.start[top]});
    while (!stack.empty()) {
      auto& [node, next] = stack.back();
      if (next == children.start[node + 1]) {
        stack.pop_back();
        continue;
      }
      const std::uint32_t child = children.items[next++];
      list.push_back(std::move(work[child]));
      if (children.start[child] != children.start[child + 1])
        stack.push_back({child, children.start[child]});
    }
  }
  for (std::size_t j = 0; j < n; ++j)
    if (!work[j].empty() && !folder[j] && parent[j] < 0) list.push_back(std::move(work[j]));
}

}  // namespace

void TBookmarkControl::Regroup(BookmarkList& list) {
  if (list.empty()) return;
  std::vector<std::string> work = TakeSorted(list);
  const FolderIndex folders = IndexFolders(work);
  const std::vector<std::int64_t> parent = FindParents(work, folders);
  AppendGrouped(work, folders.folder, parent, list);
}

}  // namespace lf
