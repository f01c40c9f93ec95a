// Emptying the Favorites folder before the editor page writes its list back into it, so
// that the folder ends up holding exactly the list. The shortcut files are not deleted at
// once: they are moved into a keeping folder beside the Favorites folder and dropped only
// after the new content has been written without a failure. A write that fails (a full
// disk, a refused name) or is cancelled puts them back, and makes the folders removed
// meanwhile again, so it never loses a bookmark or a folder that was on disk.
#pragma once

#include <string>
#include <vector>

#include "engine/bookmark_list.h"
#include "engine/ui.h"

namespace lf {

class TBookmarkControl;

// The shortcut files taken out of one Favorites folder and where they are kept meanwhile,
// and the sub-folders removed after them.
class RemovedShortcuts {
 public:
  explicit RemovedShortcuts(std::string favorites);
  RemovedShortcuts(const RemovedShortcuts&) = delete;
  RemovedShortcuts& operator=(const RemovedShortcuts&) = delete;

  // Moves a file (its path below the Favorites folder) into the keeping folder. False when
  // it stays where it is; fatal is set when the keeping folder itself cannot be made (the
  // reason has been shown through the owner then).
  bool Take(Owner& owner, const std::string& relativePath, bool& fatal);
  // A sub-folder (its path below the Favorites folder) has been removed.
  void FolderRemoved(const std::string& relativePath);
  // The new content is complete: deletes the files kept and the keeping folder.
  void Discard();
  // The new content is not complete: the folders removed are made again, and every file kept
  // goes back to its place unless the new content has put a file there; what cannot go back
  // stays in the keeping folder, and the owner is told where.
  void PutBack(Owner& owner);

  // The keeping folder (empty until the first file is taken).
  const std::string& KeepFolder() const { return keep_; }
  std::size_t Count() const { return taken_.size(); }

 private:
  bool MakeKeepFolder(Owner& owner);
  bool MakeFolders(const std::string& base, const std::string& relativeDir, bool record);
  void RemoveMadeFolders();

  struct Taken {
    std::string relative;  // below the Favorites folder
    std::string kept;      // where it is now
  };
  std::string favorites_;
  std::string keep_;
  std::vector<Taken> taken_;
  std::vector<std::string> madeFolders_;     // inside the keeping folder, in the order made
  std::vector<std::string> removedFolders_;  // below the Favorites folder, deepest first
};

// Empties the Favorites folder: every shortcut file (a name holding ".url", or ending in it in
// any letter case) is taken out, then the
// sub-folders are removed, deepest first; a folder that cannot be removed is reported unless
// access was denied. Symbolic links are never followed and names that do not map back to
// the same file are left alone. False when the walk was cancelled or the folder cannot be
// emptied; nothing must be written then.
bool ClearFavoritesFolder(Owner& owner, const std::string& favorites, int& cancel,
                          RemovedShortcuts& removed);

// The editor page's write of the Favorites: ClearFavoritesFolder, then SaveFavorites while
// the cancel flag stays clear, then the files taken out are dropped after a write without
// failure and put back otherwise. True when the folder now holds the list.
bool ReplaceFavorites(TBookmarkControl& control, Owner& owner, ProgressBar& bar,
                      RunCounters& counters, const BookmarkList& list,
                      const std::string& favorites);

}  // namespace lf
