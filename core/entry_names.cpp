#include "core/entry_names.h"

#include "engine/entry.h"

namespace lf {

std::string LinkCaption(std::string_view entry) {
  const EntryView link = ViewOf(entry);
  return link.IsLink() ? std::string(link.name) : std::string();
}

std::string NameWithSuffix(std::string_view entry) {
  const EntryView link = ViewOf(entry);
  return link.IsLink() ? std::string(link.leaf) : std::string();
}

}  // namespace lf
