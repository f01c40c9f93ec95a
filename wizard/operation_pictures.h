// The program's own pictures: the 95 x 20 picture of each operation (the source
// collection's mark, an arrow with one word, the target's mark) and the program icon.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "core/operations.h"

namespace lf {

inline constexpr int kPictureWidth = 95;
inline constexpr int kPictureHeight = 20;

// The pictures are drawn as shapes at the size asked for, for a screen of the given device
// pixel ratio (2 for a screen of double density): sharp at any density.

// The picture of operation 1..11; a null pixmap for any other number.
QPixmap OperationPicture(int number, qreal devicePixelRatio = 1.0);

// A 16 x 16 mark: a page with a ribbon (bookmark file), a folder with a heart (favorites
// folder) or a clipboard list (hotlist).
QPixmap CollectionMark(Collection collection, qreal devicePixelRatio = 1.0);

// The program icon, a ferry carrying a bookmark ribbon, at the given size.
QPixmap ProgramPicture(int size = 32, qreal devicePixelRatio = 1.0);
QIcon ProgramIcon();

}  // namespace lf
