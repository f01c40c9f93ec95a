// A temporary folder that stands in for the program's folder and the user's folders in wizard
// tests: the program path points into it (so LostData.txt lands there when the engine's
// default is kept), the user's settings and state folders are its "config" and "state", the
// shared settings start from their defaults, and drive C and the Windows folder are unset.
// Also small builders of the collections the runs read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_dir.h"

namespace lftest {

class ProgramHome {
 public:
  ProgramHome();
  ~ProgramHome();

  TempDir dir;
  // The settings file in the user's settings folder, as a native path and as a program path.
  std::string IniNative() const { return dir.NativePath("config/linkferry/linkferry.ini"); }
  std::string IniPath() const { return dir.Path("config") + "/linkferry/linkferry.ini"; }
  // The lost-data log of the program run by RunWithoutDisplay, as a native path.
  std::string StateLogNative() const { return dir.NativePath("state/linkferry/LostData.txt"); }
  // Runs the copy of the program in dir, from dir, with the arguments and no display at all
  // (asked for the windows, it ends with status 2), the user's folders those of this home;
  // the exit status, with what it printed on standard output and standard error in out and
  // err.
  int RunWithoutDisplay(const std::vector<std::string>& args, std::string& out,
                        std::string& err) const;
  // The same with DISPLAY set to display, and nothing else to open windows on.
  int RunOnDisplay(const std::string& display, const std::vector<std::string>& args,
                   std::string& out, std::string& err) const;
};

// A Netscape bookmark file (Shift-JIS, CR LF) with the given lines between the outermost
// <DL><p> and </DL><p>; lines are UTF-8.
std::string NetscapeFile(const std::vector<std::string>& body);
// The line of a link in a Netscape file.
std::string NetscapeLink(std::string_view url, std::string_view title);
// The content of a .url file.
std::string UrlFileContent(std::string_view url);

// Native folders and files below dir, ending with the .url files of a Favorites folder.
void MakeUrlFile(const TempDir& dir, const std::string& relativeUtf8, std::string_view url);

}  // namespace lftest
