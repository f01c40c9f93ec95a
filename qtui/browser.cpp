#include "qtui/browser.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "qtui/sjis_qt.h"

namespace lf {

bool OpenInBrowser(const std::string& url) {
  // Characters outside ASCII go out percent-encoded in UTF-8, as browsers expect them.
  const QUrl address(FromSjis(url), QUrl::TolerantMode);
  if (QDesktopServices::openUrl(address)) return true;
  // Window systems without a desktop service (a bare X server, a frame buffer) can still
  // have the opener. The address is one argument of its own, never read by a shell.
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) return false;
  return QProcess::startDetached(opener, {QString::fromLatin1(address.toEncoded())});
}

}  // namespace lf
