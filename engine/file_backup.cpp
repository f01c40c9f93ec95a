#include "engine/file_backup.h"

#include "engine/sjis_text.h"
#include "platform/file_system.h"

namespace lf {

void DeleteEarlierBackup(const std::string& filePath, const std::string& backupPath) {
  if (backupPath != filePath && platform::FileExists(backupPath)) platform::DeleteFile(backupPath);
}

bool MoveToBackup(Owner& owner, const std::string& filePath, const std::string& backupPath) {
  if (backupPath == filePath || platform::RenameFile(filePath, backupPath) != 0) {
    owner.MessageBox(Sjis("ブックマークファイルのバックアップが出来ていません。"), MessageCaption(),
                     kMbOk | kMbIconError);
    return false;
  }
  return true;
}

void UndoFailedWrite(const std::string& writePath, const std::string& filePath,
                     const std::string& backupPath, bool backedUp) {
  platform::DeleteFile(writePath);
  if (backedUp && !platform::PathExists(filePath)) platform::RenameFile(backupPath, filePath);
}

}  // namespace lf
