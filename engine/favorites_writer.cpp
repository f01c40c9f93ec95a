// The Favorites folder writer: one directory per folder entry and one shortcut file per URL
// entry, each placed where its entry's path says; and the lost-data log.
//
// Entries carry names taken from other browsers' files. A name that is not a plain name ("."
// or "..", or one holding the native separator), or a path whose names are not all plain,
// could make the writer create or replace something outside the Favorites folder or in a
// place other than the one the name says; such a target is refused like one the file system
// refuses.
#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/lost_data.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

namespace lf {
namespace {

// The components of a path between single-byte characters that are one of separators.
std::vector<std::string_view> SplitPath(std::string_view path, std::string_view separators) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (platform::IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (separators.find(static_cast<char>(c)) != std::string_view::npos) {
      parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(path.substr(start));
  return parts;
}

// True if the last `names` components of the path (those that come from the list) are plain
// names, a root folder is named before them (an empty one would be the file system's own
// root), and nothing anywhere in the path climbs up a folder.
bool SafeTarget(std::string_view path, int names) {
  std::vector<std::string_view> parts = SplitPath(path, "\\");
  if (static_cast<int>(parts.size()) <= names) return false;
  const std::size_t rootParts = parts.size() - static_cast<std::size_t>(names);
  bool namedRoot = false;
  for (std::size_t i = 0; i < rootParts && !namedRoot; ++i)
    namedRoot = parts[i].find_first_not_of('/') != std::string_view::npos;
  if (!namedRoot) return false;
  for (std::size_t i = parts.size() - static_cast<std::size_t>(names); i < parts.size(); ++i)
    if (!platform::IsPlainName(parts[i])) return false;
  for (std::string_view segment : SplitPath(path, "\\/"))
    if (segment == "..") return false;
  return true;
}

// How many names below the root folder the key of an entry holds: its level and one.
int NamesBelowRoot(std::string_view key) {
  const int level = key.empty() ? -1 : LevelValue(key.back());
  return level >= 0 ? level + 1 : 1;
}

std::string FailureText(const char* what, const std::string& path, const std::string& reason) {
  return Sjis(what) + path + Sjis(" ]の作成で\r[ ") + reason +
         Sjis(
             " ] "
             "のエラーが発生しました。\rＬｏｓｔＤａｔａ．ｔｘｔにファイル名情報が保存されます。");
}

// Creates the shortcut file; 0 or the error code. A file left half written is removed, so a
// cut-off URL is never read back as a good one; and a shortcut that is there already is only
// replaced by a complete new one, written beside it first, so a failed write keeps it.
int WriteUrlFile(const std::string& file, std::string_view url) {
  std::string content = "[InternetShortcut]\r\nURL=";
  content.append(url);
  content.append("\r\n");
  const bool replacing = platform::PathExists(file);
  const std::string target = replacing ? platform::UnusedPathBeside(file, ".tmp") : file;
  bool created = false;
  try {
    platform::File out(target, platform::File::Mode::Create);
    created = true;
    out.Write(content);
    out.Close();
  } catch (const platform::IoError& e) {
    if (created) platform::DeleteFile(target);
    return e.code();
  }
  if (replacing) {
    if (int rc = platform::RenameFile(target, file)) {
      platform::DeleteFile(target);
      return rc;
    }
  }
  return 0;
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

}  // namespace

void TBookmarkControl::SaveFavorites(Owner& owner, ProgressBar& bar, int& cancel, int& errorCount,
                                     int& ieUrlCount, const BookmarkList& list) {
  if (list.empty()) return;
  bar.SetPosition(0);
  bar.SetMax(static_cast<int>(list.size()) - 1);
  std::vector<std::string> lostData;
  LinkGuard links;
  for (const std::string& entry : list) {
    bar.StepIt();
    owner.ProcessMessages();
    if (cancel) return;

    std::string key, url;
    SplitEntry(entry, key, url);
    const std::string leaf = UrlPart(key);
    const std::string base = FolderPart(key);
    const int names = NamesBelowRoot(key);

    if (IsFolderEntry(entry)) {
      const std::string dir = base + leaf.substr(0, leaf.size() >= 5 ? leaf.size() - 5 : 0);
      int rc = !SafeTarget(dir, names)     ? EINVAL
               : links.Through(dir, names) ? ELOOP
                                           : platform::MakeDirectory(dir);
      // A symbolic link in the folder's place is no folder of the Favorites.
      if (rc == EEXIST && platform::IsSymbolicLink(dir)) rc = ELOOP;
      if (rc != 0 && rc != EEXIST) {
        owner.MessageBox(FailureText("フォルダ[ ", dir, platform::ErrorText(rc)), MessageCaption(),
                         kMbIconError | kMbOk);
        lostData.push_back("Dir  Error : " + dir);
      }
      continue;
    }

    const std::string name = leaf.size() >= 9 ? leaf.substr(4, leaf.size() - 9) : std::string();
    const std::string file = base + name + ".url";
    // Only links of the schemes a shortcut is read back with are written. A link of another
    // (an address typed without "http://", a "mailto:") is logged as lost, not dropped
    // without a trace.
    if (ExtractUrl(url).empty()) {
      if (!base.empty()) {
        lostData.push_back("URL Error : " + file);
        ++errorCount;
      }
      continue;
    }
    // Without a link marker the entry names no folder, and the file would land wherever the
    // program happens to run.
    // A link name holding "\" (a title the pages keep as it is) names folders of its own.
    const int fileNames = names + static_cast<int>(SplitPath(name, "\\").size()) - 1;
    const bool safe = !base.empty() && SafeTarget(file, fileNames);
    int rc = !safe ? EINVAL : links.Through(file, fileNames) ? ELOOP : WriteUrlFile(file, url);
    if (rc != 0) {
      owner.MessageBox(FailureText("ＵＲＬ[ ", file, platform::ErrorText(rc)), MessageCaption(),
                       kMbIconError | kMbOk);
      lostData.push_back("File Error : " + file);
      ++errorCount;
    } else {
      ++ieUrlCount;
    }
  }
  if (!lostData.empty()) SaveLostDataReporting(owner, lostData);
}

namespace {

std::function<std::string()>& LostDataFolderSource() {
  static std::function<std::string()> source;
  return source;
}

std::string LostDataFolder() {
  const auto& source = LostDataFolderSource();
  return source ? source() : platform::ProgramDirectory();
}

}  // namespace

void TBookmarkControl::SetLostDataFolder(std::function<std::string()> folder) {
  LostDataFolderSource() = std::move(folder);
}

std::string TBookmarkControl::LostDataPath() {
  return AddBackslash(LostDataFolder()) + "LostData.txt";
}

namespace {
int lostDataSaves = 0;
}  // namespace

void TBookmarkControl::SaveLostData(const std::vector<std::string>& lines) {
  // A folder of the user's own may not be there yet on a first run.
  const std::string folder = LostDataFolder();
  if (!platform::DirectoryExists(folder)) {
    if (int rc = platform::MakePrivateDirectories(folder)) throw platform::IoError(rc);
  }
  // Written beside the log first, so that a failed write leaves the previous log whole.
  const std::string path = AddBackslash(folder) + "LostData.txt";
  const std::string written =
      platform::FileExists(path) ? platform::UnusedPathBeside(path, ".tmp") : path;
  try {
    LineWriter out(written);
    for (const std::string& line : lines) out.WriteLine(line);
    out.Close();
    if (written != path) {
      if (int rc = platform::RenameFile(written, path)) throw platform::IoError(rc);
    }
  } catch (const platform::IoError&) {
    platform::DeleteFile(written);
    throw;
  }
  ++lostDataSaves;
}

int TBookmarkControl::LostDataSaves() {
  return lostDataSaves;
}

void SaveLostDataReporting(Owner& owner, const std::vector<std::string>& lines) {
  try {
    TBookmarkControl::SaveLostData(lines);
  } catch (const platform::IoError& e) {
    owner.MessageBox(Sjis("ＬｏｓｔＤａｔａ．ｔｘｔ[ ") + TBookmarkControl::LostDataPath() +
                         Sjis(" ]の作成で\r[ ") + e.what() + Sjis(" ] のエラーが発生しました。"),
                     MessageCaption(), kMbIconError | kMbOk);
  }
}

}  // namespace lf
