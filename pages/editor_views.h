// The editor page's folder tree and link list, kept in step with the session's list: the node
// of a folder path, the tree made again from the list, the links of one folder as the list
// holds them now. Changes the page makes to the views itself are told apart from the user's.
#pragma once

#include <QTreeWidget>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/bookmark_list.h"
#include "engine/ui.h"
#include "qtui/qt_views.h"

namespace lf {

class EditorSession;

// Replaces oldPath at the start of path (when path is it or lies below it) by newPath.
void RebasePath(std::string& path, const std::string& oldPath, const std::string& newPath);

class EditorViews {
 public:
  // chosen is what the page does when a node is clicked; it is called, too, when the page
  // chooses a node itself. bar is the page's, for the making of the tree.
  EditorViews(QTreeWidget* treeView, QTreeWidget* listView, ProgressBar& bar,
              EditorSession& session, std::function<void()> chosen);

  QtTreeView& Tree() { return tree_; }
  const QtTreeView& Tree() const { return tree_; }
  QtListItems& Items() { return items_; }

  // True while the page itself changes the views: their signals are not the user's then.
  bool Updating() const { return updating_; }
  // Makes the change with Updating() true.
  template <typename Change>
  void Quietly(Change&& change) {
    const bool before = updating_;
    updating_ = true;
    change();
    updating_ = before;
  }
  // Folders and links renamed in place, or not (while a step uses the list).
  void AllowRenames(bool allow);

  // Shows the links of the folder, unless they are shown already as the list holds them now.
  void FillList(const std::string& folderPath);
  // The folder whose links the list shows.
  const std::string& ShownFolder() const { return shownFolder_; }
  // A folder has been renamed: the shown folder goes with it when it lies below.
  void FolderRenamed(const std::string& oldPath, const std::string& newPath);
  // The entry of a link item in the folder shown; nullptr for an item without one.
  Entry* ItemEntry(const std::string& caption);
  // The link items in the order the list shows them, selected or all.
  std::vector<QTreeWidgetItem*> ListItems(bool selectedOnly) const;
  // Takes these items out of the link list at once.
  void RemoveListItems(const std::vector<QTreeWidgetItem*>& items);
  // Chooses the link items of these captions, the first of them in sight.
  void SelectListItems(const std::unordered_set<std::string>& captions);
  // Keeps an item the user has just renamed chosen and in sight, wherever the new name has
  // sorted it to: the next click must not land on the item that took its place.
  void KeepInView(QTreeWidgetItem* item);

  // Makes the item the current node, as a click would.
  void SelectNode(QTreeWidgetItem* item);
  // Chooses the node of a folder path (the root node when there is none), its branch opened.
  void SelectPath(const std::string& folderPath);
  // The tree node of a folder path (the first of equal captions), or nullptr.
  QTreeWidgetItem* NodeOfPath(const std::string& folderPath) const;
  // The folder path of a node, as SelectedFolderPath gives it for the selected one.
  std::string NodePath(TreeView::Node node) const;
  // True if another node of the tree stands for the same folder path.
  bool PathShared(TreeView::Node node) const;
  // Makes the tree from the list under the root caption, the top-level folders in sight.
  void ShowTree(const std::string& rootCaption);
  // Makes the tree again under the same root caption and chooses the folder.
  void RebuildTree(const std::string& folderPath);
  // Position of the selected tree node below the root (the level of its links).
  int SelectedLevel() const;

 private:
  QTreeWidget* treeView_;
  QTreeWidget* listView_;
  ProgressBar& bar_;
  EditorSession& session_;
  std::function<void()> chosen_;
  QtTreeView tree_;
  QtListItems items_;
  bool updating_ = false;
  std::string shownFolder_;
  // The session's count of changes when the list was filled last.
  unsigned long shownVersion_ = 0;
};

}  // namespace lf
