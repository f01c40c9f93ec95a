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

  // Prints an error of the run itself.
  void ReportError(const std::string& text) { Print(text); }

 private:
  void Print(const std::string& text);

  std::ostream& out_;
};

}  // namespace lf
