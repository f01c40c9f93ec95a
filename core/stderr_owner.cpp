#include "core/stderr_owner.h"

#include "platform/codepage.h"

namespace lf {

int StderrOwner::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  (void)caption;
  Print(text, '\n');
  return (flags & 0x0F) == kMbOkCancel ? kIdCancel : kIdOk;
}

int StderrOwner::ItemFailureBox(const std::string& text, const std::string& caption,
                                unsigned flags) {
  (void)caption;
  // A read-only target of thousands of links would otherwise bury everything else.
  if (++itemFailures_ <= kShownFailures) Print(text, ' ');
  return (flags & 0x0F) == kMbOkCancel ? kIdCancel : kIdOk;
}

void StderrOwner::Finish() {
  if (itemFailures_ <= kShownFailures) return;
  out_ << "linkferry: " << itemFailures_ - kShownFailures
       << " more folders and links could not be written; LostData.txt lists them all\n"
       << std::flush;
}

void StderrOwner::Print(const std::string& text, char lineBreak) {
  std::string utf8 = platform::Cp932ToUtf8(text);
  for (char& c : utf8)
    if (c == '\r') c = lineBreak;
  out_ << "linkferry: " << utf8 << '\n' << std::flush;
}

}  // namespace lf
