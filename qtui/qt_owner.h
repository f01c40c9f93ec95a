// The engine's owner window on a Qt window: message boxes through the message service, and
// pending events processed at most every few milliseconds, so that long reads stay fast yet
// the window is painted and a cancel button answers at once. A writer says in a box of its
// own for every link or folder it cannot write that its name goes to the lost-data log; a
// read-only target would ask for as many clicks as it has links, so such a box offers to go
// on without the others until the run ends (they still reach the log and the count).
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

// True for a writer's message about one link or folder whose name goes to the lost-data log.
bool LoggedWriteFailure(const std::string& text, unsigned flags);

}  // namespace lf
