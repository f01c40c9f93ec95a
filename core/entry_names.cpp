#include "core/entry_names.h"

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace lf {
namespace {

// The entry path after the link marker: name, ".url" and the level character.
std::string AfterMarker(std::string_view entry) {
  const std::string path = TBookmarkControl::EntryKey(entry);
  const std::size_t marker = FindCharBoundary(path, kLinkMarker);
  if (marker == std::string::npos) return std::string();
  return path.substr(marker + kLinkMarker.size());
}

}  // namespace

std::string LinkCaption(std::string_view entry) {
  std::string name = AfterMarker(entry);
  name.resize(name.size() >= 5 ? name.size() - 5 : 0);
  return name;
}

std::string NameWithSuffix(std::string_view entry) {
  std::string name = AfterMarker(entry);
  if (!name.empty()) name.pop_back();
  return name;
}

}  // namespace lf
