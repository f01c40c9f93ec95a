// Looks the second pages share: their window decorations, the status text, red or first, and
// the room their folder trees and link lists need.
#pragma once

#include <QLabel>
#include <QPalette>
#include <QWidget>

class QPlainTextEdit;
class QProgressBar;
class QTreeView;

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

// The width of ems full-width characters of the widget's font.
int EmWidth(const QWidget* widget, int ems);

// The width a folder tree needs to show, without scrolling, a folder at depth levels below
// its root node named with ems full-width characters. The folders of a large collection lie
// up to six below the Favorites folder, their names a dozen characters long.
int FolderTreeWidth(const QTreeView* tree, int depth = 6, int ems = 14);

// Sizes a read-only memo to its text: every line shown whole, none wrapped, and its text a
// few pixels off the memo's edges.
void FitMemo(QPlainTextEdit* memo);

// Shows a progress bar that moves to and fro, for a step that cannot tell how far it is.
void ShowBusyBar(QProgressBar* bar);

// Keeps the room of a widget in its layout while it is hidden: the status label, the memo
// and the progress bar of a page come and go without moving the lists below them.
void KeepRoomWhenHidden(QWidget* widget);

}  // namespace lf
