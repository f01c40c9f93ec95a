// The font every window of the program shows its text in.
#pragma once

#include <QFont>

namespace lf {

// The desktop's font, at the desktop's size, with a proportional Japanese gothic behind it for
// the characters the desktop's font lacks. Without one named, a window takes the Japanese
// characters from whichever font has them: full-width letters then stand far apart and a "\"
// beside kana looks like a yen sign while the next one does not. Characters no family in the
// list has (Korean, emoji) still come from the system's other fonts.
QFont PageFont();

}  // namespace lf
