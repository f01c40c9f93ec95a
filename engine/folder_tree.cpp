// The pages' two panes: the folder tree of a bookmark list, the folder path of a tree node,
// and the links lying directly in one folder.
#include <array>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/collation.h"

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
    // Folders by their form: a link named "x.dir" or a folder named "Blog: http://..." is
    // what it is, and only "\" ends a path step (a hotlist's folder names may hold ":").
    const EntryView folder = ViewOf(entry);
    if (!folder.IsFolder()) continue;
    const std::string name(folder.name);
    const int level = folder.level;
    // A folder of a level with no folder above it stands at the top, beside the root node.
    const TreeView::Node parent = level == 0 ? root : last[level - 1];
    last[level] = tree.AddChild(parent, name, kImageFolder, kImageOpenFolder);
    for (int k = level + 1; k <= kMaxLevel; ++k) last[k] = TreeView::kNoNode;
  }
}

void TBookmarkControl::FillUrlList(const std::string& folderPath, const BookmarkList& list,
                                   ListItems& items) {
  items.Clear();
  for (const std::string& entry : list) {
    // Only what lies directly in the folder: its path followed at once by the link marker.
    // Every entry begins with its folder path, so the path is looked for there and nowhere
    // else (the same text deeper down, "R\\X\\R\\A" for "R\\A", is another folder).
    if (entry.compare(0, folderPath.size(), folderPath) != 0 ||
        entry.compare(folderPath.size(), kLinkMarker.size(), kLinkMarker) != 0)
      continue;
    // A shortcut read as "Daily.URL" is as much a link as one named "Daily.url".
    const EntryView link = ViewOf(entry);
    if (!link.NamedAsLink()) continue;
    items.Add(std::string(link.name), kImageLink);
  }
}

}  // namespace lf
