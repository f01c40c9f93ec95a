#include "engine/lost_data.h"

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

namespace lf {

LostDataLog::LostDataLog(std::string folder) : folder_(std::move(folder)) {}

void LostDataLog::Add(const Report& report) {
  for (const LostItem& item : report.lost) lines_.push_back(item.Line());
}

std::string LostDataLog::Folder() const {
  return folder_.empty() ? platform::ProgramDirectory() : folder_;
}

std::string LostDataLog::Path() const {
  return TBookmarkControl::AddBackslash(Folder()) + "LostData.txt";
}

bool LostDataLog::Save(Owner& owner, const platform::SinkFilter& filter) {
  const std::string path = Path();
  try {
    // A folder of the user's own may not be there yet on a first run.
    const std::string folder = Folder();
    if (!platform::DirectoryExists(folder)) {
      if (int rc = platform::MakePrivateDirectories(folder)) throw platform::IoError(rc);
    }
    platform::SaveFile(path,
                       [&](platform::ByteSink& sink) {
                         LineWriter out(sink);
                         for (const std::string& line : lines_) out.WriteLine(line);
                         out.Flush();
                       },
                       {std::string(), filter});
  } catch (const platform::IoError& e) {
    owner.MessageBox(Sjis("ＬｏｓｔＤａｔａ．ｔｘｔ[ ") + path + Sjis(" ]の作成で\r[ ") + e.what() +
                         Sjis(" ] のエラーが発生しました。"),
                     MessageCaption(), kMbIconError | kMbOk);
    return false;
  }
  saved_ = true;
  return true;
}

}  // namespace lf
