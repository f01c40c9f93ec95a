// The backup that the bookmark file and hotlist writers keep of the file they replace, and
// the way back to it when the new file cannot be written.
#pragma once

#include <string>

#include "engine/ui.h"

namespace lf {

// Deletes the backup an earlier write left. A file that already has the backup's name cannot
// be its own backup: it is not deleted, and MoveToBackup refuses it.
void DeleteEarlierBackup(const std::string& filePath, const std::string& backupPath);

// Moves the file to its backup; false, with the user told that no backup was made, when the
// file has the backup's name or cannot be moved.
bool MoveToBackup(Owner& owner, const std::string& filePath, const std::string& backupPath);

// After a failed write: the cut-off new file goes, and the previous file comes back from its
// backup unless something has taken its place.
void UndoFailedWrite(const std::string& writePath, const std::string& filePath,
                     const std::string& backupPath, bool backedUp);

}  // namespace lf
