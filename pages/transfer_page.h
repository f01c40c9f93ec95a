// The transfer page: shows the source collection on the left and the target collection on
// the right, copies links from a left folder into a right folder, and on "実行" writes the
// whole target back. Operation 4 takes the bookmark file into the Favorites, operation 7 the
// Favorites into the bookmark file.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/bookmark_control.h"
#include "pages/leaving_page.h"
#include "qtui/qt_owner.h"
#include "qtui/qt_views.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTreeWidget;

namespace lf {

class TForm03 : public LeavingPage {
  Q_OBJECT

 public:
  // page1 is the wizard's first page: this page opens at its place and goes back to it.
  explicit TForm03(QWidget* page1);
  ~TForm03() override;

  // Loads both sides; once per opening.
  void FormActivate();
  void TreeView1Click();
  void TreeView2Click();
  // Copies the entries of the selected left links into the copy buffer.
  void BitBtn1Click();
  // Adds the copied links to the folder selected on the right.
  void BitBtn2Click();
  void Button1Click();
  void Button2Click();
  // Writes the whole target list back to its collection.
  void Button4Click();

  // The entries the last copy took, in the order they are pasted.
  BookmarkList CopyBuffer() const;
  // The target list as it would be written now (empty once the page has been left).
  BookmarkList TargetList() const;
  // True while pasted links wait for "実行".
  bool Unsaved() const override { return target_ && dirty_; }
  // The size the page opens at when the settings file keeps none, on a screen large enough.
  QSize DefaultSize() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  enum class Step { Idle, Loading, Writing };

  // The links directly in the left folder by name, each name with the first entry so named.
  std::unordered_map<std::string, const Entry*> FolderLinks() const;
  void FinishStep();
  void LayOut();
  bool Reading() const override { return step_ == Step::Loading; }
  bool Running() const override { return step_ != Step::Idle; }
  void ReleaseLists() override;
  void Save() override { Button4Click(); }
  std::string UnsavedWhat() const override;
  // The folder path of the node selected in a tree.
  std::string FolderPath(const QtTreeView& tree) const;

  TBookmarkControl control_;
  QtOwner owner_;

  QLabel* label1_;
  QPlainTextEdit* memo1_;
  QPlainTextEdit* memo2_;
  QProgressBar* barWidget_;
  QPushButton* bitBtn1_;
  QPushButton* bitBtn2_;
  QSplitter* panel1_;
  QSplitter* panel2_;
  QTreeWidget* treeView1_;
  QTreeWidget* listView1_;
  QTreeWidget* treeView2_;
  QTreeWidget* listView2_;
  QPushButton* button1_;
  QPushButton* button2_;
  QPushButton* button3_;
  QPushButton* button4_;
  QtProgressBar bar_;
  QtStatusLabel status_;
  QtTreeView tree1_;
  QtTreeView tree2_;
  QtListItems items1_;
  QtListItems items2_;

  int proc_ = 0;  // 4: bookmark file into the Favorites, 7: Favorites into the bookmark file
  // From loading until the page is left; a running read or write keeps the page from being
  // left or closed until it has returned.
  std::unique_ptr<BookmarkList> source_;
  std::unique_ptr<BookmarkList> target_;
  std::unique_ptr<BookmarkList> copyBuffer_;
  // The shortcut files the target was read from (operation 4): a write may rewrite them.
  std::unordered_set<std::string> ownShortcuts_;
  // The target is there and could not be read: it is not replaced.
  bool targetUnread_ = false;
  std::string sourceFolder_;     // folder path of the node last clicked on the left
  std::string targetFolder_;     // ... and on the right
  std::string shown1_, shown2_;  // the folders whose links the two lists show
  int targetLevel_ = 0;          // tree level of that right node: the level of pasted links
  bool activated_ = false;
  bool dirty_ = false;  // links pasted since the last complete write
  Step step_ = Step::Idle;
};

}  // namespace lf
