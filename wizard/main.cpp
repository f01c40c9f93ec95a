// Program entry: a scripted or unattended run when the command line asks for one (decided
// before any window system is touched, so both work without a display), page 1 otherwise.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/script_run.h"
#include "core/unattended.h"
#include "wizard/operation_pictures.h"
#include "wizard/page1.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (lf::IsScriptCommandLine(args)) return lf::RunScript(args, std::cout, std::cerr);
  const int autoOperation = lf::AutoOperationOf(args);
  if (autoOperation != 0) return lf::RunUnattended(autoOperation, std::cerr);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Linkferry"));
  QApplication::setWindowIcon(lf::ProgramIcon());
  lf::TForm01 page1;
  page1.show();
  return QApplication::exec();
}
