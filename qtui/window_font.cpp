#include "qtui/window_font.h"

#include <QFontDatabase>
#include <QStringList>

#include "qtui/sjis_qt.h"

namespace lf {

QFont PageFont() {
  // The platform theme's font, not the application's: the program sets this one as the
  // application's font itself.
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  QStringList families = font.families();
  if (families.isEmpty()) families << font.family();
  for (const QString& japanese : {Jp("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                  QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")})
    if (!families.contains(japanese)) families << japanese;
  font.setFamilies(families);
  return font;
}

}  // namespace lf
