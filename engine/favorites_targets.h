// The folders and shortcut files the Favorites writer makes for the entries of a list, for
// those who must know them beforehand (the editor page's write-back deletes only what the
// writer did not make).
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace lf {

class FavoritesTargets {
 public:
  // The folder the writer makes for a folder entry, its names below the root as a Favorites
  // name can hold them; empty for any other entry.
  static std::string Folder(std::string_view entry);
  // The shortcut file the writer makes for the next URL entry of one write, in list order: the
  // link's name as a Favorites name can hold it, and a second link of one name in one folder
  // numbered "Name (2).url"; empty for an entry it makes none for (a folder entry, one without
  // a link marker, or one whose address a shortcut cannot hold).
  std::string File(std::string_view entry);

 private:
  std::unordered_set<std::string> used_;
  std::string folder_;  // the folder of the last link, its names below the root and its target
  int folderNames_ = -1;
  std::string folderTarget_;
};

}  // namespace lf
