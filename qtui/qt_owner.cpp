#include "qtui/qt_owner.h"

#include <QCoreApplication>

#include "engine/sjis_text.h"
#include "qtui/message_service.h"

namespace lf {

bool LoggedWriteFailure(const std::string& text, unsigned flags) {
  static const std::string logged =
      Sjis("ＬｏｓｔＤａｔａ．ｔｘｔにファイル名情報が保存されます。");
  return (flags & 0xF0) == kMbIconError && (flags & 0x0F) == kMbOk && text.ends_with(logged);
}

QtOwner::QtOwner(QWidget* window) : window_(window) {
  sinceLast_.start();
}

int QtOwner::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (!LoggedWriteFailure(text, flags))
    return MessageService::Instance().Show(window_, text, caption, flags);
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
