// Going back to page 1 or closing a second page. While one of its steps runs, a read can be
// stopped; a write or a deletion works on the page's lists to its end, and page 1 may discard
// a hidden page at once, so a back or close asked for meanwhile is carried out when the step
// has returned. Changes that "実行" has not written yet are not left behind without a question.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

class QCloseEvent;

namespace lf {

class LeavingPage : public QWidget {
 public:
  // The page is a window of its own over page1, which it goes back to.
  LeavingPage(QWidget* page1, Qt::WindowFlags flags) : QWidget(page1, flags), page1_(page1) {}

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

  // "<< 戻る": shows page 1 and hides this page, once no step runs.
  void GoBack();
  // Called when a step has returned: goes back or closes if that was asked for meanwhile.
  void LeaveIfAsked();
  // Closing the page ends the program (page 1 is closed too), once no step runs; a read
  // running meanwhile is stopped.
  void closeEvent(QCloseEvent* event) override;

  QPointer<QWidget> page1_;

 private:
  // Asks before unsaved changes are left behind; true when the page may be left.
  bool MayLeave();

  bool backPending_ = false;
  bool closePending_ = false;
};

}  // namespace lf
