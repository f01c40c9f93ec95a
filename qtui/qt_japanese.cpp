#include "qtui/qt_japanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lf {

bool UseJapaneseQtTexts() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  // Lives as long as the application.
  static QTranslator* translator = nullptr;
  if (translator) return true;
  auto* loaded = new QTranslator(app);
  if (!loaded->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete loaded;
    return false;
  }
  QCoreApplication::installTranslator(loaded);
  translator = loaded;
  return true;
}

}  // namespace lf
