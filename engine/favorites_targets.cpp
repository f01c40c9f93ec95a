#include "engine/favorites_targets.h"

#include <vector>

#include "engine/bookmark_control.h"
#include "engine/entry.h"
#include "engine/shortcut_file.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

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

}  // namespace

std::string FoldedName(std::string_view name) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (platform::IsLeadByte(static_cast<unsigned char>(out[i]))) {
      ++i;
      continue;
    }
    if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
  }
  return out;
}

// A root folder must be named before the names (an empty one would be the file system's own
// root).
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

// Without the characters Windows keeps out of file names, "\" (a name holds it as "&#92;")
// among them. Every other character
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

std::string FavoritesTargets::Folder(std::string_view entry) {
  const EntryView folder = ViewOf(entry);
  if (!folder.IsFolder()) return std::string();
  return FavoritesTarget(folder.OwnPath(), folder.level + 1);
}

std::string FavoritesTargets::File(std::string_view entry) {
  passedOver_.clear();
  const EntryView link = ViewOf(entry);
  if (!link.IsLink() || !TBookmarkControl::IsAddress(link.url)) return std::string();
  const std::string_view folder = link.folderPath;
  const int names = link.level;
  // The links of one folder follow each other: its target is made once for them.
  if (folder != folder_ || names != folderNames_) {
    folder_ = folder;
    folderNames_ = names;
    folderTarget_ = FavoritesTarget(folder, names) + "\\";
    onDisk_.clear();
    std::vector<platform::DirEntry> items;
    if (platform::ListDirectory(folderTarget_.substr(0, folderTarget_.size() - 1), items) == 0)
      for (const platform::DirEntry& item : items)
        onDisk_.emplace(FoldedName(item.name), item.name);
  }
  // A shortcut read as "Daily.URL" is written back under that name.
  const std::string_view suffix =
      link.NamedAsLink() ? link.leaf.substr(link.name.size()) : std::string_view(".url");
  const std::string base = folderTarget_ + FavoritesName(link.name);
  std::string file = base + std::string(suffix);
  int& number = numbers_[base];
  // What a system that ignores letter case takes for the same name is the same place: a link
  // "Daily" meets the shortcut "Daily.URL" there.
  const auto onDisk = [&](const std::string& path) {
    const std::string leaf = path.substr(folderTarget_.size());
    const auto it = onDisk_.find(FoldedName(leaf));
    return it == onDisk_.end() ? path : folderTarget_ + it->second;
  };
  const auto free = [&](std::string& path) {
    path = onDisk(path);
    if (used_.contains(path)) return false;
    if (PlaceOf(path, link.url, own_) != ShortcutPlace::Taken) return true;
    if (passedOver_.empty()) passedOver_ = path;
    return false;
  };
  if (number == 0) {
    number = 1;
    if (!free(file)) number = 2;
  } else {
    ++number;
  }
  while (number > 1 &&
         !free(file = base + " (" + std::to_string(number) + ")" + std::string(suffix)))
    ++number;
  used_.insert(file);
  return file;
}

}  // namespace lf
