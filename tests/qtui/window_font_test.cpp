#include "qtui/window_font.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include "qtui/qt_japanese.h"

namespace {

// The titles the program keeps as references beyond Shift-JIS are shown as characters only if
// some font of the system has them: the set-up installs one for Korean and one for emoji.
TEST(WindowFont, EveryCharacterOfTheSampleTitlesHasAGlyph) {
  const QString titles = QString::fromUtf8(
      "ユーザ設定ツールバー フォルダ Ｊリーグ日程 Café de la Gare – Paris "
      "Bäckerei Müller, Straße des Frühstücks 서울 여행 안내 🍣 寿司の名店 \\");
  QTextLayout layout(titles, lf::PageFont());
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  QStringList missing;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QList<quint32> glyphs = run.glyphIndexes();
    for (qsizetype i = 0; i < glyphs.size(); ++i)
      if (glyphs[i] == 0) missing << run.rawFont().familyName();
  }
  EXPECT_TRUE(missing.isEmpty()) << "no glyph in " << missing.join(", ").toStdString();
}

// The file and folder choosers are Qt's: they speak Japanese beside the program's windows.
TEST(WindowFont, QtsOwnWordsAreJapanese) {
  ASSERT_TRUE(lf::UseJapaneseQtTexts());
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:").toStdString(), "アドレス:");
}

}  // namespace
