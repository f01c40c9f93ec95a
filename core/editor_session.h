// The collection the editor page edits, without its window: the Favorites (operation 5) or the
// bookmark file (operation 8) read once per opening, a further bookmark file merged into it
// (operation 8), the list written back on "実行", and what the page knows of the list
// meanwhile. The window is reached only through the engine's interfaces.
#pragma once

#include <memory>
#include <string>

#include "core/app_state.h"
#include "core/favorites_writeback.h"
#include "engine/bookmark_control.h"
#include "engine/bookmark_list.h"
#include "engine/ui.h"

namespace lf {

class EditorSession {
 public:
  // The settings and counters are the program's, read at every step as they are then. The
  // cancel flag among the counters is the page's: the session never clears it.
  EditorSession(const Settings& settings, RunCounters& counters);
  ~EditorSession();

  // True for operation 8: the bookmark file is edited, and further ones may be merged into it.
  bool EditsBookmarkFile() const;

  // Reads the collection into a new list and its folders into the tree. False when the read
  // was cancelled or the collection is there and could not be read: the list is not whole
  // then and never becomes ready, so nothing replaces the collection.
  bool Load(Owner& owner, StatusLabel& status, ProgressBar& bar, TreeView& tree);
  // Reads a further bookmark file into the list, which counts as changed; the new entries are
  // not regrouped yet, so that the tree is made from them as read. False when the read was
  // cancelled (the list holds a part of the file then).
  bool Merge(Owner& owner, StatusLabel& status, ProgressBar& bar, const std::string& file);
  // Writes the list back into the collection it was read from: the Favorites through
  // FavoritesWriteBack (the cancel flag stops it), the bookmark file in one go, whatever the
  // cancel flag says. The list counts as written once everything went through.
  WriteBackResult Write(Owner& owner, StatusLabel& status, ProgressBar& bar);
  // Forgets the list and what it was read from: the page has been left.
  void Release();

  bool HasList() const { return list_ != nullptr; }
  // True when the last load found the collection and could not read it.
  bool Unread() const { return unread_; }
  // True once the load went to its end, until the list is released.
  bool Ready() const { return list_ && ready_; }
  // The list; only while HasList().
  BookmarkList& List() { return *list_; }
  const BookmarkList& List() const { return *list_; }
  // The user has changed the list.
  void Changed();
  // True while the ready list holds changes that no write has taken in completely.
  bool Unsaved() const { return Ready() && dirty_; }
  // Counts the changes of the list, so that a view can tell whether it shows the list as it is.
  unsigned long Version() const { return version_; }

  // The root path of the entries: the Favorites folder setting, as the readers file under it.
  std::string RootPath() const;
  bool IsRootPath(const std::string& folderPath) const { return folderPath == RootPath(); }
  // The order the list is kept in after an edit: the one it was read in.
  Order ListOrder() const { return control_.ListOrder; }

 private:
  TBookmarkControl control_;
  const Settings& settings_;
  RunCounters& counters_;
  std::unique_ptr<BookmarkList> list_;
  // The shortcut files and folders the Favorites list stands for (operation 5).
  std::unique_ptr<FavoritesWriteBack> writeBack_;
  bool ready_ = false;   // the load finished without being cancelled
  bool unread_ = false;  // the collection is there and could not be read
  bool dirty_ = false;   // the list holds changes not written yet
  unsigned long version_ = 0;
};

// What the status label says after a write that was not cancelled (Shift-JIS): empty when it
// went through.
std::string WriteResultText(const WriteBackResult& result);

}  // namespace lf
