// The command line outside the scripted run's own options: "-1", "-2" or "-3" runs that
// operation unattended, "--settings FILE" picks the settings file for every kind of start, and
// the windows need a display.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lf {

// The unattended operation the arguments ask for (without the program name): 1..3 when
// there is exactly one argument whose first character is "-" and second "1", "2" or "3"
// (further characters do not matter); 0 for anything else, which starts page 1.
int AutoOperationOf(const std::vector<std::string>& args);

// The program path of a path given on the command line for the option: absolute (relative
// ones are taken from cwd, a native folder, empty when unknown), ".." resolved. A character
// beyond Shift-JIS and a backslash inside a name are held as references, so the name reaches
// the files as itself. False with the reason in error (UTF-8) for an empty path, or one of
// bytes that are not UTF-8.
bool ArgumentPath(std::string_view option, const std::string& native, const std::string& cwd,
                  std::string& path, std::string& error);

// Takes "--settings FILE" out of the arguments, wherever it stands, and makes FILE the
// settings file (SetSettingsFileOption); what remains means what it meant without it. False
// with the reason in error for a --settings without a file, given twice or written with "=".
bool TakeSettingsOption(std::vector<std::string>& args, const std::string& cwd, std::string& error);

// Empty when the windows can open: DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is set.
// Otherwise one line (UTF-8) that says what is missing and what to do instead; the window
// system would only abort with words of its own.
std::string NoDisplayText();
// One line (UTF-8) for a display that is named but cannot be opened (a DISPLAY left behind by
// a session that has ended): which one, and what to do instead.
std::string UnopenedDisplayText();

}  // namespace lf
