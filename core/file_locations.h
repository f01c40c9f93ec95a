// Where the program keeps its own files: the settings file and the lost-data log. A copy with
// a settings file beside it (a portable copy) keeps both there, as it always did; any other
// keeps them in the user's folders, since the program's own folder is seldom the user's to
// write once the program is installed.
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace lf {

// The settings file (a program path), decided anew for every read and write: the file given
// with --settings; else the program's path with ".ini" when anything stands there; else
// linkferry/linkferry.ini in the user's settings folder (platform::ConfigHome), or beside the
// program again when the user has no such folder.
std::string IniFileName();

// The settings file named on the command line, or none for the usual choice.
void SetSettingsFileOption(std::optional<std::string> path);
bool HasSettingsFileOption();

// Makes the user's settings folder (mode 0700) when the settings file lies in it and it is
// missing; throws platform::IoError when it cannot be made.
void MakeSettingsFolder();

// The folder of LostData.txt: the program's folder for a portable copy (or when the user has
// no state folder), else linkferry in the user's state folder (platform::StateHome).
std::string LostDataFolder();

// The native form of a program path, for text meant for the shell's user.
std::string NativeText(const std::string& path);

// Sends the lost-data log of every run and page to LostDataFolder() for the rest of the
// process (AppRun().lostDataFolder); without this it stays beside the program.
void UseLostDataFolder();

// Names the lost-data log in one line on err when a run wrote it (logPath, a program path,
// is empty otherwise): the summary line counts the links that could not be converted, this
// says where they are listed; where none was lost (linksLost false), the log lists what the
// target could not hold.
void TellLostData(const std::string& logPath, bool linksLost, std::ostream& err);

}  // namespace lf
