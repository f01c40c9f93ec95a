#include "core/file_locations.h"

#include <mutex>
#include <system_error>

#include "core/app_state.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

namespace lf {
namespace {

constexpr char kOwnFolder[] = "/linkferry";

struct Option {
  std::mutex mutex;
  std::optional<std::string> settingsFile;
};

Option& SettingsOption() {
  static Option option;
  return option;
}

std::string BesideTheProgram() {
  return ChangeFileExt(platform::ProgramPath(), ".ini");
}

bool PortableCopy() {
  return platform::PathExists(BesideTheProgram());
}

// The user's folder of the settings file, or empty when the settings file lies elsewhere.
std::string UserSettingsFolder() {
  if (HasSettingsFileOption() || PortableCopy()) return std::string();
  const std::string home = platform::ConfigHome();
  return home.empty() ? std::string() : home + kOwnFolder;
}

}  // namespace

std::string IniFileName() {
  {
    Option& option = SettingsOption();
    std::lock_guard lock(option.mutex);
    if (option.settingsFile) return *option.settingsFile;
  }
  const std::string folder = UserSettingsFolder();
  return folder.empty() ? BesideTheProgram() : folder + "/linkferry.ini";
}

void SetSettingsFileOption(std::optional<std::string> path) {
  Option& option = SettingsOption();
  std::lock_guard lock(option.mutex);
  option.settingsFile = std::move(path);
}

bool HasSettingsFileOption() {
  Option& option = SettingsOption();
  std::lock_guard lock(option.mutex);
  return option.settingsFile.has_value();
}

void MakeSettingsFolder() {
  const std::string folder = UserSettingsFolder();
  if (folder.empty() || platform::DirectoryExists(folder)) return;
  if (const int rc = platform::MakePrivateDirectories(folder)) throw platform::IoError(rc);
}

std::string LostDataFolder() {
  const std::string home = PortableCopy() ? std::string() : platform::StateHome();
  return home.empty() ? platform::ProgramDirectory() : home + kOwnFolder;
}

std::string NativeText(const std::string& path) {
  std::string native;
  return platform::ToNativePath(path, native) == 0 ? native : platform::Cp932ToUtf8(path);
}

void UseLostDataFolder() {
  AppRun().lostDataFolder = LostDataFolder();
}

void TellLostData(const std::string& logPath, bool linksLost, std::ostream& err) {
  if (logPath.empty()) return;
  err << (linksLost ? "linkferry: the links that could not be converted are listed in "
                    : "linkferry: what the target could not hold is listed in ")
      << NativeText(logPath) << '\n'
      << std::flush;
}

}  // namespace lf
