// Program entry: a scripted or unattended run when the command line asks for one (decided
// before any window system is touched, so both work without a display), page 1 otherwise.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "core/command_line.h"
#include "core/file_locations.h"
#include "core/script_run.h"
#include "core/unattended.h"
#include "qtui/desktop_look.h"
#include "qtui/qt_japanese.h"
#include "qtui/window_font.h"
#include "wizard/operation_pictures.h"
#include "wizard/page1.h"

namespace {

QtMessageHandler g_qtMessages = nullptr;

// While the window system starts: Qt aborts the program when the display it was named cannot
// be opened, with words about reinstalling. The program says which display instead and ends
// as it does without one.
void StartingMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::cerr << lf::UnopenedDisplayText() << '\n' << std::flush;
    std::_Exit(2);
  }
  if (g_qtMessages) g_qtMessages(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  lf::UseLostDataFolder();
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (std::string error; !lf::TakeSettingsOption(args, ec ? std::string() : cwd.string(), error)) {
    std::cerr << "linkferry: " << error << '\n' << lf::ScriptUsage() << std::flush;
    return 2;
  }
  const bool script = lf::IsScriptCommandLine(args);
  const int autoOperation = script ? 0 : lf::AutoOperationOf(args);
  if (script) return lf::RunScript(args, std::cout, std::cerr);
  if (autoOperation != 0) return lf::RunUnattended(autoOperation, std::cerr);
  if (const std::string missing = lf::NoDisplayText(); !missing.empty()) {
    std::cerr << missing << '\n' << std::flush;
    return 2;
  }

  g_qtMessages = qInstallMessageHandler(StartingMessages);
  QApplication app(argc, argv);
  qInstallMessageHandler(g_qtMessages);
  QApplication::setApplicationName(QStringLiteral("Linkferry"));
  // Light or dark as the desktop asks (LINKFERRY_THEME=dark or light decides for it).
  lf::UseColorScheme(app, lf::DesktopColorScheme());
  // Qt's own dialogs (choosing a file or folder) and the hints show Japanese text too, in the
  // windows' font and, where the translation is installed, in Japanese words.
  QApplication::setFont(lf::PageFont());
  lf::UseJapaneseQtTexts();
  QApplication::setWindowIcon(lf::ProgramIcon());
  lf::TForm01 page1;
  page1.show();
  return QApplication::exec();
}
