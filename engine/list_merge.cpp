// Merging the lists of two browsers, and mapping the Favorites' "リンク" folder onto the
// Netscape personal toolbar folder and back.
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/entry.h"
#include "engine/sjis_text.h"

namespace lf {
namespace {

struct SpecialFolders {
  std::string linksDir = Sjis("\\リンク.dir");
  std::string linksPath = Sjis("\\リンク\\");
  std::string toolbarDir = Sjis("\\ユーザ設定ツールバー フォルダ.dir");
  std::string toolbarPath = Sjis("\\ユーザ設定ツールバー フォルダ\\");
  std::string_view ToolbarName() const {
    return std::string_view(toolbarDir).substr(1, toolbarDir.size() - 5);
  }
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
               const std::string& toDir, const std::string& toPath, Order order) {
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
  TBookmarkControl::Regroup(list, order);
}

// The folder a browser marked as its toolbar, when it has another name than the toolbar
// folder's: it takes that name (its contents move with it), so that it is mapped as the
// toolbar folder is. Left as it is where a folder of that name stands beside it.
void NameMarkedToolbar(BookmarkList& list, const SpecialFolders& f) {
  std::size_t marked = list.size();
  for (std::size_t i = 0; i < list.size() && marked == list.size(); ++i)
    if (list[i].props.Get(Prop::Root) == "toolbar" && ViewOf(list[i]).IsFolder()) marked = i;
  if (marked == list.size()) return;
  const EntryView folder = ViewOf(list[marked]);
  const std::string parent(folder.folderPath);
  const std::string_view toolbarName = f.ToolbarName();
  if (folder.name == toolbarName) return;
  const Entry renamed = MakeFolderEntry(parent, toolbarName, folder.level);
  for (const Entry& e : list)
    if (e == renamed) return;
  const std::string from = std::string(folder.OwnPath()) + "\\";
  const std::string to = std::string(ViewOf(renamed).OwnPath()) + "\\";
  for (Entry& e : list)
    if (e.starts_with(from)) e.replace(0, from.size(), to);
  list[marked].assign(renamed);
}

// Gives kept every property it lacks and other has.
void MergeProps(EntryProps& kept, const EntryProps& other) {
  if (other.Empty()) return;
  for (const auto& [prop, value] : other.All())
    if (!kept.Has(prop)) kept.Set(prop, value);
}

}  // namespace

void TBookmarkControl::RemoveDuplicates(BookmarkList& list, Order order) {
  if (order == Order::Keep) {
    // The first of identical entries stays where it stands.
    std::unordered_map<std::string_view, std::size_t> first;
    std::vector<char> drop(list.size(), 0);
    for (std::size_t i = 0; i < list.size(); ++i) {
      const auto [at, added] = first.emplace(list[i], i);
      if (!added) MergeProps(list[at->second].props, list[i].props);
      drop[i] = !added || list[i] == "delete";
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i)
      if (!drop[i]) {
        if (kept != i) list[kept] = std::move(list[i]);
        ++kept;
      }
    list.resize(kept);
    Regroup(list, order);
    return;
  }
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

void TBookmarkControl::LinksToToolbar(BookmarkList& list, Order order) {
  const SpecialFolders& f = Folders();
  MapFolder(list, f.linksDir, f.linksPath, f.toolbarDir, f.toolbarPath, order);
  // The writers mark it as the toolbar for the browsers that read the mark, not the name:
  // the outermost folder of that name.
  Entry* toolbar = nullptr;
  for (Entry& e : list) {
    if (e.props.Get(Prop::Root) == "toolbar") return;  // a browser marked its own
    const EntryView folder = ViewOf(e);
    if (folder.IsFolder() && folder.name == f.ToolbarName() &&
        (!toolbar || folder.level < ViewOf(*toolbar).level))
      toolbar = &e;
  }
  if (toolbar) toolbar->props.Set(Prop::Root, "toolbar");
}

void TBookmarkControl::ToolbarToLinks(BookmarkList& list, Order order) {
  const SpecialFolders& f = Folders();
  NameMarkedToolbar(list, f);
  MapFolder(list, f.toolbarDir, f.toolbarPath, f.linksDir, f.linksPath, order);
  // The Links folder is the toolbar by its name: the Favorites need no mark of it.
  const std::string_view linksName = std::string_view(f.linksDir).substr(1, f.linksDir.size() - 5);
  for (Entry& e : list)
    if (e.props.Get(Prop::Root) == "toolbar" && ViewOf(e).name == linksName)
      e.props.Set(Prop::Root, "");
}

}  // namespace lf
