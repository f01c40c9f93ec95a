// The second pages driven through their own widgets, offscreen, on a collection of 10^5 links
// with one folder of 20,000 links and 10^4 pairs of links with the same URL: opening each
// page (reading both collections, filling the trees and the links of the large folder), and
// on the editor page selecting all links of the large folder, a click into them and moving
// them into another folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/bench_files.h"
#include "bench/generated_lists.h"
#include "core/app_state.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "pages/duplicate_page.h"
#include "pages/editor_page.h"
#include "pages/transfer_page.h"
#include "platform/file_system.h"
#include "qtui/sjis_qt.h"

namespace {

using lf::TBookmarkControl;

constexpr std::size_t kLinks = 100000;
constexpr std::size_t kBigFolder = 20000;
constexpr std::size_t kPairs = 10000;
constexpr char kBig[] = "Big";
constexpr char kOther[] = "Other";

lfbench::BenchFolder& Folder() {
  static lfbench::BenchFolder folder("lfbench-pages");
  return folder;
}

// 80,000 links spread over nested folders, 20,000 links in the top-level folder "Big", an
// empty top-level folder "Other"; the first 2 * kPairs links of "Big" carry their URLs twice.
lf::BookmarkList Collection(const std::string& root) {
  lf::BookmarkList list = lfbench::GeneratedList(kLinks - kBigFolder, root);
  list.push_back(root + "\\" + kBig + ".dir0");
  list.push_back(root + "\\" + kOther + ".dir0");
  for (std::size_t i = 0; i < kBigFolder; ++i) {
    const std::size_t site = i < 2 * kPairs ? i / 2 : i;
    list.push_back(root + "\\" + kBig + std::string(lf::kLinkMarker) + "Link" +
                   std::to_string(100000 + i) + ".url1\\http://big.example.jp/" +
                   std::to_string(site) + "/");
  }
  TBookmarkControl::Regroup(list);
  return list;
}

// The bookmark file and the Favorites folder, both holding the collection, made once.
void MakeCollections() {
  static bool made = false;
  if (made) return;
  made = true;
  lf::Settings& settings = lf::AppSettings();
  settings.IEDirName = Folder().Path("Favorites");
  settings.NNFileName = Folder().Path("bookmark.htm");
  const lf::BookmarkList list = Collection(settings.IEDirName);
  TBookmarkControl control;
  lf::Owner owner;
  lf::ProgressBar bar;
  lf::RunCounters c;
  control.SaveBookmarkFile(owner, bar, c.nnUrlCount, settings.NNFileName, list);
  if (platform::MakeDirectory(settings.IEDirName) != 0)
    throw std::runtime_error("cannot make the Favorites folder");
  control.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, list);
  if (c.errorCount != 0) throw std::runtime_error("the Favorites folder is incomplete");
}

template <class T>
T* Child(QWidget* page, const char* name) {
  T* child = page->findChild<T*>(QLatin1String(name));
  if (!child) throw std::runtime_error(std::string("no control ") + name);
  return child;
}

// The node of a top-level folder below the root node of a tree.
QTreeWidgetItem* TopFolder(QTreeWidget* tree, const char* caption) {
  QTreeWidgetItem* root = tree->topLevelItem(0);
  for (int i = 0; root && i < root->childCount(); ++i)
    if (root->child(i)->text(0) == QLatin1String(caption)) return root->child(i);
  throw std::runtime_error(std::string("no folder ") + caption);
}

// What the window does after a user's action before it waits again: the sorts the views put
// off, the painting.
void Settle() {
  QApplication::processEvents();
}

void Choose(QTreeWidget* tree, const char* caption) {
  QTreeWidgetItem* node = TopFolder(tree, caption);
  tree->scrollToItem(node);
  // On the part of the node in sight: the column is as wide as the widest folder name.
  const QRect shown = tree->visualItemRect(node).intersected(tree->viewport()->rect());
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, shown.center());
  Settle();
}

void RequireRows(QTreeWidget* list, int rows) {
  if (list->topLevelItemCount() != rows)
    throw std::runtime_error("expected " + std::to_string(rows) + " rows, found " +
                             std::to_string(list->topLevelItemCount()));
}

// A page opened as page 1 opens it; deleted with the holder.
template <class Page>
struct Opened {
  explicit Opened(int proc) {
    lf::AppSettings().Proc = proc;
    lf::AppRun().counters = {};
    page = new Page(&page1);
    page->show();
    page->FormActivate();
  }
  ~Opened() { delete page.data(); }
  QWidget page1;
  QPointer<Page> page;
};

// Times one action in manual time: what is set up before it and torn down after it (a page
// with 10^5 entries takes a while to delete) does not count.
class Timed {
 public:
  explicit Timed(benchmark::State& state) : state_(state) { timer_.start(); }
  ~Timed() { state_.SetIterationTime(static_cast<double>(timer_.nsecsElapsed()) / 1e9); }

 private:
  benchmark::State& state_;
  QElapsedTimer timer_;
};

void OpenTransferPage(benchmark::State& state) {
  MakeCollections();
  const int proc = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::unique_ptr<Opened<lf::TForm03>> opened;
    {
      Timed timed(state);
      opened = std::make_unique<Opened<lf::TForm03>>(proc);
      Choose(Child<QTreeWidget>(opened->page, "TreeView1"), kBig);
      Choose(Child<QTreeWidget>(opened->page, "TreeView2"), kBig);
    }
    RequireRows(Child<QTreeWidget>(opened->page, "ListView1"), kBigFolder);
    RequireRows(Child<QTreeWidget>(opened->page, "ListView2"), kBigFolder);
  }
}

void OpenEditorPage(benchmark::State& state) {
  MakeCollections();
  const int proc = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::unique_ptr<Opened<lf::TForm05>> opened;
    {
      Timed timed(state);
      opened = std::make_unique<Opened<lf::TForm05>>(proc);
      Choose(Child<QTreeWidget>(opened->page, "TreeView"), kBig);
    }
    RequireRows(Child<QTreeWidget>(opened->page, "ListView"), kBigFolder);
  }
}

void OpenDuplicatePage(benchmark::State& state) {
  MakeCollections();
  const int proc = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::unique_ptr<Opened<lf::TForm07>> opened;
    {
      Timed timed(state);
      opened = std::make_unique<Opened<lf::TForm07>>(proc);
      Settle();
    }
    RequireRows(Child<QTreeWidget>(opened->page, "ListView"), kPairs);
  }
}

// The editor page with the large folder chosen.
struct EditorOnBigFolder {
  EditorOnBigFolder() : opened(5) {
    tree = Child<QTreeWidget>(opened.page, "TreeView");
    list = Child<QTreeWidget>(opened.page, "ListView");
    Choose(tree, kBig);
    RequireRows(list, kBigFolder);
    list->setFocus();
  }
  void SelectAll() {
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    Settle();
  }
  int Selected() const { return static_cast<int>(list->selectedItems().size()); }
  Opened<lf::TForm05> opened;
  QTreeWidget* tree;
  QTreeWidget* list;
};

// A click on the folder of 20,000 links in the tree: its links fill the list.
void EditorChooseLargeFolder(benchmark::State& state) {
  MakeCollections();
  for (auto _ : state) {
    Opened<lf::TForm05> opened(5);
    QTreeWidget* tree = Child<QTreeWidget>(opened.page, "TreeView");
    Settle();
    {
      Timed timed(state);
      Choose(tree, kBig);
    }
    RequireRows(Child<QTreeWidget>(opened.page, "ListView"), kBigFolder);
  }
}

// Ctrl+A in the list of 20,000 links.
void EditorSelectAll(benchmark::State& state) {
  MakeCollections();
  for (auto _ : state) {
    EditorOnBigFolder editor;
    {
      Timed timed(state);
      editor.SelectAll();
    }
    if (editor.Selected() != static_cast<int>(kBigFolder))
      throw std::runtime_error("not all links selected");
  }
}

// A click with Ctrl on one link while all 20,000 are selected: it leaves that one out, and
// the page looks at the selection twice (selection changed, item clicked).
void EditorClickIntoSelection(benchmark::State& state) {
  MakeCollections();
  for (auto _ : state) {
    EditorOnBigFolder editor;
    editor.SelectAll();
    QTreeWidgetItem* item = editor.list->topLevelItem(kBigFolder / 2);
    editor.list->scrollToItem(item);
    const QPoint at = editor.list->visualItemRect(item).center();
    {
      Timed timed(state);
      QTest::mouseClick(editor.list->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
      Settle();
    }
    if (editor.Selected() != static_cast<int>(kBigFolder - 1))
      throw std::runtime_error("click not taken: " + std::to_string(editor.Selected()));
  }
}

// "移動", the other folder, "O K" with all 20,000 links selected.
void EditorMoveAll(benchmark::State& state) {
  MakeCollections();
  for (auto _ : state) {
    EditorOnBigFolder editor;
    editor.SelectAll();
    {
      Timed timed(state);
      QTest::mouseClick(Child<QToolButton>(editor.opened.page, "BtnMove"), Qt::LeftButton);
      Choose(editor.tree, kOther);
      QTest::mouseClick(Child<QPushButton>(editor.opened.page, "BtnOK"), Qt::LeftButton);
      Settle();
    }
    RequireRows(editor.list, 0);
    Choose(editor.tree, kOther);
    RequireRows(editor.list, kBigFolder);
  }
}

void Pages(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
}

BENCHMARK(OpenTransferPage)->Arg(4)->Arg(7)->Apply(Pages);
BENCHMARK(OpenEditorPage)->Arg(5)->Arg(8)->Apply(Pages);
BENCHMARK(OpenDuplicatePage)->Arg(6)->Arg(9)->Apply(Pages);
BENCHMARK(EditorChooseLargeFolder)->Apply(Pages);
BENCHMARK(EditorSelectAll)->Apply(Pages);
BENCHMARK(EditorClickIntoSelection)->Apply(Pages);
BENCHMARK(EditorMoveAll)->Apply(Pages);

}  // namespace

int main(int argc, char** argv) {
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
