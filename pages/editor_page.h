// The editor page: shows one collection as a folder tree with the links of the chosen folder,
// lets the user add, rename and delete folders, create, rename, edit, delete and move links,
// open a link in the browser and (for the bookmark file) merge a further bookmark file, and
// writes the collection back on "実行". Operation 5 edits the Favorites, operation 8 the
// bookmark file. Nothing reaches the disk before "実行".
#pragma once

#include <QPointer>
#include <string>

#include "core/editor_session.h"
#include "pages/editor_views.h"
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
  // The size the page opens at when the settings file keeps none, on a screen large enough.
  QSize DefaultSize() const;
  // The URL information dialog (made on first use).
  TForm06* UrlDialog();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  enum class Step { Idle, Loading, Merging, Writing };

  void SetUpHeader();
  void SetUpPanes();
  void ConnectHandlers();
  void LayOut();
  bool Reading() const override { return step_ == Step::Loading || step_ == Step::Merging; }
  bool Running() const override { return step_ != Step::Idle; }
  // Back asks any running step to stop, the writes included, and the page stays; closing
  // stops it too and closes the page once it has returned.
  bool BackStopsStep() const override { return Running(); }
  void ReleaseLists() override { session_.Release(); }
  void Save() override { Button4Click(); }
  std::string UnsavedWhat() const override;
  // Shows how the last write ended: what it wrote when it went through.
  void ShowWriteResult(const WriteBackResult& result, int linksWritten);
  // Leaves move mode: the prompt goes, the memo and the page's other buttons come back.
  void EndMove();

  // True when the list may be changed now: loaded, and no read or write running.
  bool Editable() const;
  void BeginStep(Step step);
  void EndStep();
  void ShowMemo();
  void SetEditingButtons(bool add, bool del, bool newUrl, bool url, bool move);

  EditorSession session_;
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
  EditorViews views_;
  QPointer<TForm06> dialog_;

  Step step_ = Step::Idle;
  bool loaded_ = false;  // the load has run (once per opening)
  bool moveMode_ = false;

  std::string selectedFolderCaption_;
  std::string currentFolderPath_;
  std::string moveSourceFolder_;
  std::string hintUrl_;
};

}  // namespace lf
