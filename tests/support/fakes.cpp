#include "tests/support/fakes.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/collation.h"

namespace lftest {

int RecordingOwner::MessageBox(const std::string& text, const std::string& caption,
                               unsigned flags) {
  messages.push_back({text, caption, flags});
  if (answers.empty()) return lf::kIdOk;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

void RecordingOwner::ProcessMessages() {
  ++pumps;
  if (onPump) onPump(pumps);
}

std::vector<std::string> RecordingOwner::Texts() const {
  std::vector<std::string> texts;
  for (const MessageRecord& m : messages) texts.push_back(platform::Cp932ToUtf8(m.text));
  return texts;
}

void FakeProgressBar::StepIt() {
  ++steps;
  position = std::min(position + step, max);
}

void FakeStatusLabel::SetCaption(const std::string& text) {
  caption = text;
  history.push_back(platform::Cp932ToUtf8(text));
}

void FakeStatusLabel::SetVisible(bool v) {
  if (v != visible) ++visibilityChanges;
  visible = v;
}

void FakeTreeView::Clear() {
  nodes.clear();
  top.clear();
  selected = kNoNode;
  ++clears;
}

FakeTreeView::Node FakeTreeView::AddChild(Node parent, const std::string& caption, int image,
                                          int selectedImage) {
  Node id = static_cast<Node>(nodes.size());
  nodes.push_back({parent, caption, image, selectedImage, {}});
  std::vector<Node>& siblings = parent == kNoNode ? top : nodes[parent].children;
  // After the last sibling that does not sort after it, as a sort by caption would put it.
  auto at = std::upper_bound(siblings.begin(), siblings.end(), id, [&](Node a, Node b) {
    return platform::CompareText(nodes[a].caption, nodes[b].caption) < 0;
  });
  siblings.insert(at, id);
  return id;
}

FakeTreeView::Node FakeTreeView::Parent(Node node) const {
  return node >= 0 && node < static_cast<Node>(nodes.size()) ? nodes[node].parent : kNoNode;
}

int FakeTreeView::Level(Node node) const {
  int level = 0;
  for (Node p = Parent(node); p != kNoNode; p = Parent(p)) ++level;
  return level;
}

std::string FakeTreeView::Caption(Node node) const {
  return node >= 0 && node < static_cast<Node>(nodes.size()) ? nodes[node].caption
                                                              : std::string();
}

FakeTreeView::Node FakeTreeView::Find(const std::vector<std::string>& captions) const {
  const std::vector<Node>* level = &top;
  Node found = kNoNode;
  for (const std::string& c : captions) {
    found = kNoNode;
    for (Node n : *level)
      if (nodes[n].caption == c) found = n;
    if (found == kNoNode) return kNoNode;
    level = &nodes[found].children;
  }
  return found;
}

std::string FakeTreeView::Dump() const {
  std::string out;
  std::function<void(Node, int)> dump = [&](Node n, int depth) {
    out += std::string(2 * depth, ' ') + platform::Cp932ToUtf8(nodes[n].caption) + " [" +
           std::to_string(nodes[n].image) + "/" + std::to_string(nodes[n].selectedImage) + "]\n";
    for (Node c : nodes[n].children) dump(c, depth + 1);
  };
  for (Node n : top) dump(n, 0);
  return out;
}

void FakeListItems::Add(const std::string& caption, int imageIndex) {
  items.emplace_back(caption, imageIndex);
}

std::vector<std::string> FakeListItems::Captions() const {
  std::vector<std::string> out;
  for (const auto& item : items) out.push_back(platform::Cp932ToUtf8(item.first));
  return out;
}

}  // namespace lftest
