// What page 1 says of the operation chosen and of the run it has done (Shift-JIS): the status
// line below the memos, and the lines beside the summary that say what the run wrote, what it
// could not carry and where that is listed.
#pragma once

#include <string>

#include "core/run_driver.h"
#include "engine/bookmark_list.h"

namespace lf {

// The status line with operation proc chosen: what the next button does.
std::string ChosenText(int proc);
// The status line while operation proc runs.
std::string RunningText(int proc);
// The status line after a run of operation proc.
std::string FinishedText(int proc, const RunResult& result);

// What the run wrote, and how many items it listed in the lost-data log; one sentence a line.
std::string RunDetailText(int proc, const RunResult& result, const RunCounters& counters);

}  // namespace lf
