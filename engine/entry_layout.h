// An entry as the Netscape and hotlist writers lay it out: the name they write, its address,
// and the level that places it.
#pragma once

#include <string_view>

namespace lf {

// Views into the entry, valid while it is.
struct EntryLayout {
  std::string_view name;  // the folder or link name, without ".dir" or ".url" and the level
  std::string_view url;   // empty for a folder
  int level = 0;
  bool folder = false;
};

EntryLayout LayoutOf(std::string_view entry);

// The parts of TBookmarkControl::SplitEntry as views into the entry, with the position of
// its link marker (npos for none).
struct EntryParts {
  std::string_view key;
  std::string_view url;
  std::size_t marker;
};
EntryParts PartsOf(std::string_view entry);

}  // namespace lf
