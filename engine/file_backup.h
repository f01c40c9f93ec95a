// What the bookmark file and hotlist writers tell the user when the file they would replace
// cannot be kept as its backup (platform::BackupError): the file is then left as it was.
#pragma once

#include "engine/ui.h"

namespace lf {

void ShowNoBackup(Owner& owner);

}  // namespace lf
