#include "platform/system_info.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>

#include "platform/codepage.h"
#include "platform/file_system.h"

namespace platform {
namespace {

struct Overrides {
  std::mutex mutex;
  std::function<LocalDateTime()> clock;
  std::optional<std::string> loginName;
  std::optional<std::string> programPath;
  std::optional<std::string> configHome;
  std::optional<std::string> stateHome;
  std::optional<std::string> windowsDirectory;
  bool drivesLoaded = false;
  std::map<char, std::string> drives;
};

Overrides& State() {
  static Overrides state;
  return state;
}

void LoadDefaultDrives(Overrides& s) {
  if (s.drivesLoaded) return;
  s.drivesLoaded = true;
  const char* home = std::getenv("HOME");
  if (!home || !*home) return;
  std::string c = std::string(home) + "/.wine/drive_c";
  struct stat st;
  if (stat(c.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) s.drives['C'] = c;
}

// A native path from the environment as a program path, "/" kept between the names (a name
// beyond Shift-JIS or holding "\\" as references): empty when the path is not absolute or
// cannot be carried exactly (bytes that are not UTF-8).
std::string AbsoluteFolder(std::string_view native) {
  if (native.empty() || native.front() != '/' || !IsUtf8(native)) return std::string();
  std::string path = FromNativePath(native);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home == '/') return AbsoluteFolder(home);
  if (struct passwd* pw = getpwuid(geteuid()); pw && pw->pw_dir) return AbsoluteFolder(pw->pw_dir);
  return std::string();
}

std::string BaseFolder(const std::optional<std::string>& set, const char* variable,
                       std::string_view belowHome) {
  if (set) return *set;
  // Only a relative path is no folder at all; one the program cannot carry is the user's
  // folder all the same, and another in its place would be a surprise.
  if (const char* value = std::getenv(variable); value && *value == '/')
    return AbsoluteFolder(value);
  const std::string home = HomeFolder();
  if (home.empty()) return std::string();
  return (home == "/" ? std::string() : home) + "/" + std::string(belowHome);
}

}  // namespace

LocalDateTime Now() {
  {
    Overrides& s = State();
    std::lock_guard lock(s.mutex);
    if (s.clock) return s.clock();
  }
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalDateTime d;
  d.year = tm.tm_year + 1900;
  d.month = tm.tm_mon + 1;
  d.day = tm.tm_mday;
  d.hour = tm.tm_hour;
  d.minute = tm.tm_min;
  d.second = tm.tm_sec;
  d.millisecond = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  return d;
}

long long EpochSeconds() {
  {
    Overrides& s = State();
    std::lock_guard lock(s.mutex);
    if (s.clock) {
      const LocalDateTime t = s.clock();
      return DaysSinceEpoch(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL +
             t.minute * 60LL + t.second;
    }
  }
  return static_cast<long long>(std::time(nullptr));
}

void SetClock(std::function<LocalDateTime()> clock) {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  s.clock = std::move(clock);
}

long long DaysSinceEpoch(int year, int month, int day) {
  // Days from civil, proleptic Gregorian calendar.
  const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long mp = (month + 9) % 12;
  const long long doy = (153 * mp + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::string LoginName() {
  {
    Overrides& s = State();
    std::lock_guard lock(s.mutex);
    if (s.loginName) return *s.loginName;
  }
  std::string name;
  if (struct passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) name = pw->pw_name;
  if (name.empty())
    if (const char* user = std::getenv("USER")) name = user;
  return Utf8ToCp932(name);
}

void SetLoginName(std::optional<std::string> name) {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  s.loginName = std::move(name);
}

std::string ProgramPath() {
  {
    Overrides& s = State();
    std::lock_guard lock(s.mutex);
    if (s.programPath) return *s.programPath;
  }
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "linkferry";
  return FromNativePath(std::string_view(buffer, static_cast<std::size_t>(n)));
}

void SetProgramPath(std::optional<std::string> path) {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  s.programPath = std::move(path);
}

std::string ProgramDirectory() {
  std::string path = ProgramPath();
  const std::size_t cut = FindLastChar(path, "\\/");
  if (cut == std::string::npos) return ".";
  if (cut == 0) return path.substr(0, 1);
  return path.substr(0, cut);
}

std::string ConfigHome() {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  return BaseFolder(s.configHome, "XDG_CONFIG_HOME", ".config");
}

void SetConfigHome(std::optional<std::string> path) {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  s.configHome = std::move(path);
}

std::string StateHome() {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  return BaseFolder(s.stateHome, "XDG_STATE_HOME", ".local/state");
}

void SetStateHome(std::optional<std::string> path) {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  s.stateHome = std::move(path);
}

std::string DriveRoot(char letter) {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  LoadDefaultDrives(s);
  auto it = s.drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return it == s.drives.end() ? std::string() : it->second;
}

void SetDriveRoot(char letter, std::string nativePath) {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  LoadDefaultDrives(s);
  char key = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (nativePath.empty())
    s.drives.erase(key);
  else
    s.drives[key] = std::move(nativePath);
}

void ResetDriveRoots() {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  s.drives.clear();
  s.drivesLoaded = false;
}

std::string WindowsDirectory() {
  {
    Overrides& s = State();
    std::lock_guard lock(s.mutex);
    if (s.windowsDirectory) return *s.windowsDirectory;
  }
  if (DriveRoot('C').empty()) return std::string();
  return "C:\\windows";
}

void SetWindowsDirectory(std::optional<std::string> path) {
  Overrides& s = State();
  std::lock_guard lock(s.mutex);
  s.windowsDirectory = std::move(path);
}

}  // namespace platform
