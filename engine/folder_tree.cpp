// The pages' two panes: the folder tree of a bookmark list, the folder path of a tree node,
// and the links lying directly in one folder.
#include <array>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace lf {

std::string TBookmarkControl::SelectedFolderPath(const std::string& rootText,
                                                 const TreeView& tree) {
  TreeView::Node node = tree.Selected();
  // Without a selection the page stays on the root, as after a click on the root node.
  if (node == TreeView::kNoNode) return rootText;
  const int level = tree.Level(node);
  if (level == 0) return rootText;
  std::vector<std::string> captions;  // from the selected node up to level 1
  for (int k = level; k >= 1 && node != TreeView::kNoNode; --k) {
    captions.push_back(tree.Caption(node));
    node = tree.Parent(node);
  }
  std::string path = rootText;
  for (auto it = captions.rbegin(); it != captions.rend(); ++it) path += "\\" + *it;
  return path;
}

void TBookmarkControl::BuildFolderTree(ProgressBar& bar, const std::string& rootCaption,
                                       TreeView& tree, const BookmarkList& list) {
  bar.SetPosition(0);
  bar.SetStep(1);
  bar.SetMax(static_cast<int>(list.size()) - 1);
  tree.Clear();
  const TreeView::Node root =
      tree.AddChild(TreeView::kNoNode, rootCaption, kImageFolder, kImageFolder);

  // The node added last for each level; a folder goes under the one of the level above.
  std::array<TreeView::Node, kMaxLevel + 1> last;
  last.fill(TreeView::kNoNode);
  for (const std::string& entry : list) {
    bar.StepIt();
    const std::string path = EntryPath(entry);
    const std::size_t cut = FindLastChar(path, "\\:");
    const std::string_view part =
        std::string_view(path).substr(cut == std::string::npos ? 0 : cut + 1);
    if (part.find(".dir") == std::string_view::npos) continue;

    const int level = LevelValue(entry.back());
    const bool known = level >= 0 && level <= kMaxLevel;
    TreeView::Node parent = TreeView::kNoNode;  // the top level, beside the root node
    if (level == 0)
      parent = root;
    else if (known)
      parent = last[level - 1];
    const TreeView::Node node = tree.AddChild(parent, std::string(part.substr(0, part.size() - 4)),
                                              kImageFolder, kImageOpenFolder);
    if (!known) continue;
    last[level] = node;
    for (int k = level + 1; k <= kMaxLevel; ++k) last[k] = TreeView::kNoNode;
  }
}

void TBookmarkControl::FillUrlList(const std::string& folderPath, const BookmarkList& list,
                                   ListItems& items) {
  items.Clear();
  for (const std::string& entry : list) {
    const std::size_t at = entry.find(folderPath);
    if (at == std::string::npos) continue;
    // Only what lies directly in the folder: its path followed at once by the link marker.
    if (entry.find(".url") == std::string::npos ||
        entry.compare(at + folderPath.size(), kLinkMarker.size(), kLinkMarker) != 0)
      continue;
    const std::string path = EntryPath(entry);
    std::string name;
    if (std::size_t marker = FindCharBoundary(path, kLinkMarker); marker != std::string::npos) {
      name = path.substr(marker + kLinkMarker.size());
      name.resize(name.size() > 5 ? name.size() - 5 : 0);
    }
    items.Add(name, kImageLink);
  }
}

}  // namespace lf
