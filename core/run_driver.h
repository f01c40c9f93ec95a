// The chains of engine calls behind "実行" on page 1 and behind the unattended run: each
// operation reads one collection into a fresh bookmark list, optionally reshapes it, and
// writes it as another collection.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "engine/bookmark_control.h"
#include "engine/bookmark_list.h"
#include "engine/ui.h"

namespace lf {

// Everything a run works with. Without a status label the run is unattended: it sets no
// status text, shows no message of its own and no summary.
struct RunContext {
  TBookmarkControl& control;
  const Settings& settings;
  RunCounters& counters;
  Owner& owner;
  ProgressBar& bar;
  StatusLabel* status = nullptr;
  // Told when the run starts to write: from then on it goes to its end, whatever the cancel
  // flag says, so that no collection is left half written.
  std::function<void()> writing = nullptr;
};

// How a run ended.
struct RunResult {
  bool complete = true;  // false when it was cancelled before it wrote
  // Reads and writes that failed as a whole, and other failures the run showed (a log that
  // could not be saved, nothing to write).
  int failures = 0;
  int errors = 0;            // links that could not be converted
  int lost = 0;              // lines the run put into the lost-data log
  std::string lostDataPath;  // the lost-data log when the run wrote it (a program path)
  // What the run has to tell beside its counts (what a target cannot hold, a link written
  // under another name), Shift-JIS, for the caller to show with its result.
  std::vector<std::string> notes;

  // True when the run did all it was asked to.
  bool Succeeded() const { return complete && failures == 0 && errors == 0 && lost == 0; }
};

// One run of operation proc (1, 2, 3, 10 or 11; others do nothing): clears the counters and
// the cancel flag, runs the chain on a new list, hides the bar and, when attended, shows the
// summary line on the status label. A cancel flag set while the run reads stops it before
// its next write and the status label says so instead. What the run could not carry goes to
// the lost-data log in the control's LostDataFolder. Errors the readers and writers do not
// handle themselves (platform::IoError and others) propagate to the caller.
RunResult RunOperation(int proc, const RunContext& run);

// What the status label says of a run cancelled before it wrote (Shift-JIS).
std::string InterruptedText();

// The unattended run of operation 1, 2 or 3: the same chain with no status label.
RunResult AutoProc(int autoOperation, const RunContext& run);

// "ＩＥ ｕｒｌ数: 3, ＮＮ ｕｒｌ数: 5, 変換エラー数: 0" (Shift-JIS); for operations 10 and 11
// the first count is the Opera one ("ＯＰ ｕｒｌ数: ").
std::string SummaryLine(int proc, const RunCounters& counters);

// Shown when a conversion into the Netscape file has nothing to write (Shift-JIS).
std::string NoUrlMessage();

}  // namespace lf
