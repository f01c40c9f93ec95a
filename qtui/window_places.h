// Where the program's windows open and how large. A resizable window opens at the size the
// user last left it at (kept in the settings file), else at a default made for its contents;
// the first time in a run it opens centred on the window it comes from, afterwards where the
// user last had it. Every window is kept whole on the screen.
#pragma once

#include <QSize>

class QWidget;

namespace lf {

// Gives a resizable window its size: the one noted or stored for name, or defaultSize; never
// smaller than its minimum, nor larger than the screen of over.
void SizeWindow(QWidget* window, const char* name, QSize defaultSize, const QWidget* over);
// Puts a window that is being shown where it was last noted, else centred on over.
void PlaceWindow(QWidget* window, const char* name, const QWidget* over);
// Notes the size and place of a window that the user leaves (a maximised one keeps the size
// it had before).
void NoteWindowPlace(const QWidget* window, const char* name);
// Writes the sizes noted since the last time into the settings file; false when that failed.
bool StoreWindowSizes();

// Forgets what was noted in this run, for a program that turns to another settings file.
void ForgetWindowPlaces();

// Puts a window centred on over (on the screen when over is nullptr), then as far back as
// needed for the whole window to stay on the screen.
void CentreOn(QWidget* window, const QWidget* over);

}  // namespace lf
