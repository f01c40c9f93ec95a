// Writing the editor page's list back into the Favorites folder it was read from, so that the
// folder ends up holding the list while nothing the user did not change is lost. Every entry
// is written (the writer replaces a shortcut only by a complete new one; a renamed or moved
// link's file is first renamed to its new place, so it keeps all it holds); only after a write
// without any failure are the shortcut files that the page itself read (or wrote) and that
// the list no longer names deleted, and the folders it no longer names removed when empty.
// A file the reader did not take in -- one without a URL, of another kind, beside the
// folder -- is never touched, and no copy is kept anywhere outside the Favorites folder.
#pragma once

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/bookmark_list.h"
#include "engine/ui.h"

namespace lf {

class TBookmarkControl;

// What one write-back did.
struct WriteBackResult {
  bool written = false;  // every entry written, nothing cancelled: the folder holds the list
  bool cancelled = false;
  int linksNotWritten = 0;  // links the writer could not write (they are in the lost-data log)
  int failures = 0;         // what the write failed to do, links and folders alike
  int filesNotDeleted = 0;  // shortcuts no longer in the list that could not be deleted
};

// The shortcut files a list read from the Favorites was read from (program paths): the files a
// write of that list may rewrite.
std::unordered_set<std::string> ShortcutFilesOf(const BookmarkList& loaded);

// Marks each link of a list read from the Favorites with its shortcut file
// (Prop::ShortcutFile): renamed or moved on the page, a link so marked takes its file, and all
// the file holds beside its address, along when written back.
void MarkShortcutFiles(BookmarkList& loaded);

// The shortcut files and folders of one Favorites folder that belong to the page's list.
class FavoritesWriteBack {
 public:
  // The Favorites folder and the list as its reader made it: the shortcut files behind its
  // URL entries and the folders behind its folder entries are the page's own from now on.
  FavoritesWriteBack(const std::string& favorites, const BookmarkList& loaded);

  // Writes the list into the folder and, when that went through, deletes what the list no
  // longer holds. The counters are those of the page (the cancel flag stops the write).
  WriteBackResult Write(TBookmarkControl& control, Owner& owner, ProgressBar& bar,
                        RunCounters& counters, const BookmarkList& list);

 private:
  // Renames the files of renamed or moved links (from, to) before the write, where that is
  // safe; targets: every file the write gives a link.
  void TakeFilesAlong(const std::vector<std::pair<std::string, std::string>>& moves,
                      const std::unordered_set<std::string>& targets);

  std::string favorites_;
  std::unordered_set<std::string> files_;    // shortcut files of the page
  std::unordered_set<std::string> folders_;  // folders of the page
};

}  // namespace lf
