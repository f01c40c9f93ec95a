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

}  // namespace

void TBookmarkControl::LoadOperaFile(Owner& owner, const std::string& filePath, int& cancel,
                                     int& operaUrlCount, ProgressBar& bar, BookmarkList& list,
                                     const std::string& rootFolder) {
  owner.ProcessMessages();
  try {
    LineReader file(filePath);
    // About 90 bytes per line; the bar stops at its maximum when the lines are shorter.
    bar.SetMax(static_cast<int>(file.Size() / 90));
    bar.SetVisible(true);
    bar.SetPosition(0);
    bar.SetStep(1);
    int depth = 0;
    ParseOperaFolder(owner, true, file, cancel, operaUrlCount, depth, bar, list, 0,
                     RemoveBackslash(rootFolder));
    Regroup(list);
    file.Close();
    bar.SetVisible(false);
  } catch (const platform::IoError& e) {
    owner.MessageBox(Sjis("Ｏｐｅｒａ　Ｂｏｏｋｍａｒｋファイルの読み込みで [ ") + e.what() +
                         Sjis(" ] のエラーが発生しました。"),
                     MessageCaption(), kMbOk | kMbIconError);
  }
}

void TBookmarkControl::ParseOperaFolder(Owner& owner, bool utf8, LineReader& file, int& cancel,
                                        int& operaUrlCount, int& depth, ProgressBar& bar,
                                        BookmarkList& list, int base,
                                        const std::string& folderPath) {
  struct SavedPath {
    long long frame;  // the frame that entered the folder
    std::string path;
  };
  struct SavedName {
    long long frame;
    std::string name;
  };
  std::vector<SavedPath> paths{{0, folderPath}};
  std::vector<SavedName> names;
  long long frame = 0;  // the current frame; its base is base + frame

  Block state = Block::None;
  std::string linkName;  // the current frame's remembered link name
  bool tooDeep = false;
  std::string line, value;

  // Ends the current frame and resumes the one that opened it; false at the outermost one.
  auto endFrame = [&]() {
    if (frame == 0) return false;
    if (paths.back().frame == frame) paths.pop_back();
    --frame;
    state = Block::None;
    if (!names.empty() && names.back().frame == frame) {
      linkName = std::move(names.back().name);
      names.pop_back();
    } else {
      linkName.clear();
    }
    return true;
  };

  while (file.ReadLine(line)) {
    bar.StepIt();
    owner.ProcessMessages();
    if (cancel != 0) break;
    if (utf8) line = Utf8ToSjis(line);

    if (state == Block::None) {
      if (line == "#FOLDER") {
        state = Block::Folder;
        ++depth;
      } else if (line == "#URL") {
        state = Block::Link;
      }
    } else if (state == Block::Folder && ValueAfter(line, "NAME=", value)) {
      const int level = depth - 1;
      // A folder is entered only where its level fits the entry format; the contents of one
      // that does not are filed in the deepest folder that was entered.
      const bool entered = level <= kMaxFolderLevel && paths.back().frame == frame;
      if (entered)
        list.push_back(paths.back().path + "\\" + value + ".dir" + LevelChar(level));
      else
        tooDeep = true;
      if (!linkName.empty()) names.push_back({frame, std::move(linkName)});
      linkName.clear();
      ++frame;
      state = Block::None;
      if (entered) paths.push_back({frame, paths.back().path + "\\" + value});
      continue;  // the folder's contents start on the next line
    } else if (state == Block::Link) {
      if (ValueAfter(line, "NAME=", value)) linkName = value;
      if (ValueAfter(line, "URL=", value)) {
        if (depth > kMaxLevel) tooDeep = true;
        list.push_back(paths.back().path + std::string(kLinkMarker) + EntryLinkName(linkName) +
                       ".url" + LevelChar(std::min(depth, kMaxLevel)) + "\\" + value);
        ++operaUrlCount;
        state = Block::None;
      }
    }

    bool leave = false;
    if (line == "-") {
      --depth;
      leave = depth == base + frame;
    }
    // A frame that is left returns to its opener, whose own line was the folder's "NAME="
    // line: that one only checks whether the depth fell below its base too.
    while (leave || depth < base + frame) {
      leave = false;
      if (!endFrame()) {
        frame = -1;
        break;
      }
    }
    if (frame < 0) break;
  }

  if (tooDeep) owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbOk | kMbIconWarning);
}

}  // namespace lf
