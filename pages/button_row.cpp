#include "pages/button_row.h"

#include <QBoxLayout>
#include <QPushButton>

#include "qtui/sjis_qt.h"

namespace lf {

QPushButton* NewRowButton(QWidget* page, int number) {
  static const char* const kCaptions[] = {"終了", "<< 戻る", "次へ >>", "実行"};
  auto* button = new QPushButton(Jp(kCaptions[number - 1]), page);
  button->setObjectName(QStringLiteral("Button%1").arg(number));
  button->setAutoDefault(false);
  // "キャンセル" takes the back button's place while a step runs: room for the longer one.
  if (number == 2) {
    const QFontMetrics metrics = button->fontMetrics();
    button->setMinimumWidth(button->sizeHint().width() +
                            std::max(0, metrics.horizontalAdvance(Jp("キャンセル")) -
                                            metrics.horizontalAdvance(button->text())));
  }
  if (number == 3) button->setEnabled(false);
  return button;
}

QHBoxLayout* ButtonRowLayout(const std::array<QPushButton*, 4>& row) {
  auto* layout = new QHBoxLayout;
  layout->addStretch(1);
  layout->addWidget(row[0]);
  layout->addSpacing(row[0]->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 2);
  for (std::size_t i = 1; i < row.size(); ++i) layout->addWidget(row[i]);
  return layout;
}

}  // namespace lf
