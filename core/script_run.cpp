#include "core/script_run.h"

#include <array>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <string_view>

#include "core/command_line.h"
#include "core/file_locations.h"
#include "core/operations.h"
#include "core/run_driver.h"
#include "core/settings_file.h"
#include "core/stderr_owner.h"
#include "engine/bookmark_control.h"
#include "engine/lost_data.h"
#include "engine/ui.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

namespace lf {
namespace {

enum class Option { Run, Nn, Ie, Opera, Out, NnConv, Lnk, Order, Help, Version };

struct OptionName {
  Option option;
  std::string_view name;
};

constexpr std::array<OptionName, 10> kOptions{{
    {Option::Run, "--run"},
    {Option::Nn, "--nn"},
    {Option::Ie, "--ie"},
    {Option::Opera, "--opera"},
    {Option::Out, "--out"},
    {Option::NnConv, "--nnconv"},
    {Option::Lnk, "--lnk"},
    {Option::Order, "--order"},
    {Option::Help, "--help"},
    {Option::Version, "--version"},
}};

const OptionName* FindOption(std::string_view arg) {
  for (const OptionName& o : kOptions)
    if (o.name == arg) return &o;
  return nullptr;
}

ScriptCommand Wrong(std::string reason) {
  ScriptCommand wrong;
  wrong.error = std::move(reason);
  return wrong;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// One of the spellings, as its index; -1 for anything else.
template <std::size_t N>
int IndexOf(const std::array<std::string_view, N>& spellings, std::string_view value) {
  for (std::size_t i = 0; i < N; ++i)
    if (spellings[i] == value) return static_cast<int>(i);
  return -1;
}

}  // namespace

bool IsScriptCommandLine(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    const std::string_view name = std::string_view(arg).substr(0, arg.find('='));
    if (FindOption(name)) return true;
  }
  return false;
}

ScriptCommand ParseScriptCommand(const std::vector<std::string>& args, const std::string& cwd) {
  static constexpr std::array<std::string_view, 5> kOperations{"1", "2", "3", "10", "11"};
  static constexpr std::array<int, 5> kOperationNumbers{kNnToIe, kIeToNn, kMergeNnIe, kOperaToNn,
                                                        kNnToOpera};
  static constexpr std::array<std::string_view, 3> kCharsets{"sjis", "euc", "utf8"};
  static constexpr std::array<std::string_view, 2> kSwitch{"0", "1"};
  static constexpr std::array<std::string_view, 2> kOrders{"sort", "keep"};

  ScriptCommand command;
  std::array<bool, kOptions.size()> seen{};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const OptionName* option = FindOption(arg);
    if (!option) {
      return Wrong(arg.starts_with("-") ? "unknown option " + Quoted(arg)
                                        : "stray argument " + Quoted(arg));
    }
    if (option->option == Option::Help || option->option == Option::Version) {
      if (args.size() != 1) return Wrong(arg + " takes no other arguments");
      command.action = option->option == Option::Help ? ScriptCommand::Action::Help
                                                      : ScriptCommand::Action::Version;
      return command;
    }
    bool& given = seen[static_cast<std::size_t>(option->option)];
    if (given) return Wrong(arg + " is given twice");
    given = true;
    // An option name in the place of the value means the value was left out.
    if (i + 1 == args.size() || FindOption(args[i + 1])) return Wrong(arg + " needs a value");
    const std::string& value = args[++i];

    std::string path, error;
    int index = -1;
    switch (option->option) {
      case Option::Run:
        index = IndexOf(kOperations, value);
        if (index < 0) return Wrong("--run takes 1, 2, 3, 10 or 11, not " + Quoted(value));
        command.operation = kOperationNumbers[static_cast<std::size_t>(index)];
        break;
      case Option::Nn:
      case Option::Ie:
      case Option::Opera:
        if (!ArgumentPath(arg, value, cwd, path, error)) return Wrong(error);
        (option->option == Option::Nn   ? command.nnFile
         : option->option == Option::Ie ? command.ieDir
                                        : command.opFile) = path;
        break;
      case Option::Out:
        index = IndexOf(kCharsets, value);
        if (index < 0) return Wrong("--out takes sjis, euc or utf8, not " + Quoted(value));
        command.out = index;
        break;
      case Option::NnConv:
      case Option::Lnk:
        index = IndexOf(kSwitch, value);
        if (index < 0) return Wrong(arg + " takes 0 or 1, not " + Quoted(value));
        (option->option == Option::NnConv ? command.nnConv : command.lnk) = index;
        break;
      case Option::Order:
        index = IndexOf(kOrders, value);
        if (index < 0) return Wrong("--order takes keep or sort, not " + Quoted(value));
        command.order = index;
        break;
      case Option::Help:
      case Option::Version:
        break;
    }
  }
  if (command.operation == 0) return Wrong("--run N is missing");
  command.action = ScriptCommand::Action::Run;
  return command;
}

Settings ScriptSettings(const ScriptCommand& command, std::vector<std::string>* problems) {
  Settings settings;
  ReadSettings(settings, problems);
  settings.Proc = command.operation;
  if (command.nnFile) settings.NNFileName = *command.nnFile;
  if (command.ieDir) settings.IEDirName = *command.ieDir;
  if (command.opFile) settings.OPFileName = *command.opFile;
  if (command.out) settings.Out = *command.out;
  if (command.nnConv) settings.NNConv = *command.nnConv;
  if (command.lnk) settings.LNK = *command.lnk;
  if (command.order) settings.Order = *command.order;
  return settings;
}

std::string ScriptUsage() {
  return "Usage: linkferry [--settings FILE]            open the windows\n"
         "       linkferry [--settings FILE] -1|-2|-3   run 1, 2 or 3 as the settings say\n"
         "       linkferry [--settings FILE] --run N [--nn FILE] [--ie DIR] [--opera FILE]\n"
         "                 [--out sjis|euc|utf8] [--nnconv 0|1] [--lnk 0|1] [--order keep|sort]\n"
         "       linkferry --help | --version\n"
         "--run N runs one conversion without a window and prints its summary line.\n"
         "  N = 1 bookmark file to Favorites, 2 Favorites to bookmark file,\n"
         "      3 both rebuilt from both, 10 Opera hotlist to bookmark file,\n"
         "      11 bookmark file to Opera hotlist.\n"
         "  --nn, --ie, --opera: the bookmark file, the Favorites folder, the Opera hotlist.\n"
         "  The bookmark file may also be the \"Bookmarks\" file of a Chromium, Chrome,\n"
         "  Edge, Brave or Vivaldi profile (~/.config/chromium/Default/Bookmarks), an\n"
         "  XBEL file or, to read only, a Firefox backup\n"
         "  (~/.mozilla/firefox/*/bookmarkbackups/*.jsonlz4) or places.sqlite. Its\n"
         "  content tells which; a new file is Chromium's when named Bookmarks or *.json,\n"
         "  XBEL when named *.xbel, else the Netscape file.\n"
         "  --out: character set of a written bookmark file. --nnconv 1: keep the links\n"
         "  already in it (2, 10). --lnk 1: map the Links folder onto the personal toolbar.\n"
         "  --order keep: folders, links and separators stay in the order the source has\n"
         "  them; sort (the default) sorts each folder by name.\n"
         "Values not given come from the settings file, which is not written.\n"
         "Files:\n"
         "  settings: linkferry.ini beside the program when one is there (a portable copy),\n"
         "    else $XDG_CONFIG_HOME/linkferry/linkferry.ini (~/.config/linkferry/), or the\n"
         "    FILE of --settings.\n"
         "  LostData.txt, the links a run could not convert: beside a portable copy, else\n"
         "    in $XDG_STATE_HOME/linkferry/ (~/.local/state/linkferry/).\n"
         "Exit status: 0 done, 1 the run reported an error, 2 wrong command line or no\n"
         "display for the windows.\n";
}

std::string FilesHere() {
  return "Here:\n  settings: " + NativeText(IniFileName()) +
         "\n  LostData.txt: " + NativeText(LostDataLog(LostDataFolder()).Path()) + "\n";
}

int RunScript(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  const ScriptCommand command = ParseScriptCommand(args, ec ? std::string() : cwd.string());
  switch (command.action) {
    case ScriptCommand::Action::Wrong:
      err << "linkferry: " << command.error << '\n' << ScriptUsage() << std::flush;
      return 2;
    case ScriptCommand::Action::Help:
      out << ScriptUsage() << FilesHere() << std::flush;
      return out ? 0 : 1;
    case ScriptCommand::Action::Version:
      out << "Linkferry " << kVersionText << '\n' << std::flush;
      return out ? 0 : 1;
    case ScriptCommand::Action::Run:
      break;
  }

  StderrOwner owner(err);
  // Values not given would silently fall back on the defaults.
  if (const int code = SettingsReadError()) {
    owner.ReportError(ReadErrorText(IniFileName(), code));
    return 1;
  }
  // A file named on the command line that is not there is a mistake, not a first start.
  if (HasSettingsFileOption() && !platform::PathExists(IniFileName())) {
    owner.ReportError(ReadErrorText(IniFileName(), ENOENT));
    return 1;
  }
  std::vector<std::string> problems;
  const Settings settings = ScriptSettings(command, &problems);
  for (const std::string& problem : problems) owner.ReportError(problem);
  TBookmarkControl control;
  UseSettings(control, settings);
  control.LostDataFolder = AppRun().lostDataFolder;
  RunCounters counters;
  ProgressBar bar;
  // Page 1's run has a status label; with one the chain is the same as page 1's, so that a
  // conversion with nothing to write says so instead of ending quietly with the old file.
  StatusLabel status;
  RunResult result;
  try {
    result = RunOperation(command.operation, {control, settings, counters, owner, bar, &status});
  } catch (const std::exception& e) {
    owner.ReportError(e.what());
    return 1;
  } catch (...) {
    owner.ReportError("unexpected error");
    return 1;
  }
  ShowNotes(owner, result.notes);
  out << platform::Cp932ToUtf8(SummaryLine(command.operation, counters)) << '\n' << std::flush;
  owner.Finish();
  TellLostData(result.lostDataPath, result.lost > 0, err);
  if (!out) {
    owner.ReportError("standard output cannot be written");
    return 1;
  }
  // A link that could not be converted is an error of the run, even where no message said so.
  return result.Succeeded() ? 0 : 1;
}

}  // namespace lf
