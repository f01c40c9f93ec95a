#include "qtui/qt_views.h"

#include <QHeaderView>
#include <algorithm>

#include "platform/collation.h"
#include "qtui/image_strip.h"
#include "qtui/sjis_qt.h"

namespace lf {

void QtProgressBar::SetMax(int max) {
  pending_ = 0;
  if (!bar_) return;
  bar_->setRange(0, std::max(max, 0));
}

void QtProgressBar::SetPosition(int position) {
  pending_ = 0;
  if (bar_) bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void QtProgressBar::StepIt() {
  if (!bar_) return;
  pending_ += step_;
  constexpr long long kParts = 500;  // finer than any bar is drawn
  const long long range = static_cast<long long>(bar_->maximum()) - bar_->minimum();
  const long long target = bar_->value() + pending_;
  if (pending_ * kParts < range && target < bar_->maximum()) return;
  bar_->setValue(static_cast<int>(std::min<long long>(target, bar_->maximum())));
  pending_ = 0;
}

void QtProgressBar::SetVisible(bool visible) {
  if (bar_) bar_->setVisible(visible);
}

void QtStatusLabel::SetCaption(const std::string& text) {
  if (label_) label_->setText(FromSjis(text));
}

void QtStatusLabel::SetVisible(bool visible) {
  shown_ = visible;
  if (!label_) return;
  if (visible) label_->show();
  label_->setProperty("blink", !visible);
}

bool QtStatusLabel::Visible() const {
  return shown_ && label_ && !label_->isHidden();
}

void SetSjisText(QTreeWidgetItem* item, int column, const std::string& sjis) {
  if (auto* sorted = dynamic_cast<SjisItem*>(item)) sorted->SetSortKey(column, sjis);
  item->setText(column, FromSjis(sjis));
  item->setData(column, kSjisRole, QByteArray(sjis.data(), static_cast<qsizetype>(sjis.size())));
}

std::string SjisText(const QTreeWidgetItem* item, int column) {
  const QVariant kept = item->data(column, kSjisRole);
  if (kept.isValid()) {
    const QByteArray bytes = kept.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  return ToSjis(item->text(column));
}

void SjisItem::SetSortKey(int column, const std::string& sjis) {
  if (column < 0) return;
  if (keys_.size() <= static_cast<std::size_t>(column))
    keys_.resize(static_cast<std::size_t>(column) + 1);
  keys_[static_cast<std::size_t>(column)] = platform::SortKey(sjis);
}

bool SjisItem::operator<(const QTreeWidgetItem& other) const {
  const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
  const auto* sorted = dynamic_cast<const SjisItem*>(&other);
  const std::size_t at = static_cast<std::size_t>(std::max(column, 0));
  // Keys that differ decide; equal keys leave it to the bytes, as CompareText does.
  if (sorted && at < keys_.size() && at < sorted->keys_.size()) {
    const int order = keys_[at].compare(sorted->keys_[at]);
    if (order != 0) return order < 0;
  }
  return platform::CompareText(SjisText(this, column), SjisText(&other, column)) < 0;
}

QtTreeView::QtTreeView(QTreeWidget* tree, bool editable) : tree_(tree), editable_(editable) {
  if (!tree) return;
  // The one column is as wide as its widest shown caption: a pane narrower than a folder's
  // name scrolls to it instead of cutting it to "...", which left only the first characters
  // of long names ("ユーザ設定...") in the narrow trees of the pages.
  tree->header()->setStretchLastSection(false);
  tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

void QtTreeView::Clear() {
  if (tree_) tree_->clear();
  items_.clear();
}

TreeView::Node QtTreeView::AddChild(Node parent, const std::string& caption, int image,
                                    int selectedImage) {
  if (!tree_) return kNoNode;
  auto* item = new SjisItem();
  SetSjisText(item, 0, caption);
  item->setIcon(0, StripIcon(image, selectedImage));
  // Set before the item is in the tree: changing an item in a tree tells every view.
  if (editable_) item->setFlags(item->flags() | Qt::ItemIsEditable);
  const Node node = static_cast<Node>(items_.size());
  item->setData(0, kNodeRole, node);
  items_.push_back(item);
  // Insert after the last sibling that does not sort after the new caption.
  QTreeWidgetItem* parentItem = ItemOf(parent);
  const int count = parentItem ? parentItem->childCount() : tree_->topLevelItemCount();
  auto childAt = [&](int i) { return parentItem ? parentItem->child(i) : tree_->topLevelItem(i); };
  int lo = 0, hi = count;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (platform::CompareText(caption, SjisText(childAt(mid), 0)) < 0)
      hi = mid;
    else
      lo = mid + 1;
  }
  if (parentItem)
    parentItem->insertChild(lo, item);
  else
    tree_->insertTopLevelItem(lo, item);
  return node;
}

void QtTreeView::RemoveNode(Node node) {
  QTreeWidgetItem* item = ItemOf(node);
  if (!item) return;
  // Forget the node and everything below it before the items go.
  std::vector<QTreeWidgetItem*> pending = {item};
  while (!pending.empty()) {
    QTreeWidgetItem* current = pending.back();
    pending.pop_back();
    const Node n = NodeOf(current);
    if (n != kNoNode) items_[static_cast<std::size_t>(n)] = nullptr;
    for (int i = 0; i < current->childCount(); ++i) pending.push_back(current->child(i));
  }
  delete item;
}

void QtTreeView::SetCaption(Node node, const std::string& caption) {
  if (QTreeWidgetItem* item = ItemOf(node)) SetSjisText(item, 0, caption);
}

TreeView::Node QtTreeView::Selected() const {
  if (!tree_) return kNoNode;
  return NodeOf(tree_->currentItem());
}

TreeView::Node QtTreeView::Parent(Node node) const {
  QTreeWidgetItem* item = ItemOf(node);
  return item ? NodeOf(item->parent()) : kNoNode;
}

int QtTreeView::Level(Node node) const {
  int level = 0;
  for (QTreeWidgetItem* item = ItemOf(node); item && item->parent(); item = item->parent()) ++level;
  return level;
}

std::string QtTreeView::Caption(Node node) const {
  QTreeWidgetItem* item = ItemOf(node);
  return item ? SjisText(item, 0) : std::string();
}

TreeView::Node QtTreeView::NodeOf(const QTreeWidgetItem* item) const {
  if (!item) return kNoNode;
  const QVariant v = item->data(0, kNodeRole);
  if (!v.isValid()) return kNoNode;
  const Node node = v.toInt();
  return node >= 0 && node < static_cast<Node>(items_.size()) && items_[node] == item ? node
                                                                                      : kNoNode;
}

QTreeWidgetItem* QtTreeView::ItemOf(Node node) const {
  return node >= 0 && node < static_cast<Node>(items_.size()) ? items_[node] : nullptr;
}

void QtListItems::Clear() {
  if (list_) list_->clear();
}

void QtListItems::Add(const std::string& caption, int imageIndex) {
  if (!list_) return;
  auto* item = new SjisItem();
  SetSjisText(item, 0, caption);
  item->setIcon(0, StripIcon(imageIndex));
  if (editable_) item->setFlags(item->flags() | Qt::ItemIsEditable);
  list_->addTopLevelItem(item);  // a list with sorting on puts it in its place
}

}  // namespace lf
