#include "pages/button_row.h"

#include <QPushButton>

#include "qtui/sjis_qt.h"

namespace lf {

QPushButton* NewRowButton(QWidget* page, int number) {
  static const char* const kCaptions[] = {"終了", "<< 戻る", "次へ >>", "実行"};
  auto* button = new QPushButton(Jp(kCaptions[number - 1]), page);
  button->setObjectName(QStringLiteral("Button%1").arg(number));
  button->setAutoDefault(false);
  button->resize(75, 25);
  if (number == 3) button->setEnabled(false);
  return button;
}

void PlaceButtonRow(const std::array<QPushButton*, 4>& row, int width, int height) {
  static constexpr int kFromRight[] = {350, 260, 180, 90};
  for (std::size_t i = 0; i < row.size(); ++i) row[i]->move(width - kFromRight[i], height - 50);
}

}  // namespace lf
