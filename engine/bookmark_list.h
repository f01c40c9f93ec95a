// The bookmark list: Shift-JIS lines, one folder entry or URL entry each, all beginning with
// the root path; the folder structure lives in the text of the entries.
//   folder entry:  parent path \ name .dir level
//   URL entry:     folder path \腕腕 name .url level \ URL
#pragma once

#include <string>
#include <vector>

namespace lf {

using BookmarkList = std::vector<std::string>;

// Levels are one decimal digit: items directly under the root have level 0 and the deepest
// items level 9, so folders nest at most nine deep (folder levels 0 to 8). Readers file what
// lies deeper in the deepest folder that fits and say so once (DeepNestingMessage).
inline constexpr int kMaxLevel = 9;
inline constexpr int kMaxFolderLevel = kMaxLevel - 1;

// The message a reader shows, once per read, when it had to file items of deeper folders in
// a folder at the deepest level (Shift-JIS).
const std::string& DeepNestingMessage();

// The counters of one run, owned by the caller and passed to readers and writers.
struct RunCounters {
  int cancel = 0;  // non-zero stops a reader or writer at its next check
  int nnUrlCount = 0;
  int ieUrlCount = 0;
  int operaUrlCount = 0;
  int errorCount = 0;
};

}  // namespace lf
