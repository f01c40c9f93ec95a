#include "pages/editor_page.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <optional>
#include <unordered_set>

#include "core/app_state.h"
#include "core/editor_list.h"
#include "engine/sjis_text.h"
#include "pages/page_look.h"
#include "pages/step_texts.h"
#include "pages/url_dialog.h"
#include "qtui/message_service.h"
#include "qtui/sjis_qt.h"

namespace lf {
namespace {

constexpr char kNewFolder[] = "新規フォルダ";

// True when the shown text of an item is what the page last gave it (no edit by the user).
bool Unedited(const QTreeWidgetItem* item) {
  return item->text(0) == FromSjis(SjisText(item, 0));
}

}  // namespace

TForm06* TForm05::UrlDialog() {
  if (!dialog_) dialog_ = new TForm06(page1_, this);
  return dialog_;
}

BookmarkList TForm05::List() const {
  return session_.HasList() ? session_.List() : BookmarkList();
}

bool TForm05::Editable() const {
  return session_.Ready() && step_ == Step::Idle;
}

bool TForm05::Unsaved() const {
  // After a cancelled merge the list is not whole, and "実行" stays off: nothing to write.
  return session_.Unsaved() && button4_->isEnabled();
}

std::string TForm05::UnsavedWhat() const {
  return Sjis("編集した内容");
}

void TForm05::BeginStep(Step step) {
  step_ = step;
  // No in-place rename while a read or write uses the list.
  views_.AllowRenames(false);
}

void TForm05::EndStep() {
  step_ = Step::Idle;
  views_.AllowRenames(true);
  LeaveIfAsked();
}

void TForm05::showEvent(QShowEvent* event) {
  LeavingPage::showEvent(event);
  if (loaded_) return;
  UrlDialog();
  // Load once the window has been painted.
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm05::FormActivate() {
  if (loaded_) return;
  loaded_ = true;
  BeginReading({memo_});
  selectedFolderCaption_.clear();
  views_.Quietly([&] {
    views_.Items().Clear();
    views_.Tree().Clear();
  });
  treeView_->setEnabled(false);
  BeginStep(Step::Loading);
  // The Favorites reader moves no bar of its own: the bar shows that it is at work.
  if (!session_.EditsBookmarkFile()) ShowBusyBar(barWidget_);
  owner_.ProcessMessagesNow();

  bool complete = false;
  views_.Quietly([&] { complete = session_.Load(owner_, status_, bar_, views_.Tree()); });
  if (session_.EditsBookmarkFile()) btnNNfile_->setEnabled(true);

  EndReading(!complete, memo_);
  if (session_.Unread())
    status_.SetCaption(Sjis("[ 読み込めなかったため、編集と書き込みは行いません ]"));
  if (!complete) {
    listView_->setEnabled(false);
  } else {
    treeView_->setEnabled(true);
    treeView_->expandToDepth(0);  // the top-level folders in sight, as on the transfer page
    for (QToolButton* button : {btnNNfile_, btnAdd_, btnDel_, btnNew_, btnMove_, btnURL_})
      button->show();
    button4_->setEnabled(true);
  }
  moveMode_ = false;
  EndStep();
}

void TForm05::TreeViewClick() {
  if (!session_.Ready() || step_ == Step::Loading) return;
  const TreeView::Node node = views_.Tree().Selected();
  if (node == TreeView::kNoNode) return;
  selectedFolderCaption_ = views_.Tree().Caption(node);
  currentFolderPath_ = TBookmarkControl::SelectedFolderPath(session_.RootPath(), views_.Tree());
  // While a move waits for its target the list keeps showing the source folder.
  if (moveMode_) return;
  SetEditingButtons(true, true, true, false, false);
  views_.FillList(currentFolderPath_);
}

void TForm05::TreeViewEdited(QTreeWidgetItem* item) {
  if (Unedited(item)) return;
  const std::string oldName = SjisText(item, 0);
  const std::string newName = ToSjis(item->text(0));
  auto revert = [&] { views_.Quietly([&] { SetSjisText(item, 0, oldName); }); };
  QtTreeView& tree = views_.Tree();
  const TreeView::Node node = tree.NodeOf(item);
  if (!Editable() || node == TreeView::kNoNode) return revert();
  // Edits start on the selected node; make sure the page's folder is the edited one.
  if (node != tree.Selected()) views_.SelectNode(item);
  if (session_.IsRootPath(currentFolderPath_)) {
    // The root stands for the collection itself: its caption is not part of any path.
    views_.Quietly([&] { tree.SetCaption(node, newName); });
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
  const bool shared = views_.PathShared(node);
  RenameFolderEntries(session_.List(), oldPath, newPath);
  TBookmarkControl::Regroup(session_.List(), session_.ListOrder());
  session_.Changed();
  views_.Quietly([&] { tree.SetCaption(node, newName); });
  views_.KeepInView(item);
  // The folder keeps being the chosen one under its new name.
  selectedFolderCaption_ = newName;
  RebasePath(currentFolderPath_, oldPath, newPath);
  views_.FolderRenamed(oldPath, newPath);
  RebasePath(moveSourceFolder_, oldPath, newPath);
  if (shared) {
    // Rebuilt once the edit has ended: the edited item must outlive its own signal.
    QTimer::singleShot(0, this, [this, newPath] {
      if (Editable()) views_.RebuildTree(newPath);
    });
  }
}

void TForm05::ListViewClick() {
  if (!session_.HasList()) return;
  if (listView_->selectedItems().isEmpty()) return;
  btnURL_->setEnabled(true);
  btnCan_->setEnabled(true);
  btnMove_->setEnabled(true);
  btnDel_->setEnabled(false);
  btnAdd_->setEnabled(false);
  moveSourceFolder_ = views_.ShownFolder();
  // Of the items visited from the last to the first, the topmost selected one gives the hint;
  // looking up the entries of all the others first would only cost time.
  const std::vector<QTreeWidgetItem*> selected = views_.ListItems(true);
  const std::string* entry =
      selected.empty() ? nullptr : views_.ItemEntry(SjisText(selected.front(), 0));
  hintUrl_ = entry ? TBookmarkControl::EntryUrl(*entry) : std::string();
  listView_->setToolTip(FromSjis(hintUrl_));
}

void TForm05::ListViewEdited(QTreeWidgetItem* item) {
  if (Unedited(item)) return;
  const std::string oldName = SjisText(item, 0);
  const std::string newName = TBookmarkControl::EntryLinkName(ToSjis(item->text(0)));
  // A link without a name would have no file name and no caption.
  if (!Editable() || newName.empty()) {
    views_.Quietly([&] { SetSjisText(item, 0, oldName); });
    return;
  }
  RenameUrlEntry(session_.List(), views_.ShownFolder(), oldName, newName);
  views_.Quietly([&] { SetSjisText(item, 0, newName); });
  views_.KeepInView(item);
  TBookmarkControl::Regroup(session_.List(), session_.ListOrder());
  session_.Changed();
  moveMode_ = false;
}

void TForm05::ListViewDblClick() {
  if (!Editable()) return;
  QTreeWidgetItem* item = nullptr;
  for (int i = 0; i < listView_->topLevelItemCount() && !item; ++i)
    if (listView_->topLevelItem(i)->isSelected()) item = listView_->topLevelItem(i);
  if (!item) return;
  const std::string caption = SjisText(item, 0);
  if (!views_.ItemEntry(caption)) return;
  UrlEntryParts parts;
  SplitUrlEntry(*views_.ItemEntry(caption), parts);
  TForm06* dialog = UrlDialog();
  dialog->SetName(caption);
  dialog->SetAddress(parts.address);
  dialog->exec();
  UrlDialogValues& values = UrlDialogShared();
  if (!values.accepted) return;
  Entry* entry = views_.ItemEntry(caption);
  if (!entry) return;
  const char level = parts.level;
  SplitUrlEntry(*entry, parts);
  parts.name = TBookmarkControl::EntryLinkName(dialog->Name());
  parts.address = dialog->Address();
  parts.level = level;
  entry->assign(MakeUrlEntry(parts));
  Touch(*entry);
  views_.Quietly([&] { SetSjisText(item, 0, parts.name); });
  views_.KeepInView(item);
  TBookmarkControl::Regroup(session_.List(), session_.ListOrder());
  session_.Changed();
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
  if (!Editable() || !session_.EditsBookmarkFile()) return;
  const Settings& settings = AppSettings();
  const std::size_t cut = FindLastChar(settings.NNFileName, "\\/");
  const std::string folder =
      cut == std::string::npos ? std::string() : settings.NNFileName.substr(0, cut);
  const std::optional<std::string> file = MessageService::Instance().OpenFile(
      this, std::string(), "HTM files|*.htm|HTML files|*.html|ALL files|*.*", folder, "htm", false);
  if (!file) return;

  AppRun().counters.cancel = 0;
  button1_->setEnabled(false);
  CaptionBack(true);
  memo_->hide();
  barWidget_->show();
  SetRedText(label1_, false);
  label1_->show();
  treeView_->setEnabled(false);
  BeginStep(Step::Merging);

  const bool merged = session_.Merge(owner_, status_, bar_, *file);
  if (!merged) {
    ShowInterrupted();
    button4_->setEnabled(false);
    listView_->setEnabled(false);
  } else {
    label1_->setText(Jp("[フォルダの再構築]"));
    owner_.ProcessMessagesNow();
    views_.ShowTree(settings.NNFileName);  // the top-level folders in sight, as after the load
    label1_->hide();
    ShowMemo();
    treeView_->setEnabled(true);
    button4_->setEnabled(true);
    // A merge cancelled before left the links disabled; the list is whole again now.
    listView_->setEnabled(true);
  }
  CaptionBack(false);
  barWidget_->hide();
  TBookmarkControl::Regroup(session_.List(), session_.ListOrder());
  button1_->setEnabled(true);
  button2_->setEnabled(true);
  moveMode_ = false;

  // The tree is new: choose the folder that was chosen before, so that the level of what is
  // made next comes from the node of that folder.
  if (merged && !currentFolderPath_.empty()) views_.SelectPath(currentFolderPath_);
  EndStep();
}

void TForm05::BtnAddClick() {
  if (!Editable() || moveMode_) return;
  QtTreeView& tree = views_.Tree();
  const TreeView::Node node = tree.Selected();
  if (node == TreeView::kNoNode) return;
  const int level = tree.Level(node);
  // A folder one level deeper would give its links a level the list cannot hold.
  if (level > kMaxFolderLevel) {
    owner_.Beep();
    return;
  }
  const std::string name = Sjis(kNewFolder);
  views_.Quietly([&] {
    tree.AddChild(node, name, kImageFolder, kImageOpenFolder);
    tree.ItemOf(node)->setExpanded(true);
  });
  InsertFolderEntry(session_.List(), currentFolderPath_, name, level);
  TBookmarkControl::Regroup(session_.List(), session_.ListOrder());
  session_.Changed();
  btnAdd_->setEnabled(false);
}

void TForm05::BtnDelClick() {
  if (!Editable() || moveMode_) return;
  QtTreeView& tree = views_.Tree();
  const TreeView::Node node = tree.Selected();
  // The root (or a node shown beside it) stands for the whole collection: never deleted.
  if (node == TreeView::kNoNode || session_.IsRootPath(currentFolderPath_)) return;
  const int answer = owner_.MessageBox(Sjis("フォルダ [ ") + selectedFolderCaption_ +
                                           Sjis(" ] の削除を行います。  よろしいですか？"),
                                       MessageCaption(), kMbOkCancel | kMbIconWarning);
  if (answer != kIdOk) return;
  QTreeWidgetItem* parent = tree.ItemOf(tree.Parent(node));
  const int level = tree.Level(node) - 1;
  // Another node of the same path keeps its own entry, but its sub-folders and links went
  // with this folder: the tree is made again from the list then.
  const bool shared = views_.PathShared(node);
  views_.Quietly([&] { tree.RemoveNode(node); });
  DirDel(session_.List(), currentFolderPath_, level, session_.ListOrder());
  session_.Changed();
  // Go on in the parent folder, so that nothing new is filed under the removed path.
  if (shared)
    views_.RebuildTree(ParentPath(currentFolderPath_));
  else if (parent)
    views_.SelectNode(parent);
  btnDel_->setEnabled(false);
}

void TForm05::BtnNewClick() {
  if (!Editable() || moveMode_ || views_.Tree().Selected() == TreeView::kNoNode) return;
  TForm06* dialog = UrlDialog();
  dialog->SetName(std::string());
  dialog->SetAddress("http://");
  dialog->exec();
  const UrlDialogValues& values = UrlDialogShared();
  if (!values.accepted) return;
  const std::string name = TBookmarkControl::EntryLinkName(values.name);
  views_.Quietly([&] { views_.Items().Add(name, kImageLink); });
  session_.List().push_back(
      MakeUrlEntry({currentFolderPath_, name, LevelChar(views_.SelectedLevel()), values.address}));
  TBookmarkControl::Regroup(session_.List(), session_.ListOrder());
  session_.Changed();
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
  const std::vector<QTreeWidgetItem*> selected = views_.ListItems(true);
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
    if (!session_.HasList()) return;
    if (answer != kIdOk) {
      stopped = true;
      continue;
    }
    confirmed.push_back(*it);
    captions.push_back(caption);
  }
  BookmarkList& list = session_.List();
  EraseEntries(list, ItemEntries(list, views_.ShownFolder(), captions));
  views_.RemoveListItems(confirmed);
  if (!confirmed.empty()) session_.Changed();
  if (stopped) return;
  TBookmarkControl::Regroup(list, session_.ListOrder());
  btnURL_->setEnabled(false);
  btnMove_->setEnabled(false);
  moveMode_ = false;
}

void TForm05::BtnOKClick() {
  if (!Editable()) return;
  const std::string destination = currentFolderPath_;
  const int level = views_.SelectedLevel();
  // Every link of a selected name goes, whichever item named it: one pass over the list.
  const std::vector<QTreeWidgetItem*> selected = views_.ListItems(true);
  std::unordered_set<std::string> names;
  for (QTreeWidgetItem* item : selected) names.insert(SjisText(item, 0));
  if (MoveUrlEntries(session_.List(), moveSourceFolder_, names, destination, level) > 0)
    session_.Changed();
  views_.RemoveListItems(selected);
  TBookmarkControl::Regroup(session_.List(), session_.ListOrder());
  EndMove();
  // The list shows the folder the tree shows: the destination, with the links just moved
  // chosen there.
  views_.FillList(destination);
  views_.SelectListItems(names);
  ListViewClick();
}

void TForm05::BtnCanClick() {
  EndMove();
  // Nothing moved: the tree goes back to the folder the list still shows.
  if (Editable() && !moveSourceFolder_.empty() && moveSourceFolder_ != currentFolderPath_) {
    views_.SelectPath(moveSourceFolder_);
    ListViewClick();
  }
}

void TForm05::Button1Click() {
  close();
}

void TForm05::Button2Click() {
  GoBack();
}

void TForm05::ShowWriteResult(const WriteBackResult& result, int linksWritten) {
  barWidget_->hide();
  if (result.cancelled) {
    ShowInterrupted();
    return;
  }
  const std::string text = WriteResultText(result);
  if (text.empty()) {
    label1_->setText(FromSjis(
        WrittenText(session_.EditsBookmarkFile() ? Collection::BookmarkFile : Collection::Favorites,
                    linksWritten, FolderEntries(session_.List()))));
    label1_->show();
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
  AppRun().counters.cancel = 0;
  label1_->show();
  barWidget_->show();
  memo_->hide();
  button1_->setEnabled(false);
  button4_->setEnabled(false);
  CaptionBack(true);
  SetRedText(label1_, false);
  listView_->setEnabled(false);
  BeginStep(Step::Writing);
  owner_.BeginRun();

  // The writers count what they wrote into the program's counters.
  const RunCounters& counters = AppRun().counters;
  const int before = counters.ieUrlCount + counters.nnUrlCount;
  const WriteBackResult result = session_.Write(owner_, status_, bar_);
  ShowWriteResult(result, counters.ieUrlCount + counters.nnUrlCount - before);
  listView_->setEnabled(true);
  CaptionBack(false);
  button1_->setEnabled(true);
  button4_->setEnabled(true);
  SetEditingButtons(false, false, false, false, false);
  EndStep();
}

}  // namespace lf
