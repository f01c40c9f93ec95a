// Looks the second pages share: their window decorations and the red status text.
#pragma once

#include <QLabel>
#include <QPalette>

namespace lf {

// A second page: title bar with system menu, maximise and close, no minimise.
inline constexpr Qt::WindowFlags kSecondPageFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;

// Shows a label's text in red, or in the normal colour again.
inline void SetRedText(QLabel* label, bool red) {
  if (!red) {
    label->setPalette(QPalette());
    return;
  }
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label->setPalette(palette);
}

}  // namespace lf
