// The row of buttons at the foot of every second page, left to right: "終了" (Button1),
// "<< 戻る" (Button2, "キャンセル" while a step can be stopped), "次へ >>" (Button3, never
// enabled on a second page) and "実行" (Button4).
#pragma once

#include <array>

class QPushButton;
class QWidget;

namespace lf {

// Button number 1..4 of the row, named and captioned for its place.
QPushButton* NewRowButton(QWidget* page, int number);

// Puts the row at the foot of a page of the given size: 50 pixels above the bottom edge, the
// buttons' left edges 350, 260, 180 and 90 pixels from the right edge.
void PlaceButtonRow(const std::array<QPushButton*, 4>& row, int width, int height);

}  // namespace lf
