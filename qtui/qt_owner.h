// The engine's owner window on a Qt window: message boxes through the message service, and
// pending events processed at most every few milliseconds, so that long reads stay fast yet
// the window is painted and a cancel button answers at once. The box about a link or folder a
// writer could not write offers to go on without the others until the run ends (they still
// reach the log and the count).
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include "engine/ui.h"

namespace lf {

class QtOwner : public Owner {
 public:
  explicit QtOwner(QWidget* window);

  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  int ItemFailureBox(const std::string& text, const std::string& caption, unsigned flags) override;
  void ProcessMessages() override;
  void Beep() override;

  // Processes pending events now, whatever the time since the last time.
  void ProcessMessagesNow();
  // A new run: its boxes about links and folders not written are shown again.
  void BeginRun() { quiet_ = false; }
  // True once the user chose to see no more of them in this run.
  bool Quiet() const { return quiet_; }

  // How long events may wait while the engine works.
  static constexpr int kIntervalMs = 30;

 private:
  QPointer<QWidget> window_;
  QElapsedTimer sinceLast_;
  bool quiet_ = false;
};

}  // namespace lf
