// The editor page's changes to a bookmark list: folders added, renamed and dissolved, links
// found by the caption the link list shows, renamed, edited, moved and deleted. No windows
// here, so every rule about which entries an edit touches can be checked on plain lists.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/bookmark_list.h"

namespace lf {

// The four parts of a URL entry: folder path, link marker, name, ".url", level, "\", address.
struct UrlEntryParts {
  std::string folderPath;
  std::string name;
  char level = '0';
  std::string address;
};

// Splits a URL entry where the writers split it; false for a folder entry (one without the
// link marker). The address is everything after the level, so an address typed without a
// known scheme survives a rewrite.
bool SplitUrlEntry(std::string_view entry, UrlEntryParts& parts);
Entry MakeUrlEntry(const UrlEntryParts& parts);

// Marks the entry as changed now, keeping everything else it carries; a link that is edited
// in its own Favorites (Prop::ShortcutFile) keeps no such date.
void Touch(Entry& entry);

// True if the entry lies directly in the folder: its path followed at once by the link marker.
bool LiesDirectlyIn(std::string_view entry, std::string_view folderPath);

// True if a link list item captioned name stands for the entry: the caption FillUrlList
// gives it, or its link name (which an edit shows; the two differ only for an address
// without a known scheme).
bool ShownAs(std::string_view entry, std::string_view name);

// Position of the first URL entry directly in the folder shown as name, or npos.
std::size_t FindItemEntry(const BookmarkList& list, std::string_view folderPath,
                          std::string_view name);

// Position of the folder's own entry (its path, ".dir" and a level character), or npos.
std::size_t FindFolderEntry(const BookmarkList& list, std::string_view folderPath);

// The folder path of the folder that holds folderPath: up to its last "\".
std::string ParentPath(std::string_view folderPath);

// True for a name the user may give a folder: it must stay one folder inside its parent.
bool UsableFolderName(std::string_view name);

// Puts a folder entry for name under parentPath at the top of the list.
void InsertFolderEntry(BookmarkList& list, std::string_view parentPath, std::string_view name,
                       int level);

// Gives the folder and everything below it the path newPath; returns how many entries changed.
int RenameFolderEntries(BookmarkList& list, std::string_view oldPath, std::string_view newPath);

// Dissolves a folder: every link at any depth below it becomes a link of the parent folder,
// and the folder's own entry and the entries of its sub-folders (empty now) are removed.
// fallbackLevel is the folder's level when the list holds no entry for it.
void DirDel(BookmarkList& list, std::string_view folderPath, int fallbackLevel,
            Order order = Order::Sort);

// Renames the link the shown caption oldName stands for in the folder; false if none.
bool RenameUrlEntry(BookmarkList& list, std::string_view folderPath, std::string_view oldName,
                    std::string_view newName);

// Moves every link of the source folder shown as name into the destination folder; returns
// how many moved.
int MoveUrlEntries(BookmarkList& list, std::string_view sourceFolder, std::string_view name,
                   std::string_view destination, int destinationLevel);
// The same for the links of several names at once, in one pass over the list.
int MoveUrlEntries(BookmarkList& list, std::string_view sourceFolder,
                   const std::unordered_set<std::string>& names, std::string_view destination,
                   int destinationLevel);

// The entries that items of the names stand for when they are taken out one after the other
// (each the first of its name in the folder not taken yet): their positions in the list,
// npos for an item without one. One pass over the list for all of them.
std::vector<std::size_t> ItemEntries(const BookmarkList& list, std::string_view folderPath,
                                     const std::vector<std::string>& names);

// Takes the entries at the positions out of the list in one pass; npos is passed over.
void EraseEntries(BookmarkList& list, const std::vector<std::size_t>& positions);

}  // namespace lf
