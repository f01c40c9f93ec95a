#include "core/favorites_clear.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <utility>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

namespace lf {
namespace {

std::string Join(const std::string& base, const std::string& relative) {
  return relative.empty() ? base : base + "\\" + relative;
}

// The folder part of a relative path (empty for a name directly in the base).
std::string DirectoryOf(const std::string& relative) {
  const std::size_t cut = FindLastChar(relative, "\\");
  return cut == std::string::npos ? std::string() : relative.substr(0, cut);
}

std::string FolderError(const char* what, const std::string& path, int code) {
  return Sjis("フォルダ[ ") + path + Sjis(what) + platform::ErrorText(code) +
         Sjis(" ] のエラーが発生しました。");
}

// Passes everything on to the page and counts the error messages, which are how the
// Favorites writer reports what it could not write.
class ErrorCountingOwner : public Owner {
 public:
  explicit ErrorCountingOwner(Owner& inner) : inner_(inner) {}
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
    if ((flags & 0xF0) == kMbIconError) ++errors;
    return inner_.MessageBox(text, caption, flags);
  }
  void ProcessMessages() override { inner_.ProcessMessages(); }
  void Beep() override { inner_.Beep(); }

  int errors = 0;

 private:
  Owner& inner_;
};

// The files the clearing takes: names holding ".url", and the shortcuts whose extension is
// written in capitals. The reader takes those too and the writer gives them back a lower-case
// ".url"; left in place they would stand beside the rewritten file on a file system that tells
// letter cases apart.
bool IsShortcutName(std::string_view name) {
  if (name.find(".url") != std::string_view::npos) return true;
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".url" &&
         platform::ClassifyByte(name, name.size() - 3) != platform::ByteKind::Trail;
}

// A sub-folder met by the walk: its depth and its path relative to the Favorites folder.
struct Folder {
  int depth;
  std::string relative;
};

// Walks the folder without recursing: takes the shortcut files out and collects the
// sub-folders. False when cancelled or when the files cannot be kept.
bool CollectFolders(Owner& owner, const std::string& favorites, int& cancel,
                    RemovedShortcuts& removed, std::vector<Folder>& folders) {
  std::vector<Folder> pending = {{0, std::string()}};
  while (!pending.empty()) {
    const Folder current = std::move(pending.back());
    pending.pop_back();
    std::vector<platform::DirEntry> items;
    if (platform::ListDirectory(Join(favorites, current.relative), items) != 0) continue;
    for (const platform::DirEntry& item : items) {
      owner.ProcessMessages();
      if (cancel) return false;
      // A name that does not map back to the same native name would address another file.
      if (!item.exact || !platform::IsPlainName(item.name)) continue;
      const std::string relative =
          current.relative.empty() ? item.name : current.relative + "\\" + item.name;
      if (item.isDirectory) {
        folders.push_back({current.depth, relative});
        pending.push_back({current.depth + 1, relative});
      } else if (IsShortcutName(item.name)) {
        bool fatal = false;
        removed.Take(owner, relative, fatal);
        if (fatal) return false;
      }
    }
  }
  return true;
}

// Removes the collected folders, deepest first. False when cancelled.
bool DelDir(Owner& owner, const std::string& favorites, int& cancel, std::vector<Folder>& folders,
            RemovedShortcuts& removed) {
  std::stable_sort(folders.begin(), folders.end(),
                   [](const Folder& a, const Folder& b) { return a.depth > b.depth; });
  for (const Folder& folder : folders) {
    owner.ProcessMessages();
    if (cancel) return false;
    const std::string path = Join(favorites, folder.relative);
    const int rc = platform::RemoveDirectory(path);
    if (rc == 0) removed.FolderRemoved(folder.relative);
    if (rc == 0 || rc == EACCES || rc == EPERM) continue;
    owner.MessageBox(FolderError(" ]の削除で\r[ ", path, rc), MessageCaption(), kMbIconError);
  }
  return true;
}

}  // namespace

RemovedShortcuts::RemovedShortcuts(std::string favorites)
    : favorites_(TBookmarkControl::RemoveBackslash(favorites)) {}

bool RemovedShortcuts::MakeKeepFolder(Owner& owner) {
  if (!keep_.empty()) return true;
  const std::string base = favorites_ + ".lfbackup";
  int rc = 0;
  for (int n = 1; n <= 100; ++n) {
    const std::string candidate = n == 1 ? base : base + std::to_string(n);
    rc = platform::MakeDirectory(candidate);
    if (rc == 0) {
      keep_ = candidate;
      return true;
    }
    if (rc != EEXIST) {
      owner.MessageBox(FolderError(" ]の作成で\r[ ", candidate, rc), MessageCaption(),
                       kMbIconError);
      return false;
    }
  }
  owner.MessageBox(FolderError(" ]の作成で\r[ ", base, rc), MessageCaption(), kMbIconError);
  return false;
}

// Makes the folders of relativeDir below base one by one (those there already are fine).
bool RemovedShortcuts::MakeFolders(const std::string& base, const std::string& relativeDir,
                                   bool record) {
  if (relativeDir.empty()) return true;
  std::size_t from = 0;
  while (true) {
    const std::size_t cut = FindCharBoundary(relativeDir, "\\", from);
    const std::string part = relativeDir.substr(0, cut);
    const std::string path = Join(base, part);
    const int rc = platform::MakeDirectory(path);
    if (rc == 0 && record) madeFolders_.push_back(path);
    if (rc != 0 && rc != EEXIST) return false;
    if (cut == std::string::npos) return true;
    from = cut + 1;
  }
}

bool RemovedShortcuts::Take(Owner& owner, const std::string& relativePath, bool& fatal) {
  fatal = false;
  if (!MakeKeepFolder(owner)) {
    fatal = true;
    return false;
  }
  if (!MakeFolders(keep_, DirectoryOf(relativePath), true)) return false;
  const std::string kept = Join(keep_, relativePath);
  if (platform::RenameFile(Join(favorites_, relativePath), kept) != 0) return false;
  taken_.push_back({relativePath, kept});
  return true;
}

void RemovedShortcuts::FolderRemoved(const std::string& relativePath) {
  removedFolders_.push_back(relativePath);
}

void RemovedShortcuts::RemoveMadeFolders() {
  for (auto it = madeFolders_.rbegin(); it != madeFolders_.rend(); ++it)
    platform::RemoveDirectory(*it);
  madeFolders_.clear();
  if (!keep_.empty()) platform::RemoveDirectory(keep_);
}

void RemovedShortcuts::Discard() {
  for (const Taken& file : taken_) platform::DeleteFile(file.kept);
  taken_.clear();
  removedFolders_.clear();
  RemoveMadeFolders();
}

void RemovedShortcuts::PutBack(Owner& owner) {
  // An empty folder is a bookmark folder too: the folders come back, then the files.
  for (auto it = removedFolders_.rbegin(); it != removedFolders_.rend(); ++it)
    MakeFolders(favorites_, *it, false);
  removedFolders_.clear();
  int left = 0;
  for (const Taken& file : taken_) {
    const std::string target = Join(favorites_, file.relative);
    // The new content wrote this shortcut again: the newer file wins.
    if (platform::PathExists(target)) {
      platform::DeleteFile(file.kept);
      continue;
    }
    if (!MakeFolders(favorites_, DirectoryOf(file.relative), false) ||
        platform::RenameFile(file.kept, target) != 0)
      ++left;
  }
  taken_.clear();
  RemoveMadeFolders();
  if (left > 0)
    owner.MessageBox(Sjis("ＵＲＬファイルを元の場所に戻せませんでした。\r[ ") + keep_ +
                         Sjis(" ] に残してあります。"),
                     MessageCaption(), kMbIconError);
}

bool ClearFavoritesFolder(Owner& owner, const std::string& favorites, int& cancel,
                          RemovedShortcuts& removed) {
  const std::string root = TBookmarkControl::RemoveBackslash(favorites);
  // Without the folder there is nothing to empty, and nothing could be written into it.
  std::vector<platform::DirEntry> probe;
  const int rc = root.empty() ? ENOENT : platform::ListDirectory(root, probe);
  if (rc != 0) {
    owner.MessageBox(FolderError(" ]の削除で\r[ ", root, rc), MessageCaption(), kMbIconError);
    return false;
  }
  std::vector<Folder> folders;
  if (!CollectFolders(owner, root, cancel, removed, folders)) return false;
  return DelDir(owner, root, cancel, folders, removed);
}

bool ReplaceFavorites(TBookmarkControl& control, Owner& owner, ProgressBar& bar,
                      RunCounters& counters, const BookmarkList& list,
                      const std::string& favorites) {
  RemovedShortcuts removed(favorites);
  bool complete = ClearFavoritesFolder(owner, favorites, counters.cancel, removed);
  if (complete && !counters.cancel) {
    ErrorCountingOwner watching(owner);
    control.SaveFavorites(watching, bar, counters.cancel, counters.errorCount, counters.ieUrlCount,
                          list);
    complete = watching.errors == 0 && !counters.cancel;
  } else {
    complete = false;
  }
  if (complete)
    removed.Discard();
  else
    removed.PutBack(owner);
  return complete;
}

}  // namespace lf
