#include "core/stderr_owner.h"

#include "platform/codepage.h"

namespace lf {

int StderrOwner::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  (void)caption;
  Print(text);
  return (flags & 0x0F) == kMbOkCancel ? kIdCancel : kIdOk;
}

void StderrOwner::Print(const std::string& text) {
  std::string utf8 = platform::Cp932ToUtf8(text);
  for (char& c : utf8)
    if (c == '\r') c = '\n';
  out_ << "linkferry: " << utf8 << '\n' << std::flush;
}

}  // namespace lf
