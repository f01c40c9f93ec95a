#include "tests/core/program_home.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "core/app_state.h"
#include "core/file_locations.h"
#include "platform/system_info.h"

namespace lftest {

ProgramHome::ProgramHome() {
  platform::SetProgramPath(dir.Path("linkferry"));
  platform::SetConfigHome(dir.Path("config"));
  platform::SetStateHome(dir.Path("state"));
  platform::ResetDriveRoots();
  platform::SetDriveRoot('C', "");
  platform::SetWindowsDirectory(std::string());
  lf::AppSettings() = lf::Settings();
  lf::AppRun() = lf::RunState();
}

ProgramHome::~ProgramHome() {
  platform::SetProgramPath(std::nullopt);
  platform::SetConfigHome(std::nullopt);
  platform::SetStateHome(std::nullopt);
  lf::SetSettingsFileOption(std::nullopt);
  platform::SetWindowsDirectory(std::nullopt);
  platform::ResetDriveRoots();
  lf::AppSettings() = lf::Settings();
  lf::AppRun() = lf::RunState();
}

int ProgramHome::RunWithoutDisplay(const std::vector<std::string>& args, std::string& out,
                                   std::string& err) const {
  return RunOnDisplay(std::string(), args, out, err);
}

int ProgramHome::RunOnDisplay(const std::string& display, const std::vector<std::string>& args,
                              std::string& out, std::string& err) const {
  const std::string home = "'" + dir.Native() + "'";
  std::string command = "cd " + home +
                        " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME=" + home +
                        (display.empty() ? "" : " DISPLAY='" + display + "'") +
                        " XDG_CONFIG_HOME=" + home + "/config XDG_STATE_HOME=" + home +
                        "/state ./linkferry";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  out = ReadFile(dir.NativePath("out.txt"));
  err = ReadFile(dir.NativePath("err.txt"));
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string NetscapeFile(const std::vector<std::string>& body) {
  std::string text =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">\r\n"
      "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n";
  for (const std::string& line : body) text += S(line) + "\r\n";
  return text + "</DL><p>\r\n";
}

std::string NetscapeLink(std::string_view url, std::string_view title) {
  return "    <DT><A HREF=\"" + std::string(url) + "\" ADD_DATE=\"1\">" + std::string(title) +
         "</A>";
}

std::string UrlFileContent(std::string_view url) {
  return "[InternetShortcut]\r\nURL=" + std::string(url) + "\r\n";
}

void MakeUrlFile(const TempDir& dir, const std::string& relativeUtf8, std::string_view url) {
  const std::string native = dir.NativePath(relativeUtf8);
  MakeDirs(std::filesystem::path(native).parent_path().string());
  WriteFile(native, UrlFileContent(url));
}

}  // namespace lftest
