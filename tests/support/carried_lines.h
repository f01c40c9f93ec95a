// A bookmark list as lines, for comparing whole lists with what their entries carry.
#pragma once

#include <string>
#include <string_view>

#include "engine/bookmark_list.h"
#include "engine/entry_props.h"
#include "tests/support/temp_dir.h"

namespace lftest {

// Each entry in UTF-8 without the root path before it, then each property it carries as
// " Name=value" (in UTF-8), one entry a line.
inline std::string CarriedLines(const lf::BookmarkList& list, std::string_view root) {
  static constexpr const char* kNames[] = {"",        "Added",    "Modified",    "Visited",
                                           "Keyword", "Tags",     "Description", "Icon",
                                           "IconUri", "Root",     "Attributes",  "Guid",
                                           "Extra",   "IconFile", "IconIndex",   "ShortcutFile"};
  std::string out;
  for (const lf::Entry& entry : list) {
    out += U(std::string_view(entry).substr(entry.starts_with(root) ? root.size() : 0));
    for (const auto& [prop, value] : entry.props.All()) {
      const auto index = static_cast<std::size_t>(prop);
      out.append(" ").append(index < std::size(kNames) ? kNames[index] : "?").append("=");
      if (prop == lf::Prop::Attributes) {
        // name=value pairs, separated by spaces
        std::string pairs;
        for (const auto& [name, attribute] : lf::SplitAttributes(value))
          pairs.append(pairs.empty() ? "" : " ").append(name).append("=").append(attribute);
        out += U(pairs);
      } else {
        out += U(value);
      }
    }
    out += "\n";
  }
  return out;
}

}  // namespace lftest
