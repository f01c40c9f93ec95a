#include "core/app_state.h"

namespace lf {

Settings& AppSettings() {
  static Settings settings;
  return settings;
}

RunState& AppRun() {
  static RunState run;
  return run;
}

}  // namespace lf
