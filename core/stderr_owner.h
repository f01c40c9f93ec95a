// The engine's owner during an unattended run: there is no window, so the engine's messages
// go to standard error in UTF-8, and errors are counted so that the run can end with a
// failure status.
#pragma once

#include <ostream>

#include "engine/ui.h"

namespace lf {

class StderrOwner : public Owner {
 public:
  explicit StderrOwner(std::ostream& out) : out_(out) {}

  // Prints the text; a question is answered with Cancel, which always means "no".
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;

  // Messages shown with the error icon, and errors reported by the caller.
  int ErrorCount() const { return errors_; }
  void ReportError(const std::string& text);

 private:
  void Print(const std::string& text);

  std::ostream& out_;
  int errors_ = 0;
};

}  // namespace lf
