// The program's own pictures: the 95 x 20 picture of each operation (the source
// collection's mark, an arrow with one word, the target's mark) and the program icon.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "core/operations.h"

namespace lf {

inline constexpr int kPictureWidth = 95;
inline constexpr int kPictureHeight = 20;

// The picture of operation 1..11; a null pixmap for any other number.
QPixmap OperationPicture(int number);

// A 16 x 16 mark: a page with a ribbon (bookmark file), a folder with a heart (favorites
// folder) or a clipboard list (hotlist).
QPixmap CollectionMark(Collection collection);

// The program icon, a ferry carrying a bookmark ribbon, at the given size.
QPixmap ProgramPicture(int size = 32);
QIcon ProgramIcon();

}  // namespace lf
