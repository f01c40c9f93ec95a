#include "qtui/message_service.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

#include "engine/ui.h"
#include "platform/file_system.h"
#include "qtui/browser.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"

namespace lf {
namespace {

MessageService* g_service = nullptr;

QMessageBox::Icon IconOf(unsigned flags) {
  switch (flags & 0xF0) {
    case kMbIconError:
      return QMessageBox::Critical;
    case kMbIconQuestion:
      return QMessageBox::Question;
    case kMbIconWarning:
      return QMessageBox::Warning;
    case kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// "Name|pattern|Name|pattern" as a Qt filter "Name (pattern);;Name (pattern)".
QString QtFilter(const std::string& filter) {
  const QStringList parts = FromSjis(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    out << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
  return out.join(QStringLiteral(";;"));
}

QString NativeFolder(const std::string& folder) {
  std::string native;
  if (folder.empty() || platform::ToNativePath(folder, native) != 0) return QString();
  return QString::fromUtf8(native.c_str());
}

std::string ProgramPathOf(const QString& native) {
  const QByteArray utf8 = native.toUtf8();
  return platform::FromNativePath(
      std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// The box of Show, with the quiet choice when quiet is given.
int ShowBox(QWidget* owner, const std::string& text, const std::string& caption, unsigned flags,
            bool* quiet) {
  QMessageBox box(IconOf(flags), FromSjis(caption),
                  FromSjis(text).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                  QMessageBox::NoButton, owner);
  box.setFont(PageFont());
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  QPushButton* cancel = nullptr;
  if ((flags & 0x0F) == kMbOkCancel)
    cancel = box.addButton(Jp("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(ok);
  if (quiet) box.setCheckBox(new QCheckBox(Jp("この処理の間、以降のエラーは表示しない")));
  box.exec();
  if (quiet) *quiet = box.checkBox()->isChecked();
  return box.clickedButton() == ok || (!cancel && box.clickedButton() == nullptr) ? kIdOk
                                                                                  : kIdCancel;
}

}  // namespace

int MessageService::Show(QWidget* owner, const std::string& text, const std::string& caption,
                         unsigned flags) {
  return ShowBox(owner, text, caption, flags, nullptr);
}

int MessageService::ShowOfferingQuiet(QWidget* owner, const std::string& text,
                                      const std::string& caption, unsigned flags, bool& quiet) {
  return ShowBox(owner, text, caption, flags, &quiet);
}

LeaveChoice MessageService::AskLeave(QWidget* owner, const std::string& text,
                                     const std::string& caption) {
  QMessageBox box(QMessageBox::Warning, FromSjis(caption),
                  FromSjis(text).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                  QMessageBox::NoButton, owner);
  box.setFont(PageFont());
  QPushButton* save = box.addButton(Jp("反映する"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(Jp("反映しない"), QMessageBox::DestructiveRole);
  box.addButton(Jp("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.exec();
  if (box.clickedButton() == save) return LeaveChoice::Save;
  if (box.clickedButton() == discard) return LeaveChoice::Discard;
  return LeaveChoice::Stay;
}

void MessageService::Beep() {
  QApplication::beep();
}

std::optional<std::string> MessageService::OpenFile(QWidget* owner, const std::string& title,
                                                    const std::string& filter,
                                                    const std::string& startFolder,
                                                    const std::string& defaultExtension,
                                                    bool newFile) {
  QFileDialog dialog(owner, FromSjis(title), NativeFolder(startFolder), QtFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(newFile ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!defaultExtension.empty()) dialog.setDefaultSuffix(FromSjis(defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ProgramPathOf(dialog.selectedFiles().first());
}

std::optional<std::string> MessageService::ChooseFolder(QWidget* owner, const std::string& title,
                                                        const std::string& startFolder) {
  const QString folder =
      QFileDialog::getExistingDirectory(owner, FromSjis(title), NativeFolder(startFolder));
  if (folder.isEmpty()) return std::nullopt;
  return ProgramPathOf(folder);
}

bool MessageService::OpenUrl(const std::string& url) {
  return OpenInBrowser(url);
}

bool MessageService::OpenTextFile(const std::string& path) {
  std::string native;
  if (path.empty() || platform::ToNativePath(path, native) != 0) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromUtf8(native.c_str())));
}

MessageService& MessageService::Instance() {
  static MessageService real;
  return g_service ? *g_service : real;
}

void MessageService::SetInstance(MessageService* service) {
  g_service = service;
}

}  // namespace lf
