#include "core/favorites_writeback.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/editor_list.h"
#include "core/entry_names.h"
#include "engine/bookmark_control.h"
#include "engine/favorites_targets.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

namespace lf {
namespace {

std::string FolderError(const char* what, const std::string& path, int code) {
  return Sjis("フォルダ[ ") + platform::ShownPath(path) + Sjis(what) + platform::ErrorText(code) +
         Sjis(" ] のエラーが発生しました。");
}

// True when the name ends in "url" in any letter case: the names the reader takes.
bool ShortcutName(std::string_view name) {
  if (name.size() < 3 || platform::ClassifyByte(name, name.size() - 3) == platform::ByteKind::Trail)
    return false;
  std::string tail(name.substr(name.size() - 3));
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return tail == "url";
}

// The file the reader read for an entry it made: the entry's folder and the file's own
// name, which the reader keeps after the link marker.
std::string ReadFile(const std::string& entry) {
  const std::string folder = TBookmarkControl::FolderPart(entry);
  const std::string name = NameWithSuffix(entry);
  if (folder.empty() || !ShortcutName(name)) return std::string();
  return folder + name;
}

// True when both paths name the same file on the disk (a file system that ignores case).
bool SameFile(const std::string& a, const std::string& b) {
  std::string nativeA, nativeB;
  if (platform::ToNativePath(a, nativeA) != 0 || platform::ToNativePath(b, nativeB) != 0)
    return false;
  std::error_code ec;
  return std::filesystem::equivalent(nativeA, nativeB, ec) && !ec;
}

}  // namespace

std::unordered_set<std::string> ShortcutFilesOf(const BookmarkList& loaded) {
  std::unordered_set<std::string> files;
  for (const Entry& entry : loaded)
    if (std::string file = ReadFile(entry); !file.empty()) files.insert(std::move(file));
  return files;
}

void MarkShortcutFiles(BookmarkList& loaded) {
  for (Entry& entry : loaded)
    if (std::string file = ReadFile(entry); !file.empty())
      entry.props.Set(Prop::ShortcutFile, file);
}

FavoritesWriteBack::FavoritesWriteBack(const std::string& favorites, const BookmarkList& loaded)
    : favorites_(TBookmarkControl::RemoveBackslash(favorites)) {
  for (const Entry& entry : loaded) {
    // The folders as the reader found them: their names may hold what the writer drops.
    if (TBookmarkControl::IsFolderEntry(entry)) {
      folders_.insert(entry.substr(0, entry.size() - 5));
    } else if (std::string file = ReadFile(entry); !file.empty()) {
      files_.insert(std::move(file));
    }
  }
}

void FavoritesWriteBack::TakeFilesAlong(
    const std::vector<std::pair<std::string, std::string>>& moves,
    const std::unordered_set<std::string>& targets) {
  for (const auto& [from, to] : moves) {
    // Only a file of the page's that no link keeps under its old name goes, and only where
    // nothing stands yet in a folder there is already; otherwise the link is written anew
    // and the old file goes with the rest.
    if (!files_.contains(from) || targets.contains(from) || platform::PathExists(to) ||
        !platform::DirectoryExists(ParentPath(to)))
      continue;
    if (platform::RenameFile(from, to) != 0) continue;
    files_.erase(from);
    files_.insert(to);
  }
}

WriteBackResult FavoritesWriteBack::Write(TBookmarkControl& control, Owner& owner, ProgressBar& bar,
                                          RunCounters& counters, const BookmarkList& list) {
  WriteBackResult result;
  // Without the folder nothing can be written into it, and every link would fail alone.
  if (favorites_.empty() || !platform::DirectoryExists(favorites_)) {
    const int code = platform::PathExists(favorites_) ? ENOTDIR : ENOENT;
    owner.MessageBox(FolderError(" ]への書き込みで\r[ ", favorites_, code), MessageCaption(),
                     kMbIconError);
    result.failures = 1;
    return result;
  }

  std::unordered_set<std::string> targets;
  std::unordered_set<std::string> targetFolders;
  std::vector<std::string> unknown;  // written files that were not the page's before
  FavoritesTargets names(&files_);   // in list order, as the writer gives them
  std::vector<std::pair<std::string, std::string>> moves;  // a link's file, and its new place
  for (const Entry& entry : list) {
    if (std::string folder = FavoritesTargets::Folder(entry); !folder.empty()) {
      targetFolders.insert(std::move(folder));
    } else if (std::string file = names.File(entry); !file.empty()) {
      if (const std::string_view from = entry.props.Get(Prop::ShortcutFile);
          !from.empty() && from != file)
        moves.emplace_back(from, file);
      if (!files_.contains(file) && !targets.contains(file) && !platform::PathExists(file))
        unknown.push_back(file);
      targets.insert(std::move(file));
    }
  }
  TakeFilesAlong(moves, targets);

  const Report report =
      control.SaveFavorites({owner, bar, nullptr, counters.cancel}, list, &files_);
  ShowNotes(owner, report.notes);
  counters.ieUrlCount += report.links;
  counters.errorCount += report.errors;
  result.linksNotWritten = report.errors;
  // Every folder and link that failed was shown and logged, and so was a log not saved.
  result.failures = static_cast<int>(report.lost.size() + report.failures.size());
  result.cancelled = report.cancelled || counters.cancel != 0;
  if (!result.cancelled && !control.SaveLostData(owner, report)) ++result.failures;
  result.written = !result.cancelled && result.failures == 0 && result.linksNotWritten == 0;
  // What the write made is the page's from now on; a place that held something else before
  // stays someone else's until a complete write has replaced it.
  for (std::string& file : unknown)
    if (platform::PathExists(file)) files_.insert(std::move(file));
  folders_.insert(targetFolders.begin(), targetFolders.end());
  if (!result.written) return result;

  // Only now, with every link on the disk, goes what the user took out of the list.
  std::unordered_map<std::string, std::string> foldedTargets;
  for (const std::string& file : targets) foldedTargets.emplace(FoldedName(file), file);
  std::unordered_set<std::string> kept = targets;
  for (const std::string& file : files_) {
    if (targets.contains(file)) continue;
    owner.ProcessMessages();
    // On a file system that ignores letter case "a.URL" is the "a.url" just written.
    const auto same = foldedTargets.find(FoldedName(file));
    if (same != foldedTargets.end() && SameFile(file, same->second)) continue;
    const int rc = platform::DeleteFile(file);
    if (rc != 0 && rc != ENOENT) {
      ++result.filesNotDeleted;
      kept.insert(file);
    }
  }
  files_ = std::move(kept);

  // The folders the list no longer names, deepest first; one that holds anything else stays.
  std::vector<std::string> gone;
  for (const std::string& folder : folders_)
    if (!targetFolders.contains(folder)) gone.push_back(folder);
  std::sort(gone.begin(), gone.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& folder : gone) {
    const int rc = platform::RemoveDirectory(folder);
    if (rc == 0 || rc == ENOENT) {
      folders_.erase(folder);
    } else if (rc != ENOTEMPTY && rc != EEXIST && rc != EACCES && rc != EPERM) {
      owner.MessageBox(FolderError(" ]の削除で\r[ ", folder, rc), MessageCaption(), kMbIconError);
    }
  }
  return result;
}

}  // namespace lf
