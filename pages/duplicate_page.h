// The duplicate check page: reads the Favorites (operation 6) or the bookmark file
// (operation 9), lists every pair of links with the same URL, lets the user mark one side of
// a pair after the other and deletes the marked links on "実行".
#pragma once

#include <QWidget>
#include <cstddef>
#include <memory>
#include <set>

#include "core/duplicate_pairs.h"
#include "engine/bookmark_control.h"
#include "pages/leaving_page.h"
#include "qtui/qt_owner.h"
#include "qtui/qt_views.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lf {

class TForm07 : public LeavingPage {
  Q_OBJECT

 public:
  // page1 is the wizard's first page: this page opens at its place and goes back to it.
  explicit TForm07(QWidget* page1);
  ~TForm07() override;

  // Reads the collection and runs the check; once per opening.
  void FormActivate();
  // Lists the pairs of equal URLs of the bookmark list.
  void DblCheck();
  void ListViewClick();
  void BtnURL1Click() { URLdelete(1); }
  void BtnURL2Click() { URLdelete(2); }
  // Marks side 1 or 2 of the selected row for deletion.
  void URLdelete(int side);
  void Button1Click();
  void Button2Click();
  void Button4Click();

  // The marked entry numbers, in ascending order (empty once the page has been left).
  std::set<std::size_t> Marks() const;
  // True while marks wait for "実行", or links taken out of the list wait for a write of
  // the bookmark file that went through.
  bool Unsaved() const override { return marks_ && (!marks_->Marked().empty() || unwritten_); }
  // The size the page opens at when the settings file keeps none, on a screen large enough.
  QSize DefaultSize() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  enum class Step { Idle, Reading, Deleting };
  // The columns of the pairs, by their numbers in the list (shown in another order).
  enum Column : int {
    kColumnName,
    kColumnFolder,
    kColumnDblFolder,
    kColumnNo,
    kColumnDblNo,
    kColumnDblName,
    kColumnUrl,
    kColumnCount
  };

  void NameControls();
  void SetUpHeader();
  void SetUpPairList();
  void ConnectHandlers();
  void LayOut();
  // Shows the name of the link a side's button deletes on the button.
  void NameDeleteButton(QPushButton* button, const QString& name);
  // Deletes the shortcuts of the marked entries (operation 6); what the status then says.
  std::string DeleteMarkedFiles();
  // Takes the marked entries out of the list and writes the bookmark file (operation 9).
  void WriteWithoutMarked();
  void AddRows(const std::vector<DuplicatePair>& pairs);
  std::string ShownFolder(const std::string& entry) const;
  // Deletes the shortcut of an entry: 0, or the error code.
  int DeleteUrlFile(const std::string& entry);
  void ShowDeleteFailures(int count, const std::string& first, int code);
  void ShowEndText(const std::string& text, bool red);
  void FinishStep();
  bool Reading() const override { return step_ == Step::Reading; }
  bool Running() const override { return step_ != Step::Idle; }
  void ReleaseLists() override;
  void Save() override { Button4Click(); }
  std::string UnsavedWhat() const override;

  TBookmarkControl control_;
  QtOwner owner_;

  QLabel* image0_;
  QLabel* label1_;
  QPlainTextEdit* memo1_;
  QLabel* delUrl1_;
  QLabel* delUrl2_;
  QPushButton* btnUrl1_;
  QPushButton* btnUrl2_;
  QLabel* label2_;
  QLabel* label3_;  // the address the two links of the row last clicked share
  QProgressBar* barWidget_;
  QTreeWidget* listView_;
  QPushButton* button1_;
  QPushButton* button2_;
  QPushButton* button3_;
  QPushButton* button4_;
  QtProgressBar bar_;
  QtStatusLabel status_;

  // From activation until the page is left; a running read or deletion keeps the page from
  // being left or closed until it has returned.
  std::unique_ptr<BookmarkList> list_;
  std::unique_ptr<DuplicateMarks> marks_;  // the delete list
  std::size_t side1_ = 0, side2_ = 0;      // entry numbers of the row last clicked
  int proc_ = 0;                           // the operation served: 6 Favorites, 9 bookmark file
  bool activated_ = false;
  bool removingRow_ = false;  // the page itself takes a row out
  bool unwritten_ = false;    // the last write of the bookmark file did not go through
  int removed_ = 0;           // links taken out of the list since the last complete write
  Step step_ = Step::Idle;
};

}  // namespace lf
