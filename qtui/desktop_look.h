// The look of the desktop the program runs on: its palette, light or dark, and its style.
// Qt takes the font and the palette from the desktop's platform theme where one is installed;
// a desktop that only says that it prefers dark windows (GNOME's colour scheme, a dark GTK
// theme) is followed here, with a dark palette on Qt's Fusion style.
#pragma once

class QApplication;
class QPalette;

namespace lf {

enum class ColorScheme { Light, Dark };

// What the desktop asks for. LINKFERRY_THEME=dark or =light decides first; then Qt's own
// colour scheme where Qt knows it (6.5 and later); then GTK_THEME ending in ":dark", the
// GNOME setting org.gnome.desktop.interface color-scheme = 'prefer-dark', and finally the
// platform theme's palette itself.
ColorScheme DesktopColorScheme();

// The program's dark palette: dark grey windows, light text, the desktop's blue selections.
QPalette DarkPalette();

// Gives the application the palette of the scheme: for Dark, Fusion with DarkPalette() (a
// platform style may draw its own light colours over any palette); for Light, the style and
// palette the desktop gave, unchanged; so too for Dark when that palette is dark already.
void UseColorScheme(QApplication& app, ColorScheme scheme);

}  // namespace lf
