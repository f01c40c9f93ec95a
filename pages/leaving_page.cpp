#include "pages/leaving_page.h"

#include <QCloseEvent>

#include "core/app_state.h"

namespace lf {

void LeavingPage::GoBack() {
  if (BackStopsStep()) {
    AppRun().counters.cancel = 1;
    return;
  }
  if (Running()) {
    backPending_ = true;
    return;
  }
  ReleaseLists();
  if (page1_) page1_->show();
  hide();
}

void LeavingPage::LeaveIfAsked() {
  if (closePending_) {
    closePending_ = backPending_ = false;
    close();
  } else if (backPending_) {
    backPending_ = false;
    GoBack();
  }
}

void LeavingPage::closeEvent(QCloseEvent* event) {
  if (CloseRefused()) {
    event->ignore();
    return;
  }
  AppRun().counters.cancel = 1;
  if (Running()) {
    closePending_ = true;
    event->ignore();
    return;
  }
  ReleaseLists();
  event->accept();
  if (page1_) page1_->close();
}

}  // namespace lf
