// The lost-data log as the Favorites reader and writer save it at the end of a run.
#pragma once

#include <string>
#include <vector>

#include "engine/ui.h"

namespace lf {

// Saves the lines as the lost-data log; a failure is shown through the owner (naming the
// log and the system's reason) instead of ending the run.
void SaveLostDataReporting(Owner& owner, const std::vector<std::string>& lines);

}  // namespace lf
