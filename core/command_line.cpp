#include "core/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/file_locations.h"
#include "core/operations.h"
#include "platform/file_system.h"

namespace lf {
namespace {

constexpr std::string_view kSettingsOption = "--settings";

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

}  // namespace

int AutoOperationOf(const std::vector<std::string>& args) {
  if (args.size() != 1) return 0;
  const std::string& arg = args.front();
  if (arg.size() < 2 || arg[0] != '-') return 0;
  const int operation = arg[1] - '0';
  return operation >= kNnToIe && operation <= kMergeNnIe ? operation : 0;
}

// The writers refuse any path that climbs up a folder, so ".." is resolved here, as the
// shell's own cd would.
bool ArgumentPath(std::string_view option, const std::string& native, const std::string& cwd,
                  std::string& path, std::string& error) {
  if (native.empty()) {
    error = std::string(option) + " needs a path, not an empty text";
    return false;
  }
  std::filesystem::path full(native);
  if (full.is_relative()) {
    if (cwd.empty()) {
      error = std::string(option) + ": the current folder is unknown; give an absolute path";
      return false;
    }
    full = std::filesystem::path(cwd) / full;
  }
  std::string normal = full.lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  // A character beyond Shift-JIS, and a backslash inside a name, come in as references and
  // go back to the file system as the same bytes; only bytes that are no UTF-8 have no form.
  const int rc = platform::FromNativePathExact(normal, path);
  if (rc != 0)
    error = std::string(option) + ": " + Quoted(native) + " holds bytes that are not UTF-8";
  return rc == 0;
}

bool TakeSettingsOption(std::vector<std::string>& args, const std::string& cwd,
                        std::string& error) {
  std::vector<std::string> rest;
  std::string file;
  bool given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.starts_with(std::string(kSettingsOption) + "=")) {
      error = "write --settings FILE, with a space instead of \"=\"";
      return false;
    }
    if (arg != kSettingsOption) {
      rest.push_back(arg);
      continue;
    }
    if (given) {
      error = "--settings is given twice";
      return false;
    }
    given = true;
    // A value that looks like an option is one that was left out.
    if (i + 1 == args.size() || args[i + 1].starts_with("-")) {
      error = "--settings needs a value";
      return false;
    }
    if (!ArgumentPath(kSettingsOption, args[++i], cwd, file, error)) return false;
  }
  if (given) SetSettingsFileOption(file);
  args = std::move(rest);
  return true;
}

std::string NoDisplayText() {
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM")) return std::string();
  return "linkferry: no display to open the windows on (DISPLAY and WAYLAND_DISPLAY are not "
         "set): start them with xvfb-run linkferry, or convert without windows with "
         "linkferry --run N (see linkferry --help)";
}

std::string UnopenedDisplayText() {
  std::string named;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (!Set(name)) continue;
    named = std::string(name) + "=" + std::getenv(name);
    break;
  }
  return "linkferry: the display to open the windows on (" + named +
         ") cannot be opened: start them on another one, with xvfb-run linkferry, or convert "
         "without windows with linkferry --run N (see linkferry --help)";
}

}  // namespace lf
