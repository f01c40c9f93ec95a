#include "pages/duplicate_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "core/app_state.h"
#include "core/duplicate_pairs.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "qtui/qt_owner.h"
#include "qtui/window_places.h"
#include "tests/support/qt/event_filter.h"
#include "tests/support/qt/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::EventFilter;
using lftest::S;
using lftest::U;
using Lines = std::vector<std::string>;

// Runs an action at the next processing of events, e.g. from inside a page's handler.
void Soon(std::function<void()> action) {
  QTimer::singleShot(0, action);
}

class DuplicatePage : public testing::Test {
 protected:
  void SetUp() override {
    lf::AppSettings() = lf::Settings();
    lf::AppSettings().IEDirName = dir.Path("Favorites");
    lf::AppSettings().NNFileName = dir.Path("bookmark.htm");
    lf::AppRun().counters = lf::RunCounters();
    platform::SetProgramPath(dir.Path("linkferry.exe"));
    // The window sizes the page reads are the test's own.
    platform::SetConfigHome(dir.Path("config"));
    lf::ForgetWindowPlaces();
    platform::SetLoginName(std::string("taro"));
    lftest::MakeDirs(dir.NativePath("Favorites"));
  }
  void TearDown() override {
    delete page.data();
    platform::SetProgramPath(std::nullopt);
    platform::SetConfigHome(std::nullopt);
    platform::SetLoginName(std::nullopt);
  }

  void Shortcut(const std::string& relative, const std::string& url) {
    const std::string native = dir.NativePath("Favorites/" + relative);
    lftest::MakeDirs(native.substr(0, native.rfind('/')));
    lftest::WriteFile(native, "[InternetShortcut]\r\nURL=" + url + "\r\n");
  }
  bool Favorite(const std::string& relative) {
    return lftest::Exists(dir.NativePath("Favorites/" + relative));
  }

  // Opens the page for an operation as page 1 does and waits until it has read and checked.
  void Open(int proc) {
    lf::AppSettings().Proc = proc;
    page = new lf::TForm07(&page1);
    ASSERT_TRUE(page);
    page->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Done(); }));
  }
  // The page has read and checked (it does so in one go once shown): it shows the
  // instructions or one of its end texts.
  bool Done() { return Child("Memo1")->isVisible() || !LabelText("Label1").empty(); }

  template <class T = QWidget>
  T* Child(const char* name) {
    T* child = page->findChild<T*>(name);
    EXPECT_TRUE(child) << name;
    return child;
  }
  QPushButton* Button(int n) { return Child<QPushButton>(("Button" + std::to_string(n)).c_str()); }
  QLabel* Label(const char* name) { return Child<QLabel>(name); }
  QTreeWidget* List() { return Child<QTreeWidget>("ListView"); }
  std::string LabelText(const char* name) { return Label(name)->text().toStdString(); }
  bool Red(const char* name) {
    return Label(name)->palette().color(QPalette::WindowText) == QColor(Qt::red);
  }

  // The rows in their shown order, columns joined by " | ".
  Lines Rows() {
    Lines rows;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) {
      std::string row;
      for (int c = 0; c < 5; ++c)
        row += (c ? " | " : "") + List()->topLevelItem(i)->text(c).toStdString();
      rows.push_back(row);
    }
    return rows;
  }
  // Clicks row i (counted in shown order).
  void ClickRow(int i) {
    QTreeWidgetItem* row = List()->topLevelItem(i);
    ASSERT_TRUE(row);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualItemRect(row).center());
    ASSERT_TRUE(row->isSelected());
  }

  lftest::TempDir dir;
  lftest::ScriptedMessages messages;
  QWidget page1;
  QPointer<lf::TForm07> page;
};

TEST_F(DuplicatePage, FavoritesListsEveryPairAndDeletesTheMarkedShortcuts) {
  Shortcut("F/b.url", "http://x/");
  Shortcut("F/c.URL", "http://x/");  // extension in capitals, as another program may write it
  Shortcut("G/keep.url", "http://y/");
  Shortcut("a.url", "http://x/");
  Shortcut("d.url", "http://X/");
  Shortcut("e.url", "http://x");
  Open(6);

  // After regrouping: 0 F.dir0, 1 b, 2 c, 3 G.dir0, 4 keep, 5 a, 6 d, 7 e.
  const std::string root = dir.NativePath("Favorites");
  EXPECT_EQ(Rows(), (Lines{"b | " + root + "/F/ | " + root + "/F/ | 1 | 2",
                           "b | " + root + "/F/ | " + root + "/ | 1 | 5",
                           "c | " + root + "/F/ | " + root + "/ | 2 | 5"}));
  EXPECT_EQ(page->windowTitle(), "Linkferry (2/2)");
  EXPECT_TRUE(Child("Memo1")->isVisible());
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText().toStdString(),
            "下記のListに表示されたものが、ダブリのものです。\n"
            "クリックして削除するＵＲＬのボタンを押してください。");
  EXPECT_FALSE(Label("Label1")->isVisible());
  EXPECT_FALSE(Child("Bar")->isVisible());
  EXPECT_TRUE(Button(4)->isEnabled());
  EXPECT_FALSE(Button(3)->isEnabled());
  EXPECT_EQ(Button(2)->text().toStdString(), "<< 戻る");
  EXPECT_FALSE(Child("BtnURL1")->isVisible());

  // Row 0: asked about side 2, the link c.URL (the row is named after b), answered Cancel:
  // nothing marked.
  ClickRow(0);
  EXPECT_EQ(LabelText("DelURL1"), root + "/F/");
  EXPECT_TRUE(Child("BtnURL2")->isVisible());
  messages.answers = {lf::kIdCancel};
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "フォルダ 「 " + root + "/F/ 」にある\rＵＲＬ 「 c 」を削除しますか？");
  EXPECT_EQ(messages.shown[0].caption, "Ｌｉｎｋｆｅｒｒｙ");
  EXPECT_EQ(messages.shown[0].flags, lf::kMbOkCancel | lf::kMbIconQuestion);
  EXPECT_EQ(messages.shown[0].owner, page.data());
  EXPECT_EQ(List()->topLevelItemCount(), 3);
  EXPECT_TRUE(page->Marks().empty());
  EXPECT_FALSE(Child("BtnURL1")->isVisible());
  EXPECT_EQ(LabelText("DelURL1"), "");
  EXPECT_FALSE(Label("Label2")->isVisible());

  // Marking side 2 (entry 5, a.url) removes only its row; the other row holding it stays and
  // marks it again without a second number.
  ClickRow(1);
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  EXPECT_EQ(page->Marks(), (std::set<std::size_t>{5}));
  EXPECT_TRUE(Label("Label2")->isVisible());
  EXPECT_EQ(LabelText("Label2"), "[ファイルへの反映は実行を押してください]");
  ASSERT_EQ(Rows().size(), 2u);
  ClickRow(1);  // c | F | root | 2 | 5
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  EXPECT_EQ(page->Marks(), (std::set<std::size_t>{5}));
  ClickRow(0);  // b | F | F | 1 | 2
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  EXPECT_EQ(page->Marks(), (std::set<std::size_t>{2, 5}));
  EXPECT_EQ(List()->topLevelItemCount(), 0);

  QTest::mouseClick(Button(4), Qt::LeftButton);
  EXPECT_EQ(LabelText("Label1"), "[ ＵＲＬファイル 2 件を削除しました ]");
  EXPECT_TRUE(Label("Label1")->isVisible());
  EXPECT_FALSE(Favorite("a.url"));
  EXPECT_FALSE(Favorite("F/c.URL"));
  EXPECT_TRUE(Favorite("F/b.url"));
  EXPECT_TRUE(Favorite("d.url"));
  EXPECT_TRUE(Favorite("e.url"));
  EXPECT_TRUE(Favorite("G/keep.url"));
  EXPECT_TRUE(Favorite("F"));
  EXPECT_FALSE(Button(4)->isEnabled());
  EXPECT_FALSE(Label("Label2")->isVisible());
  EXPECT_EQ(messages.shown.size(), 4u);  // the four questions, nothing else
}

TEST_F(DuplicatePage, DeletesTheShortcutFileItReadAndNoNeighbour) {
  // Names that differ only in the extension's letter case are two shortcuts here.
  Shortcut("F/c.URL", "http://x/");
  Shortcut("F/c.url", "http://other/");
  Shortcut("a.url", "http://x/");
  Shortcut("g.url", "http://y/");
  Shortcut("Gurl", "http://y/");  // taken as a shortcut, though it has no ".url"
  lf::AppSettings().DBL = 1;
  Open(6);
  // After regrouping: 0 F.dir0, 1 c.url, 2 c.URL, 3 a.url, 4 g.url, 5 Gurl.
  const std::string root = dir.NativePath("Favorites");
  ASSERT_EQ(Rows(), (Lines{"c | " + root + "/F/ | " + root + "/ | 2 | 3",
                           "g | " + root + "/ | " + root + "/ | 4 | 5"}));
  ClickRow(1);
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  ClickRow(0);
  QTest::mouseClick(Child<QPushButton>("BtnURL1"), Qt::LeftButton);
  EXPECT_EQ(page->Marks(), (std::set<std::size_t>{2, 5}));
  QTest::mouseClick(Button(4), Qt::LeftButton);
  EXPECT_FALSE(Favorite("F/c.URL"));
  EXPECT_FALSE(Favorite("Gurl"));
  EXPECT_TRUE(Favorite("F/c.url"));
  EXPECT_TRUE(Favorite("a.url"));
  EXPECT_TRUE(Favorite("g.url"));
}

TEST_F(DuplicatePage, BookmarkFileIsRewrittenWithoutTheMarkedLinks) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), S("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                                                      "<DL><p>\r\n"
                                                      "<DT><H3 ADD_DATE=\"1\">ニュース</H3>\r\n"
                                                      "<DL><p>\r\n"
                                                      "<DT><A HREF=\"http://x/\">二つ目</A>\r\n"
                                                      "</DL><p>\r\n"
                                                      "<DT><A HREF=\"http://x/\">一つ目</A>\r\n"
                                                      "<DT><A HREF=\"http://y/\">残す</A>\r\n"
                                                      "</DL><p>\r\n"));
  lf::AppSettings().DBL = 1;
  Open(9);
  // The folders of the bookmark file are shown below its root.
  EXPECT_EQ(Rows(), (Lines{"二つ目 | /ニュース/ | / | 1 | 2"}));

  ClickRow(0);
  QTest::mouseClick(Child<QPushButton>("BtnURL1"), Qt::LeftButton);
  EXPECT_TRUE(messages.shown.empty());  // DBL = 1 marks without asking
  EXPECT_EQ(page->Marks(), (std::set<std::size_t>{1}));

  lf::AppRun().counters.nnUrlCount = 0;
  QTest::mouseClick(Button(4), Qt::LeftButton);
  const std::string written = U(lftest::ReadFile(dir.NativePath("bookmark.htm")));
  EXPECT_EQ(written.find("二つ目"), std::string::npos);
  EXPECT_NE(written.find(">ニュース</H3>"), std::string::npos);
  EXPECT_NE(written.find("\"http://x/\""), std::string::npos);
  EXPECT_NE(written.find("\"http://y/\""), std::string::npos);
  EXPECT_EQ(lf::AppRun().counters.nnUrlCount, 2);
  EXPECT_TRUE(lftest::Exists(dir.NativePath("bookmark.old")));
  EXPECT_FALSE(Button(4)->isEnabled());
}

TEST_F(DuplicatePage, MarksBeyondTenThousandEntriesDeleteTheRightLinks) {
  // Links 00000 .. 10001 directly under the root; 3 and 5 share a URL, so do 10000 and 10001.
  std::string file = "<DL><p>\r\n";
  auto name = [](int i) {
    std::string digits = std::to_string(i);
    return "Link " + std::string(5 - digits.size(), '0') + digits;
  };
  for (int i = 0; i <= 10001; ++i) {
    const std::string url = i == 5       ? "http://dup/3"
                            : i == 10001 ? "http://dup/10000"
                                         : "http://dup/" + std::to_string(i);
    file += "<DT><A HREF=\"" + url + "\">" + name(i) + "</A>\r\n";
  }
  lftest::WriteFile(dir.NativePath("bookmark.htm"), file + "</DL><p>\r\n");
  lf::AppSettings().DBL = 1;
  Open(9);
  ASSERT_EQ(Rows(), (Lines{"Link 00003 | / | / | 3 | 5", "Link 10000 | / | / | 10000 | 10001"}));
  ClickRow(1);
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  ClickRow(0);
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  EXPECT_EQ(page->Marks(), (std::set<std::size_t>{5, 10001}));

  lf::AppRun().counters.nnUrlCount = 0;
  QTest::mouseClick(Button(4), Qt::LeftButton);
  const std::string written = lftest::ReadFile(dir.NativePath("bookmark.htm"));
  EXPECT_EQ(lf::AppRun().counters.nnUrlCount, 10000);
  for (int i : {3, 4, 6, 9999, 10000})
    EXPECT_NE(written.find(">" + name(i) + "<"), std::string::npos) << i;
  for (int i : {5, 10001}) EXPECT_EQ(written.find(">" + name(i) + "<"), std::string::npos) << i;
}

// Row after row would let every copy of a URL be marked, and "実行" delete the link for good.
TEST_F(DuplicatePage, TheLastCopyOfAUrlCannotBeMarked) {
  for (const char* name : {"a", "b", "c"}) Shortcut(std::string(name) + ".url", "http://x/");
  lf::AppSettings().DBL = 1;
  Open(6);
  const std::string f = dir.NativePath("Favorites") + "/";
  ClickRow(0);  // a | 0 | 1
  QTest::mouseClick(Child<QPushButton>("BtnURL1"), Qt::LeftButton);
  ClickRow(1);  // b | 1 | 2
  QTest::mouseClick(Child<QPushButton>("BtnURL1"), Qt::LeftButton);
  ASSERT_EQ(Rows(), (Lines{"a | " + f + " | " + f + " | 0 | 2"}));
  ClickRow(0);
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  EXPECT_EQ(messages.Texts(), (Lines{"このＵＲＬの最後の１件は削除できません。\r"
                                     "ほかの同じＵＲＬはすべて削除の指定がされています。"}));
  EXPECT_EQ(page->Marks(), (std::set<std::size_t>{0, 1}));
  EXPECT_EQ(Rows().size(), 1u);
  QTest::mouseClick(Button(4), Qt::LeftButton);
  EXPECT_TRUE(Favorite("c.url"));
  EXPECT_FALSE(Favorite("a.url"));
  EXPECT_FALSE(Favorite("b.url"));
}

TEST_F(DuplicatePage, RowsAnswerTheKeyboard) {
  Shortcut("F/b.url", "http://x/");
  Shortcut("a.url", "http://x/");
  Open(6);
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Down);
  EXPECT_EQ(LabelText("DelURL1"), dir.NativePath("Favorites") + "/F/");
  EXPECT_EQ(LabelText("DelURL2"), dir.NativePath("Favorites") + "/");
  EXPECT_TRUE(Child("BtnURL1")->isVisible());
  EXPECT_TRUE(Child("BtnURL2")->isVisible());
}

TEST_F(DuplicatePage, ShortcutsThatCannotBeDeletedAreCountedAndShown) {
  Shortcut("a.url", "http://x/");
  Shortcut("b.url", "http://x/");
  lf::AppSettings().DBL = 1;
  Open(6);
  ClickRow(0);
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  // Meanwhile b.url has become a folder with something in it.
  std::filesystem::remove(dir.NativePath("Favorites/b.url"));
  lftest::MakeDirs(dir.NativePath("Favorites/b.url/inside"));
  QTest::mouseClick(Button(4), Qt::LeftButton);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "ＵＲＬファイル 1 件の削除が出来ませんでした。\r[ " +
                                        dir.NativePath("Favorites") + "/b.url ] など\r[ " +
                                        U(platform::ErrorText(EISDIR)) + " ]");
  EXPECT_EQ(messages.shown[0].flags, unsigned{lf::kMbIconError});
  EXPECT_TRUE(Favorite("a.url"));
}

TEST_F(DuplicatePage, LeavingWithMarksAsksFirst) {
  Shortcut("a.url", "http://x/");
  Shortcut("b.url", "http://x/");
  lf::AppSettings().DBL = 1;
  Open(6);
  page1.hide();
  QTest::mouseClick(Button(2), Qt::LeftButton);  // nothing marked: nothing asked
  EXPECT_TRUE(messages.leaveQuestions.empty());
  delete page.data();

  Open(6);
  ClickRow(0);
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  messages.leaveAnswers = {lf::LeaveChoice::Stay, lf::LeaveChoice::Discard};
  QTest::mouseClick(Button(2), Qt::LeftButton);
  EXPECT_TRUE(page->isVisible());
  QTest::mouseClick(Button(2), Qt::LeftButton);
  EXPECT_FALSE(page->isVisible());
  EXPECT_EQ(messages.leaveQuestions,
            (Lines(2, "削除の指定がファイルに反映されていません。\r反映してから閉じますか？")));
  EXPECT_TRUE(Favorite("a.url"));
  EXPECT_TRUE(Favorite("b.url"));
}

TEST_F(DuplicatePage, EndTextsWhenNothingIsListed) {
  Open(6);  // an empty Favorites folder
  EXPECT_EQ(LabelText("Label1"), "[ ＵＲＬの情報がありませんでした ]");
  EXPECT_TRUE(Label("Label1")->isVisible());
  EXPECT_FALSE(Red("Label1"));
  EXPECT_FALSE(Button(4)->isEnabled());
  EXPECT_FALSE(Child("Memo1")->isVisible());
  delete page.data();

  // Two folders of the same name hold no links; two different links are no pair.
  lftest::MakeDirs(dir.NativePath("Favorites/A/http:x"));
  lftest::MakeDirs(dir.NativePath("Favorites/B/http:x"));
  Shortcut("one.url", "http://one/");
  Shortcut("two.url", "http://two/");
  Open(6);
  EXPECT_EQ(LabelText("Label1"), "[ ダブリのデータはありません ]");
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_FALSE(Button(4)->isEnabled());
  delete page.data();

  lftest::WriteFile(dir.NativePath("bookmark.htm"), "");
  Open(9);
  EXPECT_EQ(LabelText("Label1"), "[ ＵＲＬの情報がありませんでした ]");
}

TEST_F(DuplicatePage, ShortcutsWithoutAUrlGoToTheLostDataLog) {
  Shortcut("broken.url", "");
  Open(6);
  EXPECT_EQ(lf::AppRun().counters.errorCount, 1);
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("LostData.txt")),
            "URL Error : " + dir.NativePath("Favorites/broken.url") + "\n");
}

TEST_F(DuplicatePage, CancelDuringTheReadListsNothing) {
  for (int i = 0; i < 3; ++i) Shortcut("D" + std::to_string(i) + "/x.url", "http://x/");
  lf::AppSettings().Proc = 6;
  page = new lf::TForm07(&page1);
  // The reader blinks the status label once per folder.
  bool checked = false;
  EventFilter blink(Label("Label1"), QEvent::DynamicPropertyChange, [&] {
    if (checked) return;
    checked = true;
    EXPECT_EQ(LabelText("Label1"), "[ お気に入りファイルの読み込み ]");
    EXPECT_EQ(Button(2)->text().toStdString(), "キャンセル");
    EXPECT_FALSE(Button(1)->isEnabled());
    EXPECT_FALSE(Button(4)->isEnabled());
    QTest::mouseClick(Button(2), Qt::LeftButton);
  });
  page->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Done(); }));
  EXPECT_TRUE(checked);
  EXPECT_TRUE(page->isVisible());
  EXPECT_EQ(LabelText("Label1"), "[ 処理が中断されました ]");
  EXPECT_TRUE(Label("Label1")->isVisible());
  EXPECT_TRUE(Red("Label1"));
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_FALSE(Button(4)->isEnabled());
  EXPECT_TRUE(Button(1)->isEnabled());
  EXPECT_EQ(Button(2)->text().toStdString(), "<< 戻る");
}

TEST_F(DuplicatePage, CancelDuringTheCheckKeepsTheRowsFoundSoFar) {
  // Entries 0..2 share one URL, 3..5 another, 6..7 a third; cancelled at entry 4.
  for (const char* name : {"a", "b", "c"}) Shortcut(std::string(name) + ".url", "http://x/");
  for (const char* name : {"d", "e", "f"}) Shortcut(std::string(name) + ".url", "http://u/");
  for (const char* name : {"g", "h"}) Shortcut(std::string(name) + ".url", "http://z/");
  lf::AppSettings().Proc = 6;
  page = new lf::TForm07(&page1);
  QObject::connect(Child<QProgressBar>("Bar"), &QProgressBar::valueChanged, page, [&](int value) {
    if (value != 4) return;
    EXPECT_EQ(LabelText("Label1"), "[ ＵＲＬダブリチェック中 ]");
    EXPECT_TRUE(Child("Bar")->isVisible());
    QTest::mouseClick(Button(2), Qt::LeftButton);
  });
  page->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Done(); }));
  const std::string f = dir.NativePath("Favorites") + "/";
  EXPECT_EQ(Rows(), (Lines{"a | " + f + " | " + f + " | 0 | 1", "a | " + f + " | " + f + " | 0 | 2",
                           "b | " + f + " | " + f + " | 1 | 2", "d | " + f + " | " + f + " | 3 | 4",
                           "d | " + f + " | " + f + " | 3 | 5"}));
  // What was found can still be applied.
  EXPECT_TRUE(Button(4)->isEnabled());
  EXPECT_TRUE(Child("Memo1")->isVisible());
}

// Marks b.url of the pair a.url / b.url and presses "実行", pressing button n meanwhile.
class DuplicatePageDeleting : public DuplicatePage, public testing::WithParamInterface<int> {};

TEST_P(DuplicatePageDeleting, LeavingDuringTheDeletionWaitsForIt) {
  Shortcut("a.url", "http://x/");
  Shortcut("b.url", "http://x/");
  lf::AppSettings().DBL = 1;
  Open(6);
  ClickRow(0);
  QTest::mouseClick(Child<QPushButton>("BtnURL2"), Qt::LeftButton);
  page1.hide();

  bool during = false;
  Soon([&] {
    page->Button4Click();  // refused: the deletion runs
    QTest::mouseClick(Button(GetParam()), Qt::LeftButton);
    EXPECT_TRUE(page);
    EXPECT_TRUE(page->isVisible());
    EXPECT_FALSE(page1.isVisible());
    during = true;
  });
  QTest::mouseClick(Button(4), Qt::LeftButton);
  EXPECT_TRUE(during);
  EXPECT_TRUE(Favorite("a.url"));
  EXPECT_FALSE(Favorite("b.url"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (GetParam() == 1) {  // closed, and page 1 with it
    EXPECT_FALSE(page);
    EXPECT_EQ(lf::AppRun().counters.cancel, 1);
  } else {  // back on page 1
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->isVisible());
    EXPECT_TRUE(page1.isVisible());
  }
}

INSTANTIATE_TEST_SUITE_P(CloseOrBack, DuplicatePageDeleting, testing::Values(1, 2));

TEST_F(DuplicatePage, BackShowsPageOneAndClosingEndsIt) {
  Shortcut("a.url", "http://x/");
  Shortcut("b.url", "http://x/");
  Open(6);
  page1.hide();
  QTest::mouseClick(Button(2), Qt::LeftButton);
  EXPECT_TRUE(page1.isVisible());
  EXPECT_FALSE(page->isVisible());
  EXPECT_TRUE(page->Marks().empty());
  // Marking after the lists are gone does nothing.
  page->BtnURL1Click();
  page->Button4Click();

  page->show();
  QTest::mouseClick(Button(1), Qt::LeftButton);
  EXPECT_FALSE(page1.isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(page);
  EXPECT_TRUE(Favorite("a.url"));
  EXPECT_TRUE(Favorite("b.url"));
}

// At the default size every column of a pair is in sight, in this order: both links, each
// with its name and folder, the address they share, the entry numbers. The buttons say which
// link each one deletes.
TEST_F(DuplicatePage, TheDefaultSizeShowsBothLinksOfAPair) {
  const std::string url = "http://lkml.example.org/archive/2002/10/index.html";
  Shortcut("1 ソフトウェア/技術資料/Linuxカーネル & メーリングリスト.url", url);
  Shortcut("2 仕事/参考/LKML アーカイブ 2002年10月分.url", url);
  Open(6);
  page->resize(page->DefaultSize());
  QApplication::processEvents();

  QHeaderView* header = List()->header();
  Lines shown;
  for (int visual = 0; visual < header->count(); ++visual) {
    const int column = header->logicalIndex(visual);
    const int right = header->sectionViewportPosition(column) + header->sectionSize(column);
    if (header->sectionSize(column) > 0 && right <= List()->viewport()->width())
      shown.push_back(List()->headerItem()->text(column).toStdString());
  }
  EXPECT_EQ(shown, (Lines{"URL 名称", "URL フォルダ", "Dbl URL 名称", "Dbl URL フォルダ",
                          "URL アドレス", "URL No.", "Dbl URL No."}));
  ASSERT_EQ(List()->topLevelItemCount(), 1);
  QTreeWidgetItem* row = List()->topLevelItem(0);
  // Both names whole in their cells, beside the picture of the first.
  const int picture = List()->iconSize().width() + 8;
  for (int visual : {0, 2}) {
    const int column = header->logicalIndex(visual);
    EXPECT_LT(List()->fontMetrics().horizontalAdvance(row->text(column)) + picture,
              header->sectionSize(column))
        << row->text(column).toStdString();
  }

  ClickRow(0);
  const std::string root = dir.NativePath("Favorites");
  // "&&" shows one "&" (and makes no shortcut key of the next letter).
  EXPECT_EQ(Child<QPushButton>("BtnURL1")->text().toStdString(),
            "「Linuxカーネル && メーリングリスト」を削除");
  EXPECT_EQ(LabelText("DelURL1"), root + "/1 ソフトウェア/技術資料/");
  EXPECT_EQ(Child<QPushButton>("BtnURL2")->text().toStdString(),
            "「LKML アーカイブ 2002年10月分」を削除");
  EXPECT_EQ(LabelText("DelURL2"), root + "/2 仕事/参考/");
  EXPECT_EQ(LabelText("Label3"), "ＵＲＬ アドレス: " + url);
}

}  // namespace
