#include "engine/file_backup.h"

#include "engine/sjis_text.h"

namespace lf {

void ShowNoBackup(Owner& owner) {
  owner.MessageBox(Sjis("ブックマークファイルのバックアップが出来ていません。"), MessageCaption(),
                   kMbOk | kMbIconError);
}

}  // namespace lf
