#include "core/app_state.h"

namespace lf {

Settings& AppSettings() {
  static Settings settings;
  return settings;
}

void UseSettings(TBookmarkControl& control, const Settings& settings) {
  control.OutputCharset = settings.Out;
  control.ListOrder = settings.Order == 1 ? Order::Keep : Order::Sort;
}

RunState& AppRun() {
  static RunState run;
  return run;
}

}  // namespace lf
