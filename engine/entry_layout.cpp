#include "engine/entry_layout.h"

#include <algorithm>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace lf {

EntryParts PartsOf(std::string_view entry) {
  EntryParts parts{entry, std::string_view(), FindCharBoundary(entry, kLinkMarker)};
  if (parts.marker == std::string_view::npos) return parts;  // a folder, or no entry at all
  // A link's name ends at the first "\" after the link marker: names hold every "\" of their
  // own as "&#92;" (EntryLinkName), while an address may hold any text, a scheme, ".url" or
  // another "\" included.
  std::size_t end = parts.marker + kLinkMarker.size();  // a character starts here
  while (end < entry.size() && entry[end] != '\\')
    end += platform::IsLeadByte(static_cast<unsigned char>(entry[end])) ? 2 : 1;
  if (end >= entry.size()) return parts;
  parts.key = entry.substr(0, end);
  parts.url = entry.substr(end + 1);
  return parts;
}

EntryLayout LayoutOf(std::string_view entry) {
  EntryLayout layout;
  const EntryParts parts = PartsOf(entry);
  const std::string_view key = parts.key;
  layout.url = parts.url;
  // The key begins the entry, so the entry's first link marker is the key's too.
  if (parts.marker != std::string_view::npos) {
    layout.name = key.substr(parts.marker + kLinkMarker.size());
  } else {
    // Only "\" ends a path step: a hotlist's folder names may hold ":".
    const std::size_t cut = FindLastChar(key, "\\");
    layout.name = cut == std::string_view::npos ? key : key.substr(cut + 1);
  }
  layout.name.remove_suffix(std::min<std::size_t>(layout.name.size(), 5));
  // An entry that does not end in a level character is written at level 0.
  layout.level = key.empty() ? 0 : std::max(LevelValue(key.back()), 0);
  layout.folder = parts.marker == std::string_view::npos && entry.size() > 5 &&
                  entry.substr(entry.size() - 5, 4) == ".dir" && LevelValue(entry.back()) >= 0;
  return layout;
}

}  // namespace lf
