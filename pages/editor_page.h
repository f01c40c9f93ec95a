// The editor page: shows one collection as a folder tree with the links of the chosen folder,
// lets the user add, rename and delete folders, create, rename, edit, delete and move links,
// open a link in the browser and (for the bookmark file) merge a further bookmark file, and
// writes the collection back on "実行". Operation 5 edits the Favorites, operation 8 the
// bookmark file. Nothing reaches the disk before "実行".
#pragma once

#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/favorites_writeback.h"
#include "engine/bookmark_control.h"
#include "pages/leaving_page.h"
#include "qtui/qt_owner.h"
#include "qtui/qt_views.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lf {

class TForm06;

class TForm05 : public LeavingPage {
  Q_OBJECT

 public:
  // page1 is the wizard's first page: this page opens at its place and goes back to it.
  explicit TForm05(QWidget* page1);
  ~TForm05() override;

  // Loads the collection; once per opening.
  void FormActivate();
  void TreeViewClick();
  void TreeViewEdited(QTreeWidgetItem* item);
  void ListViewClick();
  void ListViewDblClick();
  void ListViewEdited(QTreeWidgetItem* item);
  void ImageClick();
  void BtnNNfileClick();
  void BtnAddClick();
  void BtnDelClick();
  void BtnNewClick();
  void BtnMoveClick();
  void BtnURLClick();
  void BtnOKClick();
  void BtnCanClick();
  void Button1Click();
  void Button2Click();
  void Button4Click();

  // The list as it is now (empty before the load and once the page has been left).
  BookmarkList List() const;
  // The folder path of the folder last chosen in the tree.
  const std::string& CurrentFolderPath() const { return currentFolderPath_; }
  bool MoveMode() const { return moveMode_; }
  bool Busy() const { return step_ != Step::Idle; }
  // True while the list holds changes that "実行" has not written.
  bool Unsaved() const override;
  // The URL information dialog (made on first use).
  TForm06* UrlDialog();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  enum class Step { Idle, Loading, Merging, Writing };

  void SetUpHeader();
  void SetUpPanes();
  void ConnectHandlers();
  bool Reading() const override { return step_ == Step::Loading || step_ == Step::Merging; }
  bool Running() const override { return step_ != Step::Idle; }
  // Back asks any running step to stop, the writes included, and the page stays; closing
  // stops it too and closes the page once it has returned.
  bool BackStopsStep() const override { return Running(); }
  void ReleaseLists() override;
  void Save() override { Button4Click(); }
  std::string UnsavedWhat() const override;
  // The list has been changed by the user.
  void Changed() {
    dirty_ = true;
    ++listVersion_;
  }
  // Shows how the last write ended: nothing when it went through.
  void ShowWriteResult(const WriteBackResult& result);

  // True when the list may be changed now: loaded, and no read or write running.
  bool Editable() const;
  void BeginStep(Step step);
  void EndStep();
  void ShowInterrupted();
  void ShowMemo();
  void FillList(const std::string& folderPath);
  void SetEditingButtons(bool add, bool del, bool newUrl, bool url, bool move);
  void SelectNode(QTreeWidgetItem* item);
  // The tree node of a folder path (the first of equal captions), or nullptr.
  QTreeWidgetItem* NodeOfPath(const std::string& folderPath) const;
  void SelectPath(const std::string& folderPath);
  // The folder path of a node, as SelectedFolderPath gives it for the selected one.
  std::string NodePath(TreeView::Node node) const;
  // True if another node of the tree stands for the same folder path.
  bool PathShared(TreeView::Node node) const;
  // Makes the tree again from the list under the same root caption and chooses a folder.
  void RebuildTree(const std::string& folderPath);
  // The entry of a link item in the folder shown; nullptr for an item without one.
  std::string* ItemEntry(const std::string& caption);
  // The link items in the order the list shows them, selected or all.
  std::vector<QTreeWidgetItem*> ListItems(bool selectedOnly) const;
  // Takes these items out of the link list at once.
  void RemoveListItems(const std::vector<QTreeWidgetItem*>& items);
  // Position of the selected tree node below the root (the level of its links).
  int SelectedLevel() const;
  std::string RootPath() const;
  bool IsRootPath(const std::string& folderPath) const;

  TBookmarkControl control_;
  QtOwner owner_;

  QToolButton* image_;
  QLabel* label1_;
  QPlainTextEdit* memo_;
  QProgressBar* barWidget_;
  QToolButton* btnNNfile_;
  QToolButton* btnAdd_;
  QToolButton* btnDel_;
  QToolButton* btnNew_;
  QToolButton* btnMove_;
  QToolButton* btnURL_;
  QPushButton* btnOK_;
  QPushButton* btnCan_;
  QSplitter* panel_;
  QTreeWidget* treeView_;
  QTreeWidget* listView_;
  QPushButton* button1_;
  QPushButton* button2_;
  QPushButton* button3_;
  QPushButton* button4_;

  QtProgressBar bar_;
  QtStatusLabel status_;
  QtTreeView tree_;
  QtListItems items_;
  QPointer<TForm06> dialog_;

  std::unique_ptr<BookmarkList> list_;
  // The shortcut files and folders the Favorites list stands for (operation 5).
  std::unique_ptr<FavoritesWriteBack> writeBack_;
  Step step_ = Step::Idle;
  bool dirty_ = false;  // the list holds changes not written yet
  // Counts the changes of the list; the link list shows the folder as it was at one of them.
  unsigned long listVersion_ = 0;
  unsigned long shownVersion_ = 0;
  bool loaded_ = false;  // the load has run (once per opening)
  bool ready_ = false;   // the load finished without being cancelled
  bool moveMode_ = false;
  bool updatingViews_ = false;  // the page itself is changing item texts

  std::string selectedFolderCaption_;
  std::string currentFolderPath_;
  std::string shownFolderPath_;  // the folder whose links the URL list shows
  std::string moveSourceFolder_;
  std::string hintUrl_;
};

}  // namespace lf
