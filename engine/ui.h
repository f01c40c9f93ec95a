// What the engine needs from the window that calls it. Every interface does nothing by
// default; the Qt pages implement them, tests record what the engine did with them.
#pragma once

#include <string>

namespace lf {

// Message box styles and answers, with the values of the Windows message box.
enum MessageFlags : unsigned {
  kMbOk = 0x00,
  kMbOkCancel = 0x01,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};
enum MessageAnswer : int { kIdOk = 1, kIdCancel = 2 };

// The window that owns the engine's message boxes and whose messages the engine lets be
// processed while it works.
class Owner {
 public:
  virtual ~Owner() = default;
  // Shows a modal message box (Shift-JIS texts) and returns the button pressed.
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    (void)text, (void)caption, (void)flags;
    return kIdOk;
  }
  // Shows the box about one folder or link that a writer could not write and whose name goes
  // to the lost-data log. A window may offer to show no more of them until the run ends: a
  // read-only target would otherwise ask for as many clicks as it has links.
  virtual int ItemFailureBox(const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBox(text, caption, flags);
  }
  // Lets pending window messages be processed; a cancel button may set the cancel flag here.
  virtual void ProcessMessages() {}
  virtual void Beep() {}
};

class ProgressBar {
 public:
  virtual ~ProgressBar() = default;
  virtual void SetMax(int max) { (void)max; }
  virtual void SetPosition(int position) { (void)position; }
  virtual void SetStep(int step) { (void)step; }
  // Advances by the step; the position stays at the maximum once it gets there.
  virtual void StepIt() {}
  virtual void SetVisible(bool visible) { (void)visible; }
};

// The label on which a page shows what it is doing.
class StatusLabel {
 public:
  virtual ~StatusLabel() = default;
  virtual void SetCaption(const std::string& text) { (void)text; }
  virtual void SetVisible(bool visible) { (void)visible; }
  virtual bool Visible() const { return true; }
};

// A folder tree. Nodes are numbers handed out by the tree; kNoNode stands for none.
class TreeView {
 public:
  using Node = int;
  static constexpr Node kNoNode = -1;

  virtual ~TreeView() = default;
  virtual void Clear() = 0;
  // Adds a node under parent (at the top level for kNoNode) with the given caption and
  // images; the children of every node are kept in caption order.
  virtual Node AddChild(Node parent, const std::string& caption, int image, int selectedImage) = 0;
  virtual Node Selected() const = 0;
  virtual Node Parent(Node node) const = 0;
  // 0 for a node at the top level.
  virtual int Level(Node node) const = 0;
  virtual std::string Caption(Node node) const = 0;
};

// The items of a report-style list of links.
class ListItems {
 public:
  virtual ~ListItems() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& caption, int imageIndex) = 0;
};

// Image indexes of the folder/link picture strip.
enum TreeImage : int { kImageFolder = 0, kImageOpenFolder = 1, kImageLink = 2, kImageDrive = 3 };

}  // namespace lf
