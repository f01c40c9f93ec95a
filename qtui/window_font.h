// The font every window of the program shows its text in.
#pragma once

#include <QFont>

namespace lf {

// A proportional Japanese gothic at 12 pixels. Without it a window falls back to the
// system's Latin font and takes the Japanese characters from whichever font has them:
// full-width letters then stand far apart and a "\" beside kana looks like a yen sign while
// the next one does not. Characters no family in the list has (Korean, emoji) still come
// from the system's other fonts.
QFont PageFont();

}  // namespace lf
