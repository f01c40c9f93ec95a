// The eleven operations of the wizard's first page: what each one is called, what its picture
// shows and what its memo says, and whether it runs at once or continues on a second page.
#pragma once

#include <string>
#include <vector>

namespace lf {

inline constexpr int kOperationCount = 11;

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
