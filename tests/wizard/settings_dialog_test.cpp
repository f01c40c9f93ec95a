#include "wizard/settings_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <memory>
#include <stdexcept>

#include "core/app_state.h"
#include "core/settings_file.h"
#include "engine/ui.h"
#include "platform/file_system.h"
#include "qtui/sjis_qt.h"
#include "tests/core/program_home.h"
#include "tests/support/failing_writes.h"
#include "tests/support/qt/scripted_messages.h"
#include "wizard/operation_pictures.h"

namespace {

using lftest::S;

class SettingsDialog : public ::testing::Test {
 protected:
  void TearDown() override { dialog.reset(); }

  void Open() {
    page1.move(120, 90);
    dialog = std::make_unique<lf::TForm02>(&page1);
    dialog->show();
  }

  template <class T = QWidget>
  T* Get(const char* name) {
    T* widget = dialog->findChild<T*>(QLatin1String(name));
    if (!widget) throw std::runtime_error(std::string("no control ") + name);
    return widget;
  }
  QComboBox* Combo(const char* name) { return Get<QComboBox>(name); }
  std::vector<std::string> Items(const char* name) {
    std::vector<std::string> items;
    for (int i = 0; i < Combo(name)->count(); ++i)
      items.push_back(Combo(name)->itemText(i).toStdString());
    return items;
  }
  void Type(const char* name, const std::string& programPath) {
    Combo(name)->setEditText(lf::FromSjis(programPath));
  }
  void Click(const char* name) { QTest::mouseClick(Get(name), Qt::LeftButton); }
  bool Accepted() const { return dialog->isHidden() && dialog->result() == QDialog::Accepted; }
  std::string Settings() const {
    return lftest::Exists(home.IniNative()) ? lftest::ReadFile(home.IniNative()) : "";
  }
  // A Netscape file that exists, so OK asks nothing about it.
  std::string ExistingBookmarkFile() {
    lftest::WriteFile(home.dir.NativePath("bookmark.htm"), "");
    return home.dir.Path("bookmark.htm");
  }

  lftest::ProgramHome home;
  lftest::ScriptedMessages messages;
  QWidget page1;
  std::unique_ptr<lf::TForm02> dialog;
};

TEST_F(SettingsDialog, OpensOverPage1WithTheStoredLocationsOnly) {
  lf::Settings& s = lf::AppSettings();
  s.NNFileName = "C:\\found\\bookmark.htm";  // found by page 1, never stored
  s.IEDirName = "C:\\WINDOWS\\Favorites";
  Open();
  EXPECT_EQ(dialog->windowTitle(), "Linkferry 設定");
  // Centred on page 1 (to the pixel that sizes of odd and even length allow), at the size of
  // its contents and fixed there.
  EXPECT_LE((dialog->frameGeometry().center() - page1.frameGeometry().center()).manhattanLength(),
            2);
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  EXPECT_EQ(Get<QGroupBox>("GroupBox2")->title(),
            " Internet Explorerのお気に入りファイルのフォルダ ");
  for (const char* name : {"NNCB", "IECB", "OPCB"}) {
    EXPECT_EQ(Items(name), std::vector<std::string>{""}) << name;
    EXPECT_EQ(Combo(name)->currentText(), "") << name;
  }
  EXPECT_EQ(s.NNFileName, "");
  EXPECT_EQ(s.IEDirName, "");
  EXPECT_TRUE(Get("Image0")->isHidden());  // operation 0
}

TEST_F(SettingsDialog, ShowsCurrentValuesFirstThenTheHistoriesAndTheChoices) {
  lftest::WriteFile(home.IniNative(), S("[Dir]\r\nNNFileName=C:\\新\\bookmark.htm\r\n"
                                        "NNFile01=C:\\a.htm\r\nNNFile02=C:\\b.htm\r\n"
                                        "NNFile04=C:\\gap.htm\r\nIEDirName=C:\\Fav\r\n"
                                        "OPFile01=C:\\o.adr\r\n"));
  lf::Settings& s = lf::AppSettings();
  s.NNConv = 2;
  s.Out = 1;
  s.LNK = 1;
  s.Proc = 4;
  Open();
  EXPECT_EQ(Items("NNCB"),
            (std::vector<std::string>{"C:\\新\\bookmark.htm", "C:\\a.htm", "C:\\b.htm"}));
  EXPECT_EQ(Combo("NNCB")->currentText().toStdString(), "C:\\新\\bookmark.htm");
  EXPECT_EQ(Items("IECB"), std::vector<std::string>{"C:\\Fav"});
  EXPECT_EQ(Items("OPCB"), (std::vector<std::string>{"", "C:\\o.adr"}));
  EXPECT_TRUE(Get<QCheckBox>("NNCheck")->isChecked());
  EXPECT_FALSE(Get<QCheckBox>("DBLCheck")->isChecked());
  EXPECT_TRUE(Get<QCheckBox>("LNKCheck")->isChecked());
  EXPECT_EQ(dialog->OutIndex(), 1);
  EXPECT_EQ(Get<QSpinBox>("SpinEdit")->value(), 4);
  EXPECT_FALSE(Get("Image0")->isHidden());
  EXPECT_EQ(Get<QLabel>("Image0")->pixmap().toImage(), lf::OperationPicture(4).toImage());

  Get<QSpinBox>("SpinEdit")->setValue(0);  // hides the picture, changes nothing yet
  EXPECT_TRUE(Get("Image0")->isHidden());
  EXPECT_EQ(s.Proc, 4);
  Click("Button2");
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(s.Proc, 4);
  EXPECT_EQ(s.NNFileName, S("C:\\新\\bookmark.htm"));  // the reload stays
  EXPECT_EQ(s.NNConv, 2);
}

TEST_F(SettingsDialog, OkNeedsBothLocations) {
  Open();
  Type("NNCB", ExistingBookmarkFile());
  Click("Button1");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "ファイル、フォルダの指定が出来ていません。指定してください。");
  EXPECT_EQ(messages.shown[0].flags, lf::kMbIconError | lf::kMbOk);
  EXPECT_EQ(messages.shown[0].owner, dialog.get());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(Settings(), "");
}

TEST_F(SettingsDialog, AMissingNetscapeFileIsStoredOnlyWhenConfirmed) {
  lf::AppSettings().NNConv = 2;
  Open();
  Type("NNCB", home.dir.Path("new.htm"));
  Type("IECB", S("C:\\お気に入り\\"));
  messages.answers = {lf::kIdCancel};
  Click("Button1");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "Netscape Navigatorのブックマークファイルが見つかりません。\r"
            "ブックマークファイルは、新規の作成ですか？");
  EXPECT_EQ(messages.shown[0].flags, lf::kMbIconQuestion | lf::kMbOkCancel);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(Settings(), "");

  Click("Button1");  // answered OK
  EXPECT_TRUE(Accepted());
  const lf::Settings& s = lf::AppSettings();
  EXPECT_EQ(s.NNFileName, home.dir.Path("new.htm"));
  EXPECT_EQ(s.IEDirName, S("C:\\お気に入り"));  // stored without its trailing backslash
  EXPECT_EQ(s.NNConv, 1);
  const lf::StoredLocations stored = lf::ReadLocations();
  EXPECT_EQ(stored.nn.value, home.dir.Path("new.htm"));
  EXPECT_EQ(stored.ie.value, S("C:\\お気に入り"));
  // The empty first lines of the lists do not become history entries.
  EXPECT_TRUE(stored.nn.history.empty());
  EXPECT_EQ(Settings().find("NNFile01"), std::string::npos);
}

TEST_F(SettingsDialog, OkWritesTheHistoriesRenumberedAndTheChoicesInMemory) {
  const std::string chosen = ExistingBookmarkFile();
  lftest::WriteFile(home.IniNative(), "[Dir]\r\nNNFileName=C:\\old.htm\r\nNNFile01=C:\\a.htm\r\n" +
                                          ("NNFile02=" + chosen) +
                                          "\r\nNNFile03=C:\\c.htm\r\n"
                                          "IEDirName=C:\\Fav\r\nOPFileName=C:\\o.adr\r\n");
  Open();
  Combo("NNCB")->setCurrentIndex(2);  // the history entry
  Get<QAbstractButton>("NNout2")->click();
  Get<QCheckBox>("DBLCheck")->setChecked(true);
  Get<QSpinBox>("SpinEdit")->setValue(11);
  Type("OPCB", "");
  Click("Button1");
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  ASSERT_TRUE(Accepted());

  const lf::StoredLocations stored = lf::ReadLocations();
  EXPECT_EQ(stored.nn.value, chosen);
  EXPECT_EQ(stored.nn.history, (std::vector<std::string>{"C:\\old.htm", "C:\\a.htm", "C:\\c.htm"}));
  EXPECT_EQ(stored.op.value, "");
  EXPECT_EQ(stored.op.history, std::vector<std::string>{"C:\\o.adr"});
  const lf::Settings& s = lf::AppSettings();
  EXPECT_EQ(s.Out, 2);
  EXPECT_EQ(s.DBL, 1);
  EXPECT_EQ(s.LNK, 0);
  EXPECT_EQ(s.Proc, 11);
  EXPECT_EQ(Settings().find("[Check]"), std::string::npos);  // page 1 stores those
}

// A typed path is the path, whatever the histories hold: one that differs from an entry only
// in letter case is another file or folder, and one that begins an entry is not that entry;
// neither may be swapped for the entry when editing ends. A folder's trailing "/" goes, as a
// trailing backslash does: the entries' paths would read ".../favorites/\ニュース".
TEST_F(SettingsDialog, TypedPathsStayAsTypedBesideTheHistories) {
  const std::string nn = ExistingBookmarkFile();
  lftest::WriteFile(home.IniNative(), "[Dir]\r\nNNFileName=" + nn +
                                          "\r\nIEDirName=/home/taro/Favorites\r\n"
                                          "IEDir01=/home/taro/Links\r\n"
                                          "OPFile01=/home/taro/opera6.adr.old\r\n");
  Open();
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  QLineEdit* opera = Combo("OPCB")->lineEdit();
  opera->setFocus();
  QTest::keyClicks(opera, "/home/taro/opera6.adr");
  QLineEdit* edit = Combo("IECB")->lineEdit();
  edit->selectAll();
  QTest::keyClicks(edit, "/home/taro/favorites/");
  QTest::keyClick(edit, Qt::Key_Return);  // Enter answers the dialog with "O K"
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  ASSERT_TRUE(Accepted());
  const lf::StoredLocations stored = lf::ReadLocations();
  EXPECT_EQ(stored.ie.value, "/home/taro/favorites");
  EXPECT_EQ(stored.ie.history,
            (std::vector<std::string>{"/home/taro/Favorites", "/home/taro/Links"}));
  EXPECT_EQ(stored.op.value, "/home/taro/opera6.adr");
}

// The keyboard starts in the first location and Tab goes through the dialog from top to
// bottom, the operation number where it stands, beside the buttons.
TEST_F(SettingsDialog, TabGoesFromTheTopDown) {
  Open();
  std::vector<std::string> order;
  for (QWidget* w = dialog->nextInFocusChain(); w != dialog.get(); w = w->nextInFocusChain())
    if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() &&
        !w->objectName().startsWith("qt_"))
      order.push_back(w->objectName().toStdString());
  EXPECT_EQ(order,
            (std::vector<std::string>{"NNCB", "Button5", "NNout0", "NNout1", "NNout2", "IECB",
                                      "Button6", "OPCB", "Button3", "NNCheck", "DBLCheck",
                                      "LNKCheck", "OrderCheck", "SpinEdit", "Button1", "Button2"}));
}

TEST_F(SettingsDialog, ARefusedWriteKeepsTheDialogOpenAndMemoryUnchanged) {
  lf::AppSettings().Proc = 6;
  Open();
  Type("NNCB", ExistingBookmarkFile());
  Type("IECB", "C:\\Fav");
  Get<QSpinBox>("SpinEdit")->setValue(2);
  {
    lftest::FileSizeLimit limit(0);
    Click("Button1");
  }
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, lftest::U(lf::IniFileName()) + " に書き込めません");
  EXPECT_EQ(messages.shown[0].flags, lf::kMbIconError | lf::kMbOk);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(lf::AppSettings().Proc, 6);
  EXPECT_EQ(lf::AppSettings().IEDirName, "");
}

TEST_F(SettingsDialog, ChoosersAskWithTheirTitlesAndFiltersAndFillTheBoxes) {
  Open();
  Type("NNCB", S("C:\\ネット\\bookmark.htm"));
  messages.fileAnswers = {S("C:\\選んだ\\bookmark.htm"), std::nullopt};
  Click("Button5");
  ASSERT_EQ(messages.fileRequests.size(), 1u);
  EXPECT_EQ(messages.fileRequests[0].title, "ブックマークファイルの指定");
  EXPECT_EQ(messages.fileRequests[0].filter,
            "ブックマークファイル|*.htm* Bookmarks *.json *.xbel *.jsonlz4 places.sqlite|"
            "HTM/HTML files|*.htm*|Chromium Bookmarks|Bookmarks *.json|XBEL files|*.xbel|"
            "Firefox|*.jsonlz4 places.sqlite|ALL files|*.*");
  EXPECT_EQ(messages.fileRequests[0].startFolder, "C:\\ネット\\");
  // A Chromium profile's "Bookmarks" has no extension, and must not be given one.
  EXPECT_EQ(messages.fileRequests[0].defaultExtension, "");
  EXPECT_TRUE(messages.fileRequests[0].newFile);  // a file the program will write
  EXPECT_EQ(Combo("NNCB")->currentText().toStdString(), "C:\\選んだ\\bookmark.htm");

  Type("OPCB", "C:\\Opera\\Opera6.adr");
  Click("Button3");  // cancelled: nothing changes
  ASSERT_EQ(messages.fileRequests.size(), 2u);
  EXPECT_EQ(messages.fileRequests[1].title, "Ｏｐｅｒａブックマークファイルの指定");
  EXPECT_EQ(messages.fileRequests[1].filter, "ＡＤＲ files|*.adr|ALL files|*.*");
  EXPECT_EQ(messages.fileRequests[1].startFolder, "C:\\Opera\\");
  EXPECT_EQ(messages.fileRequests[1].defaultExtension, "");
  EXPECT_TRUE(messages.fileRequests[1].newFile);
  EXPECT_EQ(Combo("OPCB")->currentText().toStdString(), "C:\\Opera\\Opera6.adr");

  messages.folderAnswers = {S("/home/taro/お気に入り")};
  Click("Button6");
  EXPECT_EQ(messages.folderTitles,
            std::vector<std::string>{"お気に入りのフォルダを選択してください。"});
  EXPECT_EQ(Combo("IECB")->currentText().toStdString(), "/home/taro/お気に入り");

  EXPECT_EQ(lf::FolderOfPath("bookmark.htm"), "");
  EXPECT_EQ(lf::FolderOfPath("C:bookmark.htm"), "C:");
  EXPECT_EQ(lf::FolderOfPath(S("C:\\ソフト")), "C:\\");  // not the second byte of ソ
  EXPECT_EQ(lf::FolderOfPath("/home/taro/b.htm"), "/home/taro/");
}

}  // namespace
