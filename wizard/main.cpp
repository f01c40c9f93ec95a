// Program entry: an unattended run when the command line asks for one (decided before any
// window system is touched, so it works without a display), page 1 otherwise.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "wizard/command_line.h"
#include "wizard/operation_pictures.h"
#include "wizard/unattended.h"
#include "wizard/unit1.h"

int main(int argc, char** argv) {
  const int autoOperation = lf::AutoOperationOf(std::vector<std::string>(argv + 1, argv + argc));
  if (autoOperation != 0) return lf::RunUnattended(autoOperation, std::cerr);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Linkferry"));
  QApplication::setWindowIcon(lf::ProgramIcon());
  lf::TForm01 page1;
  page1.show();
  return QApplication::exec();
}
