#include "engine/entry_layout.h"

#include <algorithm>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace lf {

EntryLayout LayoutOf(const std::string& entry) {
  EntryLayout layout;
  std::string key;
  TBookmarkControl::SplitEntry(entry, key, layout.url);
  if (std::size_t marker = FindCharBoundary(key, kLinkMarker); marker != std::string::npos) {
    layout.name = key.substr(marker + kLinkMarker.size());
  } else {
    // Only "\" ends a path step: a hotlist's folder names may hold ":".
    const std::size_t cut = FindLastChar(key, "\\");
    layout.name = cut == std::string::npos ? key : key.substr(cut + 1);
  }
  layout.name.resize(layout.name.size() > 5 ? layout.name.size() - 5 : 0);
  // An entry that does not end in a level character is written at level 0.
  layout.level = key.empty() ? 0 : std::max(LevelValue(key.back()), 0);
  layout.folder = TBookmarkControl::IsFolderEntry(entry);
  return layout;
}

}  // namespace lf
