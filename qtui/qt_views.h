// The engine's progress bar, status label, folder tree and link list on Qt widgets. Trees
// and lists keep the Shift-JIS caption of every item beside its shown text, so the engine
// gets back exactly the bytes it gave, and sort by the program's own order.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTreeWidget>
#include <vector>

#include "engine/ui.h"

namespace lf {

// Item data roles of tree and list items.
inline constexpr int kSjisRole = Qt::UserRole + 1;  // QByteArray: the Shift-JIS caption
inline constexpr int kNodeRole = Qt::UserRole + 2;  // int: the node number in its QtTreeView

class QtProgressBar : public ProgressBar {
 public:
  explicit QtProgressBar(QProgressBar* bar) : bar_(bar) {}
  void SetMax(int max) override;
  void SetPosition(int position) override;
  void SetStep(int step) override { step_ = step; }
  void StepIt() override;
  void SetVisible(bool visible) override;

 private:
  QPointer<QProgressBar> bar_;
  int step_ = 1;
  // Steps not shown yet: the bar moves when they make a visible part of it, or reach the end,
  // so that a reader stepping once per line does not redraw it once per line.
  long long pending_ = 0;
};

// The engine hides a status label only to blink it while it reads (once per folder of the
// Favorites): the text would flicker out of sight. The label stays shown; each blink is set
// as its property "blink" (true while the engine has it hidden), for whoever follows the read.
class QtStatusLabel : public StatusLabel {
 public:
  explicit QtStatusLabel(QLabel* label) : label_(label) {}
  void SetCaption(const std::string& text) override;
  void SetVisible(bool visible) override;
  bool Visible() const override;

 private:
  QPointer<QLabel> label_;
  bool shown_ = true;  // as the engine last set it
};

// A folder tree on a QTreeWidget of one column. Children are kept in caption order.
class QtTreeView : public TreeView {
 public:
  // With editable the nodes can be renamed in place.
  explicit QtTreeView(QTreeWidget* tree, bool editable = false);
  void Clear() override;
  Node AddChild(Node parent, const std::string& caption, int image, int selectedImage) override;
  Node Selected() const override;
  Node Parent(Node node) const override;
  int Level(Node node) const override;
  std::string Caption(Node node) const override;

  // Removes a node with everything below it.
  void RemoveNode(Node node);
  // Changes the caption of a node (its place among its siblings stays).
  void SetCaption(Node node, const std::string& caption);
  // The node of an item of this tree, or kNoNode.
  Node NodeOf(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* ItemOf(Node node) const;
  QTreeWidget* Widget() const { return tree_; }

 private:
  QPointer<QTreeWidget> tree_;
  std::vector<QTreeWidgetItem*> items_;
  bool editable_;
};

// The links of one folder on a report-style QTreeWidget (no tree lines), sorted by caption
// in the program's order.
class QtListItems : public ListItems {
 public:
  // With editable the items can be renamed in place.
  explicit QtListItems(QTreeWidget* list, bool editable = false)
      : list_(list), editable_(editable) {}
  void Clear() override;
  void Add(const std::string& caption, int imageIndex) override;

 private:
  QPointer<QTreeWidget> list_;
  bool editable_;
};

// A list item that sorts by its Shift-JIS captions in the program's order. The sort key of
// each caption is kept beside it (SetSjisText), so that sorting many thousand items compares
// bytes instead of converting and collating texts again at every comparison.
class SjisItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override;
  void SetSortKey(int column, const std::string& sjis);

 private:
  std::vector<std::string> keys_;  // by column; empty where none was set
};

// Sets the shown text of a column and keeps its Shift-JIS bytes.
void SetSjisText(QTreeWidgetItem* item, int column, const std::string& sjis);
// The Shift-JIS bytes of a column (converted from the shown text if none were kept).
std::string SjisText(const QTreeWidgetItem* item, int column);

}  // namespace lf
