// The eleven operations of the wizard's first page: what each one is called, what its picture
// shows and what its memo says, and whether it runs at once or continues on a second page.
#pragma once

#include <string>
#include <vector>

namespace lf {

// The operations by the numbers the settings file keeps in Proc and the command lines take.
enum Operation : int {
  kNnToIe = 1,      // bookmark file to Favorites
  kIeToNn = 2,      // Favorites to bookmark file
  kMergeNnIe = 3,   // both rebuilt from the two together
  kAddNnToIe = 4,   // links of the bookmark file added to the Favorites (transfer page)
  kEditIe = 5,      // the Favorites edited (editor page)
  kCheckIe = 6,     // duplicate links of the Favorites (duplicate check page)
  kAddIeToNn = 7,   // links of the Favorites added to the bookmark file (transfer page)
  kEditNn = 8,      // the bookmark file edited (editor page)
  kCheckNn = 9,     // duplicate links of the bookmark file (duplicate check page)
  kOperaToNn = 10,  // hotlist to bookmark file
  kNnToOpera = 11,  // bookmark file to hotlist
};

inline constexpr int kOperationCount = kNnToOpera;

// The version, as page 1 shows it and "--version" prints it.
inline constexpr char kVersionText[] = "Version 13.03  (2002/10/18)";

// The collections an operation picture shows.
enum class Collection { BookmarkFile, Favorites, Hotlist };

struct OperationInfo {
  int number;
  const char* name;  // NnToIe, IeToNn, ...
  const char* word;  // the word on the picture's arrow
  Collection source;
  Collection target;
  bool bothWays;          // a double arrow (the merge)
  bool runAtOnce;         // carried out on page 1 by "実行"
  const char* memoLine1;  // UTF-8
  const char* memoLine2;  // UTF-8, may be empty
};

// The operation with this number; number must be 1..11.
const OperationInfo& OperationOf(int number);

// True for 1, 2, 3, 10 and 11, which page 1 runs itself.
bool IsRunAtOnce(int proc);
// True for 4..9, which continue on a second page.
bool HasSecondPage(int proc);

// The four lines of an operation's memo, in UTF-8.
std::vector<std::string> MemoLines(int number);

}  // namespace lf
