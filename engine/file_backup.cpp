#include "engine/file_backup.h"

#include <vector>

#include "engine/sjis_text.h"
#include "platform/file_system.h"

namespace lf {
namespace {

// The name of the file without its extension, and the folder it lies in.
struct NameParts {
  std::string folder;  // with its last separator; empty for a bare name
  std::string name;
  std::string stem;
};

NameParts PartsOf(const std::string& path) {
  const std::size_t cut = FindLastChar(path, "\\/:");
  NameParts parts;
  parts.folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  parts.name = cut == std::string::npos ? path : path.substr(cut + 1);
  const std::size_t dot = FindLastChar(parts.name, ".");
  parts.stem = dot == std::string::npos ? parts.name : parts.name.substr(0, dot);
  return parts;
}

}  // namespace

std::string BackupPath(const std::string& path) {
  const NameParts parts = PartsOf(path);
  std::vector<platform::DirEntry> items;
  const std::string folder = parts.folder.empty() ? std::string(".") : parts.folder;
  if (platform::ListDirectory(folder, items) == 0) {
    for (const platform::DirEntry& item : items) {
      if (item.isDirectory || item.name == parts.name) continue;
      const NameParts other = PartsOf(item.name);
      if (other.stem != parts.stem || other.name == other.stem) continue;
      const std::string ext = other.name.substr(other.stem.size());
      if (ext == ".old" || ext == ".tmp") continue;
      return path + ".old";
    }
  }
  // A file named like a backup ("list.old") has its own backup beside it ("list.old.old").
  std::string backup = ChangeFileExt(path, ".old");
  return backup == path ? path + ".old" : backup;
}

std::string NoBackupText(const char* kind, const std::string& path, int code) {
  return Sjis(kind) + "[ " + platform::ShownPath(path) +
         Sjis(" ]のバックアップが出来ていません。\r[ ") + platform::ErrorText(code) + Sjis(" ]");
}

std::string SaveFailureText(const char* kind, const std::string& path, const std::string& what) {
  return Sjis(kind) + " [ " + platform::ShownPath(path) + Sjis(" ] の保存で [ ") + what +
         Sjis(" ] のエラーが発生しました。");
}

}  // namespace lf
