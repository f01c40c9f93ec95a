// The settings file (where it lies: file_locations.h): the shared settings, the three path
// histories, and the message shown when the file cannot be written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/file_locations.h"
#include "engine/ui.h"

namespace platform {
class IniFile;
}

namespace lf {

// Help file and help contexts of the wizard's windows (there is no help viewer).
inline constexpr char kHelpFile[] = "linkfery.hlp";
inline constexpr int kPage1HelpContext = 8;
inline constexpr int kSettingsHelpContext = 6;

// Key prefixes of the histories of the three locations.
inline constexpr std::string_view kNNHistory = "NNFile";
inline constexpr std::string_view kIEHistory = "IEDir";
inline constexpr std::string_view kOPHistory = "OPFile";
// A history keeps at most this many entries, the newest first.
inline constexpr int kMaxHistory = 99;

// Reads the eight shared settings with their defaults; returns whether the file exists. A
// number out of its range reads as 0, and problems (when given) gets a line saying so.
bool ReadSettings(Settings& settings, std::vector<std::string>* problems = nullptr);

// The error code when something is there under the settings file's name but cannot be read
// (a file the user may not read, a pipe); 0 when it can be read or there is nothing.
int SettingsReadError();
// The message for a settings file that cannot be read (Shift-JIS).
std::string ReadErrorText(const std::string& iniPath, int code);

// Writes the eight shared settings (IniWrite), making the user's settings folder first when
// needed. A refused write, or a folder that cannot be made, shows "%s に書き込めません"
// through the owner, skips the remaining writes and returns false.
bool IniWrite(const Settings& settings, Owner& owner);

// The message for a settings file that cannot be written (Shift-JIS).
std::string WriteErrorText(const std::string& iniPath);
void ShowWriteError(Owner& owner, const std::string& iniPath);

// "NNFile01" ... "NNFile99": the key of the n-th history entry.
std::string HistoryKey(std::string_view prefix, int n);

// A history read up to its first empty or absent key.
std::vector<std::string> ReadHistory(const platform::IniFile& ini, std::string_view prefix);

// Writes the lines of a combo box list as the history, numbered from 01: lines equal to the
// current value and empty lines are left out, and at most kMaxHistory are kept. An entry
// left over from a longer history is emptied so that it does not come back. Throws
// platform::IoError.
void WriteHistory(platform::IniFile& ini, std::string_view prefix,
                  const std::vector<std::string>& lines, const std::string& current);

// A location of the settings dialog: its value and its history.
struct Location {
  std::string value;
  std::vector<std::string> history;
};

// The three stored locations with their histories, as the settings dialog shows them.
struct StoredLocations {
  Location nn, ie, op;
};
StoredLocations ReadLocations();

// Stores the three locations, each followed by its history made from the combo box list,
// in the order NNFileName, its history, IEDirName, ..., OPFileName, ..., making the user's
// settings folder first when needed. Throws platform::IoError; what was written before the
// failure stays written.
void WriteLocations(const std::string& nn, const std::vector<std::string>& nnList,
                    const std::string& ie, const std::vector<std::string>& ieList,
                    const std::string& op, const std::vector<std::string>& opList);

// The size a resizable window was last left at, kept in a section of its own, [Window], as
// "<window>Width" and "<window>Height" in pixels; 0 and 0 when none is stored, or one that no
// screen could show.
struct WindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const WindowSize&) const = default;
};
WindowSize ReadWindowSize(std::string_view window);
// Stores the size of the window, making the user's settings folder first when needed. Throws
// platform::IoError.
void WriteWindowSize(std::string_view window, WindowSize size);

}  // namespace lf
