// Recording stand-ins for the window interfaces the engine is given.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/ui.h"

namespace lftest {

struct MessageRecord {
  std::string text;     // Shift-JIS, as shown
  std::string caption;  // Shift-JIS
  unsigned flags = 0;
};

// Records every message box and answers it from a script (OK when the script is empty);
// counts message pumps and can act on them, e.g. to set a cancel flag.
class RecordingOwner : public lf::Owner {
 public:
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  void ProcessMessages() override;
  void Beep() override { ++beeps; }

  // The texts shown, in UTF-8.
  std::vector<std::string> Texts() const;

  std::vector<MessageRecord> messages;
  std::deque<int> answers;
  int pumps = 0;
  int beeps = 0;
  std::function<void(int pumpNumber)> onPump;
};

class FakeProgressBar : public lf::ProgressBar {
 public:
  void SetMax(int m) override { max = m; }
  void SetPosition(int p) override { position = p; }
  void SetStep(int s) override { step = s; }
  void StepIt() override;
  void SetVisible(bool v) override { visible = v; }

  int max = 100, position = 0, step = 1, steps = 0;
  bool visible = false;
};

class FakeStatusLabel : public lf::StatusLabel {
 public:
  void SetCaption(const std::string& text) override;
  void SetVisible(bool v) override;
  bool Visible() const override { return visible; }

  std::string caption;               // Shift-JIS
  std::vector<std::string> history;  // every caption set, in UTF-8
  bool visible = true;
  int visibilityChanges = 0;
};

class FakeTreeView : public lf::TreeView {
 public:
  void Clear() override;
  Node AddChild(Node parent, const std::string& caption, int image, int selectedImage) override;
  Node Selected() const override { return selected; }
  Node Parent(Node node) const override;
  int Level(Node node) const override;
  std::string Caption(Node node) const override;

  // Finds a node by its captions from the top (Shift-JIS), or kNoNode.
  Node Find(const std::vector<std::string>& captions) const;
  // The whole tree, one node per line indented by two spaces a level, captions in UTF-8,
  // followed by " [image/selected image]".
  std::string Dump() const;

  struct Item {
    Node parent = kNoNode;
    std::string caption;
    int image = 0, selectedImage = 0;
    std::vector<Node> children;
  };
  std::vector<Item> nodes;
  std::vector<Node> top;
  Node selected = kNoNode;
  int clears = 0;
};

class FakeListItems : public lf::ListItems {
 public:
  void Clear() override { items.clear(); }
  void Add(const std::string& caption, int imageIndex) override;
  // The captions in UTF-8.
  std::vector<std::string> Captions() const;

  std::vector<std::pair<std::string, int>> items;
};

}  // namespace lftest
