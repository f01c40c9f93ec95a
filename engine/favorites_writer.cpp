// The Favorites folder writer: one directory per folder entry and one shortcut file per URL
// entry, each placed where its entry's path says (engine/favorites_targets.h), each written
// only as far as it changed (engine/shortcut_file.h).
//
// Entries carry names taken from other browsers' files. A name that is not a plain name ("."
// or "..", or one holding the native separator), or a path whose names are not all plain,
// could make the writer create or replace something outside the Favorites folder or in a
// place other than the one the name says; such a target is refused like one the file system
// refuses.
#include <cerrno>
#include <functional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/favorites_targets.h"
#include "engine/lost_data.h"
#include "engine/shortcut_file.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "engine/unheld.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/save_file.h"
#include "platform/system_info.h"

namespace lf {
namespace {

std::string FailureText(const char* what, const std::string& path, const std::string& reason) {
  return Sjis(what) + platform::ShownPath(path) + Sjis(" ]の作成で\r[ ") + reason +
         Sjis(
             " ] "
             "のエラーが発生しました。\rＬｏｓｔＤａｔａ．ｔｘｔにファイル名情報が保存されます。");
}

// Tells whether a folder that an entry names on the way to its target is a symbolic link:
// through it the target would land outside the Favorites folder. The entries of one folder
// follow each other, so the folder checked last is remembered.
class LinkGuard {
 public:
  // The folders are the last names - 1 components before the target's own name.
  bool Through(std::string_view target, int names) {
    std::size_t cut = FindLastChar(target, "\\");
    if (cut == std::string_view::npos) return false;
    const std::string_view parent = target.substr(0, cut);
    if (parent == checked_) return false;
    std::string_view folder = parent;
    for (int i = 1; i < names && !folder.empty(); ++i) {
      if (platform::IsSymbolicLink(folder)) return true;
      cut = FindLastChar(folder, "\\");
      folder = cut == std::string_view::npos ? std::string_view() : folder.substr(0, cut);
    }
    checked_ = parent;
    return false;
  }

 private:
  std::string checked_;
};

// The Favorites folder the entries are written into: the folder of one at the top.
std::string FavoritesRoot(const BookmarkList& list) {
  for (const Entry& entry : list)
    if (const EntryView item = ViewOf(entry); item.level == 0) return std::string(item.folderPath);
  return list.empty() ? std::string() : std::string(ViewOf(list.front()).folderPath);
}

}  // namespace

Report TBookmarkControl::SaveFavorites(const Io& io, const BookmarkList& list,
                                       const std::unordered_set<std::string>* own) {
  Report report;
  if (list.empty()) return report;
  io.bar.SetPosition(0);
  io.bar.SetMax(static_cast<int>(list.size()) - 1);
  LinkGuard links;
  FavoritesTargets targets(own);  // the shortcut files of this write
  // The folders written, with what they carry: their dates go on once their contents are in.
  std::vector<std::pair<std::string, const Entry*>> folders;
  for (const Entry& entry : list) {
    io.bar.StepIt();
    io.owner.ProcessMessages();
    if (io.cancel) {
      report.cancelled = true;
      return report;
    }
    const EntryView item = ViewOf(entry);
    if (item.IsSeparator()) continue;  // a folder keeps no order: counted as not held
    const std::string_view url = item.url;
    const std::string base(item.FolderPart());
    const int names = item.level + 1;  // the names below the root the target's path holds

    if (item.IsFolder()) {
      const std::string dir = FavoritesTargets::Folder(entry);
      int rc = !SafeTarget(dir, names)     ? EINVAL
               : links.Through(dir, names) ? ELOOP
                                           : platform::MakeDirectory(dir);
      // A symbolic link in the folder's place is no folder of the Favorites, and a file there
      // is none at all.
      if (rc == EEXIST && platform::IsSymbolicLink(dir)) rc = ELOOP;
      if (rc == EEXIST && !platform::DirectoryExists(dir)) rc = ENOTDIR;
      if (rc != 0 && rc != EEXIST) {
        io.owner.ItemFailureBox(FailureText("フォルダ[ ", dir, platform::ErrorText(rc)),
                                MessageCaption(), kMbIconError | kMbOk);
        report.lost.push_back({"Dir  Error", dir, platform::ErrorText(rc)});
      } else {
        ++report.folders;
        folders.emplace_back(dir, &entry);
      }
      continue;
    }

    const std::string name(item.name);
    // Only links whose address a shortcut is read back with are written: one that has no
    // scheme (an address typed without "http://") is logged as lost, not dropped without a
    // trace.
    if (!IsAddress(url)) {
      if (!base.empty()) {
        report.lost.push_back({"URL Error", base + name + ".url", {}});
        ++report.errors;
      }
      continue;
    }
    // Without a link marker the entry names no folder, and the file would land wherever the
    // program happens to run.
    const std::string file = base.empty() ? name + ".url" : targets.File(entry);
    if (!targets.PassedOver().empty())
      report.notes.push_back(Sjis("ＵＲＬ[ ") + platform::ShownPath(targets.PassedOver()) +
                             Sjis(" ]には別のファイルがあるため、[ ") + platform::ShownPath(file) +
                             Sjis(" ]に書き込みました。"));
    const bool safe = !base.empty() && SafeTarget(file, names);
    int rc = !safe                        ? EINVAL
             : links.Through(file, names) ? ELOOP
                                          : WriteShortcut(file, url, entry.props, WriteFilter);
    if (rc != 0) {
      io.owner.ItemFailureBox(FailureText("ＵＲＬ[ ", file, platform::ErrorText(rc)),
                              MessageCaption(), kMbIconError | kMbOk);
      report.lost.push_back({"File Error", file, platform::ErrorText(rc)});
      ++report.errors;
    } else {
      ++report.links;
    }
  }
  for (const auto& [dir, entry] : folders) StampWithDate(dir, entry->props);
  // A shortcut holds its address, its icon file and, as the file's time, when it was added;
  // a folder, as its time, when it was added.
  NoteUnheld(report, list, kHoldsAdded | kHoldsIconFiles, FavoritesRoot(list));
  return report;
}

void TBookmarkControl::SaveFavorites(Owner& owner, ProgressBar& bar, int& cancel, int& errorCount,
                                     int& ieUrlCount, const BookmarkList& list) {
  const Report report = SaveFavorites({owner, bar, nullptr, cancel}, list);
  ieUrlCount += report.links;
  errorCount += report.errors;
  // A cancelled write leaves no log: it is done again.
  if (!report.cancelled) SaveLostData(owner, report);
}

bool TBookmarkControl::SaveLostData(Owner& owner, const Report& report) {
  if (report.lost.empty()) return true;
  LostDataLog log(LostDataFolder);
  log.Add(report);
  return log.Save(owner, WriteFilter);
}

}  // namespace lf
