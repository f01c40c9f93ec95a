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
#include "engine/shortcut_file.h"
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

// Walks one Favorites tree into a list.
class FavoritesWalk {
 public:
  FavoritesWalk(const Io& io, BookmarkList& list, TreeView* tree)
      : io_(io), list_(list), tree_(tree) {}

  // Files everything below dirPath at the given level, the tree's nodes under parent.
  Report Run(TreeView::Node parent, const std::string& dirPath, int depth) {
    Frame top;
    top.dirPath = top.entryPath = dirPath;
    top.level = depth;
    top.node = parent;
    bool walking = Enter(std::move(top));
    while (walking && !stack_.empty()) walking = Step();
    report_.cancelled = io_.cancel != 0;
    if (tooDeep_)
      io_.owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbIconWarning | kMbOk);
    return std::move(report_);
  }

 private:
  // Lists a directory and lets the window breathe; false when the walk is cancelled.
  bool Enter(Frame frame) {
    if (const int rc = platform::ListDirectory(frame.dirPath, frame.items)) {
      frame.items.clear();
      if (stack_.empty()) {
        // Without its top folder there is no Favorites folder to read at all.
        ReportFailure(io_, report_,
                      Sjis("お気に入りフォルダ[ ") + platform::ShownPath(frame.dirPath) +
                          Sjis(" ]を読み込めません。\r[ ") + platform::ErrorText(rc) + " ]");
      } else {
        // A folder that cannot be listed (no permission, a path too long) is no empty
        // folder: its links are lost to this read, and written back it would be one.
        frame.folderEntry.clear();
        report_.lost.push_back({"Dir  Error", frame.dirPath, platform::ErrorText(rc)});
        ++report_.errors;
      }
    }
    if (io_.status) io_.status->SetVisible(!io_.status->Visible());
    io_.owner.ProcessMessages();
    if (io_.cancel) return false;
    stack_.push_back(std::move(frame));
    return true;
  }

  // Takes the next item of the directory on top; false when the walk ends.
  bool Step() {
    Frame& frame = stack_.back();
    if (frame.next == frame.items.size()) {
      if (io_.status) io_.status->SetVisible(true);
      Entry folderEntry = std::move(frame.folderEntry);
      stack_.pop_back();
      if (io_.cancel) return false;
      if (!folderEntry.empty()) {
        list_.push_back(std::move(folderEntry));
        ++report_.folders;
      }
      return true;
    }
    const platform::DirEntry& item = frame.items[frame.next++];
    const std::string path = frame.dirPath + "\\" + item.name;
    if (item.isSymlink && platform::DirectoryExists(path)) return true;
    if (item.isDirectory) return Folder(frame, item, path);
    if (!EndsWithUrl(item.name)) return true;
    return Shortcut(frame, item, path);
  }

  bool Folder(const Frame& frame, const platform::DirEntry& item, const std::string& path) {
    if (!item.exact) {
      // A name of bytes that are no UTF-8 has no form in the list: the folder and the links
      // in it cannot be carried, which the run must tell.
      Lose("Dir  Error", path);
      return true;
    }
    Frame child;
    child.dirPath = path;
    if (frame.level <= kMaxFolderLevel) {
      child.folderEntry = MakeFolderEntry(frame.entryPath, item.name, frame.level);
      ReadDateOfFile(path, child.folderEntry.props);
      child.entryPath = ViewOf(child.folderEntry).OwnPath();
      child.level = frame.level + 1;
      child.node = frame.node;
      if (tree_)
        child.node =
            tree_->AddChild(frame.node, EntryName(item.name), kImageFolder, kImageOpenFolder);
    } else {
      // Too deep for the entry format: its contents go to the deepest folder there is.
      tooDeep_ = true;
      child.entryPath = frame.entryPath;
      child.level = frame.level;
      child.node = frame.node;
    }
    return Enter(std::move(child));  // invalidates frame
  }

  bool Shortcut(const Frame& frame, const platform::DirEntry& item, const std::string& path) {
    // A folder of many thousand shortcuts must not keep a cancel button waiting until its
    // end: the window gets a look after every so many files too.
    if (++filesSinceLook_ == kFilesPerLook) {
      filesSinceLook_ = 0;
      io_.owner.ProcessMessages();
      if (io_.cancel) return false;
    }
    EntryProps props;
    const std::string url = item.exact ? ReadShortcut(path, &props) : std::string();
    if (TBookmarkControl::IsAddress(url)) {
      list_.push_back(MakeShortcutEntry(frame.entryPath, item.name, frame.level, url));
      list_.back().props = std::move(props);
      ++report_.links;
    } else {
      Lose("URL Error", path);
    }
    return true;
  }

  void Lose(const char* kind, const std::string& path) {
    report_.lost.push_back({kind, path, {}});
    ++report_.errors;
  }

  static constexpr int kFilesPerLook = 256;

  const Io& io_;
  BookmarkList& list_;
  TreeView* const tree_;  // null where no tree is filled
  std::vector<Frame> stack_;
  Report report_;
  bool tooDeep_ = false;
  int filesSinceLook_ = 0;
};

}  // namespace

Report TBookmarkControl::LoadFavorites(const Io& io, BookmarkList& list, TreeView* tree,
                                       const std::string& rootFolder) {
  if (io.status) io.status->SetCaption(ReadingFavoritesText());
  TreeView::Node top = TreeView::kNoNode;
  if (tree) {
    tree->Clear();
    top = tree->AddChild(TreeView::kNoNode, rootFolder, kImageFolder, kImageFolder);
  }
  Report report = FavoritesWalk(io, list, tree).Run(top, RemoveBackslash(rootFolder), 0);
  // A folder keeps no order of its own (the file system lists it as it likes): by name.
  Regroup(list);
  return report;
}

void TBookmarkControl::LoadFavorites(Owner& owner, StatusLabel* status, int& cancel,
                                     int& errorCount, int& ieUrlCount, BookmarkList& list,
                                     TreeView* tree, const std::string& rootFolder) {
  ProgressBar noBar;
  const Report report = LoadFavorites({owner, noBar, status, cancel}, list, tree, rootFolder);
  ieUrlCount += report.links;
  errorCount += report.errors;
  SaveLostData(owner, report);
}

std::string TBookmarkControl::ReadUrlFile(const std::string& path) {
  return ReadShortcut(path);
}

}  // namespace lf
