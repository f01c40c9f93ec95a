#include "pages/leaving_page.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

#include "core/app_state.h"
#include "core/run_driver.h"
#include "engine/sjis_text.h"
#include "pages/page_look.h"
#include "qtui/message_service.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_places.h"

namespace lf {

void LeavingPage::SetStepControls(QPushButton* quit, QPushButton* back, QPushButton* execute,
                                  QLabel* status, QProgressBar* bar) {
  rowQuit_ = quit;
  rowBack_ = back;
  rowExecute_ = execute;
  stepLabel_ = status;
  stepBar_ = bar;
}

void LeavingPage::BeginReading(std::initializer_list<QWidget*> memos) {
  AppRun().counters.cancel = 0;
  for (QWidget* memo : memos) memo->hide();
  rowQuit_->setEnabled(false);
  rowExecute_->setEnabled(false);
  CaptionBack(true);
}

void LeavingPage::EndReading(bool interrupted, QWidget* memo) {
  if (interrupted) {
    ShowInterrupted();
  } else if (memo) {
    stepLabel_->hide();
    memo->show();
  }
  stepBar_->hide();
  CaptionBack(false);
  rowQuit_->setEnabled(true);
  rowBack_->setEnabled(true);
}

void LeavingPage::ShowInterrupted() {
  stepLabel_->setText(FromSjis(InterruptedText()));
  SetRedText(stepLabel_, true);
  stepLabel_->show();
}

void LeavingPage::CaptionBack(bool stopsStep) {
  rowBack_->setText(Jp(stopsStep ? "キャンセル" : "<< 戻る"));
}

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
  NoteWindowPlace(this, placeName_);
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
  NoteWindowPlace(this, placeName_);
  event->accept();
  if (page1_) page1_->close();
}

void LeavingPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous() || placed_) return;
  placed_ = true;
  PlaceWindow(this, placeName_, page1_);
}

}  // namespace lf
