// The merge of the bookmark file and the Favorites writes the bookmark file's links into the
// Favorites and reads the whole folder back. A Favorites name drops characters a file name
// cannot hold and numbers copies of one name, so what comes back of those links carries the
// Favorites' names; the bookmark file must keep its own.
#pragma once

#include <string>
#include <unordered_map>

#include "engine/bookmark_list.h"

namespace lf {

class MergeNames {
 public:
  // The entries about to be written into the Favorites, in the order the writer takes them;
  // the folders and shortcuts they will become are found as the writer finds them.
  explicit MergeNames(const BookmarkList& written);
  // Gives the entries read back from the Favorites the names the written ones had: a folder
  // or link that one of them became is that entry again, and whatever else lies in such a
  // folder lies in it under its own name. The list is regrouped.
  void Restore(BookmarkList& readBack) const;

 private:
  std::unordered_map<std::string, Entry> links_;    // shortcut file -> its entry
  std::unordered_map<std::string, Entry> folders_;  // folder made -> its entry
};

}  // namespace lf
