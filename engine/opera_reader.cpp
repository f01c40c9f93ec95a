// The Opera hotlist reader: every "#FOLDER" block becomes a folder entry and every "#URL"
// block a URL entry under the root path, nested as the file nests them. A block is its line
// and the property lines after it (white space, KEY=value), up to the next block or "-"; a
// "-" closes the innermost open folder.
//
// The file's nesting is followed with a stack of the open folders' paths instead of one
// nested call per folder, so that a file of a million nested folders costs no call stack;
// folders too deep for the entry format share the path of the deepest one that fits, so the
// stack never grows past the levels the entries can express.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/entry.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "platform/file_system.h"

namespace lf {
namespace {

enum class Block { None, Folder, Link, Separator, Other };

// The kind of block a line begins; None for a line that begins none.
Block BlockOf(std::string_view line) {
  if (line.empty() || line[0] != '#') return Block::None;
  if (line == "#FOLDER") return Block::Folder;
  if (line == "#URL") return Block::Link;
  // The format's own spelling.
  if (line == "#SEPERATOR") return Block::Separator;
  return Block::Other;
}

// The key and value of a property line: white space, KEY=value. A key is taken only as a
// whole, so that no value ("NAME=a URL=http://x/") and no other key ("SHORT NAME=") is read
// as another property.
bool PropertyOf(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t start = std::min(line.find_first_not_of(" \t"), line.size());
  const std::size_t equals = line.find('=', start);
  if (equals == std::string_view::npos || equals == start) return false;
  key = line.substr(start, equals - start);
  value = line.substr(equals + 1);
  return true;
}

// What KDE's editor writes for a separator: a link of this name without an address.
constexpr std::string_view kKdeSeparatorName = "--- separator ---";

// Follows the blocks of a hotlist line by line and files what they hold in the list.
class HotlistParser {
 public:
  HotlistParser(const std::string& folderPath, BookmarkList& list, Report& report, Order order)
      : rootPath_(folderPath), list_(list), report_(report), separators_(order == Order::Keep) {}

  void Take(std::string_view line) {
    const Block block = BlockOf(line);
    if (block != Block::None || line == "-") {
      EndBlock();
      if (block == Block::None)
        LeaveFolder();
      else
        Begin(block);
      return;
    }
    std::string_view key, value;
    if (block_ == Block::None || !PropertyOf(line, key, value)) return;
    if (key == "NAME" && !hasName_) {
      name_.assign(value);
      hasName_ = true;
    } else if (key == "URL" && !hasUrl_) {
      url_.assign(value);
      hasUrl_ = true;
    } else {
      TakeProperty(key, value);
    }
  }

  std::string SeparatorNote() const { return separators_.Note(); }

  // The end of the file ends the block that is open.
  void Finish() { EndBlock(); }

  bool TooDeep() const { return tooDeep_; }

 private:
  struct SavedName {
    long long open;  // the folders open around the link that had it
    std::string name;
  };

  void Begin(Block block) {
    block_ = block;
    hasName_ = hasUrl_ = false;
    onPersonalBar_ = false;
    props_ = EntryProps();
  }

  // What a block says of its item beside its name and address.
  void TakeProperty(std::string_view key, std::string_view value) {
    const bool none = value.empty() || value == "0";
    if (key == "CREATED" && !none) {
      props_.Set(Prop::Added, value);
    } else if (key == "VISITED" && !none) {
      props_.Set(Prop::Visited, value);
    } else if (key == "SHORT NAME") {
      props_.Set(Prop::Keyword, value);
    } else if (key == "DESCRIPTION") {
      // The format keeps a line break as the two bytes 0x02 0x02.
      std::string text(value);
      for (std::size_t at = text.find("\x02\x02"); at != std::string::npos;
           at = text.find("\x02\x02", at + 1))
        text.replace(at, 2, "\n");
      props_.Set(Prop::Description, text);
    } else if (key == "ON PERSONALBAR" && value == "YES") {
      onPersonalBar_ = true;
    }
  }

  void EndBlock() {
    // The items of the personal bar are those of the toolbar folder: the folder they lie in
    // is the toolbar.
    if (onPersonalBar_ && !folders_.empty())
      list_[folders_.back()].props.Set(Prop::Root, "toolbar");
    switch (std::exchange(block_, Block::None)) {
      case Block::Folder:
        // A folder without a name is named as the windows name a new one.
        EnterFolder(hasName_ ? std::string_view(name_) : std::string_view(untitled_));
        break;
      case Block::Link:
        EndLink();
        break;
      case Block::Separator:
        AddSeparator();
        break;
      case Block::None:
      case Block::Other:
        break;
    }
  }

  // Files the folder and opens it. A "\" of the name is part of the name, never a step of
  // the path. A folder is entered only where its level fits the entry format; the contents
  // of one that does not are filed in the deepest folder that was entered.
  void EnterFolder(std::string_view name) {
    if (open_ <= kMaxFolderLevel) {
      list_.push_back(MakeFolderEntry(Path(), name, static_cast<int>(open_)));
      list_.back().props = std::move(props_);
      ++report_.folders;
      paths_.emplace_back(ViewOf(list_.back()).OwnPath());
      folders_.push_back(list_.size() - 1);
    } else {
      tooDeep_ = true;
    }
    if (!linkName_.empty()) names_.push_back({open_, std::move(linkName_)});
    linkName_.clear();
    ++open_;
  }

  // A "-" with no folder open closes nothing.
  void LeaveFolder() {
    if (open_ == 0) return;
    --open_;
    if (paths_.size() > static_cast<std::size_t>(open_)) {
      paths_.pop_back();
      folders_.pop_back();
    }
    linkName_.clear();
    if (!names_.empty() && names_.back().open == open_) {
      linkName_ = std::move(names_.back().name);
      names_.pop_back();
    }
  }

  // A link without a name of its own takes the name of the link before it in its folder.
  // KDE writes separators as links: one of its separator's name and no address is read as
  // the separator it stands for, not as a link that no format could open. A link without
  // an address is lost.
  void EndLink() {
    if (hasName_ && name_ == kKdeSeparatorName && hasUrl_ && url_.empty()) {
      AddSeparator();
      return;
    }
    if (hasName_) linkName_ = name_;
    if (!hasUrl_) {
      report_.lost.push_back({"URL Error", std::string(Path()) + "\\" + linkName_, {}});
      ++report_.errors;
      return;
    }
    if (open_ > kMaxLevel) tooDeep_ = true;
    list_.push_back(MakeLinkEntry(Path(), linkName_,
                                  static_cast<int>(std::min<long long>(open_, kMaxLevel)), url_));
    list_.back().props = std::move(props_);
    ++report_.links;
  }

  void AddSeparator() {
    separators_.Add(list_, Path(), static_cast<int>(std::min<long long>(open_, kMaxLevel)));
  }

  std::string_view Path() const { return paths_.empty() ? rootPath_ : paths_.back(); }

  const std::string rootPath_;
  const std::string untitled_ = Sjis("新規フォルダ");
  BookmarkList& list_;
  Report& report_;
  Block block_ = Block::None;
  bool hasName_ = false, hasUrl_ = false;
  std::string name_, url_;            // of the open block
  long long open_ = 0;                // the folders open, also those too deep to be entered
  std::vector<std::string> paths_;    // of the folders entered
  std::vector<SavedName> names_;      // the remembered link names of the folders around
  std::string linkName_;              // the name of the last link of the open folder
  EntryProps props_;                  // of the open block
  bool onPersonalBar_ = false;        // the open block is an item of the personal bar
  std::vector<std::size_t> folders_;  // the entries of the folders entered
  bool tooDeep_ = false;
  SeparatorMaker separators_;
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
    HotlistParser parser(RemoveBackslash(rootFolder), list, report, ListOrder);
    std::string line;
    while (file.ReadLine(line)) {
      io.bar.StepIt();
      io.owner.ProcessMessages();
      if (io.cancel != 0) break;
      parser.Take(Utf8ToSjis(line));
    }
    if (io.cancel == 0) parser.Finish();
    if (parser.TooDeep())
      io.owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbOk | kMbIconWarning);
    if (std::string note = parser.SeparatorNote(); !note.empty())
      report.notes.push_back(std::move(note));
    Regroup(list, ListOrder);
    file.Close();
    io.bar.SetVisible(false);
  } catch (const platform::IoError& e) {
    ReportFailure(io, report,
                  Sjis("Ｏｐｅｒａ　Ｂｏｏｋｍａｒｋファイル[ ") + platform::ShownPath(filePath) +
                      Sjis(" ]の読み込みで [ ") + e.what() + Sjis(" ] のエラーが発生しました。"));
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
