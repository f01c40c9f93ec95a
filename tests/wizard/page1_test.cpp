#include "wizard/page1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "core/app_state.h"
#include "core/run_driver.h"
#include "core/settings_file.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/system_info.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_places.h"
#include "tests/core/program_home.h"
#include "tests/support/failing_writes.h"
#include "tests/support/hostile_helpers.h"
#include "tests/support/qt/event_filter.h"
#include "tests/support/qt/scripted_messages.h"
#include "wizard/settings_dialog.h"

namespace {

using lftest::S;

constexpr const char* kRedText = "ファイル、フォルダの設定を行ってください。";
constexpr const char* kBlackText = "「処 理 内 容」を選択してください。";

class Page1 : public ::testing::Test {
 protected:
  void SetUp() override { lf::ForgetWindowPlaces(); }
  void TearDown() override { page.reset(); }

  // Collections in the test folder, named by the settings file page 1 reads.
  void UseTestCollections() {
    lf::Settings s;
    s.NNFileName = home.dir.Path("bookmark.htm");
    s.IEDirName = home.dir.Path("Favorites");
    lftest::MakeDirs(home.dir.NativePath("Favorites"));
    lf::Owner quiet;
    ASSERT_TRUE(lf::IniWrite(s, quiet));
  }

  // The test collections, with one link in the bookmark file.
  void UseTestCollectionsWithOneLink() {
    UseTestCollections();
    lftest::WriteFile(home.dir.NativePath("bookmark.htm"),
                      lftest::NetscapeFile({lftest::NetscapeLink("http://host/b", "B")}));
  }

  void Open() {
    page = std::make_unique<lf::TForm01>();
    page->show();
  }

  template <class T = QWidget>
  T* Get(const char* name) {
    T* widget = page->findChild<T*>(QLatin1String(name));
    if (!widget) throw std::runtime_error(std::string("no control ") + name);
    return widget;
  }
  void Click(const char* name) { QTest::mouseClick(Get(name), Qt::LeftButton); }
  bool On(const char* name) { return Get(name)->isEnabled(); }
  bool Shown(const char* name) { return !Get(name)->isHidden(); }
  // The memos shown, by number.
  std::vector<int> ShownMemos() {
    std::vector<int> shown;
    for (int n = 1; n <= 11; ++n)
      if (Shown(("Memo" + std::to_string(n)).c_str())) shown.push_back(n);
    return shown;
  }
  std::string Label(const char* name) { return Get<QLabel>(name)->text().toStdString(); }
  bool Red(const char* name) {
    return Get<QLabel>(name)->palette().color(QPalette::WindowText) == QColor(Qt::red);
  }
  std::string Settings() const {
    return lftest::Exists(home.IniNative()) ? lftest::ReadFile(home.IniNative()) : "";
  }

  lftest::ProgramHome home;
  lftest::ScriptedMessages messages;
  std::unique_ptr<lf::TForm01> page;
};

TEST_F(Page1, AFirstStartShowsNothingChosenAndAsksForTheLocations) {
  Open();
  EXPECT_EQ(page->windowTitle(), "Linkferry (1/2)");
  EXPECT_EQ(page->minimumSize(), page->maximumSize());  // a fixed border
  const QRect screen = page->screen()->geometry(), frame = page->frameGeometry();
  EXPECT_EQ(frame.topLeft(), QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                                    screen.y() + (screen.height() - frame.height()) / 2));
  EXPECT_EQ(Label("Label2"), lf::kVersionText);
  EXPECT_EQ(lf::AppSettings().Proc, 0);
  EXPECT_TRUE(ShownMemos().empty());
  EXPECT_FALSE(Shown("Label5"));
  EXPECT_FALSE(Shown("Bar"));
  EXPECT_FALSE(On("Button2"));
  EXPECT_TRUE(On("Button3"));
  EXPECT_FALSE(On("Button4"));
  EXPECT_EQ(Label("Label3"), kRedText);
  EXPECT_TRUE(Red("Label3"));

  Click("Button3");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "「処 理 内 容」を選択していません。\rどの処理を行うかの選択をしてください。");
  EXPECT_EQ(messages.shown[0].caption, "Ｌｉｎｋｆｅｒｒｙ");
  EXPECT_EQ(messages.shown[0].flags, lf::kMbIconWarning | lf::kMbOk);
  EXPECT_TRUE(page->isVisible());
  EXPECT_EQ(Settings(), "");  // nothing written
}

TEST_F(Page1, FindsMissingLocationsOnTheDrivesButStillAsksForThem) {
  const std::string c = home.dir.NativePath("c");
  lftest::MakeDirs(c + "/Program Files/Netscape/Users/taro");
  lftest::WriteFile(c + "/Program Files/Netscape/Users/taro/bookmark.htm", "");
  lftest::MakeDirs(c + "/WINDOWS/Favorites");
  platform::SetDriveRoot('C', c);
  platform::SetWindowsDirectory("C:\\WINDOWS");
  Open();
  EXPECT_EQ(lf::AppSettings().NNFileName, "C:\\Program Files\\Netscape\\Users\\taro\\bookmark.htm");
  EXPECT_EQ(lf::AppSettings().IEDirName, "C:\\WINDOWS\\Favorites");
  EXPECT_TRUE(Red("Label3"));
  EXPECT_EQ(Settings(), "");  // found values stay in memory until the next write
}

TEST_F(Page1, StoredLocationsAndAnOperationOutOfRange) {
  lftest::WriteFile(home.IniNative(),
                    "[Proc]\r\nProc=12\r\n[Dir]\r\nNNFileName=a.htm\r\nIEDirName=fav\r\n"
                    "[Check]\r\nOut=0x2\r\n");
  Open();
  EXPECT_EQ(lf::AppSettings().Proc, 0);
  EXPECT_TRUE(ShownMemos().empty());
  EXPECT_EQ(Label("Label3"), kBlackText);
  EXPECT_FALSE(Red("Label3"));
  EXPECT_EQ(page->Control().OutputCharset, 2);
  // The value that cannot be used is said on the page, once.
  EXPECT_TRUE(Shown("Label6"));
  EXPECT_TRUE(Red("Label6"));
  EXPECT_EQ(Label("Label6"), home.IniNative() + " の Proc=12 は使えない値です。0 を使います。");
  Click("Image1");
  EXPECT_FALSE(Shown("Label6"));
}

TEST_F(Page1, PicturesChooseTheOperationItsMemoAndTheButtons) {
  Open();
  Click("Image7");
  EXPECT_EQ(lf::AppSettings().Proc, 7);
  EXPECT_EQ(ShownMemos(), std::vector<int>{7});
  EXPECT_EQ(Get<QPlainTextEdit>("Memo7")->toPlainText().toStdString(),
            "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルから\n"
            "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルへ 追加を行います。\n\n"
            "「次へ」を押して処理を進めてください。");
  EXPECT_TRUE(On("Button3"));
  EXPECT_FALSE(On("Button4"));

  Click("Image11");
  EXPECT_EQ(lf::AppSettings().Proc, 11);
  EXPECT_EQ(ShownMemos(), std::vector<int>{11});
  EXPECT_EQ(Get<QPlainTextEdit>("Memo11")->toPlainText().split('\n').last().toStdString(),
            "「実 行」を押せば変換を行います。");
  EXPECT_FALSE(On("Button3"));
  EXPECT_TRUE(On("Button4"));
  EXPECT_FALSE(On("Button2"));

  // Three columns and four rows; 10 and 11 in the outer columns of the last row.
  auto at = [&](const char* name) { return Get(name)->geometry().topLeft(); };
  EXPECT_EQ(at("Image4").x(), at("Image1").x());
  EXPECT_EQ(at("Image2").y(), at("Image1").y());
  EXPECT_EQ(at("Image10").x(), at("Image7").x());
  EXPECT_EQ(at("Image11").x(), at("Image9").x());
  EXPECT_EQ(at("Image11").y(), at("Image10").y());
  EXPECT_GT(at("Image10").y(), at("Image7").y());
  EXPECT_EQ(Get("Image5")->size(), QSize(95, 20));
}

TEST_F(Page1, ExecuteRunsTheConversionShowsTheSummaryAndStoresTheSettings) {
  UseTestCollectionsWithOneLink();
  Open();
  Click("Image1");
  Click("Button4");
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  EXPECT_TRUE(lftest::Exists(home.dir.NativePath("Favorites/B.url")));
  EXPECT_TRUE(ShownMemos().empty());
  EXPECT_TRUE(Shown("Label5"));
  EXPECT_EQ(Label("Label5"), "ＩＥ ｕｒｌ数: 1, ＮＮ ｕｒｌ数: 1, 変換エラー数: 0");
  EXPECT_FALSE(Shown("Bar"));
  EXPECT_TRUE(On("Button2"));
  EXPECT_FALSE(On("Button3"));
  EXPECT_FALSE(On("Button4"));
  EXPECT_NE(Settings().find("Proc=1\r\n"), std::string::npos);
  EXPECT_NE(Settings().find("IEDirName=" + home.dir.Path("Favorites") + "\r\n"), std::string::npos);

  Click("Button2");  // back: the memo again, ready to run once more
  EXPECT_EQ(ShownMemos(), std::vector<int>{1});
  EXPECT_FALSE(Shown("Label5"));
  EXPECT_TRUE(On("Button4"));
  EXPECT_FALSE(On("Button2"));
}

TEST_F(Page1, NothingToWriteIsReportedAndThePageRefusesEverythingMeanwhile) {
  UseTestCollections();
  Open();
  Click("Image2");
  messages.onShow = [&](const lftest::ScriptedMessages::Shown&) {
    EXPECT_TRUE(page->Running());
    for (const char* name : {"Button1", "Button2", "Button3", "Button4", "Button5", "Image3"})
      EXPECT_FALSE(Get(name)->isEnabledTo(page.get())) << name;
    Click("Image3");
    Click("Button4");
    EXPECT_EQ(lf::AppSettings().Proc, 2);
    EXPECT_FALSE(page->close());
  };
  Click("Button4");
  messages.onShow = nullptr;
  ASSERT_EQ(messages.shown.size(), 1u) << ::testing::PrintToString(messages.Texts());
  EXPECT_EQ(messages.shown[0].text,
            "お気に入りのＵＲＬがありません。フォルダの再確認を行ってください。");
  EXPECT_EQ(messages.shown[0].flags, lf::kMbIconError | lf::kMbOk);
  EXPECT_EQ(Label("Label5"), "ＩＥ ｕｒｌ数: 0, ＮＮ ｕｒｌ数: 0, 変換エラー数: 0");
  EXPECT_FALSE(page->Running());
  EXPECT_TRUE(page->isVisible());
  EXPECT_TRUE(On("Button1"));
  EXPECT_TRUE(On("Button5"));
  EXPECT_TRUE(On("Image3"));
  EXPECT_FALSE(lftest::Exists(home.dir.NativePath("bookmark.htm")));
}

TEST_F(Page1, AnErrorNobodyHandledEndsTheRunWhereItHappened) {
  UseTestCollections();
  const std::string stored = Settings();
  Open();
  Click("Image2");
  bool thrown = false;
  messages.onShow = [&](const lftest::ScriptedMessages::Shown&) {
    if (!thrown) {
      thrown = true;
      throw std::runtime_error("disk gone");
    }
  };
  Click("Button4");
  messages.onShow = nullptr;
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, "disk gone");
  EXPECT_EQ(messages.shown[1].flags, lf::kMbIconError | lf::kMbOk);
  // No summary, no change of buttons, no settings written; the page works again.
  EXPECT_NE(Label("Label5"), "ＩＥ ｕｒｌ数: 0, ＮＮ ｕｒｌ数: 0, 変換エラー数: 0");
  EXPECT_TRUE(On("Button4"));
  EXPECT_FALSE(On("Button2"));
  EXPECT_TRUE(On("Button1"));
  EXPECT_EQ(Settings(), stored);
}

// "中止" beside the bar stops a run while it reads: nothing is written and the page says so.
// The Favorites reader has no bar of its own: the bar shows it at work.
TEST_F(Page1, StopWhileReadingWritesNothingAndSaysSo) {
  UseTestCollectionsWithOneLink();
  const std::string bookmarks = lftest::ReadFile(home.dir.NativePath("bookmark.htm"));
  Open();
  Click("Image1");
  bool stopped = false;
  QObject::connect(Get<QProgressBar>("Bar"), &QProgressBar::valueChanged, page.get(), [&] {
    if (stopped || !Shown("Button6")) return;
    stopped = true;
    Click("Button6");
  });
  Click("Button4");
  EXPECT_TRUE(stopped);
  EXPECT_EQ(Label("Label5"), "[ 処理が中断されました ]");
  EXPECT_TRUE(Red("Label5"));
  EXPECT_FALSE(Shown("Button6"));
  EXPECT_TRUE(lftest::Tree(home.dir.NativePath("Favorites")).empty());

  lftest::MakeUrlFile(home.dir, "Favorites/Sub/a.url", "http://a/");
  Click("Image2");
  bool busy = false;
  // The reader blinks the status label once per folder.
  lftest::EventFilter blink(Get("Label5"), QEvent::DynamicPropertyChange, [&] {
    if (busy) return;
    busy = Shown("Bar") && Get<QProgressBar>("Bar")->maximum() == 0 && On("Button6");
    Click("Button6");
  });
  Click("Button4");
  EXPECT_TRUE(busy);
  EXPECT_EQ(Label("Label5"), "[ 処理が中断されました ]");
  EXPECT_EQ(lftest::ReadFile(home.dir.NativePath("bookmark.htm")), bookmarks);
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  // The next run is a whole one again.
  Click("Button2");
  Click("Button4");
  EXPECT_EQ(Label("Label5"), "ＩＥ ｕｒｌ数: 1, ＮＮ ｕｒｌ数: 1, 変換エラー数: 0");
  EXPECT_FALSE(Red("Label5"));
}

TEST_F(Page1, ASettingsFileThatCannotBeWrittenIsReported) {
  UseTestCollections();
  Open();
  Click("Image2");
  page->Control().WriteFilter = lftest::FailAfter(0);
  {
    lftest::FileSizeLimit limit(0);  // the settings file has no filter of its own
    Click("Button4");
  }
  ASSERT_EQ(messages.shown.size(), 2u) << ::testing::PrintToString(messages.Texts());
  EXPECT_EQ(messages.shown[1].text, lftest::U(lf::IniFileName()) + " に書き込めません");
  EXPECT_EQ(messages.shown[1].flags, lf::kMbIconError | lf::kMbOk);
  EXPECT_EQ(lf::AppSettings().Proc, 2);
}

TEST_F(Page1, NextOpensTheSecondPageOrKeepsPage1) {
  UseTestCollections();
  Open();
  Click("Image5");
  Click("Button3");
  EXPECT_NE(Settings().find("Proc=5\r\n"), std::string::npos);
  if (QWidget* second = page->SecondPage()) {
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(page->isVisible());
    second->hide();
  } else {
    EXPECT_TRUE(page->isVisible());  // no page for it yet: page 1 stays
  }
}

TEST_F(Page1, EveryNextOpensANewPageOfItsKindAndBackReselectsTheOperation) {
  UseTestCollectionsWithOneLink();
  Open();
  const std::vector<std::pair<int, std::string>> kinds = {
      {4, "lf::TForm03"}, {5, "lf::TForm05"}, {6, "lf::TForm07"}, {7, "lf::TForm03"},
      {8, "lf::TForm05"}, {9, "lf::TForm07"}, {9, "lf::TForm07"}};
  QPointer<QWidget> previous;
  for (const auto& [proc, kind] : kinds) {
    Click(("Image" + std::to_string(proc)).c_str());
    Click("Button3");
    QPointer<QWidget> second = page->SecondPage();
    ASSERT_NE(second, nullptr) << proc;
    EXPECT_EQ(second->metaObject()->className(), kind);
    EXPECT_NE(second, previous) << proc;  // a new window at every press
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(page->isVisible());
    QApplication::processEvents();  // the page loads its collection
    QTest::mouseClick(second->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    ASSERT_TRUE(page->isVisible()) << proc;
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(ShownMemos(), std::vector<int>{proc});
    EXPECT_TRUE(On("Button3"));
    EXPECT_FALSE(On("Button4"));
    previous = second;
  }
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
}

// Without a mouse: Tab reaches the pictures, Space or Enter chooses one.
TEST_F(Page1, ThePicturesAnswerTheKeyboard) {
  Open();
  QWidget* image4 = Get("Image4");
  EXPECT_TRUE(image4->focusPolicy() & Qt::TabFocus);
  EXPECT_EQ(Get("Image3")->nextInFocusChain(), image4);
  QTest::keyClick(image4, Qt::Key_Space);
  EXPECT_EQ(lf::AppSettings().Proc, 4);
  EXPECT_EQ(ShownMemos(), std::vector<int>{4});
  QTest::keyClick(Get("Image11"), Qt::Key_Return);
  EXPECT_EQ(lf::AppSettings().Proc, 11);
  EXPECT_TRUE(On("Button4"));
}

// Page 1 is hidden while a second page is shown: "終了" there must still end the program,
// not leave it running without a window.
TEST_F(Page1, ExitOnASecondPageEndsTheProgram) {
  UseTestCollectionsWithOneLink();
  Open();
  for (int proc : {4, 5, 6}) {
    QTimer::singleShot(0, [&, proc] {
      Click(("Image" + std::to_string(proc)).c_str());
      Click("Button3");
      QWidget* second = page->SecondPage();
      ASSERT_NE(second, nullptr);
      QApplication::processEvents();  // the page loads its collection
      QTest::mouseClick(second->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(10000);
    EXPECT_EQ(QApplication::exec(), 0) << proc;
    EXPECT_FALSE(page->isVisible());
    page->show();
  }
}

// What the target cannot hold is said with the run's result, not in a box of its own.
TEST_F(Page1, ARunNamesWhatItsTargetCannotHoldWithItsResult) {
  lf::Settings s;
  s.NNFileName = home.dir.Path("bookmark.htm");
  s.IEDirName = home.dir.Path("Favorites");
  s.OPFileName = home.dir.Path("hot.adr");
  lftest::MakeDirs(home.dir.NativePath("Favorites"));
  lf::Owner quiet;
  ASSERT_TRUE(lf::IniWrite(s, quiet));
  lftest::WriteFile(home.dir.NativePath("bookmark.htm"),
                    lftest::NetscapeFile({"<DT><A HREF=\"http://t/\" TAGS=\"a,b\">T</A>"}));
  Open();
  Click("Image11");
  Click("Button4");
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  EXPECT_EQ(Label("Label6"), "Ｏｐｅｒａブックマークファイルに ＵＲＬ 1 件を書き込みました。\n[ " +
                                 home.dir.NativePath("hot.adr") +
                                 " ]には入らないため書かなかったもの：タグ 1 件");
}

// Records the text files the page opens in the desktop's viewer, instead of opening them.
class RecordingViewer : public lftest::ScriptedMessages {
 public:
  bool OpenTextFile(const std::string& path) override {
    opened.push_back(path);
    return true;
  }
  std::vector<std::string> opened;  // program paths
};

// After a run the page says what it wrote and, when it could not carry everything, how many
// items it listed and where the list is, with a button that opens it in the desktop's
// viewer. The status line follows the operation chosen and the run's end.
TEST_F(Page1, ARunSaysWhatItWroteAndWhereTheLostItemsAreListed) {
  UseTestCollections();
  lftest::MakeUrlFile(home.dir, "Favorites/News/a.url", "http://a/");
  lftest::WriteFile(home.dir.NativePath("Favorites/broken.url"), "[InternetShortcut]\r\n");
  RecordingViewer viewer;
  Open();
  EXPECT_EQ(Label("Label3"), kBlackText);
  Click("Image2");
  EXPECT_EQ(Label("Label3"), "「実 行」を押すと処理 2 を始めます。");
  Click("Button4");
  EXPECT_TRUE(viewer.shown.empty()) << ::testing::PrintToString(viewer.Texts());
  EXPECT_EQ(Label("Label3"), "処理 2 が終わりました。変換できなかったものがあります。");
  EXPECT_EQ(Label("Label5"), "ＩＥ ｕｒｌ数: 1, ＮＮ ｕｒｌ数: 1, 変換エラー数: 1");
  EXPECT_EQ(Label("Label6"),
            "ブックマークファイルに ＵＲＬ 1 件を書き込みました。\n"
            "変換できなかった 1 件を次のファイルに記録しました。");
  const std::string log = home.dir.NativePath("LostData.txt");  // beside the program here
  EXPECT_EQ(Get<QLineEdit>("LostDataPath")->text().toStdString(), log);
  EXPECT_NE(lftest::ReadFile(log).find("broken.url"), std::string::npos);
  EXPECT_TRUE(Shown("LostDataPath"));
  EXPECT_EQ(Get<QPushButton>("Button7")->text().toStdString(), "LostData.txt を開く");
  Click("Button7");
  ASSERT_EQ(viewer.opened.size(), 1u);
  std::string opened;
  ASSERT_EQ(platform::ToNativePath(viewer.opened[0], opened), 0);
  EXPECT_EQ(opened, log);

  // Back: the operation again, and nothing of the run.
  Click("Button2");
  EXPECT_EQ(Label("Label3"), "「実 行」を押すと処理 2 を始めます。");
  for (const char* name : {"Label5", "Label6", "LostDataPath", "Button7"})
    EXPECT_FALSE(Shown(name)) << name;
  Click("Image5");
  EXPECT_EQ(Label("Label3"), "「次へ >>」を押すと処理 5 の画面に進みます。");
}

// A second page opens centred on page 1 at its default size. Opened again it comes where the
// user left it, as large as they made it; the size stays in the settings file for the next
// start, in a section of its own.
TEST_F(Page1, SecondPagesOpenWhereAndAsLargeAsTheUserLeftThem) {
  UseTestCollections();
  Open();
  auto openSecondPage = [&] {
    Click("Button3");
    QWidget* second = page->SecondPage();
    EXPECT_TRUE(second);
    if (!second) return second;
    // Done once it has read the (empty) Favorites and says so.
    EXPECT_TRUE(QTest::qWaitFor([&] {
      auto* back = second->findChild<QPushButton*>("Button2");
      return back->text() == QString::fromUtf8("<< 戻る") &&
             !second->findChild<QLabel*>("Label1")->text().isEmpty();
    }));
    return second;
  };
  Click("Image6");
  QWidget* second = openSecondPage();
  ASSERT_TRUE(second);
  EXPECT_LE((second->frameGeometry().center() - page->frameGeometry().center()).manhattanLength(),
            2);
  second->resize(700, 500);
  second->move(30, 40);
  QTest::mouseClick(second->findChild<QPushButton*>("Button2"), Qt::LeftButton);
  ASSERT_TRUE(page->isVisible());

  second = openSecondPage();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->size(), QSize(700, 500));
  EXPECT_EQ(second->pos(), QPoint(30, 40));
  QTest::mouseClick(second->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  EXPECT_NE(Settings().find("[Window]\r\nDuplicateWidth=700\r\nDuplicateHeight=500\r\n"),
            std::string::npos)
      << Settings();
}

// Drives the settings dialog that "設定" opens.
void OnDialog(std::function<void(lf::TForm02&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<lf::TForm02*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

TEST_F(Page1, SettingsOkReselectsTheOperationAndClearsTheRedLabel) {
  lftest::WriteFile(home.dir.NativePath("bookmark.htm"), "");
  Open();
  ASSERT_TRUE(Red("Label3"));
  OnDialog([&](lf::TForm02& dialog) {
    dialog.findChild<QComboBox*>("NNCB")->setEditText(lf::FromSjis(home.dir.Path("bookmark.htm")));
    dialog.findChild<QComboBox*>("IECB")->setEditText(lf::FromSjis(home.dir.Path("Favorites")));
    dialog.findChild<QSpinBox*>("SpinEdit")->setValue(3);
    QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  });
  Click("Button5");
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  EXPECT_EQ(lf::AppSettings().Proc, 3);
  EXPECT_EQ(ShownMemos(), std::vector<int>{3});
  EXPECT_TRUE(On("Button4"));
  EXPECT_EQ(Label("Label3"), "「実 行」を押すと処理 3 を始めます。");
  EXPECT_FALSE(Red("Label3"));
  EXPECT_NE(Settings().find("Proc=3\r\n"), std::string::npos);

  OnDialog([](lf::TForm02& dialog) {
    dialog.findChild<QSpinBox*>("SpinEdit")->setValue(9);
    QTest::mouseClick(dialog.findChild<QPushButton*>("Button2"), Qt::LeftButton);
  });
  Click("Button5");
  EXPECT_EQ(lf::AppSettings().Proc, 3);
  EXPECT_EQ(ShownMemos(), std::vector<int>{3});
}

TEST_F(Page1, SettingsOkWithNoOperationAfterARunLeavesNothingChosen) {
  UseTestCollectionsWithOneLink();
  Open();
  Click("Image1");
  Click("Button4");
  ASSERT_TRUE(Shown("Label5"));
  ASSERT_TRUE(On("Button2"));
  OnDialog([](lf::TForm02& dialog) {
    dialog.findChild<QSpinBox*>("SpinEdit")->setValue(0);
    QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  });
  Click("Button5");
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  EXPECT_EQ(lf::AppSettings().Proc, 0);
  EXPECT_TRUE(ShownMemos().empty());
  EXPECT_FALSE(Shown("Label5"));  // the summary of the run is gone
  EXPECT_FALSE(On("Button2"));
  EXPECT_TRUE(On("Button3"));
  EXPECT_FALSE(On("Button4"));
  EXPECT_NE(Settings().find("Proc=0\r\n"), std::string::npos);
}

}  // namespace
