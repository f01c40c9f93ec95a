// What the readers of nested formats (a browser's JSON, XBEL, a places database) share: they
// walk a tree of folders, links and separators and hand each item here, which files it in
// the list as its entry, with its level and path, and keeps the count. Names and addresses
// come in UTF-8 and are held in the program's text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/bookmark_list.h"
#include "engine/entry.h"
#include "engine/report.h"

namespace lf {

class NestedListBuilder {
 public:
  // rootName: the root path the entries begin with; order: the order the list is regrouped
  // in, which decides whether separators are kept.
  NestedListBuilder(const Io& io, BookmarkList& list, Report& report, const std::string& rootName,
                    Order order);

  // Opens a folder inside the one open; what it holds follows until CloseFolder. A folder
  // deeper than the entries can express is not made: what it holds goes to the deepest one.
  void OpenFolder(std::string_view name, EntryProps props);
  void CloseFolder();
  void AddLink(std::string_view name, std::string_view url, EntryProps props);
  void AddSeparator();
  // A link that gives nothing to open: counted and logged under the folder it stood in.
  void Lose(std::string_view name);
  // Lets the window work now and then; true once the read is to stop.
  bool Cancelled();
  // Says what the read could not keep, regroups the list and marks a cancelled read.
  void Finish(Order order);

 private:
  // The level of the items of the folder open: 0 for those at the top.
  int Level() const { return static_cast<int>(paths_.size()) - 1; }

  const Io& io_;
  BookmarkList& list_;
  Report& report_;
  std::vector<std::string> paths_;  // of the folders open, the root first
  int tooDeep_ = 0;                 // folders open that were not made
  bool deep_ = false;
  unsigned items_ = 0;
  SeparatorMaker separators_;
};

// Seconds since 1970 as the decimal text an entry carries, from microseconds since then;
// empty for none (0 or less).
std::string SecondsFromMicros(long long micros);

}  // namespace lf
