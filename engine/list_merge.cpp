// Merging the lists of two browsers, and mapping the Favorites' "リンク" folder onto the
// Netscape personal toolbar folder and back.
#include <unordered_set>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace lf {
namespace {

struct SpecialFolders {
  std::string linksDir = Sjis("\\リンク.dir");
  std::string linksPath = Sjis("\\リンク\\");
  std::string toolbarDir = Sjis("\\ユーザ設定ツールバー フォルダ.dir");
  std::string toolbarPath = Sjis("\\ユーザ設定ツールバー フォルダ\\");
};

const SpecialFolders& Folders() {
  static const SpecialFolders folders;
  return folders;
}

// Replaces the first occurrence of from by to; false if there is none. Only occurrences
// that begin on a character count: "\" is also the second byte of characters such as "ソ".
bool ReplaceFirst(std::string& text, const std::string& from, const std::string& to) {
  std::size_t pos = FindCharBoundary(text, from);
  if (pos == std::string::npos) return false;
  text.replace(pos, from.size(), to);
  return true;
}

// Renames the folder whose entries end in fromDir / pass through fromPath; the folder entry
// itself is only renamed when no folder of the target name exists beside it, but its contents
// always move. Beside it, not anywhere: with a toolbar folder at the top, a Links folder
// inside another folder would keep its entry while its links moved into a toolbar folder
// that has none there, and the writers would lose or misfile them.
void MapFolder(BookmarkList& list, const std::string& fromDir, const std::string& fromPath,
               const std::string& toDir, const std::string& toPath) {
  std::unordered_set<std::string> targetParents;  // the paths that hold a target folder
  for (const std::string& e : list)
    if (std::size_t pos = FindCharBoundary(e, toDir); pos != std::string::npos)
      targetParents.insert(e.substr(0, pos));
  for (std::string& e : list) {
    std::size_t pos = FindCharBoundary(e, fromDir);
    if (pos != std::string::npos && !targetParents.count(e.substr(0, pos)))
      e.replace(pos, fromDir.size(), toDir);
    ReplaceFirst(e, fromPath, toPath);
  }
  TBookmarkControl::Regroup(list);
}

// Gives kept every property it lacks and other has.
void MergeProps(EntryProps& kept, const EntryProps& other) {
  if (other.Empty()) return;
  for (const auto& [prop, value] : other.All())
    if (!kept.Has(prop)) kept.Set(prop, value);
}

}  // namespace

void TBookmarkControl::RemoveDuplicates(BookmarkList& list) {
  Regroup(list);
  // Of a run of identical entries only the last stays; the literal entry "delete" is the
  // mark of a removed entry and goes as well.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    // The texts lie anywhere in memory: the ones a little ahead are fetched meanwhile.
    if (i + 8 < list.size()) __builtin_prefetch(list[i + 8].data());
    bool repeated = i + 1 < list.size() && list[i] == list[i + 1];
    // The copy that stays takes what only the others carried (the dates one browser kept
    // and the other did not).
    if (repeated) MergeProps(list[i + 1].props, list[i].props);
    if (repeated || list[i] == "delete") continue;
    if (kept != i) list[kept] = std::move(list[i]);
    ++kept;
  }
  list.resize(kept);
}

void TBookmarkControl::LinksToToolbar(BookmarkList& list) {
  const SpecialFolders& f = Folders();
  MapFolder(list, f.linksDir, f.linksPath, f.toolbarDir, f.toolbarPath);
}

void TBookmarkControl::ToolbarToLinks(BookmarkList& list) {
  const SpecialFolders& f = Folders();
  MapFolder(list, f.toolbarDir, f.toolbarPath, f.linksDir, f.linksPath);
}

}  // namespace lf
