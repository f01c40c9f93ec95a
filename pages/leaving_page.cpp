#include "pages/leaving_page.h"

#include <QCloseEvent>

#include "core/app_state.h"
#include "engine/sjis_text.h"
#include "qtui/message_service.h"

namespace lf {

bool LeavingPage::MayLeave() {
  if (!Unsaved()) return true;
  const std::string question =
      UnsavedWhat() + Sjis("がファイルに反映されていません。\r反映してから閉じますか？");
  switch (MessageService::Instance().AskLeave(this, question, MessageCaption())) {
    case LeaveChoice::Discard:
      return true;
    case LeaveChoice::Save:
      Save();
      return !Unsaved();
    case LeaveChoice::Stay:
      break;
  }
  return false;
}

void LeavingPage::GoBack() {
  if (BackStopsStep()) {
    AppRun().counters.cancel = 1;
    return;
  }
  if (Running()) {
    backPending_ = true;
    return;
  }
  if (!MayLeave()) return;
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
  if (Running()) {
    AppRun().counters.cancel = 1;
    closePending_ = true;
    event->ignore();
    return;
  }
  if (!MayLeave()) {
    event->ignore();
    return;
  }
  ReleaseLists();
  event->accept();
  if (page1_) page1_->close();
}

}  // namespace lf
