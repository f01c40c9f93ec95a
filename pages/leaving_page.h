// Going back to page 1 or closing a second page while one of its steps runs. A read can be
// stopped; a write or a deletion works on the page's lists to its end, and page 1 may discard
// a hidden page at once, so a back or close asked for meanwhile is carried out when the step
// has returned.
#pragma once

#include <QPointer>
#include <QWidget>

class QCloseEvent;

namespace lf {

class LeavingPage : public QWidget {
 public:
  // The page is a window of its own over page1, which it goes back to.
  LeavingPage(QWidget* page1, Qt::WindowFlags flags) : QWidget(page1, flags), page1_(page1) {}

 protected:
  // True while the page reads its collections: back stops the read, closing is refused.
  virtual bool Reading() const = 0;
  // True while any step runs (reading included).
  virtual bool Running() const = 0;
  // True while back only asks the running step to stop, and the page stays: while reading,
  // unless a page stops every step that way.
  virtual bool BackStopsStep() const { return Reading(); }
  // True while the page cannot be closed at all: while reading, unless a page stops a read
  // and closes once it has returned.
  virtual bool CloseRefused() const { return Reading(); }
  // Frees the page's lists when it is left.
  virtual void ReleaseLists() = 0;

  // "<< 戻る": shows page 1 and hides this page, once no step runs.
  void GoBack();
  // Called when a step has returned: goes back or closes if that was asked for meanwhile.
  void LeaveIfAsked();
  // Closing the page ends the program (page 1 is closed too), once no step runs.
  void closeEvent(QCloseEvent* event) override;

  QPointer<QWidget> page1_;

 private:
  bool backPending_ = false;
  bool closePending_ = false;
};

}  // namespace lf
