#include "wizard/unattended.h"

#include <exception>

#include "engine/bookmark_control.h"
#include "wizard/app_state.h"
#include "wizard/run_driver.h"
#include "wizard/settings_file.h"
#include "wizard/stderr_owner.h"

namespace lf {

int RunUnattended(int autoOperation, std::ostream& err) {
  RunState& state = AppRun();
  state.AutoMode = 1;
  state.AutoOperation = autoOperation;
  Settings& settings = AppSettings();
  if (!ReadSettings(settings)) return 0;

  TBookmarkControl control;
  control.OutputCharset = settings.Out;
  StderrOwner owner(err);
  ProgressBar bar;  // of the page that is never shown
  try {
    AutoProc(autoOperation, {control, settings, state.counters, owner, bar, nullptr});
  } catch (const std::exception& e) {
    owner.ReportError(e.what());
  }
  return owner.ErrorCount() > 0 ? 1 : 0;
}

}  // namespace lf
