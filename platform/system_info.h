// What the program asks of the system besides files: the local clock, the login name, its own
// path, the user's folders for settings and state, and where the Windows drives and the Windows
// folder of a settings file lie on this machine. Each can be set by tests.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

struct LocalDateTime {
  int year = 1970, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

LocalDateTime Now();
// Replaces the clock (an empty function restores the system clock).
void SetClock(std::function<LocalDateTime()> clock);

// Whole seconds since 1970-01-01 00:00 UTC; with a clock set, its time taken as UTC.
long long EpochSeconds();

// Days from 1970-01-01 to the date (negative before it).
long long DaysSinceEpoch(int year, int month, int day);

// The login name of the user, in Shift-JIS.
std::string LoginName();
void SetLoginName(std::optional<std::string> name);

// The full path of the program file, in the program's path form.
std::string ProgramPath();
void SetProgramPath(std::optional<std::string> path);
// The folder that holds the program file, without a trailing separator.
std::string ProgramDirectory();

// The user's folders for settings and for state such as logs (the XDG base directories):
// $XDG_CONFIG_HOME, else ~/.config; $XDG_STATE_HOME, else ~/.local/state. A variable that is
// empty or holds a relative path is ignored, as the XDG rules ask; ~ is $HOME (when absolute),
// else the home folder of the user's account. In the program's path form with "/" between the
// names (a name beyond Shift-JIS, or holding a backslash, as references); empty when there is
// no home folder, or when a name on the way is not UTF-8 (it has no exact form).
std::string ConfigHome();
void SetConfigHome(std::optional<std::string> path);
std::string StateHome();
void SetStateHome(std::optional<std::string> path);

// The native folder that stands for a Windows drive letter, or empty when there is none.
// By default drive C is the C drive of the user's Wine prefix (~/.wine/drive_c) if it exists.
std::string DriveRoot(char letter);
// Sets (or with an empty path removes) the folder of one drive.
void SetDriveRoot(char letter, std::string nativePath);
// Back to the default mapping.
void ResetDriveRoots();

// The Windows folder in the program's path form ("C:\windows" when drive C has a folder),
// or empty.
std::string WindowsDirectory();
void SetWindowsDirectory(std::optional<std::string> path);

}  // namespace platform
