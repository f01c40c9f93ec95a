// The picture strip of folder trees and link lists: four pictures drawn by the program itself
// -- a closed folder, an open folder, a page with a globe (a link) and a drive -- on a grid of
// 16 x 16, drawn anew at every size, so that they are sharp on screens of any density.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace lf {

// The whole strip, 64 x 16, pictures in index order (engine/ui.h: kImageFolder ...).
QPixmap DirTreeImg();
// One picture of the strip, size x size device-independent pixels for a screen of the given
// device pixel ratio.
QPixmap StripPicture(int index, int size = 16, qreal devicePixelRatio = 1.0);
// One picture of the strip as an icon, at every size and density; with selectedIndex >= 0
// the icon shows that picture while its item is selected.
QIcon StripIcon(int index, int selectedIndex = -1);

}  // namespace lf
