#include "pages/editor_page.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <unordered_set>

#include "core/app_state.h"
#include "core/editor_list.h"
#include "engine/sjis_text.h"
#include "pages/page_look.h"
#include "pages/url_dialog.h"
#include "qtui/message_service.h"
#include "qtui/sjis_qt.h"

namespace lf {
namespace {

constexpr int kEditIe = 5;
constexpr int kEditNn = 8;

constexpr char kNewFolder[] = "新規フォルダ";
constexpr char kBack[] = "<< 戻る";
constexpr char kCancel[] = "キャンセル";

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

// True when the shown text of an item is what the page last gave it (no edit by the user).
bool Unedited(const QTreeWidgetItem* item) {
  return item->text(0) == FromSjis(SjisText(item, 0));
}

// Replaces oldPath at the start of path (when path is it or lies below it) by newPath.
void Rebase(std::string& path, const std::string& oldPath, const std::string& newPath) {
  if (path == oldPath ||
      (path.size() > oldPath.size() && path.compare(0, oldPath.size(), oldPath) == 0 &&
       path[oldPath.size()] == '\\'))
    path.replace(0, oldPath.size(), newPath);
}

}  // namespace

TForm06* TForm05::UrlDialog() {
  if (!dialog_) dialog_ = new TForm06(page1_, this);
  return dialog_;
}

BookmarkList TForm05::List() const {
  return list_ ? *list_ : BookmarkList();
}

bool TForm05::Editable() const {
  return list_ && ready_ && step_ == Step::Idle;
}

bool TForm05::Unsaved() const {
  // After a cancelled merge the list is not whole, and "実行" stays off: nothing to write.
  return list_ && ready_ && dirty_ && button4_->isEnabled();
}

std::string TForm05::UnsavedWhat() const {
  return Sjis("編集した内容");
}

void TForm05::ReleaseLists() {
  list_.reset();
  writeBack_.reset();
  dirty_ = false;
}

// The root path of the page's entries: the Favorites folder setting, as the readers use it.
std::string TForm05::RootPath() const {
  return TBookmarkControl::RemoveBackslash(AppSettings().IEDirName);
}

bool TForm05::IsRootPath(const std::string& folderPath) const {
  return folderPath == RootPath();
}

int TForm05::SelectedLevel() const {
  return tree_.Level(tree_.Selected());
}

void TForm05::BeginStep(Step step) {
  step_ = step;
  // No in-place rename while a read or write uses the list.
  for (QTreeWidget* view : {treeView_, listView_})
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TForm05::EndStep() {
  step_ = Step::Idle;
  for (QTreeWidget* view : {treeView_, listView_})
    view->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  LeaveIfAsked();
}

void TForm05::ShowInterrupted() {
  label1_->setText(Jp("[ 処理が中断されました ]"));
  SetRedText(label1_, true);
  label1_->show();
}

void TForm05::ShowMemo() {
  memo_->show();
}

void TForm05::SetEditingButtons(bool add, bool del, bool newUrl, bool url, bool move) {
  btnAdd_->setEnabled(add);
  btnDel_->setEnabled(del);
  btnNew_->setEnabled(newUrl);
  btnURL_->setEnabled(url);
  btnMove_->setEnabled(move);
}

void TForm05::FillList(const std::string& folderPath) {
  // A mouse click makes a node current and then clicks it: the second would fill the same
  // links again.
  if (folderPath == shownFolderPath_ && shownVersion_ == listVersion_) return;
  shownVersion_ = listVersion_;
  updatingViews_ = true;
  TBookmarkControl::FillUrlList(folderPath, *list_, items_);
  updatingViews_ = false;
  shownFolderPath_ = folderPath;
}

void TForm05::SelectNode(QTreeWidgetItem* item) {
  updatingViews_ = true;
  treeView_->setCurrentItem(item);
  updatingViews_ = false;
  TreeViewClick();
}

// Chooses the node of a folder path (the root node when there is none), its branch opened.
void TForm05::SelectPath(const std::string& folderPath) {
  QTreeWidgetItem* node = NodeOfPath(folderPath);
  if (!node) node = tree_.ItemOf(0);
  if (!node) return;
  for (QTreeWidgetItem* up = node->parent(); up; up = up->parent()) up->setExpanded(true);
  SelectNode(node);
}

std::string TForm05::NodePath(TreeView::Node node) const {
  std::vector<std::string> captions;  // from the node up to level 1
  for (int k = tree_.Level(node); k >= 1 && node != TreeView::kNoNode; --k) {
    captions.push_back(tree_.Caption(node));
    node = tree_.Parent(node);
  }
  std::string path = RootPath();
  for (auto it = captions.rbegin(); it != captions.rend(); ++it) path += "\\" + *it;
  return path;
}

bool TForm05::PathShared(TreeView::Node node) const {
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

void TForm05::RebuildTree(const std::string& folderPath) {
  QTreeWidgetItem* root = tree_.ItemOf(0);
  const std::string caption = root ? SjisText(root, 0) : std::string();
  updatingViews_ = true;
  TBookmarkControl::BuildFolderTree(bar_, caption, tree_, *list_);
  treeView_->expandToDepth(0);
  updatingViews_ = false;
  SelectPath(folderPath);
}

QTreeWidgetItem* TForm05::NodeOfPath(const std::string& folderPath) const {
  QTreeWidgetItem* node = tree_.ItemOf(0);  // the root node is made first
  const std::string root = RootPath();
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

std::string* TForm05::ItemEntry(const std::string& caption) {
  if (!list_) return nullptr;
  const std::size_t at = FindItemEntry(*list_, shownFolderPath_, caption);
  return at == std::string::npos ? nullptr : &(*list_)[at];
}

std::vector<QTreeWidgetItem*> TForm05::ListItems(bool selectedOnly) const {
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

void TForm05::RemoveListItems(const std::vector<QTreeWidgetItem*>& items) {
  if (items.empty()) return;
  updatingViews_ = true;
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
  updatingViews_ = false;
}

void TForm05::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (loaded_) return;
  PlaceOnPage1(this, page1_);
  UrlDialog();
  // Load once the window has been painted.
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm05::FormActivate() {
  if (loaded_) return;
  loaded_ = true;
  RunCounters& run = AppRun().counters;
  const Settings& settings = AppSettings();
  run.cancel = 0;
  selectedFolderCaption_.clear();
  memo_->hide();
  button1_->setEnabled(false);
  button4_->setEnabled(false);
  button2_->setText(Jp(kCancel));

  list_ = std::make_unique<BookmarkList>();
  updatingViews_ = true;
  items_.Clear();
  tree_.Clear();
  updatingViews_ = false;
  treeView_->setEnabled(false);
  BeginStep(Step::Loading);
  owner_.ProcessMessagesNow();

  updatingViews_ = true;
  const int proc = settings.Proc;
  if (proc == kEditIe) {
    control_.LoadFavorites(owner_, &status_, run.cancel, run.errorCount, run.ieUrlCount, *list_,
                           &tree_, settings.IEDirName);
  } else if (proc == kEditNn) {
    control_.LoadBookmarkFile(owner_, &status_, run.cancel, run.nnUrlCount, bar_, *list_, &tree_,
                              settings.IEDirName, settings.NNFileName);
    btnNNfile_->setEnabled(true);
  }
  updatingViews_ = false;

  if (run.cancel) {
    ShowInterrupted();
    listView_->setEnabled(false);
  } else {
    ShowMemo();
    label1_->hide();
    treeView_->setEnabled(true);
    treeView_->expandToDepth(0);  // the top-level folders in sight, as on the transfer page
    TBookmarkControl::Regroup(*list_);
    for (QToolButton* button : {btnNNfile_, btnAdd_, btnDel_, btnNew_, btnMove_, btnURL_})
      button->show();
    button4_->setEnabled(true);
    ready_ = true;
    // What the reader took in is what a write may later replace or delete.
    if (proc == kEditIe) writeBack_ = std::make_unique<FavoritesWriteBack>(RootPath(), *list_);
  }
  moveMode_ = false;
  button2_->setText(Jp(kBack));
  button1_->setEnabled(true);
  button2_->setEnabled(true);
  EndStep();
}

void TForm05::TreeViewClick() {
  if (!list_ || !ready_ || step_ == Step::Loading) return;
  const TreeView::Node node = tree_.Selected();
  if (node == TreeView::kNoNode) return;
  selectedFolderCaption_ = tree_.Caption(node);
  currentFolderPath_ = TBookmarkControl::SelectedFolderPath(RootPath(), tree_);
  // While a move waits for its target the list keeps showing the source folder.
  if (moveMode_) return;
  SetEditingButtons(true, true, true, false, false);
  FillList(currentFolderPath_);
}

void TForm05::TreeViewEdited(QTreeWidgetItem* item) {
  if (Unedited(item)) return;
  const std::string oldName = SjisText(item, 0);
  const std::string newName = ToSjis(item->text(0));
  auto revert = [&] {
    updatingViews_ = true;
    SetSjisText(item, 0, oldName);
    updatingViews_ = false;
  };
  const TreeView::Node node = tree_.NodeOf(item);
  if (!Editable() || node == TreeView::kNoNode) return revert();
  // Edits start on the selected node; make sure the page's folder is the edited one.
  if (node != tree_.Selected()) SelectNode(item);
  if (IsRootPath(currentFolderPath_)) {
    // The root stands for the collection itself: its caption is not part of any path.
    updatingViews_ = true;
    tree_.SetCaption(node, newName);
    updatingViews_ = false;
    return;
  }
  if (!UsableFolderName(newName)) {
    owner_.Beep();
    return revert();
  }
  const std::string oldPath = currentFolderPath_;
  const std::string newPath = ParentPath(oldPath) + "\\" + newName;
  // Another node of the same path keeps its own entry and its old name, but what lay under
  // the path now lies under the new one: the tree is made again from the list then.
  const bool shared = PathShared(node);
  RenameFolderEntries(*list_, oldPath, newPath);
  TBookmarkControl::Regroup(*list_);
  Changed();
  updatingViews_ = true;
  tree_.SetCaption(node, newName);
  updatingViews_ = false;
  // The folder keeps being the chosen one under its new name.
  selectedFolderCaption_ = newName;
  Rebase(currentFolderPath_, oldPath, newPath);
  Rebase(shownFolderPath_, oldPath, newPath);
  Rebase(moveSourceFolder_, oldPath, newPath);
  if (shared) {
    // Rebuilt once the edit has ended: the edited item must outlive its own signal.
    QTimer::singleShot(0, this, [this, newPath] {
      if (Editable()) RebuildTree(newPath);
    });
  }
}

void TForm05::ListViewClick() {
  if (!list_) return;
  if (listView_->selectedItems().isEmpty()) return;
  btnURL_->setEnabled(true);
  btnCan_->setEnabled(true);
  btnMove_->setEnabled(true);
  btnDel_->setEnabled(false);
  btnAdd_->setEnabled(false);
  moveSourceFolder_ = shownFolderPath_;
  // Of the items visited from the last to the first, the topmost selected one gives the hint;
  // looking up the entries of all the others first would only cost time.
  const std::vector<QTreeWidgetItem*> selected = ListItems(true);
  const std::string* entry = selected.empty() ? nullptr : ItemEntry(SjisText(selected.front(), 0));
  hintUrl_ = entry ? TBookmarkControl::EntryUrl(*entry) : std::string();
  listView_->setToolTip(FromSjis(hintUrl_));
}

void TForm05::ListViewEdited(QTreeWidgetItem* item) {
  if (Unedited(item)) return;
  const std::string oldName = SjisText(item, 0);
  const std::string newName = TBookmarkControl::EntryLinkName(ToSjis(item->text(0)));
  // A link without a name would have no file name and no caption.
  if (!Editable() || newName.empty()) {
    updatingViews_ = true;
    SetSjisText(item, 0, oldName);
    updatingViews_ = false;
    return;
  }
  RenameUrlEntry(*list_, shownFolderPath_, oldName, newName);
  updatingViews_ = true;
  SetSjisText(item, 0, newName);
  updatingViews_ = false;
  TBookmarkControl::Regroup(*list_);
  Changed();
  moveMode_ = false;
}

void TForm05::ListViewDblClick() {
  if (!Editable()) return;
  QTreeWidgetItem* item = nullptr;
  for (int i = 0; i < listView_->topLevelItemCount() && !item; ++i)
    if (listView_->topLevelItem(i)->isSelected()) item = listView_->topLevelItem(i);
  if (!item) return;
  const std::string caption = SjisText(item, 0);
  if (!ItemEntry(caption)) return;
  UrlEntryParts parts;
  SplitUrlEntry(*ItemEntry(caption), parts);
  TForm06* dialog = UrlDialog();
  dialog->SetName(caption);
  dialog->SetAddress(parts.address);
  dialog->exec();
  UrlDialogValues& values = UrlDialogShared();
  if (!values.accepted) return;
  std::string* entry = ItemEntry(caption);
  if (!entry) return;
  const char level = parts.level;
  SplitUrlEntry(*entry, parts);
  parts.name = TBookmarkControl::EntryLinkName(dialog->Name());
  parts.address = dialog->Address();
  parts.level = level;
  *entry = MakeUrlEntry(parts);
  updatingViews_ = true;
  SetSjisText(item, 0, parts.name);
  updatingViews_ = false;
  TBookmarkControl::Regroup(*list_);
  Changed();
  values.accepted = 0;
}

void TForm05::ImageClick() {
  if (hintUrl_.empty()) return;
  if (MessageService::Instance().OpenUrl(hintUrl_)) return;
  owner_.Beep();
  MessageService::Instance().Show(this, Sjis("Web プラウザプログラムを起動できませんでした。"),
                                  Sjis("警告"), kMbIconWarning | kMbOk);
}

void TForm05::BtnNNfileClick() {
  if (!Editable() || AppSettings().Proc != kEditNn) return;
  const Settings& settings = AppSettings();
  const std::size_t cut = FindLastChar(settings.NNFileName, "\\/");
  const std::string folder =
      cut == std::string::npos ? std::string() : settings.NNFileName.substr(0, cut);
  const std::optional<std::string> file = MessageService::Instance().OpenFile(
      this, std::string(), "HTM files|*.htm|HTML files|*.html|ALL files|*.*", folder, "htm", false);
  if (!file) return;

  RunCounters& run = AppRun().counters;
  run.cancel = 0;
  button1_->setEnabled(false);
  button2_->setText(Jp(kCancel));
  memo_->hide();
  barWidget_->show();
  SetRedText(label1_, false);
  label1_->setText(Jp("[ ブックマークファイルの読み込み ]"));
  label1_->show();
  treeView_->setEnabled(false);
  BeginStep(Step::Merging);

  control_.ReadBookmarkFile(owner_, *file, run.cancel, run.nnUrlCount, nullptr, false, *list_, bar_,
                            settings.IEDirName);
  Changed();
  if (run.cancel) {
    ShowInterrupted();
    button4_->setEnabled(false);
    listView_->setEnabled(false);
  } else {
    label1_->setText(Jp("[フォルダの再構築]"));
    owner_.ProcessMessagesNow();
    updatingViews_ = true;
    TBookmarkControl::BuildFolderTree(bar_, settings.NNFileName, tree_, *list_);
    treeView_->expandToDepth(0);  // the top-level folders in sight again, as after the load
    updatingViews_ = false;
    label1_->hide();
    ShowMemo();
    treeView_->setEnabled(true);
    button4_->setEnabled(true);
    // A merge cancelled before left the links disabled; the list is whole again now.
    listView_->setEnabled(true);
  }
  button2_->setText(Jp(kBack));
  barWidget_->hide();
  TBookmarkControl::Regroup(*list_);
  button1_->setEnabled(true);
  button2_->setEnabled(true);
  moveMode_ = false;

  // The tree is new: choose the folder that was chosen before, so that the level of what is
  // made next comes from the node of that folder.
  if (!run.cancel && !currentFolderPath_.empty()) SelectPath(currentFolderPath_);
  EndStep();
}

void TForm05::BtnAddClick() {
  if (!Editable() || moveMode_) return;
  const TreeView::Node node = tree_.Selected();
  if (node == TreeView::kNoNode) return;
  const int level = tree_.Level(node);
  // A folder one level deeper would give its links a level the list cannot hold.
  if (level > kMaxFolderLevel) {
    owner_.Beep();
    return;
  }
  const std::string name = Sjis(kNewFolder);
  updatingViews_ = true;
  tree_.AddChild(node, name, kImageFolder, kImageOpenFolder);
  tree_.ItemOf(node)->setExpanded(true);
  updatingViews_ = false;
  InsertFolderEntry(*list_, currentFolderPath_, name, level);
  TBookmarkControl::Regroup(*list_);
  Changed();
  btnAdd_->setEnabled(false);
}

void TForm05::BtnDelClick() {
  if (!Editable() || moveMode_) return;
  const TreeView::Node node = tree_.Selected();
  // The root (or a node shown beside it) stands for the whole collection: never deleted.
  if (node == TreeView::kNoNode || IsRootPath(currentFolderPath_)) return;
  const int answer = owner_.MessageBox(Sjis("フォルダ [ ") + selectedFolderCaption_ +
                                           Sjis(" ] の削除を行います。  よろしいですか？"),
                                       MessageCaption(), kMbOkCancel | kMbIconWarning);
  if (answer != kIdOk) return;
  QTreeWidgetItem* parent = tree_.ItemOf(tree_.Parent(node));
  const int level = tree_.Level(node) - 1;
  // Another node of the same path keeps its own entry, but its sub-folders and links went
  // with this folder: the tree is made again from the list then.
  const bool shared = PathShared(node);
  updatingViews_ = true;
  tree_.RemoveNode(node);
  updatingViews_ = false;
  DirDel(*list_, currentFolderPath_, level);
  Changed();
  // Go on in the parent folder, so that nothing new is filed under the removed path.
  if (shared)
    RebuildTree(ParentPath(currentFolderPath_));
  else if (parent)
    SelectNode(parent);
  btnDel_->setEnabled(false);
}

void TForm05::BtnNewClick() {
  if (!Editable() || moveMode_ || tree_.Selected() == TreeView::kNoNode) return;
  TForm06* dialog = UrlDialog();
  dialog->SetName(std::string());
  dialog->SetAddress("http://");
  dialog->exec();
  const UrlDialogValues& values = UrlDialogShared();
  if (!values.accepted) return;
  const std::string name = TBookmarkControl::EntryLinkName(values.name);
  updatingViews_ = true;
  items_.Add(name, kImageLink);
  updatingViews_ = false;
  list_->push_back(
      MakeUrlEntry({currentFolderPath_, name, LevelChar(SelectedLevel()), values.address}));
  TBookmarkControl::Regroup(*list_);
  Changed();
}

void TForm05::BtnMoveClick() {
  if (!Editable()) return;
  SetRedText(label1_, false);
  label1_->setText(Jp("移動のフォルダを決定して「ＯＫ」を押してください。"));
  label1_->show();
  memo_->hide();
  btnNew_->setEnabled(false);
  btnMove_->setEnabled(false);
  btnURL_->setEnabled(false);
  btnOK_->show();
  btnCan_->show();
  moveMode_ = true;
}

void TForm05::BtnURLClick() {
  if (!Editable()) return;
  const std::vector<QTreeWidgetItem*> selected = ListItems(true);
  if (selected.empty()) return;
  // The items confirmed, from the last to the first; taken out together at the end, each
  // with the entry it would have taken out alone.
  std::vector<QTreeWidgetItem*> confirmed;
  std::vector<std::string> captions;
  bool stopped = false;
  for (auto it = selected.rbegin(); it != selected.rend() && !stopped; ++it) {
    const std::string caption = SjisText(*it, 0);
    const int answer = owner_.MessageBox(
        Sjis("ＵＲＬファイル [ ") + caption + Sjis(" ] の削除を行います。  よろしいですか？"),
        MessageCaption(), kMbOkCancel | kMbIconWarning);
    // The page may have been left while the question was open.
    if (!list_) return;
    if (answer != kIdOk) {
      stopped = true;
      continue;
    }
    confirmed.push_back(*it);
    captions.push_back(caption);
  }
  EraseEntries(*list_, ItemEntries(*list_, shownFolderPath_, captions));
  RemoveListItems(confirmed);
  if (!confirmed.empty()) Changed();
  if (stopped) return;
  TBookmarkControl::Regroup(*list_);
  btnURL_->setEnabled(false);
  btnMove_->setEnabled(false);
  moveMode_ = false;
}

void TForm05::BtnOKClick() {
  if (!Editable()) return;
  const std::string destination = currentFolderPath_;
  const int level = SelectedLevel();
  // Every link of a selected name goes, whichever item named it: one pass over the list.
  const std::vector<QTreeWidgetItem*> selected = ListItems(true);
  std::unordered_set<std::string> names;
  for (QTreeWidgetItem* item : selected) names.insert(SjisText(item, 0));
  if (MoveUrlEntries(*list_, moveSourceFolder_, names, destination, level) > 0) Changed();
  RemoveListItems(selected);
  TBookmarkControl::Regroup(*list_);
  label1_->hide();
  ShowMemo();
  btnOK_->hide();
  btnCan_->hide();
  moveMode_ = false;
}

void TForm05::BtnCanClick() {
  moveMode_ = false;
  btnOK_->hide();
  btnCan_->hide();
}

void TForm05::Button1Click() {
  close();
}

void TForm05::Button2Click() {
  GoBack();
}

void TForm05::ShowWriteResult(const WriteBackResult& result) {
  barWidget_->hide();
  if (result.cancelled) {
    ShowInterrupted();
    return;
  }
  std::string text;
  if (result.linksNotWritten > 0) {
    text =
        Sjis("[ ＵＲＬ ") + std::to_string(result.linksNotWritten) +
        Sjis(" 件が書き込めませんでした（ＬｏｓｔＤａｔａ．ｔｘｔ）。「実行」で再度書き込めます ]");
  } else if (!result.written) {
    text = Sjis("[ 書き込めませんでした。「実行」で再度書き込めます ]");
  } else if (result.filesNotDeleted > 0) {
    text = Sjis("[ ＵＲＬファイル ") + std::to_string(result.filesNotDeleted) +
           Sjis(" 件が削除できませんでした ]");
  }
  if (text.empty()) {
    label1_->hide();
    ShowMemo();
    return;
  }
  // Nothing the list holds is lost: it stays on the page for the next "実行".
  label1_->setText(FromSjis(text));
  SetRedText(label1_, true);
  label1_->show();
}

void TForm05::Button4Click() {
  if (!Editable()) return;
  RunCounters& run = AppRun().counters;
  const Settings& settings = AppSettings();
  run.cancel = 0;
  label1_->show();
  barWidget_->show();
  memo_->hide();
  button1_->setEnabled(false);
  button4_->setEnabled(false);
  button2_->setText(Jp(kCancel));
  SetRedText(label1_, false);
  listView_->setEnabled(false);
  BeginStep(Step::Writing);
  owner_.BeginRun();

  WriteBackResult result;
  const int proc = settings.Proc;
  if (proc == kEditIe && writeBack_) {
    label1_->setText(Jp("[ お気に入りファイルの書き込み ]"));
    result = writeBack_->Write(control_, owner_, bar_, run, *list_);
  } else if (proc == kEditNn) {
    label1_->setText(Jp("[ ブックマークファイルの書き込み ]"));
    // The bookmark file is written in one go, whatever the back button asked meanwhile: it
    // is complete then, and the page must not call it interrupted.
    ErrorCountingOwner watching(owner_);
    control_.SaveBookmarkFile(watching, bar_, run.nnUrlCount, settings.NNFileName, *list_);
    result.failures = watching.errors;
    result.written = watching.errors == 0;
  }
  if (result.written && result.filesNotDeleted == 0) dirty_ = false;
  ShowWriteResult(result);
  listView_->setEnabled(true);
  button2_->setText(Jp(kBack));
  button1_->setEnabled(true);
  button4_->setEnabled(true);
  SetEditingButtons(false, false, false, false, false);
  EndStep();
}

}  // namespace lf
