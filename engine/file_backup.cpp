#include "engine/file_backup.h"

#include "engine/sjis_text.h"

namespace lf {

std::string NoBackupText() {
  return Sjis("ブックマークファイルのバックアップが出来ていません。");
}

}  // namespace lf
