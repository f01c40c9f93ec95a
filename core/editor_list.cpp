#include "core/editor_list.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "core/entry_names.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/collation.h"
#include "platform/file_system.h"

namespace lf {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// True for the folder's own entry: its path, ".dir" and its level character.
bool IsOwnFolderEntry(std::string_view entry, std::string_view folderPath) {
  return entry.size() == folderPath.size() + 5 && StartsWith(entry, folderPath) &&
         ViewOf(entry).OwnPath() == folderPath;
}

// True for an entry below the folder: its path and a "\" (the link marker begins with one).
bool IsBelow(std::string_view entry, std::string_view folderPath) {
  return entry.size() > folderPath.size() && StartsWith(entry, folderPath) &&
         entry[folderPath.size()] == '\\';
}

}  // namespace

void Touch(Entry& entry) {
  // A link of the Favorites edited in place has nowhere to keep the date: its shortcut
  // holds the date it was added, and a note after every rename would tell the user nothing.
  if (entry.props.Has(Prop::ShortcutFile)) return;
  entry.props.Set(Prop::Modified, std::to_string(DateStamp()));
}

bool SplitUrlEntry(std::string_view entry, UrlEntryParts& parts) {
  // Split where the writers split, so that a rewritten entry keeps the name, level and
  // address they read from it; the address is all the text after the name, so one typed
  // without a known scheme survives a rewrite.
  const EntryView link = ViewOf(entry);
  if (!link.IsLink()) return false;
  parts.folderPath = std::string(link.folderPath);
  parts.name = std::string(link.name);
  parts.level = link.key.empty() ? '0' : link.key.back();
  parts.address = std::string(link.url);
  return true;
}

Entry MakeUrlEntry(const UrlEntryParts& parts) {
  return MakeLinkEntry(parts.folderPath, parts.name, parts.level, parts.address);
}

bool LiesDirectlyIn(std::string_view entry, std::string_view folderPath) {
  return StartsWith(entry, folderPath) &&
         entry.substr(folderPath.size(), kLinkMarker.size()) == kLinkMarker;
}

bool ShownAs(std::string_view entry, std::string_view name) {
  if (LinkCaption(entry) == name) return true;
  UrlEntryParts parts;
  return SplitUrlEntry(entry, parts) && parts.name == name;
}

std::size_t FindItemEntry(const BookmarkList& list, std::string_view folderPath,
                          std::string_view name) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (LiesDirectlyIn(list[i], folderPath) && ShownAs(list[i], name)) return i;
  return std::string_view::npos;
}

std::size_t FindFolderEntry(const BookmarkList& list, std::string_view folderPath) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (IsOwnFolderEntry(list[i], folderPath)) return i;
  return std::string_view::npos;
}

std::string ParentPath(std::string_view folderPath) {
  const std::size_t cut = FindLastChar(folderPath, "\\");
  return std::string(folderPath.substr(0, cut == std::string_view::npos ? 0 : cut));
}

bool UsableFolderName(std::string_view name) {
  return platform::IsPlainName(name) && FindLastChar(name, "\\/") == std::string_view::npos;
}

void InsertFolderEntry(BookmarkList& list, std::string_view parentPath, std::string_view name,
                       int level) {
  list.insert(list.begin(), MakeFolderEntry(parentPath, name, level));
}

int RenameFolderEntries(BookmarkList& list, std::string_view oldPath, std::string_view newPath) {
  // Only the first of identical folder entries is renamed, as only one node was.
  const std::size_t own = FindFolderEntry(list, oldPath);
  if (own != std::string_view::npos) Touch(list[own]);
  int changed = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i != own && !IsBelow(list[i], oldPath)) continue;
    list[i].replace(0, oldPath.size(), newPath);
    ++changed;
  }
  return changed;
}

void DirDel(BookmarkList& list, std::string_view folderPath, int fallbackLevel, Order order) {
  const std::string parent = ParentPath(folderPath);
  const std::size_t own = FindFolderEntry(list, folderPath);
  const char level = own != std::string_view::npos ? list[own].back() : LevelChar(fallbackLevel);
  // Only the first of identical folder entries goes, as the tree loses only one node.
  BookmarkList kept;
  kept.reserve(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    Entry& entry = list[i];
    if (i == own) continue;
    if (!IsBelow(entry, folderPath)) {
      kept.push_back(std::move(entry));
      continue;
    }
    UrlEntryParts parts;
    if (!SplitUrlEntry(entry, parts)) continue;  // a sub-folder, now without links
    parts.folderPath = parent;
    parts.level = level;
    entry.assign(MakeUrlEntry(parts));  // what the link carries stays with it
    kept.push_back(std::move(entry));
  }
  list = std::move(kept);
  TBookmarkControl::Regroup(list, order);
}

bool RenameUrlEntry(BookmarkList& list, std::string_view folderPath, std::string_view oldName,
                    std::string_view newName) {
  const std::size_t at = FindItemEntry(list, folderPath, oldName);
  if (at == std::string_view::npos) return false;
  UrlEntryParts parts;
  SplitUrlEntry(list[at], parts);
  parts.name = std::string(newName);
  list[at].assign(MakeUrlEntry(parts));  // what the link carries stays with it
  Touch(list[at]);
  return true;
}

int MoveUrlEntries(BookmarkList& list, std::string_view sourceFolder, std::string_view name,
                   std::string_view destination, int destinationLevel) {
  int moved = 0;
  for (std::string& entry : list) {
    if (!LiesDirectlyIn(entry, sourceFolder) || !ShownAs(entry, name)) continue;
    UrlEntryParts parts;
    SplitUrlEntry(entry, parts);
    parts.folderPath = std::string(destination);
    parts.level = LevelChar(destinationLevel);
    entry = MakeUrlEntry(parts);
    ++moved;
  }
  return moved;
}

int MoveUrlEntries(BookmarkList& list, std::string_view sourceFolder,
                   const std::unordered_set<std::string>& names, std::string_view destination,
                   int destinationLevel) {
  int moved = 0;
  for (std::string& entry : list) {
    if (!LiesDirectlyIn(entry, sourceFolder)) continue;
    UrlEntryParts parts;
    if (!SplitUrlEntry(entry, parts)) continue;
    if (!names.contains(parts.name) && !names.contains(LinkCaption(entry))) continue;
    parts.folderPath = std::string(destination);
    parts.level = LevelChar(destinationLevel);
    entry = MakeUrlEntry(parts);
    ++moved;
  }
  return moved;
}

std::vector<std::size_t> ItemEntries(const BookmarkList& list, std::string_view folderPath,
                                     const std::vector<std::string>& names) {
  std::unordered_map<std::string, std::deque<std::size_t>> byName;
  for (const std::string& name : names) byName.try_emplace(name);
  // Every entry under each name it is shown as, in list order.
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!LiesDirectlyIn(list[i], folderPath)) continue;
    const std::string listed = LinkCaption(list[i]);
    if (auto it = byName.find(listed); it != byName.end()) it->second.push_back(i);
    UrlEntryParts parts;
    if (SplitUrlEntry(list[i], parts) && parts.name != listed)
      if (auto it = byName.find(parts.name); it != byName.end()) it->second.push_back(i);
  }
  std::vector<std::size_t> positions;
  positions.reserve(names.size());
  std::unordered_set<std::size_t> taken;
  for (const std::string& name : names) {
    std::deque<std::size_t>& candidates = byName[name];
    while (!candidates.empty() && taken.contains(candidates.front())) candidates.pop_front();
    if (candidates.empty()) {
      positions.push_back(std::string_view::npos);
      continue;
    }
    positions.push_back(candidates.front());
    taken.insert(candidates.front());
    candidates.pop_front();
  }
  return positions;
}

void EraseEntries(BookmarkList& list, const std::vector<std::size_t>& positions) {
  std::vector<bool> gone(list.size(), false);
  for (std::size_t at : positions)
    if (at < list.size()) gone[at] = true;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (gone[i]) continue;
    if (kept != i) list[kept] = std::move(list[i]);
    ++kept;
  }
  list.resize(kept);
}

}  // namespace lf
