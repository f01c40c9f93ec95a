// Regroup sorts the list and then puts every folder entry in front of the entries inside it:
// each folder is followed, depth first and in sorted order, by what lies in it, the folders
// that lie in no other come in sorted order, and the entries that are no folders and lie in
// none (the links directly under the root) come last. An entry lies in a folder when it
// begins with the folder's path followed by "\"; of several such folders, in the one with the
// longest path. A folder entry with the path of another one that sorts before it lies in that
// one, so that RemoveDuplicates finds identical folder entries together. Empty entries go.
//
// Sorting alone does not give this order: a folder such as News2 sorts between a folder News
// and News's contents ("2" before "\"), at any depth. The writers lay files out from the order
// and the levels alone, so in sorted order they would file News's links in News2.
//
// Only the beginning counts: a URL may hold the text of a folder's path (a file: URL into the
// Favorites folder), and the link would otherwise be put, and written, into that folder.
//
// The whole list is never sorted at once. Everything inside a folder begins with the same
// path, so each entry's folder is found first (one hash look-up per "\" of the entry), and
// then only the entries of one folder are sorted together, by what follows that path. A
// folder's own entry always sorts before what lies in it: at the end of its path it has "."
// where they have "\".
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/bookmark_control.h"
#include "platform/codepage.h"
#include "platform/collation.h"

namespace lf {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// Hashes of a text's beginnings up to each "\" byte, made segment by segment so that a folder
// path and the same beginning of an entry hash alike whatever the bytes between.
std::uint64_t AddSegment(std::uint64_t hash, std::string_view segment) {
  constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
  const char* p = segment.data();
  std::size_t left = segment.size();
  for (; left >= 8; p += 8, left -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    hash = (hash ^ word) * kMul;
    hash ^= hash >> 29;
  }
  std::uint64_t word = 0;
  std::memcpy(&word, p, left);
  hash = (hash ^ word ^ (static_cast<std::uint64_t>(segment.size()) << 56)) * kMul;
  return hash ^ (hash >> 32);
}

std::uint64_t PathHash(std::string_view path) {
  std::uint64_t hash = 0;
  for (std::size_t start = 0;;) {
    const std::size_t cut = path.find('\\', start);
    if (cut == std::string_view::npos) return AddSegment(hash, path.substr(start));
    hash = AddSegment(hash, path.substr(start, cut - start));
    start = cut + 1;
  }
}

// The folder paths of the list (each folder entry without ".dir" and its level), by hash.
class FolderPaths {
 public:
  FolderPaths(const BookmarkList& list, const std::vector<bool>& folder) {
    std::size_t count = 0;
    for (bool f : folder) count += f;
    std::size_t size = 16;
    while (size < 2 * count) size *= 2;
    slots_.assign(size, Slot{});
    mask_ = size - 1;
    pathOfEntry_.assign(list.size(), kNone);
    for (std::size_t j = 0; j < list.size(); ++j)
      if (folder[j]) Add(list, static_cast<std::uint32_t>(j));
  }

  // The number of the path, the same for every folder entry with that path.
  std::uint32_t PathOf(std::uint32_t folderEntry) const { return pathOfEntry_[folderEntry]; }
  std::uint32_t PathCount() const { return static_cast<std::uint32_t>(paths_.size()); }
  std::string_view Path(std::uint32_t id) const { return paths_[id]; }

  // The number of the path if it is a folder's, or kNone.
  std::uint32_t Find(std::string_view path, std::uint64_t hash) const {
    if (path.size() >= lengths_.size() || !lengths_[path.size()]) return kNone;
    for (std::size_t at = hash & mask_; slots_[at].id != kNone; at = (at + 1) & mask_)
      if (slots_[at].hash == hash && paths_[slots_[at].id] == path) return slots_[at].id;
    return kNone;
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t id = kNone;
  };

  void Add(const BookmarkList& list, std::uint32_t j) {
    const std::string_view path = std::string_view(list[j]).substr(0, list[j].size() - 5);
    const std::uint64_t hash = PathHash(path);
    std::uint32_t id = Find(path, hash);
    if (id == kNone) {
      id = static_cast<std::uint32_t>(paths_.size());
      paths_.push_back(path);
      if (path.size() >= lengths_.size()) lengths_.resize(path.size() + 1);
      lengths_[path.size()] = true;
      std::size_t at = hash & mask_;
      while (slots_[at].id != kNone) at = (at + 1) & mask_;
      slots_[at] = {hash, id};
    }
    pathOfEntry_[j] = id;
  }

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::vector<std::string_view> paths_;
  std::vector<bool> lengths_;               // by length: some folder path has it
  std::vector<std::uint32_t> pathOfEntry_;  // by entry, for folder entries
};

// Finds the folder each entry lies in: the path of the longest folder whose path and "\"
// begin the entry. Entries come mostly in their folders' order, so what the previous entry
// begins with is not looked up again.
class ContainerSearch {
 public:
  explicit ContainerSearch(const FolderPaths& paths) : paths_(paths) {}

  std::uint32_t Of(std::string_view entry) {
    // The cuts of the previous entry that lie in what both begin with stay as they were.
    std::size_t same = 0;
    const std::size_t limit = std::min(entry.size(), previous_.size());
    while (same < limit && entry[same] == previous_[same]) ++same;
    while (!cuts_.empty() && cuts_.back().pos >= same) cuts_.pop_back();
    std::size_t kept = cuts_.size();
    std::uint64_t hash = cuts_.empty() ? 0 : cuts_.back().hash;
    for (std::size_t start = cuts_.empty() ? 0 : cuts_.back().pos + 1;;) {
      const std::size_t cut = entry.find('\\', start);
      if (cut == std::string_view::npos) break;
      hash = AddSegment(hash, entry.substr(start, cut - start));
      cuts_.push_back({cut, hash, kUnknown});
      start = cut + 1;
    }
    previous_ = entry;
    for (std::size_t k = cuts_.size(); k-- > 0;) {
      Cut& cut = cuts_[k];
      if (k >= kept || cut.found == kUnknown)
        cut.found = paths_.Find(entry.substr(0, cut.pos), cut.hash);
      if (cut.found != kNone) return cut.found;
    }
    return kNone;
  }

 private:
  static constexpr std::uint32_t kUnknown = kNone - 1;
  struct Cut {
    std::size_t pos;      // of the "\"
    std::uint64_t hash;   // of what comes before it
    std::uint32_t found;  // the folder path it ends, kNone, or kUnknown before the look-up
  };

  const FolderPaths& paths_;
  std::string_view previous_;
  std::vector<Cut> cuts_;
};

// Whether the byte after the first n bytes of text is the second byte of a character.
bool TrailAt(std::string_view text, std::size_t n) {
  bool trail = false;
  for (std::size_t i = 0; i < n && i < text.size(); ++i)
    trail = !trail && platform::IsLeadByte(static_cast<unsigned char>(text[i]));
  return trail;
}

// An entry with the first sixteen bytes of its case-blind sort key from the position where
// the entries of its folder begin to differ, as two numbers: most entries are ordered by them
// alone.
struct Keyed {
  std::uint64_t h0, h1;
  std::uint32_t index;
};

Keyed HeadOf(std::string_view e, std::uint32_t index, std::size_t from, bool trail) {
  unsigned char bytes[16] = {};
  const std::size_t end = std::min(e.size(), from + 16);
  for (std::size_t i = from; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(e[i]);
    bytes[i - from] = trail ? c : platform::FoldAsciiCase(c);
    trail = !trail && platform::IsLeadByte(c);
  }
  std::uint64_t h0 = 0, h1 = 0;
  for (int b = 0; b < 8; ++b) h0 = (h0 << 8) | bytes[b];
  for (int b = 8; b < 16; ++b) h1 = (h1 << 8) | bytes[b];
  return {h0, h1, index};
}

// The collation order of entries that agree up to a position: the case-blind comparison of
// what follows, then the shorter first, then the bytes. trail says
// whether the byte at the position is the second byte of a two-byte character.
int TailCompare(std::string_view x, std::string_view y, std::size_t from, bool trail) {
  // Equal bytes are the usual case of a tie (a collection merged with itself).
  if (x.size() == y.size() && std::memcmp(x.data() + from, y.data() + from, x.size() - from) == 0)
    return 0;
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = from; i < n; ++i) {
    const unsigned char ca = static_cast<unsigned char>(x[i]);
    const unsigned char cb = static_cast<unsigned char>(y[i]);
    const unsigned char ka = trail ? ca : platform::FoldAsciiCase(ca);
    const unsigned char kb = trail ? cb : platform::FoldAsciiCase(cb);
    if (ka != kb) return ka < kb ? -1 : 1;
    trail = !trail && platform::IsLeadByte(ca);
  }
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  return std::memcmp(x.data() + from, y.data() + from, n - from) < 0 ? -1 : 1;
}

// Sorts entries that agree in their first `from` bytes into collation order.
void SortKeyed(const BookmarkList& list, Keyed* first, Keyed* last, std::size_t from, bool trail) {
  std::sort(first, last, [&](const Keyed& a, const Keyed& b) {
    if (a.h0 != b.h0) return a.h0 < b.h0;
    if (a.h1 != b.h1) return a.h1 < b.h1;
    if (int c = TailCompare(list[a.index], list[b.index], from, trail)) return c < 0;
    return a.index < b.index;
  });
}

// Where each entry lies and in what order: the folder entry that stands for its folder (or
// none), and the entries of each folder, and those of none, in collation order.
struct Layout {
  std::vector<bool> folder;          // by entry: a folder entry
  std::vector<std::uint32_t> start;  // by entry: its contents are items[start[j], start[j+1])
  std::vector<Keyed> items;
  std::vector<Keyed> top;  // non-empty entries that lie in no folder
};

Layout LayOut(const BookmarkList& list) {
  const std::uint32_t n = static_cast<std::uint32_t>(list.size());
  Layout layout;
  layout.folder.resize(n);
  for (std::uint32_t j = 0; j < n; ++j) layout.folder[j] = TBookmarkControl::IsFolderEntry(list[j]);
  const FolderPaths paths(list, layout.folder);

  // Of the folder entries of one path the first in collation order stands for all.
  std::vector<std::uint32_t> first(paths.PathCount(), kNone);
  for (std::uint32_t j = 0; j < n; ++j) {
    if (!layout.folder[j]) continue;
    std::uint32_t& f = first[paths.PathOf(j)];
    if (f == kNone || platform::CompareText(list[j], list[f]) < 0) f = j;
  }
  // Whether the byte after each path is the second byte of a character.
  std::vector<bool> trailAfter(paths.PathCount());
  for (std::uint32_t id = 0; id < paths.PathCount(); ++id)
    trailAfter[id] = TrailAt(paths.Path(id), paths.Path(id).size());

  // The path each entry lies in: everything inside a folder begins with the folder's path,
  // so its key is taken from there on.
  std::vector<std::uint32_t> home(n, kNone);
  std::vector<Keyed> keyed(n);
  ContainerSearch containers(paths);
  layout.start.assign(n + 1, 0);
  for (std::uint32_t j = 0; j < n; ++j) {
    if (list[j].empty()) continue;
    std::uint32_t id = kNone;
    if (layout.folder[j] && first[paths.PathOf(j)] != j)
      id = paths.PathOf(j);  // a second entry of one folder lies in the first
    else
      id = containers.Of(list[j]);
    if (id == kNone) continue;
    home[j] = first[id];
    keyed[j] = HeadOf(list[j], j, paths.Path(id).size(), trailAfter[id]);
    ++layout.start[home[j] + 1];
  }
  for (std::uint32_t i = 0; i < n; ++i) layout.start[i + 1] += layout.start[i];
  layout.items.resize(layout.start[n]);
  std::vector<std::uint32_t> fill(layout.start.begin(), layout.start.end() - 1);
  std::vector<std::uint32_t> top;
  for (std::uint32_t j = 0; j < n; ++j) {
    if (home[j] != kNone)
      layout.items[fill[home[j]]++] = keyed[j];
    else if (!list[j].empty())
      top.push_back(j);
  }
  keyed = {};

  for (std::uint32_t f = 0; f < n; ++f) {
    if (layout.start[f + 1] - layout.start[f] < 2) continue;
    const std::size_t from = list[f].size() - 5;  // the length of the folder's path
    SortKeyed(list, layout.items.data() + layout.start[f],
              layout.items.data() + layout.start[f + 1], from, TrailAt(list[f], from));
  }

  // The entries of no folder agree in the root path at least.
  std::size_t common = top.empty() ? 0 : list[top[0]].size();
  for (std::uint32_t j : top) {
    const std::string& e = list[j];
    const std::string& t = list[top[0]];
    std::size_t m = 0;
    const std::size_t limit = std::min(common, e.size());
    while (m < limit && e[m] == t[m]) ++m;
    common = m;
  }
  const bool trail = !top.empty() && TrailAt(list[top[0]], common);
  layout.top.reserve(top.size());
  for (std::uint32_t j : top) layout.top.push_back(HeadOf(list[j], j, common, trail));
  SortKeyed(list, layout.top.data(), layout.top.data() + layout.top.size(), common, trail);
  return layout;
}

// Appends each folder that lies in none followed by what lies in it, depth first, then the
// other entries that lie in none.
void AppendGrouped(BookmarkList& entries, const Layout& layout, BookmarkList& list) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;  // folder, next of its contents
  for (const Keyed& top : layout.top) {
    if (!layout.folder[top.index]) continue;
    list.push_back(std::move(entries[top.index]));
    stack.push_back({top.index, layout.start[top.index]});
    while (!stack.empty()) {
      auto& [folder, next] = stack.back();
      if (next == layout.start[folder + 1]) {
        stack.pop_back();
        continue;
      }
      const std::uint32_t inside = layout.items[next++].index;
      list.push_back(std::move(entries[inside]));
      if (layout.start[inside] != layout.start[inside + 1])
        stack.push_back({inside, layout.start[inside]});
    }
  }
  for (const Keyed& top : layout.top)
    if (!layout.folder[top.index]) list.push_back(std::move(entries[top.index]));
}

}  // namespace

void TBookmarkControl::Regroup(BookmarkList& list) {
  if (list.empty()) return;
  const Layout layout = LayOut(list);
  BookmarkList entries;
  entries.swap(list);
  list.reserve(entries.size());
  AppendGrouped(entries, layout, list);
}

}  // namespace lf
