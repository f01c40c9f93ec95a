// The row of buttons at the foot of every second page, left to right: "終了" (Button1),
// "<< 戻る" (Button2, "キャンセル" while a step can be stopped), "次へ >>" (Button3, never
// enabled on a second page) and "実行" (Button4).
#pragma once

#include <array>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace lf {

// Button number 1..4 of the row, named and captioned for its place.
QPushButton* NewRowButton(QWidget* page, int number);

// The row laid out at the right edge of the page: "終了" a little apart from the three steps.
QHBoxLayout* ButtonRowLayout(const std::array<QPushButton*, 4>& row);

}  // namespace lf
