// The scripted command line: "linkferry --run N" with options that stand in for values of the
// settings file, "--help" and "--version". Like the unattended run it never needs a display.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/app_state.h"

namespace lf {

// What a scripted command line asks for.
struct ScriptCommand {
  enum class Action { Run, Help, Version, Wrong };
  Action action = Action::Wrong;
  int operation = 0;                  // 1, 2, 3, 10 or 11
  std::optional<std::string> nnFile;  // program paths: Shift-JIS, absolute, "\" between names
  std::optional<std::string> ieDir;
  std::optional<std::string> opFile;
  std::optional<int> out;  // 0 Shift_JIS, 1 EUC-JP, 2 UTF-8
  std::optional<int> nnConv;
  std::optional<int> lnk;
  std::optional<int> order;  // 0 sort, 1 keep
  std::string error;  // what is wrong with the command line (UTF-8)
};

// True when one of the arguments (without the program name) is one of the scripted options,
// or such an option with "=" and a value; every other command line keeps its old meaning.
bool IsScriptCommandLine(const std::vector<std::string>& args);

// Reads a scripted command line; relative paths are taken from cwd, a native folder (empty
// when the current folder is unknown).
ScriptCommand ParseScriptCommand(const std::vector<std::string>& args, const std::string& cwd);

// The settings a scripted run works with: the settings file's (or the defaults without one),
// with the values the command gives in their place.
// problems, when given, gets a line for every settings value out of its range.
Settings ScriptSettings(const ScriptCommand& command, std::vector<std::string>* problems = nullptr);

// The usage text (UTF-8, ending with a newline).
std::string ScriptUsage();
// What --help adds to it: the settings file and the lost-data log of this start, as native
// paths.
std::string FilesHere();

// Carries out a scripted command line (without --settings, TakeSettingsOption's) and returns
// the exit status: 0 done, 1 when the run reported an error (on err, in UTF-8) or a settings
// file is there but cannot be read, or was named with --settings and is not there (then
// nothing is run), 2 for a wrong command line (the reason and the usage on err). A run prints
// its summary line on out, and on err where the links it could not convert are listed; the
// settings file is never written.
int RunScript(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lf
