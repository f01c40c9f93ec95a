// The Opera hotlist reader: every "#FOLDER" block becomes a folder entry and every "#URL"
// block a URL entry under the root path, nested as the file nests them.
//
// The file's nesting is followed with a stack of open folders instead of one nested call per
// folder, so that a file of a million nested folders costs no call stack. Each frame of the
// stack does exactly what one nested call of the block parser would do; only what a suspended
// frame needs again is kept: its remembered link name (when it has one) and its folder path
// (once per folder that is entered; folders too deep for the entry format share the path of
// the deepest one that fits). Memory therefore grows with the file, never with more.
#include <algorithm>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "platform/file_system.h"

namespace lf {
namespace {

enum class Block { None, Folder, Link };

// The text after the first "key" of the line, if the line holds one.
bool ValueAfter(const std::string& line, std::string_view key, std::string& value) {
  const std::size_t pos = FindCharBoundary(line, key);
  if (pos == std::string::npos) return false;
  value.assign(line, pos + key.size());
  return true;
}

// Follows the blocks of a hotlist line by line and files what they hold in the list.
class HotlistParser {
 public:
  HotlistParser(const std::string& folderPath, BookmarkList& list, Report& report)
      : list_(list), report_(report), paths_{{0, folderPath}} {}

  // Takes the next line; false once the folder the parse began in has ended.
  bool Take(const std::string& line) {
    std::string value;
    if (state_ == Block::None) {
      if (line == "#FOLDER") {
        state_ = Block::Folder;
        ++depth_;
      } else if (line == "#URL") {
        state_ = Block::Link;
      }
    } else if (state_ == Block::Folder && ValueAfter(line, "NAME=", value)) {
      EnterFolder(value);
      return true;  // the folder's contents start on the next line
    } else if (state_ == Block::Link) {
      TakeLinkLine(line);
    }
    return TakeEnd(line);
  }

  bool TooDeep() const { return tooDeep_; }

 private:
  struct SavedPath {
    long long frame;  // the frame that entered the folder
    std::string path;
  };
  struct SavedName {
    long long frame;
    std::string name;
  };

  // Files the folder and opens a frame for its contents. A "\" of the name is part of the
  // name, never a step of the path.
  void EnterFolder(const std::string& text) {
    const int level = depth_ - 1;
    // A folder is entered only where its level fits the entry format; the contents of one
    // that does not are filed in the deepest folder that was entered.
    const bool entered = level <= kMaxFolderLevel && paths_.back().frame == frame_;
    if (entered) {
      list_.push_back(MakeFolderEntry(paths_.back().path, text, level));
      ++report_.folders;
    } else
      tooDeep_ = true;
    if (!linkName_.empty()) names_.push_back({frame_, std::move(linkName_)});
    linkName_.clear();
    ++frame_;
    state_ = Block::None;
    if (entered) paths_.push_back({frame_, std::string(ViewOf(list_.back()).OwnPath())});
  }

  // A line of a "#URL" block: its name is remembered, its address files the link.
  void TakeLinkLine(const std::string& line) {
    std::string value;
    if (ValueAfter(line, "NAME=", value)) linkName_ = value;
    if (ValueAfter(line, "URL=", value)) {
      if (depth_ > kMaxLevel) tooDeep_ = true;
      list_.push_back(
          MakeLinkEntry(paths_.back().path, linkName_, std::min(depth_, kMaxLevel), value));
      ++report_.links;
      state_ = Block::None;
    }
  }

  // A "-" ends a folder. A frame that is left returns to its opener, whose own line was the
  // folder's "NAME=" line: that one only checks whether the depth fell below its base too.
  // False when the outermost frame ends.
  bool TakeEnd(const std::string& line) {
    bool leave = false;
    if (line == "-") {
      --depth_;
      leave = depth_ == base_ + frame_;
    }
    while (leave || depth_ < base_ + frame_) {
      leave = false;
      if (!EndFrame()) return false;
    }
    return true;
  }

  // Ends the current frame and resumes the one that opened it; false at the outermost one.
  bool EndFrame() {
    if (frame_ == 0) return false;
    if (paths_.back().frame == frame_) paths_.pop_back();
    --frame_;
    state_ = Block::None;
    if (!names_.empty() && names_.back().frame == frame_) {
      linkName_ = std::move(names_.back().name);
      names_.pop_back();
    } else {
      linkName_.clear();
    }
    return true;
  }

  int depth_ = 0;  // one more at every "#FOLDER", one less at every "-"
  const int base_ = 0;
  BookmarkList& list_;
  Report& report_;
  std::vector<SavedPath> paths_;
  std::vector<SavedName> names_;
  long long frame_ = 0;  // the current frame; its base is base_ + frame_
  Block state_ = Block::None;
  std::string linkName_;  // the current frame's remembered link name
  bool tooDeep_ = false;
};

}  // namespace

Report TBookmarkControl::LoadOperaFile(const Io& io, const std::string& filePath,
                                       BookmarkList& list, const std::string& rootFolder) {
  Report report;
  io.owner.ProcessMessages();
  try {
    LineReader file(filePath);
    // About 90 bytes per line; the bar stops at its maximum when the lines are shorter.
    io.bar.SetMax(static_cast<int>(file.Size() / 90));
    io.bar.SetVisible(true);
    io.bar.SetPosition(0);
    io.bar.SetStep(1);
    HotlistParser parser(RemoveBackslash(rootFolder), list, report);
    std::string line;
    while (file.ReadLine(line)) {
      io.bar.StepIt();
      io.owner.ProcessMessages();
      if (io.cancel != 0) break;
      line = Utf8ToSjis(line);
      if (!parser.Take(line)) break;
    }
    if (parser.TooDeep())
      io.owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbOk | kMbIconWarning);
    Regroup(list);
    file.Close();
    io.bar.SetVisible(false);
  } catch (const platform::IoError& e) {
    ReportFailure(io, report,
                  Sjis("Ｏｐｅｒａ　Ｂｏｏｋｍａｒｋファイルの読み込みで [ ") + e.what() +
                      Sjis(" ] のエラーが発生しました。"));
  }
  report.cancelled = io.cancel != 0;
  return report;
}

void TBookmarkControl::LoadOperaFile(Owner& owner, const std::string& filePath, int& cancel,
                                     int& operaUrlCount, ProgressBar& bar, BookmarkList& list,
                                     const std::string& rootFolder) {
  operaUrlCount += LoadOperaFile({owner, bar, nullptr, cancel}, filePath, list, rootFolder).links;
}

}  // namespace lf
