#include "qtui/window_font.h"

#include <QStringList>

#include "qtui/sjis_qt.h"

namespace lf {

QFont PageFont() {
  QFont font;
  font.setFamilies({Jp("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
  font.setPixelSize(12);
  return font;
}

}  // namespace lf
