// Conversions between the program's Shift-JIS text and Qt's strings, at the edge of the
// windows. A character beyond Shift-JIS is shown as itself (its reference in the program's
// text, platform/codepage.h, becomes the character), and text typed in a window comes in with
// references, so that no character a user types or sees is lost.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace lf {

QString FromSjis(std::string_view sjis);
std::string ToSjis(const QString& text);
// A Japanese UTF-8 literal of the sources as a QString.
inline QString Jp(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace lf
