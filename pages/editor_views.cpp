#include "pages/editor_views.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "core/editor_list.h"
#include "core/editor_session.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace lf {
namespace {

// Every item of a tree, without recursing.
template <typename Visit>
void ForEachItem(QTreeWidget* tree, Visit visit) {
  std::vector<QTreeWidgetItem*> pending;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) pending.push_back(tree->topLevelItem(i));
  while (!pending.empty()) {
    QTreeWidgetItem* item = pending.back();
    pending.pop_back();
    visit(item);
    for (int i = 0; i < item->childCount(); ++i) pending.push_back(item->child(i));
  }
}

}  // namespace

void RebasePath(std::string& path, const std::string& oldPath, const std::string& newPath) {
  if (path == oldPath ||
      (path.size() > oldPath.size() && path.compare(0, oldPath.size(), oldPath) == 0 &&
       path[oldPath.size()] == '\\'))
    path.replace(0, oldPath.size(), newPath);
}

EditorViews::EditorViews(QTreeWidget* treeView, QTreeWidget* listView, ProgressBar& bar,
                         EditorSession& session, std::function<void()> chosen)
    : treeView_(treeView),
      listView_(listView),
      bar_(bar),
      session_(session),
      chosen_(std::move(chosen)),
      tree_(treeView, true),
      items_(listView, true) {}

void EditorViews::AllowRenames(bool allow) {
  for (QTreeWidget* view : {treeView_, listView_})
    view->setEditTriggers(allow ? QAbstractItemView::SelectedClicked |
                                      QAbstractItemView::EditKeyPressed
                                : QAbstractItemView::NoEditTriggers);
}

void EditorViews::FillList(const std::string& folderPath) {
  // A mouse click makes a node current and then clicks it: the second would fill the same
  // links again.
  if (folderPath == shownFolder_ && shownVersion_ == session_.Version()) return;
  shownVersion_ = session_.Version();
  Quietly([&] { TBookmarkControl::FillUrlList(folderPath, session_.List(), items_); });
  shownFolder_ = folderPath;
}

void EditorViews::FolderRenamed(const std::string& oldPath, const std::string& newPath) {
  RebasePath(shownFolder_, oldPath, newPath);
}

Entry* EditorViews::ItemEntry(const std::string& caption) {
  if (!session_.HasList()) return nullptr;
  BookmarkList& list = session_.List();
  const std::size_t at = FindItemEntry(list, shownFolder_, caption);
  return at == std::string::npos ? nullptr : &list[at];
}

std::vector<QTreeWidgetItem*> EditorViews::ListItems(bool selectedOnly) const {
  std::vector<QTreeWidgetItem*> items;
  if (selectedOnly) {
    // The selection model knows its rows; asking every item would take as long as the list.
    const QModelIndexList rows = listView_->selectionModel()->selectedRows();
    std::vector<int> numbers;
    numbers.reserve(static_cast<std::size_t>(rows.size()));
    for (const QModelIndex& row : rows) numbers.push_back(row.row());
    std::sort(numbers.begin(), numbers.end());
    for (int number : numbers) items.push_back(listView_->topLevelItem(number));
    return items;
  }
  items.reserve(static_cast<std::size_t>(listView_->topLevelItemCount()));
  for (int i = 0; i < listView_->topLevelItemCount(); ++i)
    items.push_back(listView_->topLevelItem(i));
  return items;
}

void EditorViews::RemoveListItems(const std::vector<QTreeWidgetItem*>& items) {
  if (items.empty()) return;
  Quietly([&] {
    std::unordered_set<QTreeWidgetItem*> gone(items.begin(), items.end());
    // One by one every removal would look for its item among all others.
    const QList<QTreeWidgetItem*> all = listView_->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> kept;
    kept.reserve(all.size());
    for (QTreeWidgetItem* item : all) {
      if (gone.contains(item))
        delete item;
      else
        kept.push_back(item);
    }
    listView_->addTopLevelItems(kept);
  });
}

void EditorViews::SelectListItems(const std::unordered_set<std::string>& captions) {
  QTreeWidgetItem* first = nullptr;
  Quietly([&] {
    listView_->clearSelection();
    for (QTreeWidgetItem* item : ListItems(false)) {
      if (!captions.contains(SjisText(item, 0))) continue;
      item->setSelected(true);
      if (!first) first = item;
    }
    if (first) listView_->setCurrentItem(first, 0, QItemSelectionModel::NoUpdate);
  });
  if (first) listView_->scrollToItem(first);
}

void EditorViews::KeepInView(QTreeWidgetItem* item) {
  QTreeWidget* view = item->treeWidget();
  if (!view) return;
  Quietly([&] {
    if (!item->isSelected()) {
      view->clearSelection();
      item->setSelected(true);
    }
    view->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
  });
  view->scrollToItem(item);
}

void EditorViews::SelectNode(QTreeWidgetItem* item) {
  Quietly([&] { treeView_->setCurrentItem(item); });
  chosen_();
}

void EditorViews::SelectPath(const std::string& folderPath) {
  QTreeWidgetItem* node = NodeOfPath(folderPath);
  if (!node) node = tree_.ItemOf(0);
  if (!node) return;
  for (QTreeWidgetItem* up = node->parent(); up; up = up->parent()) up->setExpanded(true);
  SelectNode(node);
}

QTreeWidgetItem* EditorViews::NodeOfPath(const std::string& folderPath) const {
  QTreeWidgetItem* node = tree_.ItemOf(0);  // the root node is made first
  const std::string root = session_.RootPath();
  if (folderPath.size() <= root.size() + 1) return node;
  std::string rest = folderPath.substr(root.size() + 1);
  while (node && !rest.empty()) {
    const std::size_t cut = FindCharBoundary(rest, "\\");
    const std::string name = rest.substr(0, cut);
    rest = cut == std::string::npos ? std::string() : rest.substr(cut + 1);
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < node->childCount() && !next; ++i)
      if (SjisText(node->child(i), 0) == name) next = node->child(i);
    node = next;
  }
  return node;
}

std::string EditorViews::NodePath(TreeView::Node node) const {
  std::vector<std::string> captions;  // from the node up to level 1
  for (int k = tree_.Level(node); k >= 1 && node != TreeView::kNoNode; --k) {
    captions.push_back(tree_.Caption(node));
    node = tree_.Parent(node);
  }
  std::string path = session_.RootPath();
  for (auto it = captions.rbegin(); it != captions.rend(); ++it) path += "\\" + *it;
  return path;
}

bool EditorViews::PathShared(TreeView::Node node) const {
  const int level = tree_.Level(node);
  const std::string caption = tree_.Caption(node);
  const std::string path = NodePath(node);
  bool shared = false;
  ForEachItem(treeView_, [&](QTreeWidgetItem* item) {
    if (shared || SjisText(item, 0) != caption) return;  // the cheap test first
    const TreeView::Node other = tree_.NodeOf(item);
    if (other != node && other != TreeView::kNoNode && tree_.Level(other) == level &&
        NodePath(other) == path)
      shared = true;
  });
  return shared;
}

void EditorViews::ShowTree(const std::string& rootCaption) {
  Quietly([&] {
    TBookmarkControl::BuildFolderTree(bar_, rootCaption, tree_, session_.List());
    treeView_->expandToDepth(0);
  });
}

void EditorViews::RebuildTree(const std::string& folderPath) {
  QTreeWidgetItem* root = tree_.ItemOf(0);
  ShowTree(root ? SjisText(root, 0) : std::string());
  SelectPath(folderPath);
}

int EditorViews::SelectedLevel() const {
  return tree_.Level(tree_.Selected());
}

}  // namespace lf
