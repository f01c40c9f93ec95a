// The backup the bookmark file and hotlist writers keep of the file they replace, and what
// they say when it cannot be made.
#pragma once

#include <string>

namespace lf {

// The name the file's backup is kept under: its name with ".old" in place of its extension
// ("bookmark.htm" gives "bookmark.old"), or, when a file of the same name with another
// extension lies beside it ("bookmark.adr"), its whole name and ".old" ("bookmark.htm.old"),
// so that the backup of one file never replaces the backup of another; a file with the
// extension ".old" itself keeps its backup under its whole name and ".old".
std::string BackupPath(const std::string& path);

// The message when the file cannot be kept as its backup (the file is then left as it was):
// which file, as kind names it (Shift-JIS), where it lies and the system's reason.
std::string NoBackupText(const char* kind, const std::string& path, int code);

// The message when the file cannot be written (the file is then left as it was): which file,
// as kind names it (Shift-JIS), where it lies and the error's text.
std::string SaveFailureText(const char* kind, const std::string& path, const std::string& what);

}  // namespace lf
