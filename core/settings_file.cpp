#include "core/settings_file.h"

#include <cerrno>

#include "core/operations.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"

namespace lf {

namespace {

// A number of the settings file within its range; the default, and a line in problems, for one
// outside it (a value no window would have written).
int Checked(const platform::IniFile& ini, const char* section, const char* key, int most,
            std::vector<std::string>* problems) {
  const int value = ini.ReadInteger(section, key, 0);
  if (value >= 0 && value <= most) return value;
  if (problems)
    problems->push_back(platform::ShownPath(ini.Path()) + Sjis(" の ") + key + "=" +
                        std::to_string(value) + Sjis(" は使えない値です。0 を使います。"));
  return 0;
}

}  // namespace

bool ReadSettings(Settings& s, std::vector<std::string>* problems) {
  const platform::IniFile ini(IniFileName());
  s.Proc = Checked(ini, "Proc", "Proc", kOperationCount, problems);
  s.NNFileName = ini.ReadString("Dir", "NNFileName", "");
  s.IEDirName = ini.ReadString("Dir", "IEDirName", "");
  s.OPFileName = ini.ReadString("Dir", "OPFileName", "");
  s.NNConv = Checked(ini, "Check", "NNConv", 1, problems);
  s.Out = Checked(ini, "Check", "Out", 2, problems);
  s.DBL = Checked(ini, "Check", "DBL", 1, problems);
  s.LNK = Checked(ini, "Check", "LNK", 1, problems);
  s.Order = Checked(ini, "Check", "Order", 1, problems);
  return ini.Exists();
}

int SettingsReadError() {
  const std::string path = IniFileName();
  // A folder of that name reads as an empty file, which would run on the defaults.
  if (platform::DirectoryExists(path)) return EISDIR;
  if (!platform::FileExists(path)) return 0;
  std::string content;
  return platform::ReadWholeFile(path, content);
}

std::string ReadErrorText(const std::string& iniPath, int code) {
  return iniPath + Sjis(" を読み込めません [ ") + platform::ErrorText(code) + " ]";
}

std::string WriteErrorText(const std::string& iniPath) {
  return iniPath + Sjis(" に書き込めません");
}

void ShowWriteError(Owner& owner, const std::string& iniPath) {
  owner.MessageBox(WriteErrorText(iniPath), MessageCaption(), kMbIconError | kMbOk);
}

bool IniWrite(const Settings& s, Owner& owner) {
  platform::IniFile ini(IniFileName());
  try {
    MakeSettingsFolder();
    ini.WriteInteger("Proc", "Proc", s.Proc);
    ini.WriteString("Dir", "NNFileName", s.NNFileName);
    ini.WriteString("Dir", "IEDirName", s.IEDirName);
    ini.WriteString("Dir", "OPFileName", s.OPFileName);
    ini.WriteInteger("Check", "NNConv", s.NNConv);
    ini.WriteInteger("Check", "Out", s.Out);
    ini.WriteInteger("Check", "DBL", s.DBL);
    ini.WriteInteger("Check", "LNK", s.LNK);
    ini.WriteInteger("Check", "Order", s.Order);
  } catch (const platform::IoError&) {
    ShowWriteError(owner, ini.Path());
    return false;
  }
  return true;
}

std::string HistoryKey(std::string_view prefix, int n) {
  // The last two digits of n + 100: 01 ... 99.
  return std::string(prefix) + std::to_string(n + 100).substr(1);
}

std::vector<std::string> ReadHistory(const platform::IniFile& ini, std::string_view prefix) {
  std::vector<std::string> history;
  for (int n = 1; n <= kMaxHistory; ++n) {
    std::string value = ini.ReadString("Dir", HistoryKey(prefix, n), "");
    if (value.empty()) break;
    history.push_back(std::move(value));
  }
  return history;
}

void WriteHistory(platform::IniFile& ini, std::string_view prefix,
                  const std::vector<std::string>& lines, const std::string& current) {
  int n = 0;
  for (const std::string& line : lines) {
    // An empty entry would end the history for the next reader and hide all after it.
    if (line.empty() || line == current) continue;
    if (n == kMaxHistory) break;
    ++n;
    ini.WriteString("Dir", HistoryKey(prefix, n), line);
  }
  if (n < kMaxHistory) {
    const std::string next = HistoryKey(prefix, n + 1);
    if (!ini.ReadString("Dir", next, "").empty()) ini.WriteString("Dir", next, "");
  }
}

StoredLocations ReadLocations() {
  const platform::IniFile ini(IniFileName());
  StoredLocations stored;
  stored.nn = {ini.ReadString("Dir", "NNFileName", ""), ReadHistory(ini, kNNHistory)};
  stored.ie = {ini.ReadString("Dir", "IEDirName", ""), ReadHistory(ini, kIEHistory)};
  stored.op = {ini.ReadString("Dir", "OPFileName", ""), ReadHistory(ini, kOPHistory)};
  return stored;
}

void WriteLocations(const std::string& nn, const std::vector<std::string>& nnList,
                    const std::string& ie, const std::vector<std::string>& ieList,
                    const std::string& op, const std::vector<std::string>& opList) {
  platform::IniFile ini(IniFileName());
  MakeSettingsFolder();
  ini.WriteString("Dir", "NNFileName", nn);
  WriteHistory(ini, kNNHistory, nnList, nn);
  ini.WriteString("Dir", "IEDirName", ie);
  WriteHistory(ini, kIEHistory, ieList, ie);
  ini.WriteString("Dir", "OPFileName", op);
  WriteHistory(ini, kOPHistory, opList, op);
}

namespace {
constexpr std::string_view kWindowSection = "Window";
constexpr int kLargestWindow = 32767;  // what a window system can make
}  // namespace

WindowSize ReadWindowSize(std::string_view window) {
  const platform::IniFile ini(IniFileName());
  const std::string name(window);
  const WindowSize size{ini.ReadInteger(kWindowSection, name + "Width", 0),
                        ini.ReadInteger(kWindowSection, name + "Height", 0)};
  if (size.width <= 0 || size.height <= 0 || size.width > kLargestWindow ||
      size.height > kLargestWindow)
    return WindowSize();
  return size;
}

void WriteWindowSize(std::string_view window, WindowSize size) {
  platform::IniFile ini(IniFileName());
  MakeSettingsFolder();
  const std::string name(window);
  ini.WriteInteger(kWindowSection, name + "Width", size.width);
  ini.WriteInteger(kWindowSection, name + "Height", size.height);
}

}  // namespace lf
