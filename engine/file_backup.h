// What the bookmark file and hotlist writers say when the file they would replace cannot be
// kept as its backup (platform::BackupError): the file is then left as it was.
#pragma once

#include <string>

namespace lf {

// The message (Shift-JIS).
std::string NoBackupText();

}  // namespace lf
