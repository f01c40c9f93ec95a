#include "core/unattended.h"

#include <exception>

#include "core/app_state.h"
#include "core/file_locations.h"
#include "core/run_driver.h"
#include "core/settings_file.h"
#include "core/stderr_owner.h"
#include "engine/bookmark_control.h"

namespace lf {

int RunUnattended(int autoOperation, std::ostream& err) {
  RunState& state = AppRun();
  Settings& settings = AppSettings();
  StderrOwner owner(err);
  std::vector<std::string> problems;
  const bool exists = ReadSettings(settings, &problems);
  for (const std::string& problem : problems) owner.ReportError(problem);
  if (!exists) {
    // A settings file that is there but cannot be read is not the absent one that means
    // "nothing to do": running with the defaults or ending quietly would both be wrong.
    if (const int code = SettingsReadError()) {
      owner.ReportError(ReadErrorText(IniFileName(), code));
      return 1;
    }
    return 0;
  }

  TBookmarkControl control;
  UseSettings(control, settings);
  control.LostDataFolder = state.lostDataFolder;
  ProgressBar bar;  // of the page that is never shown
  RunResult result;
  try {
    result = AutoProc(autoOperation, {control, settings, state.counters, owner, bar, nullptr});
  } catch (const std::exception& e) {
    owner.ReportError(e.what());
    return 1;
  }
  ShowNotes(owner, result.notes);
  owner.Finish();
  TellLostData(result.lostDataPath, result.lost > 0, err);
  // A link that could not be converted is an error of the run, even where no message said so.
  return result.Succeeded() ? 0 : 1;
}

}  // namespace lf
