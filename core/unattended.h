// The unattended run from the command line, without any window.
#pragma once

#include <ostream>

namespace lf {

// Runs operation 1, 2 or 3 with the settings of the settings file and returns the program's
// exit status: 0 when it ran without an error or when there is no settings file (nothing is
// done then), 1 when an error was reported (printed on err), also for a settings file that
// is there but cannot be read (nothing is done then either). A run that wrote the lost-data
// log names it on err.
int RunUnattended(int autoOperation, std::ostream& err);

}  // namespace lf
