// What a reader or writer works with and what it says it did. The caller shows the report
// and counts from it; nobody has to guess a failure from the messages that were shown.
#pragma once

#include <string>
#include <vector>

#include "engine/sjis_text.h"
#include "engine/ui.h"

namespace lf {

// The window side of one read or write: the owner of its messages, its progress bar, the
// status label (none where nothing is shown) and the cancel flag it looks at.
struct Io {
  Owner& owner;
  ProgressBar& bar;
  StatusLabel* status;
  int& cancel;
};

// Something a reader or writer could not carry: a line of the lost-data log.
struct LostItem {
  std::string kind;    // "URL Error", "File Error", "Dir  Error"
  std::string path;    // the whole program path of what it was (Shift-JIS)
  std::string reason;  // the system's text for why, where there is one
};

struct Report {
  int links = 0;    // links read or written
  int folders = 0;  // folders read or written
  int errors = 0;   // links that could not be carried: the run's conversion errors
  std::vector<LostItem> lost;
  // Failures that stopped the whole read or write, as the message that said so (Shift-JIS).
  std::vector<std::string> failures;
  // What the user should know that is no failure (Shift-JIS): a link written under another
  // name, what the target could not hold.
  std::vector<std::string> notes;
  // What the target could not hold, counted by kind ("Not Held", the target, the counts):
  // lines of the lost-data log, though nothing was lost that the target could have kept.
  std::vector<LostItem> unheld;
  bool cancelled = false;

  bool Failed() const { return !failures.empty(); }
  // True when nothing went wrong: no failure, nothing lost, no error.
  bool Clean() const { return failures.empty() && lost.empty() && errors == 0; }
  // Adds what another step did.
  void Add(const Report& other) {
    links += other.links;
    folders += other.folders;
    errors += other.errors;
    lost.insert(lost.end(), other.lost.begin(), other.lost.end());
    failures.insert(failures.end(), other.failures.begin(), other.failures.end());
    notes.insert(notes.end(), other.notes.begin(), other.notes.end());
    unheld.insert(unheld.end(), other.unheld.begin(), other.unheld.end());
    cancelled = cancelled || other.cancelled;
  }
};

// Shows the message of a failure that stopped a read or write and records it in the report.
inline void ReportFailure(const Io& io, Report& report, const std::string& text) {
  io.owner.MessageBox(text, MessageCaption(), kMbOk | kMbIconError);
  report.failures.push_back(text);
}

// Shows what the user should know of a run or write that is no failure, in one message.
void ShowNotes(Owner& owner, const std::vector<std::string>& notes);

}  // namespace lf
