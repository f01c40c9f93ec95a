// Qt's own words in Japanese, as the program's windows are.
#pragma once

namespace lf {

// Installs Qt's Japanese translation, whatever language the user's desktop speaks, so that
// the file and folder choosers and the edit boxes' menus do not speak English beside the
// Japanese windows. False when the translation is not installed (Debian: the package
// qt6-translations-l10n); Qt's words then stay English.
bool UseJapaneseQtTexts();

}  // namespace lf
