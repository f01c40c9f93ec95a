// An entry as the Netscape and hotlist writers lay it out: the name they write, its address,
// and the level that places it.
#pragma once

#include <string>

namespace lf {

struct EntryLayout {
  std::string name;  // the folder or link name, without ".dir" or ".url" and the level
  std::string url;   // empty for a folder
  int level = 0;
  bool folder = false;
};

EntryLayout LayoutOf(const std::string& entry);

}  // namespace lf
