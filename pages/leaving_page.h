// Going back to page 1 or closing a second page. While one of its steps runs, a read can be
// stopped; a write or a deletion works on the page's lists to its end, and page 1 may discard
// a hidden page at once, so a back or close asked for meanwhile is carried out when the step
// has returned. Changes that "実行" has not written yet are not left behind without a question.
#pragma once

#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <string>

class QCloseEvent;
class QLabel;
class QProgressBar;
class QPushButton;

namespace lf {

class LeavingPage : public QWidget {
 public:
  // The page is a window of its own over page1, which it goes back to; placeName is its key
  // in the settings file, under which its size is kept.
  LeavingPage(QWidget* page1, Qt::WindowFlags flags, const char* placeName)
      : QWidget(page1, flags), page1_(page1), placeName_(placeName) {}

 protected:
  // True while the page reads its collections: back stops the read.
  virtual bool Reading() const = 0;
  // True while any step runs (reading included).
  virtual bool Running() const = 0;
  // True while back only asks the running step to stop, and the page stays: while reading,
  // unless a page stops every step that way.
  virtual bool BackStopsStep() const { return Reading(); }
  // Frees the page's lists when it is left.
  virtual void ReleaseLists() = 0;
  // True when the page holds changes that "実行" would write and has not written yet.
  virtual bool Unsaved() const { return false; }
  // Writes them as "実行" does; the page stays unsaved when that did not go through.
  virtual void Save() {}
  // What the question before leaving unsaved changes says they are (Shift-JIS).
  virtual std::string UnsavedWhat() const { return std::string(); }

  // The controls that the start and the end of a step change: the row's "終了", "<< 戻る"
  // and "実行", the status label and the progress bar. Set once, before any step.
  void SetStepControls(QPushButton* quit, QPushButton* back, QPushButton* execute, QLabel* status,
                       QProgressBar* bar);
  // Before the page reads its collections: the cancel flag cleared, the memos hidden, "終了"
  // and "実行" off, and the back button captioned "キャンセル", which stops the read.
  void BeginReading(std::initializer_list<QWidget*> memos);
  // After the read: the status label in red saying so when it was interrupted, otherwise
  // hidden and the memo shown in its place (the label stays as it is without a memo); the bar
  // hidden, the back button captioned "<< 戻る" again, "終了" and back on.
  void EndReading(bool interrupted, QWidget* memo);
  // The status label in red, shown, with InterruptedText().
  void ShowInterrupted();
  // The back button captioned "キャンセル" while it stops the step that runs, "<< 戻る" again
  // once none does.
  void CaptionBack(bool stopsStep);

  // "<< 戻る": shows page 1 and hides this page, once no step runs.
  void GoBack();
  // Called when a step has returned: goes back or closes if that was asked for meanwhile.
  void LeaveIfAsked();
  // Closing the page ends the program (page 1 is closed too), once no step runs; a read
  // running meanwhile is stopped.
  void closeEvent(QCloseEvent* event) override;
  // The first showing: where the page was last left in this run, else centred on page 1.
  void showEvent(QShowEvent* event) override;

  QPointer<QWidget> page1_;
  const char* const placeName_;

 private:
  // Asks before unsaved changes are left behind; true when the page may be left.
  bool MayLeave();

  QPushButton* rowQuit_ = nullptr;
  QPushButton* rowBack_ = nullptr;
  QPushButton* rowExecute_ = nullptr;
  QLabel* stepLabel_ = nullptr;
  QProgressBar* stepBar_ = nullptr;
  bool backPending_ = false;
  bool closePending_ = false;
  bool placed_ = false;  // put in place at its first showing
};

}  // namespace lf
