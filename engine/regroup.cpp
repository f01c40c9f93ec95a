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
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/collation.h"

namespace lf {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// The hash of a text and of each of its beginnings: the whole eight-byte words of the text
// are folded in one after the other, and the hash of a beginning is the state after its last
// whole word finished with the bytes that follow it, so that the beginnings of one text are
// hashed in a single pass over it.
constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;

inline std::uint64_t Fold(std::uint64_t state, const char* word) {
  std::uint64_t bits;
  std::memcpy(&bits, word, 8);
  state = (state ^ bits) * kMul;
  return state ^ (state >> 29);
}

// The state finished with the bytes of text from `folded` to `size` (fewer than eight).
inline std::uint64_t Finish(std::uint64_t state, const char* text, std::size_t folded,
                            std::size_t size) {
  const std::size_t rest = size - folded;
  std::uint64_t bits = 0;
  if (rest > 0 && size >= 8) {
    // The last eight bytes, of which the rest are the high ones.
    std::memcpy(&bits, text + size - 8, 8);
    bits >>= 8 * (8 - rest);
  } else {
    for (std::size_t i = 0; i < rest; ++i)
      bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[folded + i])) << (8 * i);
  }
  state = (state ^ bits ^ (static_cast<std::uint64_t>(size) << 56)) * kMul;
  return state ^ (state >> 32);
}

std::uint64_t TextHash(std::string_view text) {
  std::uint64_t state = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) state = Fold(state, text.data() + i);
  return Finish(state, text.data(), i, text.size());
}

// The hashes of the beginnings of one text, in the order of their lengths.
class PrefixHashes {
 public:
  explicit PrefixHashes(std::string_view text) : text_(text) {}
  // The hash of the first n bytes (n not below the last one asked for).
  std::uint64_t Of(std::size_t n) {
    for (; folded_ + 8 <= n; folded_ += 8) state_ = Fold(state_, text_.data() + folded_);
    return Finish(state_, text_.data(), folded_, n);
  }

 private:
  std::string_view text_;
  std::uint64_t state_ = 0;
  std::size_t folded_ = 0;  // bytes folded into state_
};

// The folder paths of the list (each folder entry without ".dir" and its level), by hash.
class FolderPaths {
 public:
  FolderPaths(const BookmarkList& list, const std::vector<bool>& folder) {
    std::size_t count = 0, bytes = 0;
    for (std::size_t j = 0; j < list.size(); ++j) {
      count += folder[j];
      if (folder[j]) bytes += list[j].size() - 5;
    }
    // The paths are kept side by side, as every look-up compares one.
    text_.reserve(bytes);
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
    for (std::size_t at = hash & mask_; slots_[at].id != kNone; at = (at + 1) & mask_) {
      const Slot& slot = slots_[at];
      if (slot.hash == hash && slot.length == path.size() &&
          std::memcmp(text_.data() + slot.offset, path.data(), path.size()) == 0)
        return slot.id;
    }
    return kNone;
  }

 private:
  // A slot says where its path lies, so that a look-up reads the slot and the path alone.
  struct Slot {
    std::uint64_t hash = 0;
    std::size_t offset = 0;  // in text_
    std::uint32_t length = 0;
    std::uint32_t id = kNone;
  };

  void Add(const BookmarkList& list, std::uint32_t j) {
    const std::string_view path = std::string_view(list[j]).substr(0, list[j].size() - 5);
    const std::uint64_t hash = TextHash(path);
    std::uint32_t id = Find(path, hash);
    if (id == kNone) {
      id = static_cast<std::uint32_t>(paths_.size());
      const std::size_t start = text_.size();
      text_.append(path);
      paths_.push_back(std::string_view(text_).substr(start));
      if (path.size() >= lengths_.size()) lengths_.resize(path.size() + 1);
      lengths_[path.size()] = true;
      std::size_t at = hash & mask_;
      while (slots_[at].id != kNone) at = (at + 1) & mask_;
      slots_[at] = {hash, start, static_cast<std::uint32_t>(path.size()), id};
    }
    pathOfEntry_[j] = id;
  }

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::string text_;  // the paths, one after the other
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
    PrefixHashes hashes(entry);
    // A link lies in the folder before its link marker when that is one: a longer path would
    // hold the marker, and no folder's does.
    if (const std::size_t marker = FindCharBoundary(entry, kLinkMarker);
        marker != std::string_view::npos) {
      const std::string_view folder = entry.substr(0, marker);
      if (folder == linkFolder_) return linkFound_;
      if (const std::uint32_t id = paths_.Find(folder, hashes.Of(marker)); id != kNone) {
        linkFolder_ = folder;
        linkFound_ = id;
        return id;
      }
      hashes = PrefixHashes(entry);
    }
    // The cuts of the previous entry that lie in what both begin with stay as they were.
    std::size_t same = 0;
    const std::size_t limit = std::min(entry.size(), previous_.size());
    while (same < limit && entry[same] == previous_[same]) ++same;
    while (!cuts_.empty() && cuts_.back().pos >= same) cuts_.pop_back();
    const std::size_t kept = cuts_.size();
    for (std::size_t cut = entry.find('\\', cuts_.empty() ? 0 : cuts_.back().pos + 1);
         cut != std::string_view::npos; cut = entry.find('\\', cut + 1))
      cuts_.push_back({cut, hashes.Of(cut), kUnknown});
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
  std::string_view linkFolder_;  // the folder path before the last link marker found in one
  std::uint32_t linkFound_ = kNone;
};

// Whether the byte after the first n bytes of text is the second byte of a character.
bool TrailAt(std::string_view text, std::size_t n) {
  bool trail = false;
  for (std::size_t i = 0; i < n && i < text.size(); ++i)
    trail = !trail && platform::IsLeadByte(static_cast<unsigned char>(text[i]));
  return trail;
}

// An entry with the first 24 bytes of its case-blind sort key from the position where the
// entries of its folder begin to differ, as three numbers: most entries are ordered by them
// alone. (The first five bytes of a link's are its link marker.)
struct Keyed {
  std::uint64_t h0, h1, h2;
  std::uint32_t index;
};

Keyed HeadOf(std::string_view e, std::uint32_t index, std::size_t from, bool trail) {
  unsigned char bytes[24] = {};
  const std::size_t end = std::min(e.size(), from + 24);
  for (std::size_t i = from; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(e[i]);
    bytes[i - from] = trail ? c : platform::FoldAsciiCase(c);
    trail = !trail && platform::IsLeadByte(c);
  }
  std::uint64_t h[3] = {};
  for (int b = 0; b < 24; ++b) h[b / 8] = (h[b / 8] << 8) | bytes[b];
  return {h[0], h[1], h[2], index};
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

// Sorts entries that agree in their first `from` bytes into collation order. Entries read
// from a file mostly come in that order already, and the order is total (equal entries go by
// their place in the list), so what is in order stays and two runs in order are merged.
void SortKeyed(const BookmarkList& list, Keyed* first, Keyed* last, std::size_t from, bool trail) {
  // Most entries differ in their first 24 bytes; the rest are compared out of line.
  const auto tieLess = [&](const Keyed& a, const Keyed& b) __attribute__((noinline)) {
    if (int c = TailCompare(list[a.index], list[b.index], from, trail)) return c < 0;
    return a.index < b.index;
  };
  const auto less = [&](const Keyed& a, const Keyed& b) {
    if (a.h0 != b.h0) return a.h0 < b.h0;
    if (a.h1 != b.h1) return a.h1 < b.h1;
    if (a.h2 != b.h2) return a.h2 < b.h2;
    return tieLess(a, b);
  };
  // So do the two copies of a collection merged with itself, one after the other.
  Keyed* const run = std::is_sorted_until(first, last, less);
  if (run == last) return;
  if (std::is_sorted(run, last, less))
    std::inplace_merge(first, run, last, less);
  else
    std::sort(first, last, less);
}

// Where each entry lies and in what order: the contents of each folder path, and the entries
// that lie in none, in collation order; the folder entry that stands for each path.
struct Layout {
  std::vector<bool> folder;             // by entry: a folder entry
  std::vector<std::uint32_t> contents;  // by entry: the path whose contents follow it, or kNone
  std::vector<std::uint32_t> begin;     // by path: its contents are items[begin[p], begin[p+1])
  std::vector<Keyed> items;
  std::vector<Keyed> top;  // non-empty entries that lie in no folder
};

// keep: the entries of a folder stay in the order of the list instead of collation order.
Layout LayOut(const BookmarkList& list, bool keep) {
  const std::uint32_t n = static_cast<std::uint32_t>(list.size());
  Layout layout;
  layout.folder.resize(n);
  for (std::uint32_t j = 0; j < n; ++j) layout.folder[j] = TBookmarkControl::IsFolderEntry(list[j]);
  const FolderPaths paths(list, layout.folder);
  const std::uint32_t pathCount = paths.PathCount();

  // Of the folder entries of one path the first in collation order (or in the list) stands
  // for all.
  std::vector<std::uint32_t> first(pathCount, kNone);
  for (std::uint32_t j = 0; j < n; ++j) {
    if (!layout.folder[j]) continue;
    std::uint32_t& f = first[paths.PathOf(j)];
    if (f == kNone || (!keep && platform::CompareText(list[j], list[f]) < 0)) f = j;
  }
  layout.contents.assign(n, kNone);
  for (std::uint32_t id = 0; id < pathCount; ++id) layout.contents[first[id]] = id;
  // Whether the byte after each path is the second byte of a character.
  std::vector<bool> trailAfter(pathCount);
  for (std::uint32_t id = 0; id < pathCount; ++id)
    trailAfter[id] = TrailAt(paths.Path(id), paths.Path(id).size());

  // The path each entry lies in, counted by path.
  std::vector<std::uint32_t> home(n, kNone);
  layout.begin.assign(pathCount + 1, 0);
  std::vector<std::uint32_t> top;
  ContainerSearch containers(paths);
  for (std::uint32_t j = 0; j < n; ++j) {
    // The entries may lie anywhere in memory: the ones a little ahead are fetched meanwhile.
    if (j + 8 < n) __builtin_prefetch(list[j + 8].data());
    if (list[j].empty()) continue;
    std::uint32_t id = kNone;
    if (layout.folder[j] && first[paths.PathOf(j)] != j)
      id = paths.PathOf(j);  // a second entry of one folder lies in the first
    else
      id = containers.Of(list[j]);
    if (id == kNone) {
      top.push_back(j);
      continue;
    }
    home[j] = id;
    ++layout.begin[id + 1];
  }
  for (std::uint32_t id = 0; id < pathCount; ++id) layout.begin[id + 1] += layout.begin[id];
  // Everything inside a folder begins with the folder's path, so its key is taken from there
  // on. Filled from the back, so that each folder's entries keep their order in the list.
  layout.items.resize(layout.begin[pathCount]);
  std::vector<std::uint32_t> end(layout.begin.begin() + 1, layout.begin.end());
  for (std::uint32_t j = n; j-- > 0;) {
    if (j >= 8) __builtin_prefetch(list[j - 8].data());
    const std::uint32_t id = home[j];
    if (id == kNone) continue;
    layout.items[--end[id]] = HeadOf(list[j], j, paths.Path(id).size(), trailAfter[id]);
  }
  home = {};
  end = {};

  for (std::uint32_t id = 0; id < pathCount && !keep; ++id) {
    if (layout.begin[id + 1] - layout.begin[id] < 2) continue;
    SortKeyed(list, layout.items.data() + layout.begin[id],
              layout.items.data() + layout.begin[id + 1], paths.Path(id).size(), trailAfter[id]);
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
  if (!keep)
    SortKeyed(list, layout.top.data(), layout.top.data() + layout.top.size(), common, trail);
  return layout;
}

// The new place of every entry: each folder that lies in none followed by what lies in it,
// depth first, then the other entries that lie in none (or, keep, each of these in its place
// among the folders). Empty entries go.
std::vector<std::uint32_t> GroupedOrder(const BookmarkList& list, const Layout& layout, bool keep) {
  std::vector<std::uint32_t> order;
  order.reserve(list.size());
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;  // path, next of its contents
  for (const Keyed& top : layout.top) {
    if (!layout.folder[top.index]) {
      if (keep) order.push_back(top.index);
      continue;
    }
    order.push_back(top.index);
    stack.push_back({layout.contents[top.index], layout.begin[layout.contents[top.index]]});
    while (!stack.empty()) {
      auto& [path, next] = stack.back();
      if (next == layout.begin[path + 1]) {
        stack.pop_back();
        continue;
      }
      const std::uint32_t inside = layout.items[next++].index;
      order.push_back(inside);
      if (const std::uint32_t inner = layout.contents[inside];
          inner != kNone && layout.begin[inner] != layout.begin[inner + 1])
        stack.push_back({inner, layout.begin[inner]});
    }
  }
  if (!keep)
    for (const Keyed& top : layout.top)
      if (!layout.folder[top.index]) order.push_back(top.index);
  return order;
}

}  // namespace

void TBookmarkControl::Regroup(BookmarkList& list, Order order_) {
  if (list.empty()) return;
  const bool keep = order_ == Order::Keep;
  std::vector<std::uint32_t> order;
  {
    const Layout layout = LayOut(list, keep);
    order = GroupedOrder(list, layout, keep);
  }
  // Each entry is moved once, into its place in a new list; the entries it is taken from lie
  // anywhere, so the ones a little ahead are fetched meanwhile.
  BookmarkList grouped;
  grouped.reserve(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (k + 8 < order.size()) __builtin_prefetch(&list[order[k + 8]]);
    if (!list[order[k]].empty()) grouped.push_back(std::move(list[order[k]]));
  }
  list.swap(grouped);
}

}  // namespace lf
