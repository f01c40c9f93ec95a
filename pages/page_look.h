// Looks the second pages share: their window decorations and the status text, red or first.
#pragma once

#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace lf {

// A second page: title bar with system menu, maximise and close, no minimise.
inline constexpr Qt::WindowFlags kSecondPageFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;

// What the status label of a page says before the page's first step (UTF-8).
inline constexpr char kFirstStatusText[] = "[ブックマークファイルの読み込み]";

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

// Puts a page at page 1's top-left corner (moved by offset), then as far back as needed for
// the whole window to stay on the screen: a page larger than page 1 would otherwise hang
// over the screen's edge.
inline void PlaceOnPage1(QWidget* page, const QWidget* page1, QPoint offset = {}) {
  if (!page1) return;
  QPoint at = page1->pos() + offset;
  if (const QScreen* screen = page1->screen()) {
    const QRect area = screen->availableGeometry();
    const QSize frame = page->frameGeometry().size().expandedTo(page->size());
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - frame.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - frame.height())));
  }
  page->move(at);
}

}  // namespace lf
