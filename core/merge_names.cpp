#include "core/merge_names.h"

#include "engine/bookmark_control.h"
#include "engine/favorites_targets.h"
#include "engine/sjis_text.h"

namespace lf {
namespace {

// The shortcut file a Favorites entry was read from: its folder and the file's own name.
std::string FileOf(const EntryView& link) {
  return std::string(link.FolderPart()) + std::string(link.leaf);
}

}  // namespace

MergeNames::MergeNames(const BookmarkList& written) {
  FavoritesTargets targets;
  for (const Entry& entry : written) {
    if (std::string folder = FavoritesTargets::Folder(entry); !folder.empty())
      folders_.try_emplace(std::move(folder), entry);
    else if (std::string file = targets.File(entry); !file.empty())
      links_.try_emplace(std::move(file), entry);
  }
}

void MergeNames::Restore(BookmarkList& readBack) const {
  // The folder path each folder made stands for.
  std::unordered_map<std::string, std::string> paths;
  for (const auto& [made, entry] : folders_) paths.emplace(made, ViewOf(entry).OwnPath());
  for (Entry& entry : readBack) {
    const EntryView item = ViewOf(entry);
    if (item.IsLink()) {
      if (const auto it = links_.find(FileOf(item)); it != links_.end()) {
        entry = it->second;
        continue;
      }
    } else if (item.IsFolder()) {
      if (const auto it = folders_.find(std::string(item.OwnPath())); it != folders_.end()) {
        entry = it->second;
        continue;
      }
    }
    // Anything else keeps its name, in the folder it lies in as the bookmark file names it.
    std::string_view folder = item.folderPath;
    while (!folder.empty()) {
      if (const auto it = paths.find(std::string(folder)); it != paths.end()) {
        entry.replace(0, folder.size(), it->second);
        break;
      }
      const std::size_t cut = FindLastChar(folder, "\\");
      if (cut == std::string_view::npos) break;
      folder = folder.substr(0, cut);
    }
  }
  TBookmarkControl::Regroup(readBack);
}

}  // namespace lf
