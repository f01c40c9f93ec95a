// The Favorites folder reader: one folder entry per directory and one URL entry per shortcut
// file of the Favorites tree.
//
// The walk keeps its own stack instead of recursing, so the depth of the folder tree cannot
// exhaust the call stack; it visits the items in the same order a recursive walk would, so
// cancelling leaves the same partial list. Symbolic links to folders are never followed (a
// link to an ancestor would loop, a link elsewhere would pull in files from outside), and an
// item whose name does not map back to the same native name is not taken, so that writing
// the list back never creates anything under a different name.
#include <string>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"

namespace lf {
namespace {

// One directory being walked.
struct Frame {
  std::string dirPath;    // where it lies
  std::string entryPath;  // the folder path its items are filed under
  int level = 0;          // the level of the entries made for its items
  TreeView::Node node = TreeView::kNoNode;
  Entry folderEntry;  // its own entry, added once its contents are done (may be empty)
  std::vector<platform::DirEntry> items;
  std::size_t next = 0;
};

// True if the last three characters of the name are "url" in any letter case.
bool EndsWithUrl(std::string_view name) {
  if (name.size() < 3) return false;
  if (platform::ClassifyByte(name, name.size() - 3) == platform::ByteKind::Trail) return false;
  return platform::SameIgnoringAsciiCase(name.substr(name.size() - 3), "url");
}

}  // namespace

void TBookmarkControl::LoadFavorites(Owner& owner, StatusLabel* status, int& cancel,
                                     int& errorCount, int& ieUrlCount, BookmarkList& list,
                                     TreeView* tree, const std::string& rootFolder) {
  if (status) status->SetCaption(ReadingFavoritesText());
  std::vector<std::string> lostData;
  const std::string root = RemoveBackslash(rootFolder);
  if (tree) {
    tree->Clear();
    TreeView::Node top = tree->AddChild(TreeView::kNoNode, rootFolder, kImageFolder, kImageFolder);
    ScanFavoritesFolder(owner, status, cancel, errorCount, ieUrlCount, top, tree, true, lostData,
                        list, root, 0);
  } else {
    ScanFavoritesFolder(owner, status, cancel, errorCount, ieUrlCount, TreeView::kNoNode, nullptr,
                        false, lostData, list, root, 0);
  }
  Regroup(list);
  if (!lostData.empty()) RecordLostData(owner, lostData);
}

void TBookmarkControl::ScanFavoritesFolder(Owner& owner, StatusLabel* status, int& cancel,
                                           int& errorCount, int& ieUrlCount, TreeView::Node parent,
                                           TreeView* tree, bool fillTree,
                                           std::vector<std::string>& lostData, BookmarkList& list,
                                           const std::string& dirPath, int depth) {
  std::vector<Frame> stack;
  bool tooDeep = false;
  // A folder of many thousand shortcuts must not keep a cancel button waiting until its end:
  // the window gets a look after every so many files too.
  constexpr int kFilesPerLook = 256;
  int filesSinceLook = 0;

  // Lists a directory and lets the window breathe; false when the walk is cancelled.
  auto enter = [&](Frame frame) {
    if (platform::ListDirectory(frame.dirPath, frame.items) != 0) frame.items.clear();
    if (status) status->SetVisible(!status->Visible());
    owner.ProcessMessages();
    if (cancel) return false;
    stack.push_back(std::move(frame));
    return true;
  };

  Frame top;
  top.dirPath = top.entryPath = dirPath;
  top.level = depth;
  top.node = parent;
  bool walking = enter(std::move(top));
  while (walking && !stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.items.size()) {
      if (status) status->SetVisible(true);
      Entry folderEntry = std::move(frame.folderEntry);
      stack.pop_back();
      if (cancel) break;
      if (!folderEntry.empty()) list.push_back(std::move(folderEntry));
      continue;
    }
    const platform::DirEntry& item = frame.items[frame.next++];
    const std::string path = frame.dirPath + "\\" + item.name;
    if (item.isSymlink && platform::DirectoryExists(path)) continue;

    if (item.isDirectory) {
      if (!item.exact) {
        // A name of bytes that are no UTF-8 has no form in the list: the folder and the links
        // in it cannot be carried, which the run must tell.
        lostData.push_back("Dir  Error : " + path);
        ++errorCount;
        continue;
      }
      Frame child;
      child.dirPath = path;
      if (frame.level <= kMaxFolderLevel) {
        child.folderEntry = MakeFolderEntry(frame.entryPath, item.name, frame.level);
        child.entryPath = ViewOf(child.folderEntry).OwnPath();
        child.level = frame.level + 1;
        child.node = frame.node;
        if (fillTree && tree)
          child.node =
              tree->AddChild(frame.node, EntryName(item.name), kImageFolder, kImageOpenFolder);
      } else {
        // Too deep for the entry format: its contents go to the deepest folder there is.
        tooDeep = true;
        child.entryPath = frame.entryPath;
        child.level = frame.level;
        child.node = frame.node;
      }
      walking = enter(std::move(child));  // invalidates frame
      continue;
    }

    if (!EndsWithUrl(item.name)) continue;
    if (++filesSinceLook == kFilesPerLook) {
      filesSinceLook = 0;
      owner.ProcessMessages();
      if (cancel) break;
    }
    std::string url = item.exact ? ReadUrlFile(path) : std::string();
    if (IsAddress(url)) {
      list.push_back(MakeShortcutEntry(frame.entryPath, item.name, frame.level, url));
      ++ieUrlCount;
    } else {
      lostData.push_back("URL Error : " + item.name);
      ++errorCount;
    }
  }
  if (tooDeep) owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbIconWarning | kMbOk);
}

std::string TBookmarkControl::ReadUrlFile(const std::string& path) {
  const platform::IniFile file(path);
  std::string url = file.ReadString("InternetShortcut", "URL", "");
  // A shortcut with a byte order mark, or whose address is UTF-8 (as other programs write
  // them on systems without code page 932), is UTF-8; any other is Shift-JIS.
  const bool utf8 = file.Utf8Bom() || (!platform::IsAscii(url) && platform::IsUtf8(url));
  if (url.find("vnd.ms.radio") != std::string::npos) return std::string();
  return utf8 ? Utf8ToSjis(url) : platform::ProtectAmpersands(url);
}

}  // namespace lf
