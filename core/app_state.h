// The values one run of the program shares between page 1, the settings dialog and the
// second pages: the settings kept in the settings file, and the counters and cancel flag of
// the current run. No Qt here, so the unattended run can use it without a display.
#pragma once

#include <string>

#include "engine/bookmark_control.h"
#include "engine/bookmark_list.h"

namespace lf {

struct Settings {
  int Proc = 0;            // current operation 1..11, 0 = none chosen
  std::string NNFileName;  // the Netscape bookmark file
  std::string IEDirName;   // the Favorites folder; also the root path of every list
  std::string OPFileName;  // the Opera hotlist
  int NNConv = 0;          // 1: keep the links already in the Netscape file (IE -> NN)
  int Out = 0;             // written Netscape files: 0 Shift_JIS, 1 EUC-JP, 2 UTF-8
  int DBL = 0;             // 1: the duplicate check deletes without asking
  int LNK = 0;             // 1: map the Links folder onto the personal toolbar folder
  int Order = 0;           // 1: keep the order of the source instead of sorting by name
};

struct RunState {
  RunCounters counters;  // the cancel flag and the four counters
  // Where the lost-data log goes (empty: beside the program), decided when the program starts.
  std::string lostDataFolder;
};

// Gives the control what the settings say of the lists it reads and the files it writes.
void UseSettings(TBookmarkControl& control, const Settings& settings);

// The one instance of each for the whole process.
Settings& AppSettings();
RunState& AppRun();

}  // namespace lf
