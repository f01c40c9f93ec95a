#include "qtui/qt_owner.h"

#include <QCoreApplication>

#include "qtui/message_service.h"

namespace lf {

QtOwner::QtOwner(QWidget* window) : window_(window) {
  sinceLast_.start();
}

int QtOwner::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  return MessageService::Instance().Show(window_, text, caption, flags);
}

int QtOwner::ItemFailureBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (quiet_) return kIdOk;
  return MessageService::Instance().ShowOfferingQuiet(window_, text, caption, flags, quiet_);
}

void QtOwner::ProcessMessages() {
  if (sinceLast_.elapsed() < kIntervalMs) return;
  ProcessMessagesNow();
}

void QtOwner::ProcessMessagesNow() {
  QCoreApplication::processEvents();
  sinceLast_.restart();
}

void QtOwner::Beep() {
  MessageService::Instance().Beep();
}

}  // namespace lf
