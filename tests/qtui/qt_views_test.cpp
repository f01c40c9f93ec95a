#include "qtui/qt_views.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QTimer>
#include <thread>

#include "engine/bookmark_control.h"
#include "qtui/image_strip.h"
#include "qtui/qt_owner.h"
#include "tests/support/qt/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::S;

TEST(QtTreeView, KeepsChildrenInCaptionOrderAndGivesBackTheBytes) {
  QTreeWidget widget;
  lf::QtTreeView tree(&widget);
  auto root = tree.AddChild(lf::TreeView::kNoNode, S("/home/taro/Favorites"), 0, 0);
  auto news = tree.AddChild(root, "News", 0, 1);
  tree.AddChild(root, "apple", 0, 1);
  tree.AddChild(root, S("ソフト"), 0, 1);
  auto bad = tree.AddChild(news, "x\x80y", 0, 1);  // no character of code page 932
  ASSERT_EQ(widget.topLevelItemCount(), 1);
  QTreeWidgetItem* r = widget.topLevelItem(0);
  ASSERT_EQ(r->childCount(), 3);
  EXPECT_EQ(r->child(0)->text(0), "apple");
  EXPECT_EQ(r->child(1)->text(0), "News");
  EXPECT_EQ(tree.Caption(bad), "x\x80y");
  EXPECT_EQ(tree.Level(bad), 2);
  EXPECT_EQ(tree.Parent(bad), news);

  widget.setCurrentItem(tree.ItemOf(bad));
  EXPECT_EQ(tree.Selected(), bad);

  tree.RemoveNode(news);
  EXPECT_EQ(tree.ItemOf(bad), nullptr);
  EXPECT_EQ(r->childCount(), 2);
}

// A pane narrower than a folder's name scrolls to it; the name is never cut to "...".
TEST(QtTreeView, ANameWiderThanThePaneIsScrolledToNotCutShort) {
  QTreeWidget widget;
  widget.setHeaderHidden(true);
  widget.resize(120, 200);
  lf::QtTreeView tree(&widget);
  auto root = tree.AddChild(lf::TreeView::kNoNode, S("/home/taro/Favorites"), 0, 0);
  tree.AddChild(root, S("ユーザ設定ツールバー フォルダ"), 0, 1);
  widget.expandAll();
  widget.show();
  QCoreApplication::processEvents();
  const QTreeWidgetItem* folder = widget.topLevelItem(0)->child(0);
  const int icon = 16;
  EXPECT_GE(widget.visualItemRect(folder).width(),
            icon + widget.fontMetrics().horizontalAdvance(folder->text(0)));
  EXPECT_GT(widget.horizontalScrollBar()->maximum(), 0);
}

TEST(QtListItems, SortByTheProgramsOrder) {
  QTreeWidget widget;
  widget.setSortingEnabled(true);
  widget.sortByColumn(0, Qt::AscendingOrder);
  lf::QtListItems items(&widget);
  for (const char* name : {"b", "B", "a", "\x83\x5C"}) items.Add(name, lf::kImageLink);
  ASSERT_EQ(widget.topLevelItemCount(), 4);
  std::vector<std::string> order;
  for (int i = 0; i < 4; ++i) order.push_back(lf::SjisText(widget.topLevelItem(i), 0));
  EXPECT_EQ(order, (std::vector<std::string>{"a", "B", "b", "\x83\x5C"}));
  EXPECT_FALSE(widget.topLevelItem(0)->icon(0).isNull());
}

TEST(QtProgressBar, StopsAtItsMaximum) {
  QProgressBar bar;
  lf::QtProgressBar adapter(&bar);
  adapter.SetMax(2);
  adapter.SetPosition(0);
  for (int i = 0; i < 5; ++i) adapter.StepIt();
  EXPECT_EQ(bar.value(), 2);
  adapter.SetMax(-1);  // an empty list's "count - 1"
  EXPECT_EQ(bar.maximum(), 0);

  // A step per line of a long file redraws the bar a few hundred times, and it ends full.
  int changes = 0;
  QObject::connect(&bar, &QProgressBar::valueChanged, [&] { ++changes; });
  adapter.SetMax(1000000);
  adapter.SetPosition(0);
  changes = 0;
  for (int i = 0; i < 1000000; ++i) adapter.StepIt();
  EXPECT_EQ(bar.value(), 1000000);
  EXPECT_LE(changes, 501);
  EXPECT_GE(changes, 100);
}

TEST(QtOwner, ProcessesEventsOnlyAfterTheInterval) {
  lftest::ScriptedMessages messages;
  QWidget window;
  lf::QtOwner owner(&window);
  int fired = 0;
  QTimer::singleShot(0, [&] { ++fired; });
  owner.ProcessMessages();  // too soon after creation
  EXPECT_EQ(fired, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(lf::QtOwner::kIntervalMs + 5));
  owner.ProcessMessages();
  EXPECT_EQ(fired, 1);

  EXPECT_EQ(owner.MessageBox(S("エラー"), S("Ｌｉｎｋｆｅｒｒｙ"), lf::kMbIconError), lf::kIdOk);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "エラー");
  EXPECT_EQ(messages.shown[0].owner, &window);
}

TEST(ImageStrip, FourPicturesOfSixteenPixels) {
  QPixmap strip = lf::DirTreeImg();
  EXPECT_EQ(strip.size(), QSize(64, 16));
  QImage image = strip.toImage();
  for (int i = 0; i < 4; ++i) {
    int painted = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) painted += qAlpha(image.pixel(16 * i + x, y)) > 0;
    EXPECT_GT(painted, 20) << "picture " << i;
  }
}

}  // namespace
