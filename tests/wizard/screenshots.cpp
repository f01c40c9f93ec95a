// Draws page 1 and the settings dialog into PNG files for the README:
//   wizard_screenshots OUTPUT_FOLDER
// Runs on any display, offscreen included; the program path and the user's folders lie in a
// temporary folder, so the pictures do not depend on this machine and its settings stay as
// they are.
#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "core/app_state.h"
#include "core/settings_file.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/system_info.h"
#include "wizard/page1.h"
#include "wizard/settings_dialog.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wizard_screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  QApplication app(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);

  // A settings file with sample locations, with the program path and the user's folders in
  // a temporary folder.
  const std::filesystem::path temp =
      std::filesystem::temp_directory_path() / "linkferry-screenshots";
  std::filesystem::create_directories(temp);
  platform::SetProgramPath(platform::Utf8ToCp932((temp / "linkferry").string()));
  platform::SetConfigHome(platform::Utf8ToCp932((temp / "config").string()));
  platform::SetStateHome(platform::Utf8ToCp932((temp / "state").string()));
  lf::Settings& settings = lf::AppSettings();
  settings = lf::Settings();
  settings.Proc = 1;
  settings.NNFileName = lf::Sjis("C:\\Program Files\\Netscape\\Users\\taro\\bookmark.htm");
  settings.IEDirName = lf::Sjis("C:\\WINDOWS\\Favorites");
  settings.OPFileName = lf::Sjis("C:\\Program Files\\Opera\\Opera6.adr");
  settings.LNK = 1;
  lf::Owner owner;
  lf::IniWrite(settings, owner);
  lf::WriteLocations(settings.NNFileName, {settings.NNFileName}, settings.IEDirName,
                     {settings.IEDirName, lf::Sjis("D:\\Favorites")}, settings.OPFileName, {});

  int status = 0;
  lf::TForm01 page1;
  page1.show();
  QApplication::processEvents();
  if (!page1.grab().save(out + QStringLiteral("/page1.png"))) status = 1;

  lf::TForm02 dialog(&page1);
  dialog.show();
  QApplication::processEvents();
  if (!dialog.grab().save(out + QStringLiteral("/settings.png"))) status = 1;
  dialog.reject();
  std::filesystem::remove_all(temp);
  return status;
}
