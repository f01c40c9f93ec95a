#include "pages/transfer_page.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "core/app_state.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "qtui/image_strip.h"
#include "qtui/window_places.h"
#include "tests/support/qt/event_filter.h"
#include "tests/support/qt/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::EventFilter;
using lftest::S;
using lftest::U;
using Lines = std::vector<std::string>;

// A bookmark file in Shift-JIS from UTF-8 lines.
std::string BookmarkFile(const Lines& utf8) {
  std::string out;
  for (const std::string& line : utf8) out += S(line) + "\r\n";
  return out;
}

class TransferPage : public testing::Test {
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
    platform::SetClock([] {
      platform::LocalDateTime t;
      t.year = 2002, t.month = 10, t.day = 18;
      return t;
    });
    lftest::MakeDirs(dir.NativePath("Favorites"));
  }
  void TearDown() override {
    delete page.data();
    platform::SetProgramPath(std::nullopt);
    platform::SetConfigHome(std::nullopt);
    platform::SetLoginName(std::nullopt);
    platform::SetClock({});
  }

  void Shortcut(const std::string& relative, const std::string& url) {
    const std::string native = dir.NativePath("Favorites/" + relative);
    lftest::MakeDirs(native.substr(0, native.rfind('/')));
    lftest::WriteFile(native, "[InternetShortcut]\r\nURL=" + url + "\r\n");
    // Added when the page's clock says it is, as the shortcut's time tells.
    const timespec added[2] = {{1034899200, 0}, {1034899200, 0}};
    utimensat(AT_FDCWD, native.c_str(), added, 0);
  }
  // Every file below the Favorites folder with its URL line, sorted.
  Lines Favorites() {
    Lines out;
    const std::filesystem::path root = dir.NativePath("Favorites");
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
      if (item.is_directory()) continue;
      std::string content = lftest::ReadFile(item.path().string());
      const std::size_t url = content.find("URL=");
      content =
          url == std::string::npos ? content : content.substr(url, content.find('\r', url) - url);
      out.push_back(std::filesystem::relative(item.path(), root).string() + " " + content);
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  // Opens the page for an operation as page 1 does and waits until it has loaded both sides.
  void Open(int proc) {
    lf::AppSettings().Proc = proc;
    page = new lf::TForm03(&page1);
    ASSERT_TRUE(page);
    page->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Loaded(); }));
  }
  bool Loaded() {
    return Child("Memo1")->isVisible() || Child("Memo2")->isVisible() ||
           LabelText() == "[ 処理が中断されました ]";
  }

  template <class T = QWidget>
  T* Child(const char* name) {
    T* child = page->findChild<T*>(name);
    EXPECT_TRUE(child) << name;
    return child;
  }
  QPushButton* Button(const char* name) { return Child<QPushButton>(name); }
  QTreeWidget* Tree(int side) { return Child<QTreeWidget>(side == 1 ? "TreeView1" : "TreeView2"); }
  QTreeWidget* List(int side) { return Child<QTreeWidget>(side == 1 ? "ListView1" : "ListView2"); }
  std::string LabelText() { return Child<QLabel>("Label1")->text().toStdString(); }
  static int Level(const QTreeWidgetItem* item) {
    int level = 0;
    for (; item->parent(); item = item->parent()) ++level;
    return level;
  }

  // The node reached from the top by captions (UTF-8).
  QTreeWidgetItem* Node(int side, const Lines& captions) {
    QTreeWidgetItem* item = nullptr;
    for (const std::string& caption : captions) {
      const int count = item ? item->childCount() : Tree(side)->topLevelItemCount();
      QTreeWidgetItem* next = nullptr;
      for (int i = 0; i < count && !next; ++i) {
        QTreeWidgetItem* child = item ? item->child(i) : Tree(side)->topLevelItem(i);
        if (child->text(0).toStdString() == caption) next = child;
      }
      EXPECT_TRUE(next) << caption;
      if (!next) return nullptr;
      item = next;
    }
    return item;
  }
  // Clicks a folder of one side, found by its captions below the root node.
  void ClickFolder(int side, Lines captions) {
    captions.insert(captions.begin(),
                    U(side == (proc() == 4 ? 1 : 2) ? lf::AppSettings().NNFileName
                                                    : lf::AppSettings().IEDirName));
    QTreeWidgetItem* node = Node(side, captions);
    ASSERT_TRUE(node);
    Tree(side)->scrollToItem(node);
    QTest::mouseClick(Tree(side)->viewport(), Qt::LeftButton, {},
                      Tree(side)->visualItemRect(node).center());
    ASSERT_EQ(Tree(side)->currentItem(), node);
  }
  int proc() const { return lf::AppSettings().Proc; }

  Lines Captions(int side) {
    Lines out;
    for (int i = 0; i < List(side)->topLevelItemCount(); ++i)
      out.push_back(List(side)->topLevelItem(i)->text(0).toStdString());
    return out;
  }
  void Select(int side, const Lines& captions) {
    List(side)->clearSelection();
    for (int i = 0; i < List(side)->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = List(side)->topLevelItem(i);
      if (std::find(captions.begin(), captions.end(), item->text(0).toStdString()) !=
          captions.end())
        item->setSelected(true);
    }
  }
  Lines Utf8(const lf::BookmarkList& sjis) {
    Lines out;
    for (const std::string& s : sjis) out.push_back(U(s));
    return out;
  }

  lftest::TempDir dir;
  lftest::ScriptedMessages messages;
  QWidget page1;
  QPointer<lf::TForm03> page;
};

const Lines kNetscapeSource = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<DL><p>",
    "<DT><H3 ADD_DATE=\"1\">ニュース</H3>",
    "<DL><p>",
    "<DT><A HREF=\"http://yahoo/\">Yahoo</A>",
    "<DT><A HREF=\"http://yahoo.jp/\">Yahoo Japan</A>",
    "<DT><A HREF=\"http://date/\">1999/10/01 news?</A>",
    "<DT><A HREF=\"http://soft/\">ソフト|ポ</A>",
    "</DL><p>",
    "<DT><A HREF=\"http://top/\">Top</A>",
    "</DL><p>",
};

TEST_F(TransferPage, CopiesBookmarksIntoFavoritesFolders) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(kNetscapeSource));
  Shortcut("A/existing.url", "http://e/");
  lftest::MakeDirs(dir.NativePath("Favorites/B"));
  Open(4);

  EXPECT_EQ(page->windowTitle(), "Linkferry (2/2)");
  EXPECT_TRUE(Node(1, {U(dir.Path("bookmark.htm")), "ニュース"}));
  EXPECT_TRUE(Node(2, {U(dir.Path("Favorites")), "A"}));
  EXPECT_TRUE(Child("Memo1")->isVisible());
  EXPECT_FALSE(Child("Memo2")->isVisible());
  EXPECT_FALSE(Child("Label1")->isVisible());
  EXPECT_FALSE(Child("Bar")->isVisible());
  EXPECT_TRUE(Button("BitBtn1")->isVisible());
  EXPECT_TRUE(Button("BitBtn2")->isEnabled());
  EXPECT_FALSE(Button("Button3")->isEnabled());
  EXPECT_FALSE(Button("Button4")->isEnabled());
  EXPECT_EQ(Button("Button2")->text().toStdString(), "<< 戻る");

  QTest::mouseClick(Button("BitBtn2"), Qt::LeftButton);
  ClickFolder(1, {"ニュース"});
  EXPECT_EQ(Captions(1), (Lines{"1999/10/01 news?", "Yahoo", "Yahoo Japan", "ソフト|ポ"}));
  Select(1, {"Yahoo", "1999/10/01 news?", "ソフト|ポ"});
  QTest::mouseClick(Button("BitBtn1"), Qt::LeftButton);
  // Bottom to top, each the entry named exactly like its item.
  const std::string news = U(dir.Path("Favorites")) + "\\ニュース\\腕腕";
  EXPECT_EQ(Utf8(page->CopyBuffer()),
            (Lines{news + "ソフト|ポ.url1\\http://soft/", news + "Yahoo.url1\\http://yahoo/",
                   news + "1999/10/01 news?.url1\\http://date/"}));

  QTest::mouseClick(Button("BitBtn2"), Qt::LeftButton);  // no folder on the right yet
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.Texts(), (Lines{"追加するＵＲＬファイルを選択していません。選択してください。",
                                     "格納するフォルダを選択していません。選択してください。"}));
  for (const auto& shown : messages.shown) {
    EXPECT_EQ(shown.flags, 0x10u);
    EXPECT_EQ(shown.caption, "Ｌｉｎｋｆｅｒｒｙ");
    EXPECT_EQ(shown.owner, page.data());
  }

  ClickFolder(2, {"A"});
  EXPECT_EQ(Captions(2), (Lines{"existing"}));
  QTest::mouseClick(Button("BitBtn2"), Qt::LeftButton);
  // A pasted link keeps its title; only its shortcut's file name drops what a file name
  // cannot hold, by the one rule every operation follows.
  EXPECT_EQ(Captions(2), (Lines{"1999/10/01 news?", "existing", "Yahoo", "ソフト|ポ"}));
  EXPECT_TRUE(Button("Button4")->isEnabled());
  ClickFolder(2, {});  // the root node: links directly in the Favorites folder
  QTest::mouseClick(Button("BitBtn2"), Qt::LeftButton);
  EXPECT_EQ(Captions(2), (Lines{"1999/10/01 news?", "Yahoo", "ソフト|ポ"}));

  QTest::mouseClick(Button("Button4"), Qt::LeftButton);
  EXPECT_EQ(LabelText(), "[ お気に入りに ＵＲＬ 7 件、フォルダ 2 件を書き込みました ]");
  EXPECT_EQ(Favorites(),
            (Lines{"19991001 news.url URL=http://date/", "A/19991001 news.url URL=http://date/",
                   "A/Yahoo.url URL=http://yahoo/", "A/existing.url URL=http://e/",
                   "A/ソフトポ.url URL=http://soft/", "Yahoo.url URL=http://yahoo/",
                   "ソフトポ.url URL=http://soft/"}));
  EXPECT_EQ(lf::AppRun().counters.ieUrlCount, 1 + 7);  // the read and the write
  EXPECT_FALSE(Button("Button4")->isEnabled());
  EXPECT_TRUE(Child("Label1")->isVisible());
  EXPECT_TRUE(Child("Memo1")->isVisible());
  EXPECT_TRUE(Button("Button2")->isEnabled());
  EXPECT_EQ(messages.shown.size(), 2u);
}

// True if an icon shows picture n of the strip in the given mode (a selected node shows its
// selected image).
bool ShowsPicture(const QIcon& icon, QIcon::Mode mode, int n) {
  const QImage shown = icon.pixmap(16, 16, mode).toImage().convertToFormat(QImage::Format_ARGB32);
  return shown ==
         lf::DirTreeImg().copy(16 * n, 0, 16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST_F(TransferPage, ShowsItsTextsAndTheStripPictures) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(kNetscapeSource));
  Open(4);
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText().toStdString(),
            "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークを「コピー」で選択し\n"
            "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルフォルダを\n"
            "選択して「張り付け」を押して追加してください。");
  EXPECT_EQ(Child<QPlainTextEdit>("Memo2")->toPlainText().toStdString(),
            "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルを「コピー」で選択し \n"
            "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルのフォルダを\n"
            "選択して「張り付け」を押して追加してください。");
  EXPECT_EQ(Button("BitBtn1")->text().toStdString(), "コピー");
  EXPECT_EQ(Button("BitBtn2")->text().toStdString(), "貼り付け");
  for (int side : {1, 2}) {
    EXPECT_EQ(List(side)->headerItem()->text(0).toStdString(), "URL 名称");
  }

  // The root node shows a closed folder also when selected, a folder node an open one.
  QTreeWidgetItem* root = Node(1, {U(dir.Path("bookmark.htm"))});
  QTreeWidgetItem* folder = Node(1, {U(dir.Path("bookmark.htm")), "ニュース"});
  ASSERT_TRUE(root && folder);
  EXPECT_TRUE(ShowsPicture(root->icon(0), QIcon::Normal, 0));
  EXPECT_TRUE(ShowsPicture(root->icon(0), QIcon::Selected, 0));
  EXPECT_TRUE(ShowsPicture(folder->icon(0), QIcon::Normal, 0));
  EXPECT_TRUE(ShowsPicture(folder->icon(0), QIcon::Selected, 1));
  ClickFolder(1, {"ニュース"});
  ASSERT_GT(List(1)->topLevelItemCount(), 0);
  EXPECT_TRUE(ShowsPicture(List(1)->topLevelItem(0)->icon(0), QIcon::Normal, 2));
}

TEST_F(TransferPage, CopiesAWholeLargeFolderInOnePass) {
  Lines file = {"<DL><p>", "<DT><H3>Big</H3>", "<DL><p>"};
  for (int i = 0; i < 20000; ++i)
    file.push_back("<DT><A HREF=\"http://h/" + std::to_string(i) + "\">link " + std::to_string(i) +
                   "</A>");
  file.insert(file.end(), {"</DL><p>", "</DL><p>"});
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(file));
  Open(4);
  ClickFolder(1, {"Big"});
  ASSERT_EQ(List(1)->topLevelItemCount(), 20000);
  List(1)->selectAll();
  QElapsedTimer timer;
  timer.start();
  QTest::mouseClick(Button("BitBtn1"), Qt::LeftButton);
  // Searching the list once per item takes about a minute here.
  EXPECT_LT(timer.elapsed(), 5000);
  const lf::BookmarkList copied = page->CopyBuffer();
  ASSERT_EQ(copied.size(), 20000u);
  // Bottom to top of the list sorted by name: "link 9999" first, "link 0" last.
  EXPECT_EQ(lf::TBookmarkControl::EntryUrl(copied.front()), "http://h/9999");
  EXPECT_EQ(lf::TBookmarkControl::EntryUrl(copied.back()), "http://h/0");
}

TEST_F(TransferPage, AddsFavoritesToTheBookmarkFile) {
  Shortcut("F/a?b.url", "http://ab/");
  Shortcut("F/ソフト.url", "http://soft/");
  Shortcut("F/skip.url", "http://skip/");
  const Lines target = {
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
      "<TITLE>Bookmarks</TITLE>",
      "<DL><p>",
      "<DT><H3 ADD_DATE=\"1\">News</H3>",
      "<DL><p>",
      "<DT><A HREF=\"http://old/\">old</A>",
      "</DL><p>",
      "<DT><A HREF=\"http://top/\">top</A>",
      "</DL><p>",
  };
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(target));
  Open(7);
  EXPECT_TRUE(Child("Memo2")->isVisible());
  EXPECT_TRUE(Node(1, {U(dir.Path("Favorites")), "F"}));
  EXPECT_TRUE(Node(2, {U(dir.Path("bookmark.htm")), "News"}));

  ClickFolder(1, {"F"});
  EXPECT_EQ(Captions(1), (Lines{"a?b", "skip", "ソフト"}));
  Select(1, {"a?b", "ソフト"});
  QTest::mouseClick(Button("BitBtn1"), Qt::LeftButton);
  ClickFolder(2, {"News"});
  QTest::mouseClick(Button("BitBtn2"), Qt::LeftButton);
  EXPECT_EQ(Captions(2), (Lines{"a?b", "old", "ソフト"}));

  lf::AppRun().counters.nnUrlCount = 0;
  std::string during;
  QObject::connect(Child<QProgressBar>("Bar"), &QProgressBar::valueChanged, page, [&] {
    if (during.empty()) during = LabelText();
  });
  QTest::mouseClick(Button("Button4"), Qt::LeftButton);
  EXPECT_EQ(during, "[ブックマークファイルの書き込み]");
  EXPECT_EQ(LabelText(), "[ ブックマークファイルに ＵＲＬ 4 件、フォルダ 1 件を書き込みました ]");
  EXPECT_EQ(U(lftest::ReadFile(dir.NativePath("bookmark.htm"))),
            U(BookmarkFile({
                "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
                "",
                "<!-- This is an automatically generated file.",
                "It will be read and overwritten.",
                "Do Not Edit! -->",
                "",
                "<TITLE>taro's Bookmarks</TITLE>",
                "<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=shift_jis\">",
                "<H1>taro's Bookmarks</H1>",
                "",
                "<DL><P>",
                "",
                "  <DT><H3 ADD_DATE=\"1\">News</H3>",
                "",
                "    <DL><P>",
                "    <DT><A HREF=\"http://ab/\" ADD_DATE=\"1034899200\" LAST_VISIT=\"0\" "
                "LAST_MODIFIED=\"0\">a?b</A>",
                "    <DT><A HREF=\"http://old/\" ADD_DATE=\"1034899200\" LAST_VISIT=\"0\" "
                "LAST_MODIFIED=\"0\">old</A>",
                "    <DT><A HREF=\"http://soft/\" ADD_DATE=\"1034899200\" LAST_VISIT=\"0\" "
                "LAST_MODIFIED=\"0\">ソフト</A>",
                "    </DL><P>",
                "",
                "  <DT><A HREF=\"http://top/\" ADD_DATE=\"1034899200\" LAST_VISIT=\"0\" "
                "LAST_MODIFIED=\"0\">top</A>",
                "  </DL><P>",
                "",
                "",
                "</DL><P>",
            })));
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("bookmark.old")), BookmarkFile(target));
  EXPECT_EQ(lf::AppRun().counters.nnUrlCount, 4);
  EXPECT_TRUE(Child("Memo2")->isVisible());
  EXPECT_FALSE(Button("Button4")->isEnabled());
}

TEST_F(TransferPage, FolderNamedLikeAUrlDoesNotUpsetTheCopy) {
  // "http:" in the folder name is not where the entry's URL begins.
  Shortcut("http:F/x.url", "http://x/");
  Open(7);
  ClickFolder(1, {"http:F"});
  ASSERT_EQ(List(1)->topLevelItemCount(), 1);
  List(1)->topLevelItem(0)->setSelected(true);
  QTest::mouseClick(Button("BitBtn1"), Qt::LeftButton);
  ASSERT_EQ(page->CopyBuffer().size(), 1u);
  EXPECT_EQ(lf::TBookmarkControl::EntryUrl(page->CopyBuffer()[0]), "http://x/");
}

// Cancels the first of the two loads of operation 4 or 7.
class TransferPageCancel : public TransferPage, public testing::WithParamInterface<int> {};

TEST_P(TransferPageCancel, CancelWhileLoadingLeavesOnlyTheWayOut) {
  for (int i = 0; i < 3; ++i) Shortcut("D" + std::to_string(i) + "/x.url", "http://x/");
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(kNetscapeSource));
  lf::AppSettings().Proc = GetParam();
  page = new lf::TForm03(&page1);
  bool checked = false;
  auto cancel = [&] {
    if (checked) return;
    checked = true;
    EXPECT_EQ(Button("Button2")->text().toStdString(), "キャンセル");
    EXPECT_FALSE(Button("Button1")->isEnabled());
    EXPECT_FALSE(Button("Button4")->isEnabled());
    EXPECT_FALSE(Tree(1)->isEnabled());
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
  };
  // The bookmark file reader advances the bar line by line; the Favorites reader blinks the
  // status label once per folder.
  QObject::connect(Child<QProgressBar>("Bar"), &QProgressBar::valueChanged, page, cancel);
  EventFilter blink(Child("Label1"), QEvent::DynamicPropertyChange, cancel);
  page->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Loaded(); }));
  EXPECT_TRUE(checked);
  EXPECT_TRUE(page->isVisible());
  EXPECT_EQ(LabelText(), "[ 処理が中断されました ]");
  EXPECT_TRUE(Child("Label1")->isVisible());
  EXPECT_EQ(Child("Label1")->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_EQ(Tree(2)->topLevelItemCount(), 0);  // the second side was not read
  EXPECT_FALSE(List(1)->isEnabled());
  EXPECT_FALSE(List(2)->isEnabled());
  EXPECT_FALSE(Button("BitBtn1")->isEnabled());
  EXPECT_FALSE(Button("BitBtn2")->isEnabled());
  EXPECT_TRUE(Button("BitBtn2")->isVisible());
  EXPECT_TRUE(Button("Button1")->isEnabled());
  EXPECT_EQ(Button("Button2")->text().toStdString(), "<< 戻る");
  EXPECT_TRUE(Tree(1)->isEnabled());
  EXPECT_FALSE(Button("Button4")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(BothOperations, TransferPageCancel, testing::Values(4, 7));

TEST_F(TransferPage, ClosingWhileLoadingStopsTheLoadAndCloses) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(kNetscapeSource));
  Shortcut("a.url", "http://a/");
  lf::AppSettings().Proc = 4;
  page = new lf::TForm03(&page1);
  page1.show();
  bool asked = false;
  QObject::connect(Child<QProgressBar>("Bar"), &QProgressBar::valueChanged, page, [&] {
    if (asked) return;
    asked = true;
    EXPECT_FALSE(page->close());  // once the read has returned
    EXPECT_TRUE(page->isVisible());
  });
  page->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !page1.isVisible(); }));
  EXPECT_TRUE(asked);
  EXPECT_EQ(lf::AppRun().counters.cancel, 1);
  EXPECT_EQ(lf::AppRun().counters.ieUrlCount, 0);  // the Favorites were not read
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(page);
}

// Copies the root links of the bookmark file into Favorites folder A.
class TransferPageWriting : public TransferPage {
 protected:
  void SetUp() override {
    TransferPage::SetUp();
    lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(kNetscapeSource));
    Shortcut("A/existing.url", "http://e/");
    Open(4);
    ClickFolder(1, {"ニュース"});
    Select(1, {"Yahoo", "Yahoo Japan"});
    QTest::mouseClick(Button("BitBtn1"), Qt::LeftButton);
    ClickFolder(2, {"A"});
    QTest::mouseClick(Button("BitBtn2"), Qt::LeftButton);
  }
};

TEST_F(TransferPageWriting, GoingBackDuringTheWriteLeavesOnceItHasFinished) {
  int during = 0;
  page1.hide();
  QObject::connect(Child<QProgressBar>("Bar"), &QProgressBar::valueChanged, page, [&] {
    if (during++) return;
    EXPECT_EQ(LabelText(), "[お気に入りファイルの書き込み]");
    EXPECT_TRUE(Child("Label1")->isVisible());
    EXPECT_FALSE(Child("Memo1")->isVisible());
    page->Button4Click();                                  // no second write
    QTest::mouseClick(Button("BitBtn2"), Qt::LeftButton);  // no paste into the list written
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    // Page 1 would be free to discard a hidden page while the write still runs in it.
    EXPECT_TRUE(page->isVisible());
    EXPECT_FALSE(page1.isVisible());
  });
  QTest::mouseClick(Button("Button4"), Qt::LeftButton);
  EXPECT_GT(during, 0);
  EXPECT_EQ(Favorites(), (Lines{"A/Yahoo Japan.url URL=http://yahoo.jp/",
                                "A/Yahoo.url URL=http://yahoo/", "A/existing.url URL=http://e/"}));
  EXPECT_EQ(lf::AppRun().counters.ieUrlCount, 1 + 3);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(page->TargetList().empty());
  EXPECT_FALSE(page->isVisible());
  EXPECT_TRUE(page1.isVisible());
}

TEST_F(TransferPageWriting, ClosingDuringTheWriteWaitsForIt) {
  bool during = false;
  QObject::connect(Child<QProgressBar>("Bar"), &QProgressBar::valueChanged, page, [&] {
    if (during) return;
    during = true;
    QTest::mouseClick(Button("Button1"), Qt::LeftButton);
    EXPECT_TRUE(page);
    EXPECT_TRUE(page->isVisible());
  });
  QTest::mouseClick(Button("Button4"), Qt::LeftButton);
  EXPECT_TRUE(during);
  EXPECT_EQ(lf::AppRun().counters.cancel, 1);
  EXPECT_FALSE(page1.isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(page);
}

// Every link that cannot be written has its own box; the first of a run offers to show no
// more of them in that run, and what they say still reaches the log and the count.
TEST_F(TransferPageWriting, OneRunAsksAtMostOnceAboutLinksItCannotWrite) {
  // A file has taken the folder's place since it was read: nothing can go into it.
  std::filesystem::remove_all(dir.NativePath("Favorites/A"));
  lftest::WriteFile(dir.NativePath("Favorites/A"), "");
  messages.takeQuiet = true;
  QTest::mouseClick(Button("Button4"), Qt::LeftButton);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].offeredQuiet);
  const std::string a = dir.NativePath("Favorites/A");
  const std::string reason = " [ " + U(platform::ErrorText(ENOTDIR)) + " ]\n";
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("LostData.txt")),
            "Dir  Error : " + a + reason + "File Error : " + a + "/existing.url" + reason +
                "File Error : " + a + "/Yahoo Japan.url" + reason + "File Error : " + a +
                "/Yahoo.url" + reason);
  EXPECT_EQ(lf::AppRun().counters.errorCount, 3);
  // Nothing pasted is lost: "実行" stays to write it again, in a run that asks again.
  EXPECT_EQ(LabelText(), "[ 書き込めませんでした。「実行」で再度書き込めます ]");
  EXPECT_TRUE(page->Unsaved());
  messages.takeQuiet = false;
  QTest::mouseClick(Button("Button4"), Qt::LeftButton);
  EXPECT_EQ(messages.shown.size(), 5u);
}

TEST_F(TransferPageWriting, ClosingWithPastedLinksAsksAndWritesThem) {
  messages.leaveAnswers = {lf::LeaveChoice::Save};
  QTest::mouseClick(Button("Button1"), Qt::LeftButton);
  EXPECT_EQ(messages.leaveQuestions,
            (Lines{"貼り付けたＵＲＬがファイルに反映されていません。\r反映してから閉じますか？"}));
  EXPECT_EQ(Favorites(), (Lines{"A/Yahoo Japan.url URL=http://yahoo.jp/",
                                "A/Yahoo.url URL=http://yahoo/", "A/existing.url URL=http://e/"}));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(page);
}

// The readers file everything under the Favorites setting without its trailing "\\"; the
// folders clicked are found there too.
TEST_F(TransferPage, AFavoritesSettingEndingInABackslashShowsTheLinks) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(kNetscapeSource));
  Shortcut("A/x.url", "http://x/");
  lf::AppSettings().IEDirName += "\\";
  Open(7);
  ClickFolder(1, {"A"});
  EXPECT_EQ(Captions(1), (Lines{"x"}));
  ClickFolder(2, {"ニュース"});
  EXPECT_EQ(Captions(2), (Lines{"1999/10/01 news?", "Yahoo", "Yahoo Japan", "ソフト|ポ"}));
}

TEST_F(TransferPage, BackShowsPageOneAndFreesTheLists) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(kNetscapeSource));
  Open(4);
  ClickFolder(1, {"ニュース"});
  Select(1, {"Yahoo"});
  QTest::mouseClick(Button("BitBtn1"), Qt::LeftButton);
  page1.hide();
  QTest::mouseClick(Button("Button2"), Qt::LeftButton);
  EXPECT_TRUE(page1.isVisible());
  EXPECT_FALSE(page->isVisible());
  EXPECT_TRUE(page->CopyBuffer().empty());
  // Nothing is left to work on.
  page->BitBtn1Click();
  page->BitBtn2Click();
  page->TreeView1Click();
  page->Button4Click();
  EXPECT_TRUE(messages.shown.empty());

  page->show();
  QTest::mouseClick(Button("Button1"), Qt::LeftButton);
  EXPECT_FALSE(page1.isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(page);
  EXPECT_EQ(Favorites(), Lines{});
}

// A bookmark file of 10^4 links in folders nested six deep below the root, named as people
// name them: Japanese words, English ones, numbers.
Lines LargeCollection() {
  static const char* const kWords[] = {
      "ニュース", "天気",   "旅行", "ソフトウェア", "料理",      "音楽", "映画",   "スポーツ",
      "技術",     "ブログ", "検索", "地図",         "辞書",      "大学", "図書館", "趣味",
      "仕事",     "Linux",  "News", "Daily",        "Reference", "Tools"};
  constexpr int kWordCount = static_cast<int>(std::size(kWords));
  auto name = [&](int i) {
    return std::string(kWords[i % kWordCount]) + kWords[(i / kWordCount + 3) % kWordCount] +
           std::to_string(i % 97);
  };
  Lines file = {"<DL><p>"};
  int links = 0, names = 0;
  for (int top = 0; top < 40; ++top) {
    for (int depth = 0; depth < 6; ++depth) {
      file.push_back("<DT><H3>" + name(names++) + "</H3>");
      file.push_back("<DL><p>");
      for (int k = 0; k < 42 && links < 10000; ++k, ++links)
        file.push_back("<DT><A HREF=\"http://www" + std::to_string(links % 5000) +
                       ".example.jp/\">" + name(names++) + "</A>");
    }
    for (int depth = 0; depth < 6; ++depth) file.push_back("</DL><p>");
  }
  file.push_back("</DL><p>");
  return file;
}

// The deepest folder of a large collection, with its whole path, and the root path are read
// at the default size without scrolling, the names of its links beside them.
TEST_F(TransferPage, TheDefaultSizeShowsTheDeepestFoldersOfALargeCollection) {
  lftest::WriteFile(dir.NativePath("bookmark.htm"), BookmarkFile(LargeCollection()));
  Open(4);
  page->resize(page->DefaultSize());
  QTreeWidget* tree = Tree(1);
  // The branch whose deepest caption reaches furthest right, opened.
  QTreeWidgetItem* widest = nullptr;
  int reach = 0;
  std::vector<std::pair<QTreeWidgetItem*, int>> pending = {{tree->topLevelItem(0), 0}};
  while (!pending.empty()) {
    auto [item, depth] = pending.back();
    pending.pop_back();
    const int right =
        depth * tree->indentation() + tree->fontMetrics().horizontalAdvance(item->text(0));
    if (right > reach) reach = right, widest = item;
    for (int i = 0; i < item->childCount(); ++i) pending.push_back({item->child(i), depth + 1});
  }
  ASSERT_TRUE(widest);
  for (QTreeWidgetItem* up = widest->parent(); up; up = up->parent()) up->setExpanded(true);
  tree->scrollToItem(widest);
  QApplication::processEvents();
  EXPECT_GE(Level(widest), 5);  // one of the deepest
  EXPECT_EQ(tree->horizontalScrollBar()->maximum(), 0) << widest->text(0).toStdString();
  EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualItemRect(widest)));

  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(widest).center());
  ASSERT_GT(List(1)->topLevelItemCount(), 0);
  // Every link name of the folder whole in its column, and the column whole in the list.
  int longest = 0;
  for (int i = 0; i < List(1)->topLevelItemCount(); ++i)
    longest = std::max(longest,
                       List(1)->fontMetrics().horizontalAdvance(List(1)->topLevelItem(i)->text(0)));
  EXPECT_LT(longest + 2 * List(1)->iconSize().width(), List(1)->columnWidth(0));
  EXPECT_LE(List(1)->columnWidth(0), List(1)->viewport()->width());
}

}  // namespace
