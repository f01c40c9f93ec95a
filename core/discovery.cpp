#include "core/discovery.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
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

// The folders below the user's settings folder that the browsers of Chromium's family keep
// their profiles in.
constexpr const char* kChromiumFolders[] = {"chromium",
                                            "google-chrome",
                                            "google-chrome-beta",
                                            "google-chrome-unstable",
                                            "microsoft-edge",
                                            "microsoft-edge-beta",
                                            "BraveSoftware/Brave-Browser",
                                            "vivaldi",
                                            "vivaldi-snapshot"};

// The names in a folder, sorted; only folders, or only files, as asked.
std::vector<std::string> Names(const std::string& folder, bool folders) {
  std::vector<platform::DirEntry> entries;
  std::vector<std::string> names;
  if (platform::ListDirectory(folder, entries) != 0) return names;
  for (const platform::DirEntry& entry : entries)
    if (entry.exact && entry.isDirectory == folders && !entry.isSymlink)
      names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

// Every profile's Bookmarks file of one browser: "Default" first, then the others by name.
void AddChromiumProfiles(const std::string& browser, std::vector<std::string>& found) {
  std::vector<std::string> profiles = Names(browser, true);
  std::stable_partition(profiles.begin(), profiles.end(),
                        [](const std::string& name) { return name == "Default"; });
  for (const std::string& profile : profiles) {
    std::string file = browser + "/" + profile + "/Bookmarks";
    if (platform::FileExists(file)) found.push_back(std::move(file));
  }
}

// The newest backup of every Firefox profile: the backups' names begin with their date.
void AddFirefoxBackups(std::vector<std::string>& found) {
  const char* home = std::getenv("HOME");
  if (!home || *home != '/' || !platform::IsUtf8(home)) return;
  const std::string firefox = platform::FromNativePath(home) + "/.mozilla/firefox";
  const platform::IniFile ini(firefox + "/profiles.ini");
  for (int i = 0; i < 100; ++i) {
    const std::string section = "Profile" + std::to_string(i);
    // profiles.ini is UTF-8.
    const std::string path = platform::Utf8ToCp932(ini.ReadString(section, "Path", ""));
    if (path.empty()) continue;
    const bool relative = ini.ReadInteger(section, "IsRelative", 1) != 0;
    const std::string backups = (relative ? firefox + "/" + path : path) + "/bookmarkbackups";
    std::string newest;
    for (const std::string& name : Names(backups, false))
      if (name.size() > 8 && name.compare(name.size() - 8, 8, ".jsonlz4") == 0) newest = name;
    if (!newest.empty()) found.push_back(backups + "/" + newest);
  }
}

}  // namespace

std::vector<std::string> FindBrowserBookmarkFiles() {
  std::vector<std::string> found;
  const std::string config = platform::ConfigHome();
  if (!config.empty())
    for (const char* browser : kChromiumFolders) AddChromiumProfiles(config + "/" + browser, found);
  AddFirefoxBackups(found);
  return found;
}

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
    if (s.NNFileName.empty())
      if (const std::vector<std::string> browsers = FindBrowserBookmarkFiles(); !browsers.empty())
        s.NNFileName = browsers.front();
    missing = true;
  }
  if (s.IEDirName.empty()) {
    s.IEDirName = FindFavoritesFolder();
    missing = true;
  }
  return missing;
}

}  // namespace lf
