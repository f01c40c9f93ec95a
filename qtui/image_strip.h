// The picture strip of folder trees and link lists: four 16 x 16 pictures drawn by the
// program itself -- a closed folder, an open folder, a page with a globe (a link) and a drive.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace lf {

// The whole strip, 64 x 16, pictures in index order (engine/ui.h: kImageFolder ...).
QPixmap DirTreeImg();
// One picture of the strip as an icon; with selectedIndex >= 0 the icon shows that picture
// while its item is selected.
QIcon StripIcon(int index, int selectedIndex = -1);

}  // namespace lf
