#include "pages/editor_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>

#include "core/app_state.h"
#include "core/editor_list.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "pages/url_dialog.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "qtui/browser.h"
#include "qtui/qt_owner.h"
#include "qtui/qt_views.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_places.h"
#include "tests/support/failing_writes.h"
#include "tests/support/fakes.h"
#include "tests/support/qt/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using lftest::S;
using lftest::U;
using Lines = std::vector<std::string>;

// Page 1 as far as the editor page needs it: a window that can be shown and closed.
class Page1 : public QWidget {
 public:
  int closes = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++closes;
    QWidget::closeEvent(event);
  }
};

std::string Shortcut(const std::string& url) {
  return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

// A Netscape bookmark file from lines in UTF-8 (kept in Shift-JIS).
std::string BookmarkFile(const Lines& body) {
  std::string text =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n"
      "<H1>Bookmarks</H1>\r\n<DL><p>\r\n";
  for (const std::string& line : body) text += S(line) + "\r\n";
  return text + "</DL><p>\r\n";
}

std::string Folder(const std::string& name) {
  return "<DT><H3 ADD_DATE=\"1\">" + name + "</H3>";
}
std::string Link(const std::string& url, const std::string& name) {
  return "<DT><A HREF=\"" + url + "\" ADD_DATE=\"1\">" + name + "</A>";
}

class EditorPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QApplication::setQuitOnLastWindowClosed(false);
    lf::AppRun().counters = {};
    lf::Settings& settings = lf::AppSettings();
    settings = {};
    settings.IEDirName = dir.Path("Favorites");
    settings.NNFileName = dir.Path("bookmark.htm");
    lftest::MakeDirs(dir.NativePath("Favorites"));
    // The lost-data log goes beside the program: keep it in the test's folder.
    lftest::MakeDirs(dir.NativePath("bin"));
    platform::SetProgramPath(dir.Path("bin/linkferry"));
    // The window sizes the page reads are the test's own.
    platform::SetConfigHome(dir.Path("config"));
    lf::ForgetWindowPlaces();
  }
  void TearDown() override {
    platform::SetProgramPath(std::nullopt);
    platform::SetConfigHome(std::nullopt);
  }

  void AddShortcut(const std::string& relative, const std::string& url) {
    const fs::path path = dir.NativePath("Favorites/" + relative);
    fs::create_directories(path.parent_path());
    lftest::WriteFile(path.string(), Shortcut(url));
  }

  lf::TForm05* Open(int proc) {
    lf::AppSettings().Proc = proc;
    page = new lf::TForm05(&page1);
    EXPECT_NE(page, nullptr) << "operation " << proc;
    page->show();
    page->FormActivate();
    return page;
  }

  template <typename T>
  T* Find(const char* name) {
    T* widget = page->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QTreeWidget* Tree() { return Find<QTreeWidget>("TreeView"); }
  QTreeWidget* List() { return Find<QTreeWidget>("ListView"); }

  // The tree node reached from the root by captions (UTF-8).
  QTreeWidgetItem* Node(const Lines& captions) {
    QTreeWidgetItem* node = Tree()->topLevelItem(0);
    for (const std::string& caption : captions) {
      QTreeWidgetItem* next = nullptr;
      for (int i = 0; node && i < node->childCount() && !next; ++i)
        if (node->child(i)->text(0) == QString::fromStdString(caption)) next = node->child(i);
      node = next;
    }
    return node;
  }
  void Choose(const Lines& captions) {
    QTreeWidgetItem* node = Node(captions);
    ASSERT_NE(node, nullptr);
    Tree()->setCurrentItem(node);
  }
  Lines Captions(const QTreeWidgetItem* parent = nullptr) {
    Lines out;
    if (parent) {
      for (int i = 0; i < parent->childCount(); ++i)
        out.push_back(parent->child(i)->text(0).toStdString());
    } else {
      for (int i = 0; i < List()->topLevelItemCount(); ++i)
        out.push_back(List()->topLevelItem(i)->text(0).toStdString());
    }
    return out;
  }
  // Selects the list items of these captions (the first item of each caption).
  void Select(const Lines& captions) {
    List()->clearSelection();
    for (const std::string& caption : captions)
      for (int i = 0; i < List()->topLevelItemCount(); ++i)
        if (List()->topLevelItem(i)->text(0) == QString::fromStdString(caption)) {
          List()->topLevelItem(i)->setSelected(true);
          break;
        }
  }
  void Click(const char* button) {
    QAbstractButton* b = Find<QAbstractButton>(button);
    ASSERT_TRUE(b->isVisible() && b->isEnabled()) << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  // Answers the next URL information dialog from inside its modal loop.
  void AnswerDialog(const QString& name, const QString& address, bool ok = true) {
    QTimer::singleShot(0, [=] {
      auto* dialog = qobject_cast<lf::TForm06*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      for (auto [field, text] : {std::pair{"Edit1", name}, std::pair{"Edit2", address}}) {
        auto* edit = dialog->findChild<QLineEdit*>(field);
        edit->selectAll();
        edit->insert(text);
        if (text.isEmpty()) edit->del();
      }
      QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? "Button1" : "Button2"),
                        Qt::LeftButton);
    });
  }

  // The page's list in UTF-8, the root path shown as R.
  Lines Entries() {
    Lines out;
    const std::string root = U(lf::AppSettings().IEDirName);
    for (const std::string& entry : page->List()) {
      std::string line = U(entry);
      if (line.rfind(root, 0) == 0) line = "R" + line.substr(root.size());
      out.push_back(line);
    }
    return out;
  }
  int CountEntries(const std::string& entry) {
    const Lines entries = Entries();
    return static_cast<int>(std::count(entries.begin(), entries.end(), entry));
  }
  // What the Favorites folder holds: one line per folder and file, files with their URL.
  Lines Disk() {
    Lines out;
    const fs::path base = dir.NativePath("Favorites");
    for (auto it = fs::recursive_directory_iterator(base); it != fs::recursive_directory_iterator();
         ++it) {
      std::string line = fs::relative(it->path(), base).string();
      if (it->is_regular_file()) {
        const std::string content = lftest::ReadFile(it->path().string());
        const std::size_t url = content.find("URL=");
        line +=
            " = " + (url == std::string::npos ? content
                                              : content.substr(url + 4, content.size() - url - 6));
      } else {
        line += "/";
      }
      out.push_back(line);
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  // Everything beside the Favorites folder (the temporary folder's other items).
  Lines Beside() {
    Lines out;
    for (const auto& item : fs::directory_iterator(dir.Native()))
      out.push_back(item.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

  lftest::TempDir dir;
  lftest::ScriptedMessages messages;
  Page1 page1;
  QPointer<lf::TForm05> page;
};

TEST_F(EditorPageTest, LoadingTheFavoritesShowsTheTreeAndTheEditingButtons) {
  AddShortcut("News/Daily.url", "http://host/news/");
  AddShortcut("Top.url", "http://host/");
  Open(5);

  EXPECT_EQ(page->windowTitle(),
            QString::fromUtf8("Linkferry (2/2) Ｂｏｏｋｍａｒｋファイルの編集"));
  EXPECT_EQ(page->property("HelpContext").toInt(), 13);
  ASSERT_EQ(Tree()->topLevelItemCount(), 1);
  EXPECT_EQ(lf::ToSjis(Tree()->topLevelItem(0)->text(0)), lf::AppSettings().IEDirName);
  EXPECT_EQ(Captions(Tree()->topLevelItem(0)), (Lines{"News"}));
  EXPECT_EQ(Entries(), (Lines{"R\\News.dir0", "R\\News\\腕腕Daily.url1\\http://host/news/",
                              "R\\腕腕Top.url0\\http://host/"}));

  const std::pair<const char*, const char*> hints[] = {
      {"BtnNNfile", "ブックマークファイルの読み込み（マージを行う）"},
      {"BtnAdd", "新規フォルダの追加"},
      {"BtnDel", "フォルダの削除"},
      {"BtnNew", "URLの新規作成"},
      {"BtnMove", "URLの移動"},
      {"BtnURL", "URLの削除"}};
  for (auto [name, hint] : hints) {
    auto* button = Find<QToolButton>(name);
    EXPECT_TRUE(button->isVisible()) << name;
    EXPECT_FALSE(button->isEnabled()) << name;
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint));
  }
  EXPECT_EQ(Find<QToolButton>("BtnNew")->text(), QString::fromUtf8("新規"));
  EXPECT_EQ(Find<QToolButton>("BtnMove")->text(), QString::fromUtf8("移動"));
  EXPECT_EQ(Find<QToolButton>("BtnURL")->text(), QString::fromUtf8("削除"));
  EXPECT_FALSE(Find<QPushButton>("BtnOK")->isVisible());
  EXPECT_FALSE(Find<QPushButton>("BtnCan")->isVisible());
  EXPECT_EQ(Find<QPushButton>("BtnCan")->text(), QString::fromUtf8("キャンセル"));
  EXPECT_TRUE(Find<QPlainTextEdit>("Memo")->isVisible());
  EXPECT_EQ(
      Find<QPlainTextEdit>("Memo")->toPlainText(),
      QString::fromUtf8("フォルダの 「追加」 「削除」 はボタンで、名称変更は直接行ってください。\n"
                        "お気に入りファイルも同様の方法で行ってください。 ＵＲＬの移動はリスト\n"
                        "から選択後「移動」 を押してフォルダを決定し 「ＯＫ」を押してください。"));
  EXPECT_FALSE(Find<QLabel>("Label1")->isVisible());
  EXPECT_FALSE(Find<QProgressBar>("Bar")->isVisible());
  EXPECT_TRUE(Find<QPushButton>("Button4")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("Button3")->isEnabled());
  EXPECT_EQ(Find<QPushButton>("Button2")->text(), QString::fromUtf8("<< 戻る"));
  EXPECT_EQ(List()->headerItem()->text(0), QString::fromUtf8("URL 名称"));
  EXPECT_EQ(page->minimumSize(), QSize(420, 335));
}

TEST_F(EditorPageTest, TheListShowsOneFolderAndItsHintOpensTheRightLink) {
  AddShortcut("News/Yahoo.url", "http://yahoo/");
  AddShortcut("News/Yahoo Japan.url", "http://yahoo.jp/");
  AddShortcut("News2/Other.url", "http://other/");
  Open(5);

  Choose({"News"});
  EXPECT_EQ(Captions(), (Lines{"Yahoo", "Yahoo Japan"}));
  EXPECT_TRUE(Find<QToolButton>("BtnAdd")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>("BtnDel")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>("BtnNew")->isEnabled());
  EXPECT_FALSE(Find<QToolButton>("BtnURL")->isEnabled());

  Select({"Yahoo Japan", "Yahoo"});  // the topmost selected item gives the hint
  EXPECT_EQ(List()->toolTip(), "http://yahoo/");
  EXPECT_TRUE(Find<QToolButton>("BtnURL")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>("BtnMove")->isEnabled());
  EXPECT_FALSE(Find<QToolButton>("BtnAdd")->isEnabled());
  EXPECT_FALSE(Find<QToolButton>("BtnDel")->isEnabled());

  Click("Image");
  EXPECT_EQ(messages.openedUrls, (Lines{"http://yahoo/"}));
  EXPECT_TRUE(messages.shown.empty());

  messages.browserAvailable = false;
  Click("Image");
  EXPECT_EQ(messages.beeps, 1);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Web プラウザプログラムを起動できませんでした。");
  EXPECT_EQ(messages.shown[0].flags, unsigned{lf::kMbIconWarning});
}

TEST_F(EditorPageTest, NewFoldersAreAddedUnderTheChosenFolderAndRenamedInPlace) {
  AddShortcut("News/Daily.url", "http://d/");
  AddShortcut("News/Sub/Deep.url", "http://deep/");
  AddShortcut("News2/Other.url", "http://o/");
  Open(5);

  Choose({});
  Click("BtnAdd");
  EXPECT_FALSE(Find<QToolButton>("BtnAdd")->isEnabled());
  page->BtnAddClick();  // a second one without a tree click in between
  EXPECT_EQ(Captions(Node({})), (Lines{"News", "News2", "新規フォルダ", "新規フォルダ"}));
  EXPECT_EQ(CountEntries("R\\新規フォルダ.dir0"), 2);

  // Renaming one of two identical folders leaves the other one its entry.
  Choose({"新規フォルダ"});
  Node({"新規フォルダ"})->setText(0, "Work");
  EXPECT_EQ(CountEntries("R\\新規フォルダ.dir0"), 1);
  EXPECT_EQ(CountEntries("R\\Work.dir0"), 1);

  Choose({"News"});
  Node({"News"})->setText(0, QString::fromUtf8("ニュース"));
  const Lines renamed = Entries();
  for (const char* entry :
       {"R\\ニュース.dir0", "R\\ニュース\\腕腕Daily.url1\\http://d/", "R\\ニュース\\Sub.dir1",
        "R\\ニュース\\Sub\\腕腕Deep.url2\\http://deep/", "R\\News2.dir0",
        "R\\News2\\腕腕Other.url1\\http://o/"})
    EXPECT_NE(std::find(renamed.begin(), renamed.end(), entry), renamed.end()) << entry;
  EXPECT_EQ(std::count_if(renamed.begin(), renamed.end(),
                          [](const std::string& e) { return e.find("R\\News\\") == 0; }),
            0);
  // The renamed folder stays the chosen one: a new folder goes into it.
  EXPECT_EQ(U(page->CurrentFolderPath()), U(lf::AppSettings().IEDirName) + "\\ニュース");

  // Names that would not stay one folder, and the root, change nothing in the list.
  const Lines before = Entries();
  for (const char* bad : {"..", ".", "a\\b", "a/b", ""}) {
    Node({"ニュース"})->setText(0, QString::fromUtf8(bad));
    EXPECT_EQ(Node({"ニュース"})->text(0), QString::fromUtf8("ニュース")) << bad;
  }
  EXPECT_EQ(messages.beeps, 5);
  Choose({});
  Tree()->topLevelItem(0)->setText(0, "Everything");
  EXPECT_EQ(Tree()->topLevelItem(0)->text(0), "Everything");
  EXPECT_EQ(Entries(), before);

  Click("Button4");
  EXPECT_EQ(Disk(), (Lines{"News2/", "News2/Other.url = http://o/", "Work/", "ニュース/",
                           "ニュース/Daily.url = http://d/", "ニュース/Sub/",
                           "ニュース/Sub/Deep.url = http://deep/", "新規フォルダ/"}));
}

TEST_F(EditorPageTest, DeletingAFolderLiftsItsLinksAndDropsItsSubFolders) {
  AddShortcut("A/a1.url", "http://a1/");
  AddShortcut("A/B/b1.url", "http://b1/");
  fs::create_directories(dir.NativePath("Favorites/A/B/C"));
  AddShortcut("News/n.url", "http://n/");
  AddShortcut("News2/n2.url", "http://n2/");
  AddShortcut("Fav/f.url", "http://f/");  // a name the Favorites folder's own name begins with
  AddShortcut("top.url", "http://top/");
  Open(5);

  Choose({"A"});
  messages.answers = {lf::kIdCancel};
  Click("BtnDel");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "フォルダ [ A ] の削除を行います。  よろしいですか？");
  EXPECT_EQ(messages.shown[0].flags, unsigned{lf::kMbOkCancel | lf::kMbIconWarning});
  EXPECT_NE(Node({"A"}), nullptr);

  Choose({"A", "B"});
  Click("BtnDel");
  EXPECT_EQ(Captions(Node({"A"})), Lines{});
  // The parent is chosen now and lists what came up from the deleted folder.
  EXPECT_EQ(Tree()->currentItem(), Node({"A"}));
  EXPECT_EQ(Captions(), (Lines{"a1", "b1"}));
  EXPECT_FALSE(Find<QToolButton>("BtnDel")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>("BtnNew")->isEnabled());

  for (const char* name : {"A", "News", "Fav"}) {
    Choose({name});
    page->BtnDelClick();
  }
  EXPECT_EQ(Entries(), (Lines{"R\\News2.dir0", "R\\News2\\腕腕n2.url1\\http://n2/",
                              "R\\腕腕a1.url0\\http://a1/", "R\\腕腕b1.url0\\http://b1/",
                              "R\\腕腕f.url0\\http://f/", "R\\腕腕n.url0\\http://n/",
                              "R\\腕腕top.url0\\http://top/"}));
  EXPECT_EQ(Captions(Node({})), (Lines{"News2"}));

  // The root is never deleted.
  Choose({});
  const std::size_t asked = messages.shown.size();
  page->BtnDelClick();
  EXPECT_EQ(messages.shown.size(), asked);

  Click("Button4");
  EXPECT_EQ(Disk(), (Lines{"News2/", "News2/n2.url = http://n2/", "a1.url = http://a1/",
                           "b1.url = http://b1/", "f.url = http://f/", "n.url = http://n/",
                           "top.url = http://top/"}));
}

TEST_F(EditorPageTest, DeletingLinksAsksForEachAndStopsAtTheFirstCancel) {
  for (const char* name : {"u1", "u2", "u3"})
    AddShortcut(std::string("F/") + name + ".url", "http://" + std::string(name) + "/");
  Open(5);
  Choose({"F"});
  Select({"u1", "u2", "u3"});
  messages.answers = {lf::kIdOk, lf::kIdCancel};
  Click("BtnURL");
  EXPECT_EQ(messages.Texts(),
            (Lines{"ＵＲＬファイル [ u3 ] の削除を行います。  よろしいですか？",
                   "ＵＲＬファイル [ u2 ] の削除を行います。  よろしいですか？"}));
  EXPECT_EQ(Captions(), (Lines{"u1", "u2"}));
  EXPECT_EQ(Entries(),
            (Lines{"R\\F.dir0", "R\\F\\腕腕u1.url1\\http://u1/", "R\\F\\腕腕u2.url1\\http://u2/"}));

  Select({"u1"});
  Click("BtnURL");
  EXPECT_EQ(Captions(), (Lines{"u2"}));
  EXPECT_FALSE(Find<QToolButton>("BtnURL")->isEnabled());
  EXPECT_FALSE(Find<QToolButton>("BtnMove")->isEnabled());
}

class EditorBookmarkTest : public EditorPageTest {
 protected:
  void WriteBookmarks(const std::string& name, const Lines& body) {
    lftest::WriteFile(dir.NativePath(name), BookmarkFile(body));
  }
};

TEST_F(EditorBookmarkTest, LinksOfOneNameMoveTogetherAndEditsTakeTheFirst) {
  WriteBookmarks("bookmark.htm", {Folder("Src"), "<DL><p>", Link("http://y1/", "Yahoo"),
                                  Link("http://y2/", "Yahoo"), Link("http://yj/", "Yahoo Japan"),
                                  "</DL><p>", Folder("Dst"), "<DL><p>", "</DL><p>"});
  Open(8);
  EXPECT_EQ(lf::ToSjis(Tree()->topLevelItem(0)->text(0)), lf::AppSettings().NNFileName);
  EXPECT_TRUE(Find<QToolButton>("BtnNNfile")->isEnabled());

  // Rename in place acts on the first link of the name only.
  Choose({"Src"});
  List()->topLevelItem(0)->setText(0, "Y!");
  EXPECT_EQ(Entries(), (Lines{"R\\Dst.dir0", "R\\Src.dir0", "R\\Src\\腕腕Y!.url1\\http://y1/",
                              "R\\Src\\腕腕Yahoo Japan.url1\\http://yj/",
                              "R\\Src\\腕腕Yahoo.url1\\http://y2/"}));
  List()->topLevelItem(0)->setText(0, "Yahoo");

  Select({"Yahoo"});
  Click("BtnMove");
  auto* label = Find<QLabel>("Label1");
  EXPECT_EQ(label->text(), QString::fromUtf8("移動のフォルダを決定して「ＯＫ」を押してください。"));
  EXPECT_TRUE(label->isVisible());
  EXPECT_FALSE(Find<QPlainTextEdit>("Memo")->isVisible());
  EXPECT_FALSE(Find<QToolButton>("BtnNew")->isEnabled());
  Choose({"Dst"});
  EXPECT_EQ(Captions(), (Lines{"Yahoo", "Yahoo", "Yahoo Japan"}));  // still the source
  Click("BtnOK");
  EXPECT_FALSE(page->MoveMode());
  EXPECT_FALSE(Find<QPushButton>("BtnOK")->isVisible());
  EXPECT_TRUE(Find<QPlainTextEdit>("Memo")->isVisible());
  EXPECT_EQ(Entries(), (Lines{"R\\Dst.dir0", "R\\Dst\\腕腕Yahoo.url1\\http://y1/",
                              "R\\Dst\\腕腕Yahoo.url1\\http://y2/", "R\\Src.dir0",
                              "R\\Src\\腕腕Yahoo Japan.url1\\http://yj/"}));

  // "O K" without a target keeps the entry where it was; "キャンセル" leaves move mode.
  Choose({"Src"});
  Select({"Yahoo Japan"});
  Click("BtnMove");
  Click("BtnOK");
  EXPECT_EQ(Captions(), Lines{"Yahoo Japan"});
  EXPECT_EQ(Entries().back(), "R\\Src\\腕腕Yahoo Japan.url1\\http://yj/");
  Choose({"Dst"});
  Select({"Yahoo"});
  Click("BtnMove");
  Click("BtnCan");
  EXPECT_FALSE(page->MoveMode());
  EXPECT_FALSE(Find<QPushButton>("BtnCan")->isVisible());
  EXPECT_FALSE(label->isVisible());

  // Delete takes the first of the two.
  Choose({"Dst"});
  Select({"Yahoo"});
  Click("BtnURL");
  EXPECT_EQ(Entries()[1], "R\\Dst\\腕腕Yahoo.url1\\http://y2/");
}

TEST_F(EditorPageTest, NewAndEditedLinksComeFromTheDialog) {
  AddShortcut("News/Daily.url", "http://d/");
  Open(5);
  Choose({"News"});

  AnswerDialog("Weather", "http://w/", /*ok=*/false);
  Click("BtnNew");
  EXPECT_EQ(Captions(), (Lines{"Daily"}));

  AnswerDialog(QString::fromUtf8("天気"), "http://w/");
  Click("BtnNew");
  EXPECT_EQ(Captions(), (Lines{"Daily", "天気"}));
  EXPECT_EQ(Entries(), (Lines{"R\\News.dir0", "R\\News\\腕腕Daily.url1\\http://d/",
                              "R\\News\\腕腕天気.url1\\http://w/"}));

  // An address without a known scheme is kept as typed, also through later changes.
  Select({"Daily"});
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<lf::TForm06*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Name(), "Daily");
    EXPECT_EQ(dialog->Address(), "http://d/");
    dialog->findChild<QLineEdit*>("Edit2")->setText("www.example.com");
    QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  });
  page->ListViewDblClick();
  EXPECT_EQ(Entries()[1], "R\\News\\腕腕Daily.url1\\www.example.com");
  EXPECT_EQ(lf::TBookmarkControl::ExtractUrl(page->List()[1]), "");
  EXPECT_EQ(lf::UrlDialogShared().accepted, 0);

  Select({"Daily"});
  Click("BtnMove");
  Choose({});
  Click("BtnOK");
  EXPECT_EQ(Entries().back(), "R\\腕腕Daily.url0\\www.example.com");
}

TEST_F(EditorPageTest, ExecuteWritesTheListBackAndKeepsWhatIsNoShortcut) {
  AddShortcut("News/Daily.url", "http://d/");
  lftest::WriteFile(dir.NativePath("Favorites/News/readme.txt"), "notes");
  AddShortcut("Top.URL", "http://capital/");
  AddShortcut("Old/x.url", "http://x/");
  Open(5);
  Choose({"Old"});
  page->BtnDelClick();
  Choose({"News"});
  Select({"Daily"});
  messages.answers = {lf::kIdOk};
  Click("BtnURL");
  messages.shown.clear();

  Click("Button4");
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  // The shortcut with a capital extension is written back under its own name.
  EXPECT_EQ(Disk(), (Lines{"News/", "News/readme.txt = notes", "Top.URL = http://capital/",
                           "x.url = http://x/"}));
  EXPECT_EQ(Beside(), (Lines{"Favorites", "bin"}));
  EXPECT_EQ(lf::AppRun().counters.ieUrlCount, 3 + 2);  // read, then written
  EXPECT_TRUE(Find<QLabel>("Label1")->isVisible());
  EXPECT_EQ(Find<QLabel>("Label1")->text().toStdString(),
            "[ お気に入りに ＵＲＬ 2 件、フォルダ 1 件を書き込みました ]");
  for (const char* name : {"BtnAdd", "BtnDel", "BtnNew", "BtnURL", "BtnMove"})
    EXPECT_FALSE(Find<QToolButton>(name)->isEnabled()) << name;
  EXPECT_TRUE(Find<QPushButton>("Button4")->isEnabled());
}

TEST_F(EditorPageTest, AWriteThatFailsKeepsTheShortcutsThatWereOnDisk) {
  AddShortcut("a.url", "http://a/");
  AddShortcut("b.url", "http://b/");
  AddShortcut("F/c.url", "http://c/");
  AddShortcut("G/d.url", "http://d/");
  fs::create_directories(dir.NativePath("Favorites/E"));
  Open(5);
  Choose({"G"});
  page->BtnDelClick();  // d.url is to move up to the root
  Choose({"E"});
  page->BtnDelClick();  // an empty folder is lost only once the write has succeeded
  Choose({});
  AnswerDialog("n", "http://n/");
  Click("BtnNew");
  messages.shown.clear();
  {
    lftest::FileSizeLimit limit(0);  // no room for any new shortcut
    Click("Button4");
  }
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.shown.back().flags, unsigned{lf::kMbIconError});
  // The moved link took its file along, which needs no room.
  EXPECT_EQ(Disk(), (Lines{"E/", "F/", "F/c.url = http://c/", "G/", "a.url = http://a/",
                           "b.url = http://b/", "d.url = http://d/"}));
  EXPECT_EQ(Beside(), (Lines{"Favorites", "bin"}));
  // The page says so, and the edits wait for the next "実行".
  auto* label = Find<QLabel>("Label1");
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text().toStdString(),
            // Only n.url is new; the others hold their addresses already and need no writing.
            "[ ＵＲＬ 1 "
            "件が書き込めませんでした（ＬｏｓｔＤａｔａ．ｔｘｔ）。「実行」で再度書き込めます ]");
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(Find<QPushButton>("Button4")->isEnabled());
  EXPECT_TRUE(page->Unsaved());

  // With room again the same list is written in full.
  messages.shown.clear();
  Click("Button4");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Disk(), (Lines{"F/", "F/c.url = http://c/", "a.url = http://a/", "b.url = http://b/",
                           "d.url = http://d/", "n.url = http://n/"}));
  EXPECT_EQ(label->text().toStdString(),
            "[ お気に入りに ＵＲＬ 5 件、フォルダ 1 件を書き込みました ]");
  EXPECT_NE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_FALSE(page->Unsaved());
}

// Shortcuts the reader could not take in (no URL, an internet radio station) are not the
// page's: deleting the links beside them writes the rest back and leaves them alone.
TEST_F(EditorPageTest, ExecuteNeverTouchesShortcutsItDidNotRead) {
  AddShortcut("News/Daily.url", "http://d/");
  AddShortcut("News/Radio.url", "vnd.ms.radio:http://radio/");
  lftest::WriteFile(dir.NativePath("Favorites/News/Broken.url"), "[InternetShortcut]\r\n");
  AddShortcut("Old/x.url", "http://x/");
  lftest::WriteFile(dir.NativePath("Favorites/Old/Notes.url"), "no shortcut at all");
  Open(5);
  EXPECT_EQ(Entries(), (Lines{"R\\News.dir0", "R\\News\\腕腕Daily.url1\\http://d/", "R\\Old.dir0",
                              "R\\Old\\腕腕x.url1\\http://x/"}));
  Choose({"Old"});
  page->BtnDelClick();
  Choose({"News"});
  Select({"Daily"});
  Click("BtnURL");
  messages.shown.clear();
  Click("Button4");
  EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(messages.Texts());
  EXPECT_EQ(Disk(), (Lines{"News/", "News/Broken.url = [InternetShortcut]\r\n",
                           "News/Radio.url = vnd.ms.radio:http://radio/", "Old/",
                           "Old/Notes.url = no shortcut at all", "x.url = http://x/"}));
  EXPECT_EQ(Beside(), (Lines{"Favorites", "bin"}));
}

// Leaving edits behind is asked first; the answer writes them, leaves them or stays.
TEST_F(EditorPageTest, LeavingWithEditsAsksFirst) {
  AddShortcut("News/Daily.url", "http://d/");
  Open(5);
  Click("Button2");  // nothing changed: nothing asked
  EXPECT_TRUE(messages.leaveQuestions.empty());
  page1.hide();

  page = new lf::TForm05(&page1);
  page->show();
  page->FormActivate();
  Choose({"News"});
  Select({"Daily"});
  Click("BtnURL");
  messages.leaveAnswers = {lf::LeaveChoice::Stay, lf::LeaveChoice::Save};
  Click("Button2");
  EXPECT_TRUE(page->isVisible());
  page->close();
  EXPECT_EQ(messages.leaveQuestions,
            (Lines(2, "編集した内容がファイルに反映されていません。\r反映してから閉じますか？")));
  EXPECT_EQ(page1.closes, 1);
  EXPECT_EQ(Disk(), (Lines{"News/"}));

  page1.show();
  page = new lf::TForm05(&page1);
  page->show();
  page->FormActivate();
  Choose({});
  Click("BtnAdd");
  Click("Button2");  // left behind, as answered
  EXPECT_FALSE(page->isVisible());
  EXPECT_EQ(Disk(), (Lines{"News/"}));
}

TEST_F(EditorPageTest, WhileWritingNothingChangesTheListAndClosingWaits) {
  AddShortcut("News/Daily.url", "http://d/");
  lftest::WriteFile(dir.NativePath("Favorites/News/readme.txt"), "notes");
  AddShortcut("Old/x.url", "http://x/");
  Open(5);
  Choose({"Old"});
  const Lines before = Entries();
  bool busyDuringWrite = false;
  Lines duringWrite;
  // The writer advances the bar entry by entry.
  QObject::connect(Find<QProgressBar>("Bar"), &QProgressBar::valueChanged, page, [&] {
    if (busyDuringWrite) return;
    busyDuringWrite = page->Busy();
    page->BtnAddClick();
    page->BtnDelClick();
    page->BtnNewClick();
    Node({"Old"})->setText(0, "Renamed");
    page->Button4Click();
    duringWrite = Entries();
    EXPECT_EQ(Node({"Old"})->text(0), "Old");
    page->close();
  });
  page->Button4Click();
  EXPECT_TRUE(busyDuringWrite);
  EXPECT_EQ(duringWrite, before);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(page1.closes, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(page.isNull());
  // The close cancelled the write: every shortcut is where it was.
  EXPECT_EQ(Disk(), (Lines{"News/", "News/Daily.url = http://d/", "News/readme.txt = notes", "Old/",
                           "Old/x.url = http://x/"}));
  EXPECT_EQ(Beside(), (Lines{"Favorites", "bin"}));
}

TEST_F(EditorBookmarkTest, AMergedFileJoinsTheListAndExecuteWritesBoth) {
  WriteBookmarks("bookmark.htm", {Folder("A"), "<DL><p>", Link("http://a/", "a"), "</DL><p>",
                                  Link("http://t/", "t")});
  WriteBookmarks("more.htm", {Folder("A"), "<DL><p>", Link("http://m/", "m"), "</DL><p>",
                              Folder("B"), "<DL><p>", Link("http://b/", "b"), "</DL><p>"});
  Open(8);
  Choose({"A"});
  messages.fileAnswers = {dir.Path("more.htm")};
  Click("BtnNNfile");
  ASSERT_EQ(messages.fileRequests.size(), 1u);
  EXPECT_EQ(messages.fileRequests[0].filter, "HTM files|*.htm|HTML files|*.html|ALL files|*.*");
  EXPECT_EQ(messages.fileRequests[0].defaultExtension, "htm");
  EXPECT_FALSE(messages.fileRequests[0].newFile);  // a file to read
  EXPECT_EQ(Captions(Node({})), (Lines{"A", "A", "B"}));
  // The folder chosen before is chosen again in the new tree.
  EXPECT_EQ(Captions(), (Lines{"a", "m"}));
  EXPECT_TRUE(Find<QPushButton>("Button4")->isEnabled());
  EXPECT_EQ(Find<QPushButton>("Button2")->text(), QString::fromUtf8("<< 戻る"));

  // The bookmark file is written in full even when "キャンセル" is pressed meanwhile, and the
  // page says nothing of an interruption then.
  QTimer::singleShot(0, [&] {
    auto* back = Find<QPushButton>("Button2");
    EXPECT_EQ(back->text(), QString::fromUtf8("キャンセル"));
    QTest::mouseClick(back, Qt::LeftButton);
  });
  QTest::qSleep(2 * lf::QtOwner::kIntervalMs);  // the writer's first look at events comes at once
  Click("Button4");
  EXPECT_EQ(lf::AppRun().counters.cancel, 1);
  EXPECT_EQ(Find<QLabel>("Label1")->text().toStdString(),
            "[ ブックマークファイルに ＵＲＬ 4 件、フォルダ 3 件を書き込みました ]");
  EXPECT_TRUE(Find<QPlainTextEdit>("Memo")->isVisible());
  lf::TBookmarkControl reader;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
  lf::BookmarkList reread;
  int cancel = 0, count = 0;
  reader.ReadBookmarkFile(owner, lf::AppSettings().NNFileName, cancel, count, nullptr, false,
                          reread, bar, lf::AppSettings().IEDirName);
  EXPECT_EQ(reread, page->List());
  EXPECT_EQ(count, 4);
}

TEST_F(EditorBookmarkTest, ACancelledMergeInterruptsAndNothingElseRunsMeanwhile) {
  WriteBookmarks("bookmark.htm", {Folder("A"), "<DL><p>", Link("http://a/", "a"), "</DL><p>"});
  WriteBookmarks("more.htm", {Link("http://m1/", "m1"), Link("http://m2/", "m2")});
  const std::string original = lftest::ReadFile(dir.NativePath("bookmark.htm"));
  Open(8);
  Choose({"A"});
  bool busy = false;
  QTimer::singleShot(0, [&] {
    // The reader lets this run between its lines.
    busy = page->Busy();
    messages.fileAnswers = {dir.Path("more.htm")};
    page->BtnNNfileClick();
    page->Button4Click();
    page->BtnAddClick();
    page->BtnDelClick();
    auto* back = Find<QPushButton>("Button2");
    EXPECT_EQ(back->text(), QString::fromUtf8("キャンセル"));
    EXPECT_FALSE(Find<QPushButton>("Button1")->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
  });
  QTest::qSleep(2 * lf::QtOwner::kIntervalMs);  // the reader's first look at events comes at once
  messages.fileAnswers = {dir.Path("more.htm")};
  page->BtnNNfileClick();
  EXPECT_TRUE(busy);
  EXPECT_EQ(messages.fileRequests.size(), 1u);  // no second merge
  EXPECT_TRUE(messages.shown.empty());          // no folder delete question
  EXPECT_EQ(CountEntries("R\\A\\新規フォルダ.dir1"), 0);
  EXPECT_EQ(lftest::ReadFile(dir.NativePath("bookmark.htm")), original);
  EXPECT_FALSE(lftest::Exists(dir.NativePath("bookmark.old")));

  auto* label = Find<QLabel>("Label1");
  EXPECT_EQ(label->text(), QString::fromUtf8("[ 処理が中断されました ]"));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_FALSE(Find<QPushButton>("Button4")->isEnabled());
  EXPECT_FALSE(List()->isEnabled());
  EXPECT_FALSE(Tree()->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("Button1")->isEnabled());
  EXPECT_EQ(Find<QPushButton>("Button2")->text(), QString::fromUtf8("<< 戻る"));

  // A merge run to its end makes the page whole again, the links included.
  messages.fileAnswers = {dir.Path("more.htm")};
  page->BtnNNfileClick();
  EXPECT_FALSE(label->isVisible());
  EXPECT_TRUE(Find<QPushButton>("Button4")->isEnabled());
  EXPECT_TRUE(Tree()->isEnabled());
  EXPECT_TRUE(List()->isEnabled());
  EXPECT_EQ(CountEntries("R\\腕腕m2.url0\\http://m2/"), 1);
}

TEST_F(EditorBookmarkTest, FoldersOfOnePathAfterAMergeKeepTreeAndListAlike) {
  WriteBookmarks("bookmark.htm", {Folder("A"), "<DL><p>", Link("http://a/", "a"), Folder("Sub"),
                                  "<DL><p>", Link("http://s/", "s"), "</DL><p>", "</DL><p>"});
  WriteBookmarks("more.htm", {Folder("A"), "<DL><p>", Link("http://m/", "m"), "</DL><p>"});
  Open(8);
  messages.fileAnswers = {dir.Path("more.htm")};
  Click("BtnNNfile");
  QTreeWidgetItem* root = Node({});
  EXPECT_TRUE(root->isExpanded());  // the top-level folders in sight, as after the load
  ASSERT_EQ(Captions(root), (Lines{"A", "A"}));
  // The tree files what lies under the path below the later of the two nodes.
  EXPECT_EQ(Captions(root->child(0)), Lines{});
  EXPECT_EQ(Captions(root->child(1)), (Lines{"Sub"}));

  // Renaming the first takes everything under the path along, in the tree as in the list.
  Tree()->setCurrentItem(root->child(0));
  root->child(0)->setText(0, "B");
  QCoreApplication::processEvents();
  root = Node({});
  EXPECT_EQ(Captions(root), (Lines{"A", "B"}));
  EXPECT_EQ(Captions(Node({"A"})), Lines{});
  EXPECT_EQ(Captions(Node({"B"})), (Lines{"Sub"}));
  EXPECT_EQ(Tree()->currentItem(), Node({"B"}));
  EXPECT_EQ(Entries(),
            (Lines{"R\\A.dir0", "R\\B.dir0", "R\\B\\Sub.dir1", "R\\B\\Sub\\腕腕s.url2\\http://s/",
                   "R\\B\\腕腕a.url1\\http://a/", "R\\B\\腕腕m.url1\\http://m/"}));

  // Deleting one of two nodes of a path leaves the other without what went with the first.
  Click("BtnNNfile");  // nothing chosen: the file is not merged again
  WriteBookmarks("more.htm", {Folder("B"), "<DL><p>", "</DL><p>"});
  messages.fileAnswers = {dir.Path("more.htm")};
  Click("BtnNNfile");
  ASSERT_EQ(Captions(Node({})), (Lines{"A", "B", "B"}));
  Tree()->setCurrentItem(Node({})->child(1));
  Click("BtnDel");
  EXPECT_EQ(Captions(Node({})), (Lines{"A", "B"}));
  EXPECT_EQ(Captions(Node({"B"})), Lines{});
  EXPECT_EQ(Tree()->currentItem(), Node({}));
  EXPECT_EQ(Captions(), (Lines{"a", "m", "s"}));
  EXPECT_EQ(Entries(), (Lines{"R\\A.dir0", "R\\B.dir0", "R\\腕腕a.url0\\http://a/",
                              "R\\腕腕m.url0\\http://m/", "R\\腕腕s.url0\\http://s/"}));
}

TEST_F(EditorBookmarkTest, CancelDuringTheLoadLeavesThePageInterrupted) {
  WriteBookmarks("bookmark.htm", {Link("http://t/", "t")});
  lf::AppSettings().Proc = 8;
  page = new lf::TForm05(&page1);
  page->show();
  // The page lets pending events run before it reads: "キャンセル" is pressed then.
  QTimer::singleShot(0, [&] {
    auto* back = Find<QPushButton>("Button2");
    EXPECT_EQ(back->text(), QString::fromUtf8("キャンセル"));
    QTest::mouseClick(back, Qt::LeftButton);
  });
  page->FormActivate();
  auto* label = Find<QLabel>("Label1");
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), QString::fromUtf8("[ 処理が中断されました ]"));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_FALSE(List()->isEnabled());
  EXPECT_FALSE(Tree()->isEnabled());
  EXPECT_FALSE(Find<QToolButton>("BtnAdd")->isVisible());
  EXPECT_FALSE(Find<QPushButton>("Button4")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("Button1")->isEnabled());
  EXPECT_EQ(Find<QPushButton>("Button2")->text(), QString::fromUtf8("<< 戻る"));
  page->Button4Click();  // nothing to write from an interrupted load
  EXPECT_FALSE(lftest::Exists(dir.NativePath("bookmark.old")));
}

TEST_F(EditorPageTest, BackShowsPage1AndQuitClosesIt) {
  Open(5);
  Click("Button2");
  EXPECT_TRUE(page1.isVisible());
  EXPECT_FALSE(page->isVisible());
  EXPECT_TRUE(page->List().empty());
  page1.hide();

  page = new lf::TForm05(&page1);
  page->show();
  page->FormActivate();
  Click("Button1");
  EXPECT_EQ(page1.closes, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(page.isNull());
}

// The move prompt is read in full, also in a smaller window.
TEST_F(EditorPageTest, TheMovePromptIsReadInFull) {
  Open(5);
  page->BtnMoveClick();
  auto* label = Find<QLabel>("Label1");
  for (QSize size : {QSize(700, 450), QSize(500, 380)}) {
    page->resize(size);
    QApplication::processEvents();
    const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                        : label->sizeHint().width() <= label->width();
    EXPECT_TRUE(fits) << size.width();
  }
}

// A link renamed in place sorts to its new place and stays the chosen one, in sight: the next
// click or "削除" takes the link the user renamed, not the one that moved under the pointer.
// After a move the list shows the folder the tree shows; leaving a move takes the tree back.
TEST_F(EditorPageTest, AnEditNeverMovesAnotherLinkUnderThePointer) {
  for (int i = 0; i < 60; ++i) {
    const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
    AddShortcut("News/link " + n + ".url", "http://h/" + n);
  }
  AddShortcut("Old/x.url", "http://x/");
  Open(5);
  page->resize(page->DefaultSize());
  Choose({"News"});
  auto chosen = [&] {
    Lines out;
    for (QTreeWidgetItem* item : List()->selectedItems())
      out.push_back(item->text(0).toStdString());
    return out;
  };
  auto inSight = [&](const QTreeWidgetItem* item) {
    return List()->viewport()->rect().contains(List()->visualItemRect(item));
  };

  Select({"link 01"});
  QTreeWidgetItem* renamed = List()->selectedItems().value(0);
  ASSERT_TRUE(renamed);
  renamed->setText(0, "zz renamed");
  QApplication::processEvents();
  EXPECT_EQ(chosen(), Lines{"zz renamed"});
  EXPECT_EQ(List()->currentItem(), renamed);
  EXPECT_EQ(List()->indexOfTopLevelItem(renamed), 59);  // sorted to the end
  EXPECT_TRUE(inSight(renamed));
  messages.answers = {lf::kIdOk};
  Click("BtnURL");
  ASSERT_EQ(messages.Texts(),
            Lines{"ＵＲＬファイル [ zz renamed ] の削除を行います。  よろしいですか？"});
  EXPECT_EQ(CountEntries("R\\News\\腕腕link 01.url1\\http://h/01"), 0);
  EXPECT_EQ(CountEntries("R\\News\\腕腕link 02.url1\\http://h/02"), 1);

  Select({"link 40", "link 41"});
  Click("BtnMove");
  Choose({"Old"});
  EXPECT_EQ(Captions().front(), "link 00");  // the links to move, while the target is chosen
  Click("BtnOK");
  EXPECT_EQ(Tree()->currentItem()->text(0), "Old");
  EXPECT_EQ(Captions(), (Lines{"link 40", "link 41", "x"}));
  EXPECT_EQ(chosen(), (Lines{"link 40", "link 41"}));
  EXPECT_TRUE(Find<QToolButton>("BtnMove")->isEnabled());

  Choose({"News"});
  Select({"link 05"});
  Click("BtnMove");
  Choose({"Old"});
  Click("BtnCan");
  EXPECT_EQ(Tree()->currentItem()->text(0), "News");
  EXPECT_EQ(chosen(), Lines{"link 05"});
  EXPECT_TRUE(Find<QPlainTextEdit>("Memo")->isVisible());
}

}  // namespace
