#include "pages/page_look.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStyle>
#include <QTextDocument>
#include <QTreeView>
#include <algorithm>

namespace lf {

int EmWidth(const QWidget* widget, int ems) {
  return widget->fontMetrics().horizontalAdvance(QChar(0x6F22)) * ems;  // 漢
}

int FolderTreeWidth(const QTreeView* tree, int depth, int ems) {
  const int icon = tree->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, tree);
  const int scrollBar = tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tree);
  // The root node's branch, then one indentation per level; the icon and its gap; the name;
  // the frame, the item's margins and the vertical scroll bar.
  return tree->indentation() * (depth + 1) + icon + 8 + EmWidth(tree, ems) +
         2 * tree->frameWidth() + 12 + scrollBar;
}

void FitMemo(QPlainTextEdit* memo) {
  const QFontMetrics metrics = memo->fontMetrics();
  const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  memo->document()->setDocumentMargin(4);
  const int margins = 2 * (4 + memo->frameWidth()) + 4;
  const int height = static_cast<int>(lines.size()) * metrics.lineSpacing() + margins;
  memo->setMinimumSize(widest + margins, height);
  memo->setMaximumHeight(height);
  memo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ShowBusyBar(QProgressBar* bar) {
  bar->setRange(0, 0);
  bar->show();
}

void KeepRoomWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace lf
