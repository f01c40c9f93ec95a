// Draws the windows into PNG files for the README, in the light and the dark look:
//   wizard_screenshots OUTPUT_FOLDER
// page1.png (after a run), settings.png, transfer.png, editor.png and duplicate.png, and
// page1-dark.png and editor-dark.png in the dark look. Runs on any
// display, offscreen included, and at any scale (QT_SCALE_FACTOR=2 draws them for a screen of
// double density); the program path and the user's folders lie in a temporary folder, so the
// pictures do not depend on this machine and its settings stay as they are.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/app_state.h"
#include "core/settings_file.h"
#include "engine/sjis_text.h"
#include "pages/duplicate_page.h"
#include "pages/editor_page.h"
#include "pages/transfer_page.h"
#include "platform/codepage.h"
#include "platform/system_info.h"
#include "qtui/desktop_look.h"
#include "qtui/message_service.h"
#include "qtui/window_font.h"
#include "wizard/page1.h"
#include "wizard/settings_dialog.h"

namespace {

namespace fs = std::filesystem;

// Message boxes are not drawn: they would wait for a click. What they say is printed.
class PrintedMessages : public lf::MessageService {
 public:
  int Show(QWidget*, const std::string& text, const std::string&, unsigned) override {
    std::fprintf(stderr, "message: %s\n", platform::Cp932ToUtf8(text).c_str());
    return lf::kIdOk;
  }
};

std::string ProgramPath(const fs::path& path) {
  return platform::Utf8ToCp932(path.string());
}

bool Save(QWidget& window, const QString& file) {
  window.show();
  QApplication::processEvents();
  QApplication::processEvents();
  return window.grab().save(file);
}

// Page 1 after operation 11 has carried the sample into a hotlist.
bool Page1(const QString& file, const fs::path& temp) {
  lf::Settings& settings = lf::AppSettings();
  settings.Proc = lf::kNnToOpera;
  settings.NNFileName = ProgramPath(temp / "bookmark.htm");
  settings.OPFileName = ProgramPath(temp / "opera6.adr");
  lf::Owner owner;
  lf::IniWrite(settings, owner);  // page 1 reads its settings from the file
  lf::TForm01 page1;
  page1.show();
  QApplication::processEvents();
  QTest::mouseClick(page1.findChild<QPushButton*>("Button4"), Qt::LeftButton);
  return Save(page1, file);
}

// The settings dialog with sample locations and their histories.
bool Settings(const QString& file) {
  lf::Settings& settings = lf::AppSettings();
  settings = lf::Settings();
  settings.Proc = lf::kNnToIe;
  settings.NNFileName = lf::Sjis("C:\\Program Files\\Netscape\\Users\\taro\\bookmark.htm");
  settings.IEDirName = lf::Sjis("C:\\WINDOWS\\Favorites");
  settings.OPFileName = lf::Sjis("C:\\Program Files\\Opera\\Opera6.adr");
  settings.LNK = 1;
  lf::Owner owner;
  lf::IniWrite(settings, owner);
  lf::WriteLocations(settings.NNFileName, {settings.NNFileName}, settings.IEDirName,
                     {settings.IEDirName, lf::Sjis("D:\\Favorites")}, settings.OPFileName, {});
  QWidget page1;
  page1.resize(600, 500);
  lf::TForm02 dialog(&page1);
  const bool saved = Save(dialog, file);
  dialog.reject();
  return saved;
}

// The editor page on the sample, its sports folder chosen.
bool Editor(const QString& file, const fs::path& temp) {
  lf::Settings& settings = lf::AppSettings();
  settings.Proc = lf::kEditNn;
  settings.NNFileName = ProgramPath(temp / "bookmark.htm");
  settings.IEDirName = ProgramPath(temp / "Favorites");
  QWidget page1;
  auto* page = new lf::TForm05(&page1);
  page->show();
  page->resize(page->DefaultSize());
  page->FormActivate();
  auto* tree = page->findChild<QTreeWidget*>("TreeView");
  const QList<QTreeWidgetItem*> found =
      tree->findItems(QString::fromUtf8("スポーツ"), Qt::MatchExactly | Qt::MatchRecursive);
  if (!found.isEmpty()) {
    for (QTreeWidgetItem* up = found.first()->parent(); up; up = up->parent())
      up->setExpanded(true);
    tree->setCurrentItem(found.first());
  }
  const bool saved = Save(*page, file);
  delete page;
  return saved;
}

// A bookmark file in which two pairs of links share their addresses.
void WriteDuplicates(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
         "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<DL><p>\n"
         "<DT><H3>ニュース</H3>\n<DL><p>\n"
         "<DT><A HREF=\"https://news.example.jp/\">今日のニュース &amp; 天気</A>\n"
         "<DT><A HREF=\"https://weather.example.jp/tokyo\">東京の天気</A>\n"
         "</DL><p>\n<DT><H3>旅行</H3>\n<DL><p>\n<DT><H3>国内</H3>\n<DL><p>\n"
         "<DT><A HREF=\"https://weather.example.jp/tokyo\">天気予報（東京）</A>\n"
         "</DL><p>\n</DL><p>\n"
         "<DT><A HREF=\"https://news.example.jp/\">ニュース トップ</A>\n</DL><p>\n";
}

// A second page on a bookmark file, once it has read it.
template <class Page>
bool SecondPage(const QString& file, int proc, const fs::path& temp, const char* bookmarks,
                const std::function<void(Page&)>& use = nullptr) {
  lf::Settings& settings = lf::AppSettings();
  settings.Proc = proc;
  settings.NNFileName = ProgramPath(temp / bookmarks);
  settings.IEDirName = ProgramPath(temp / "Favorites");
  QWidget page1;
  auto* page = new Page(&page1);
  page->show();
  // At the size it opens at on a screen large enough for it, whatever the screen here.
  page->resize(page->DefaultSize());
  page->FormActivate();
  if (use) use(*page);
  const bool saved = Save(*page, file);
  delete page;
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wizard_screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setFont(lf::PageFont());
  PrintedMessages messages;
  lf::MessageService::SetInstance(&messages);
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);

  const fs::path temp = fs::temp_directory_path() / "linkferry-screenshots";
  fs::remove_all(temp);
  fs::create_directories(temp / "Favorites");
  fs::copy_file(LINKFERRY_SAMPLES "/bookmarks.htm", temp / "bookmark.htm");
  WriteDuplicates(temp / "duplicates.htm");
  platform::SetProgramPath(ProgramPath(temp / "linkferry"));
  platform::SetConfigHome(ProgramPath(temp / "config"));
  platform::SetStateHome(ProgramPath(temp / "state"));

  int status = 0;
  for (const auto& [scheme, suffix] :
       {std::pair{lf::ColorScheme::Light, ""}, std::pair{lf::ColorScheme::Dark, "-dark"}}) {
    lf::UseColorScheme(app, scheme);
    const QString end = QString::fromLatin1(suffix) + QStringLiteral(".png");
    if (scheme == lf::ColorScheme::Light && !Settings(out + QStringLiteral("/settings.png")))
      status = 1;
    if (!Page1(out + QStringLiteral("/page1") + end, temp)) status = 1;
    if (!Editor(out + QStringLiteral("/editor") + end, temp)) status = 1;
    if (scheme == lf::ColorScheme::Dark) continue;
    if (!SecondPage<lf::TForm03>(out + QStringLiteral("/transfer.png"), lf::kAddNnToIe, temp,
                                 "bookmark.htm"))
      status = 1;
    if (!SecondPage<lf::TForm07>(out + QStringLiteral("/duplicate.png"), lf::kCheckNn, temp,
                                 "duplicates.htm", [](lf::TForm07& page) {
                                   auto* pairs = page.findChild<QTreeWidget*>("ListView");
                                   if (pairs->topLevelItemCount() == 0) return;
                                   pairs->topLevelItem(0)->setSelected(true);
                                   page.ListViewClick();
                                 }))
      status = 1;
  }
  fs::remove_all(temp);
  lf::MessageService::SetInstance(nullptr);
  return status;
}
