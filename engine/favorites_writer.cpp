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
#include <unordered_set>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/favorites_targets.h"
#include "engine/lost_data.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/save_file.h"
#include "platform/system_info.h"

namespace lf {
namespace {

// The components of a path between its "\" characters (and "/" ones too if slashToo).
std::vector<std::string_view> SplitPath(std::string_view path, bool slashToo) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (platform::IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (c == '\\' || (c == '/' && slashToo)) {
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
  std::vector<std::string_view> parts = SplitPath(path, false);
  if (static_cast<int>(parts.size()) <= names) return false;
  const std::size_t rootParts = parts.size() - static_cast<std::size_t>(names);
  bool namedRoot = false;
  for (std::size_t i = 0; i < rootParts && !namedRoot; ++i)
    namedRoot = parts[i].find_first_not_of('/') != std::string_view::npos;
  if (!namedRoot) return false;
  for (std::size_t i = parts.size() - static_cast<std::size_t>(names); i < parts.size(); ++i)
    if (!platform::IsPlainName(parts[i])) return false;
  for (std::string_view segment : SplitPath(path, true))
    if (segment == "..") return false;
  return true;
}

// A name as a file or folder of the Favorites can hold it: without the characters Windows
// keeps out of file names, "\" (a name holds it as "&#92;") among them. Every other character
// stays, one beyond Shift-JIS as its reference, which the file system turns into the
// character. An "&" that dropping a character leaves in front of what reads as a reference
// is kept as one ("&#38;").
std::string FavoritesName(std::string_view name) {
  static constexpr std::string_view kForbidden = "\\/:*?\"<>|";
  if (name.find_first_of(kForbidden) == std::string_view::npos &&
      name.find("&#92;") == std::string_view::npos)
    return std::string(name);
  std::string out;
  out.reserve(name.size());
  std::vector<std::size_t> ampersands;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (platform::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < name.size()) {
      out.append(name.substr(i++, 2));  // its second byte may be 0x5C without being a "\"
      continue;
    }
    char32_t cp;
    if (c == '&') {
      if (const std::size_t n = platform::ReferenceAt(name, i, cp)) {
        if (cp != '\\') out.append(name.substr(i, n));
        i += n - 1;
        continue;
      }
      ampersands.push_back(out.size());
    }
    if (kForbidden.find(c) == std::string_view::npos) out.push_back(c);
  }
  for (auto it = ampersands.rbegin(); it != ampersands.rend(); ++it) {
    char32_t cp;
    if (platform::ReferenceAt(out, *it, cp)) out.replace(*it, 1, "&#38;");
  }
  return out;
}

// The target path with the last `names` components (those that come from the list) as the
// Favorites can hold them; the root folder before them stays as it is.
std::string FavoritesTarget(std::string_view path, int names) {
  const std::vector<std::string_view> parts = SplitPath(path, false);
  if (static_cast<int>(parts.size()) <= names) return std::string(path);
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out.push_back('\\');
    if (i + static_cast<std::size_t>(names) >= parts.size())
      out += FavoritesName(parts[i]);
    else
      out.append(parts[i]);
  }
  return out;
}

// The address as a shortcut holds it: a character beyond Shift-JIS, kept as its reference,
// as its UTF-8 bytes in percent-encoding, the form an address takes in any code page. An
// address whose Shift-JIS bytes would read as UTF-8 (a shortcut may be either) has all its
// characters beyond ASCII so, so that it reads back as the same address.
std::string ShortcutAddress(std::string_view url) {
  const bool ambiguous = !platform::IsAscii(url) && platform::IsUtf8(url);
  if (url.find('&') == std::string_view::npos && !ambiguous) return std::string(url);
  static constexpr char kHex[] = "0123456789ABCDEF";
  auto percent = [](std::string& out, char32_t cp) {
    std::string utf8;
    platform::AppendUtf8(utf8, cp);
    for (unsigned char b : utf8) {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0xF]);
    }
  };
  std::string out;
  out.reserve(url.size() + 16);
  for (std::size_t i = 0; i < url.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(url[i]);
    char32_t cp;
    if (const std::size_t n = b == '&' ? platform::ReferenceAt(url, i, cp) : 0) {
      i += n - 1;
      if (cp < 0x80)
        out.push_back(static_cast<char>(cp));  // "&" and "\"
      else
        percent(out, cp);
    } else if (ambiguous && b >= 0x80) {
      const std::size_t length = platform::IsLeadByte(b) && i + 1 < url.size() ? 2 : 1;
      const unsigned code = length == 2 ? (b << 8) | static_cast<unsigned char>(url[i + 1]) : b;
      if (const char32_t c = platform::Cp932CodeToUnicode(code))
        percent(out, c);
      else
        out.append(url.substr(i, length));
      i += length - 1;
    } else {
      out.push_back(static_cast<char>(b));
    }
  }
  return out;
}

// A file name not yet used by this write in its folder: two links of one name are both kept,
// the later one as "Name (2).url", "Name (3).url" and so on.
std::string UnusedInThisWrite(std::unordered_set<std::string>& used, const std::string& base,
                              const std::string& name) {
  std::string file = base + name + ".url";
  for (int n = 2; used.count(file); ++n) file = base + name + " (" + std::to_string(n) + ").url";
  used.insert(file);
  return file;
}

std::string FailureText(const char* what, const std::string& path, const std::string& reason) {
  return Sjis(what) + path + Sjis(" ]の作成で\r[ ") + reason +
         Sjis(
             " ] "
             "のエラーが発生しました。\rＬｏｓｔＤａｔａ．ｔｘｔにファイル名情報が保存されます。");
}

// Creates the shortcut file; 0 or the error code. Most are new and made at their name at
// once; a shortcut (or anything) that is there already is only replaced by a complete new
// one, written beside it first, so a failed write keeps it. A file left half written is
// removed, so a cut-off URL is never read back as a good one.
int WriteUrlFile(const std::string& file, std::string_view url,
                 const platform::SinkFilter& filter) {
  std::string content = "[InternetShortcut]\r\nURL=";
  content.append(url);
  content.append("\r\n");
  try {
    platform::WriteNewFile(file, content, filter);
    return 0;
  } catch (const platform::IoError& e) {
    if (e.code() != EEXIST) return e.code();
  }
  try {
    platform::SaveFile(file, [&](platform::ByteSink& sink) { sink.Write(content); },
                       {std::string(), filter, false});
  } catch (const platform::IoError& e) {
    return e.code();
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

std::string FavoritesTargets::Folder(std::string_view entry) {
  const EntryView folder = ViewOf(entry);
  if (!folder.IsFolder()) return std::string();
  return FavoritesTarget(folder.OwnPath(), folder.level + 1);
}

std::string FavoritesTargets::File(std::string_view entry) {
  const EntryView link = ViewOf(entry);
  if (!link.IsLink() || !TBookmarkControl::IsAddress(link.url)) return std::string();
  const std::string_view name = link.name;
  const std::string_view folder = link.folderPath;
  const int names = link.level;
  // The links of one folder follow each other: its target is made once for them.
  if (folder != folder_ || names != folderNames_) {
    folder_ = folder;
    folderNames_ = names;
    folderTarget_ = FavoritesTarget(folder, names) + "\\";
  }
  return UnusedInThisWrite(used_, folderTarget_, FavoritesName(name));
}

Report TBookmarkControl::SaveFavorites(const Io& io, const BookmarkList& list) {
  Report report;
  if (list.empty()) return report;
  io.bar.SetPosition(0);
  io.bar.SetMax(static_cast<int>(list.size()) - 1);
  LinkGuard links;
  FavoritesTargets targets;  // the shortcut files of this write
  for (const Entry& entry : list) {
    io.bar.StepIt();
    io.owner.ProcessMessages();
    if (io.cancel) {
      report.cancelled = true;
      return report;
    }
    const EntryView item = ViewOf(entry);
    const std::string_view url = item.url;
    const std::string base(item.FolderPart());
    const int names = item.level + 1;  // the names below the root the target's path holds

    if (item.IsFolder()) {
      const std::string dir = FavoritesTargets::Folder(entry);
      int rc = !SafeTarget(dir, names)     ? EINVAL
               : links.Through(dir, names) ? ELOOP
                                           : platform::MakeDirectory(dir);
      // A symbolic link in the folder's place is no folder of the Favorites.
      if (rc == EEXIST && platform::IsSymbolicLink(dir)) rc = ELOOP;
      if (rc != 0 && rc != EEXIST) {
        io.owner.ItemFailureBox(FailureText("フォルダ[ ", dir, platform::ErrorText(rc)),
                                MessageCaption(), kMbIconError | kMbOk);
        report.lost.push_back({"Dir  Error", dir, platform::ErrorText(rc)});
      } else {
        ++report.folders;
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
    const bool safe = !base.empty() && SafeTarget(file, names);
    int rc = !safe                        ? EINVAL
             : links.Through(file, names) ? ELOOP
                                          : WriteUrlFile(file, ShortcutAddress(url), WriteFilter);
    if (rc != 0) {
      io.owner.ItemFailureBox(FailureText("ＵＲＬ[ ", file, platform::ErrorText(rc)),
                              MessageCaption(), kMbIconError | kMbOk);
      report.lost.push_back({"File Error", file, platform::ErrorText(rc)});
      ++report.errors;
    } else {
      ++report.links;
    }
  }
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
