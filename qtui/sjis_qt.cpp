#include "qtui/sjis_qt.h"

#include "platform/codepage.h"

namespace lf {

QString FromSjis(std::string_view sjis) {
  const std::string utf8 = platform::Cp932ToUtf8(sjis);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToSjis(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return platform::Utf8ToCp932(
      std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace lf
