// The engine's owner during a run without a window: the engine's messages go to standard
// error in UTF-8. Whether the run failed is its result's to say, not the messages'.
#pragma once

#include <ostream>

#include "engine/ui.h"

namespace lf {

class StderrOwner : public Owner {
 public:
  explicit StderrOwner(std::ostream& out) : out_(out) {}

  // Prints the text; a question is answered with Cancel, which always means "no".
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;

  // Prints the failure of one folder or link in one line; after the first kShownFailures only
  // counts them, for Finish to say how many more there were.
  int ItemFailureBox(const std::string& text, const std::string& caption, unsigned flags) override;

  // Prints an error of the run itself.
  void ReportError(const std::string& text) { Print(text, '\n'); }
  // Says how many failures of folders and links were not printed, if any.
  void Finish();

  static constexpr int kShownFailures = 20;

 private:
  // The text in UTF-8 after "linkferry: ", its line breaks as lineBreak.
  void Print(const std::string& text, char lineBreak);

  std::ostream& out_;
  int itemFailures_ = 0;
};

}  // namespace lf
