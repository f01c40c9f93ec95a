// The bookmark list: Shift-JIS lines, one folder entry or URL entry each, all beginning with
// the root path; the folder structure lives in the text of the entries.
//   folder entry:  parent path \ name .dir level
//   URL entry:     folder path \腕腕 name .url level \ URL
#pragma once

#include <string>
#include <vector>

namespace lf {

using BookmarkList = std::vector<std::string>;

// The counters of one run, owned by the caller and passed to readers and writers.
struct RunCounters {
  int cancel = 0;  // non-zero stops a reader or writer at its next check
  int nnUrlCount = 0;
  int ieUrlCount = 0;
  int operaUrlCount = 0;
  int errorCount = 0;
};

}  // namespace lf
