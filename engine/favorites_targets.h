// The folders and shortcut files the Favorites writer makes for the entries of a list, for
// those who must know them beforehand (the editor page's write-back deletes only what the
// writer did not make), and the rules of the names in them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace lf {

class FavoritesTargets {
 public:
  // own: the shortcut files a read took in (program paths), which a write may rewrite; none
  // when null. Any other file in a link's place is someone else's and is never replaced.
  explicit FavoritesTargets(const std::unordered_set<std::string>* own = nullptr) : own_(own) {}

  // The folder the writer makes for a folder entry, its names below the root as a Favorites
  // name can hold them; empty for any other entry.
  static std::string Folder(std::string_view entry);
  // The shortcut file the writer makes for the next URL entry of one write, in list order: the
  // link's name as a Favorites name can hold it, with the letter case of its ".url" as read,
  // and, where this write has used the name already or something not the program's stands
  // there (a file of the user's own, a symbolic link, a shortcut of another address that no
  // read took in), the next free "Name (2).url"; empty for an entry it makes none for (a
  // folder entry, one without a link marker, or one whose address a shortcut cannot hold).
  std::string File(std::string_view entry);
  // The place File passed over last because something not the program's stood there; empty
  // when it passed over none.
  const std::string& PassedOver() const { return passedOver_; }

 private:
  const std::unordered_set<std::string>* own_;
  std::unordered_set<std::string> used_;
  // By folder and name: the last number given, so that many links of one name cost no more
  // than as many of different names.
  std::unordered_map<std::string, int> numbers_;
  std::string folder_;  // the folder of the last link, its names below the root and its target
  int folderNames_ = -1;
  std::string folderTarget_;
  // The names in the folder's target on the disk, by their folded form (FoldedName).
  std::unordered_map<std::string, std::string> onDisk_;
  std::string passedOver_;
};

// A name as a file or folder of the Favorites can hold it: without the characters Windows
// keeps out of file names. The one rule for names of shortcuts and their folders.
std::string FavoritesName(std::string_view name);

// The name or path with the capitals of its single-byte characters made small: the names a
// file system that ignores letter case takes for one.
std::string FoldedName(std::string_view name);

// True if the last `names` components of the path (those that come from the list) are plain
// names under a named root and nothing in the path climbs up a folder: a target the writer
// may make.
bool SafeTarget(std::string_view path, int names);

}  // namespace lf
