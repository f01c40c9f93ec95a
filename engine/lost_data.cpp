#include "engine/lost_data.h"

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

namespace lf {

LostDataLog::LostDataLog(std::string folder) : folder_(std::move(folder)) {}

void LostDataLog::Add(const Report& report) {
  for (const auto* items : {&report.lost, &report.unheld})
    for (const LostItem& item : *items) {
      std::string line = item.kind + " : " + platform::ShownPath(item.path);
      if (!item.reason.empty()) line += " [ " + item.reason + " ]";
      lines_.push_back(platform::Cp932ToUtf8(line));
    }
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
                         for (const std::string& line : lines_) {
                           sink.Write(line);
                           sink.Write("\n");
                         }
                       },
                       {std::string(), filter});
  } catch (const platform::IoError& e) {
    owner.MessageBox(Sjis("ＬｏｓｔＤａｔａ．ｔｘｔ[ ") + platform::ShownPath(path) +
                         Sjis(" ]の作成で\r[ ") + e.what() + Sjis(" ] のエラーが発生しました。"),
                     MessageCaption(), kMbIconError | kMbOk);
    return false;
  }
  saved_ = true;
  return true;
}

void ShowNotes(Owner& owner, const std::vector<std::string>& notes) {
  if (notes.empty()) return;
  constexpr std::size_t kShown = 10;
  std::string text;
  for (std::size_t i = 0; i < notes.size() && i < kShown; ++i) text += (i ? "\r" : "") + notes[i];
  if (notes.size() > kShown)
    text += Sjis("\rほか ") + std::to_string(notes.size() - kShown) + Sjis(" 件");
  owner.MessageBox(text, MessageCaption(), kMbIconInformation | kMbOk);
}

}  // namespace lf
