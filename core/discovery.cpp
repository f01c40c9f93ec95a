#include "core/discovery.h"

#include <vector>

#include "platform/file_system.h"
#include "platform/system_info.h"

namespace lf {
namespace {

struct Frame {
  std::string path;
  std::vector<platform::DirEntry> entries;
  std::size_t next = 0;
};

Frame Open(std::string path) {
  Frame frame;
  frame.path = std::move(path);
  if (platform::ListDirectory(frame.path, frame.entries) != 0) frame.entries.clear();
  return frame;
}

}  // namespace

std::string FindBookmarkFile(const std::string& folder) {
  std::string result;
  std::vector<Frame> stack;
  stack.push_back(Open(folder));
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == top.entries.size()) {
      stack.pop_back();
      continue;
    }
    const platform::DirEntry& entry = top.entries[top.next++];
    std::string path = top.path + "\\" + entry.name;
    if (entry.isDirectory) {
      if (entry.exact) stack.push_back(Open(std::move(path)));  // may move top
    } else if (entry.name == "bookmark.htm") {
      result = std::move(path);
    }
  }
  return result;
}

std::string FindFavoritesFolder() {
  const std::string windows = platform::WindowsDirectory();
  if (windows.empty()) return std::string();
  std::string candidate = windows + "\\Favorites";
  return platform::DirectoryExists(candidate) ? candidate : std::string();
}

bool DiscoverDefaults(Settings& s) {
  bool missing = false;
  if (s.NNFileName.empty()) {
    s.NNFileName = FindBookmarkFile(kNetscapeFolder);
    missing = true;
  }
  if (s.IEDirName.empty()) {
    s.IEDirName = FindFavoritesFolder();
    missing = true;
  }
  return missing;
}

}  // namespace lf
