// The Netscape bookmark file reader: finds the file's character set from its META line,
// converts every line to Shift-JIS and recognises folders and links line by line, tracking
// the folder depth by counting "<DL>" and "</DL>".
#include <algorithm>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/file_system.h"

namespace lf {
namespace {

constexpr int kCharsetSjis = 0;
constexpr int kCharsetUtf8 = 1;
constexpr int kCharsetEuc = 2;

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Removes markup: everything up to the first ">" and everything from each "<" to the next ">".
std::string StripTags(std::string_view text) {
  enum class State { Skipping, InsideTag, Outside } state = State::Skipping;
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '<')
      state = State::InsideTag;
    else if (c == '>')
      state = State::Outside;
    else if (state == State::Outside)
      out.push_back(c);
  }
  return out;
}

// Drops the characters a file name cannot hold. Every byte above 0x80 starts a two-byte unit
// whose second byte is kept as it is (the second byte of "ソ" is a backslash). A name that
// ends in the first byte of a two-byte character (a title in another character set) loses
// it: it would take the "\" after the folder's name in its contents' paths for its second.
std::string DropFileNameChars(std::string_view text) {
  static constexpr std::string_view kForbidden = "\\/:*?\"|";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c > 0x80) {
      out.push_back(text[i]);
      if (i + 1 < text.size()) out.push_back(text[++i]);
    } else if (kForbidden.find(static_cast<char>(c)) == std::string_view::npos) {
      out.push_back(text[i]);
    }
  }
  if (!out.empty() && platform::ClassifyByte(out, out.size() - 1) == platform::ByteKind::Lead)
    out.pop_back();
  return out;
}

// The address of a link line: the value of its HREF attribute when it has one, since other
// attributes (ICON_URI) and the title may hold addresses too; else the first address of the
// whole line.
std::string LinkUrl(std::string_view line) {
  static constexpr std::string_view kHref = "HREF=\"";
  for (std::size_t i = line.find('='); i != std::string_view::npos; i = line.find('=', i + 1)) {
    if (i + 2 < kHref.size() ||
        !platform::SameIgnoringAsciiCase(line.substr(i - 4, kHref.size()), kHref))
      continue;
    const std::string_view value = line.substr(i + 2);
    return TBookmarkControl::ExtractUrl(value.substr(0, value.find('"')));
  }
  return TBookmarkControl::ExtractUrl(line);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t pos = text.find(from); pos != std::string_view::npos;
       pos = text.find(from, start)) {
    out.append(text.substr(start, pos - start));
    out.append(to);
    start = pos + from.size();
  }
  out.append(text.substr(start));
  return out;
}

// The level character of an item at the given depth. What lies deeper than the deepest level
// is filed at that level, and an item outside every "<DL>" gets level 0 rather than "-1",
// which no consumer of the entries could read back.
std::string LevelDigit(int depth, bool& tooDeep) {
  int level = depth - 1;
  if (level > kMaxLevel) {
    tooDeep = true;
    level = kMaxLevel;
  }
  return std::string(1, LevelChar(level));
}

int DetectCharset(const std::string& path) {
  LineReader file(path);
  std::string line;
  while (file.ReadLine(line)) {
    // The character set is not known yet, so every byte is folded.
    for (char& c : line)
      c = static_cast<char>(platform::FoldAsciiCase(static_cast<unsigned char>(c)));
    if (Contains(line, "charset=utf-8")) return kCharsetUtf8;
    if (Contains(line, "charset=euc-jp")) return kCharsetEuc;
    if (Contains(line, "charset=shift_jis")) return kCharsetSjis;
  }
  return kCharsetSjis;
}

// Joins an item written over several lines (a tag broken before its "</A>" or "</H3") into
// one line.
class ItemJoiner {
 public:
  // True when raw holds a line to parse, joined with the lines before it where they belong
  // together; false while an item waits for its end.
  bool Complete(std::string& raw) {
    if (pending_ == Pending::None) {
      if (Contains(raw, "<DT><A") && !Contains(raw, "</A>")) {
        pending_ = Pending::Link;
        text_ = raw;
        return false;
      }
      if (Contains(raw, "<DT>") && !Contains(raw, "</H3") && !Contains(raw, "</A>")) {
        pending_ = Pending::Folder;
        text_ = raw;
        return false;
      }
      return true;
    }
    std::string_view rest(raw);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    text_.append(rest);
    if (!Contains(raw, pending_ == Pending::Folder ? "</H3" : "</A>")) return false;
    pending_ = Pending::None;
    raw = std::move(text_);
    text_.clear();
    return true;
  }

 private:
  enum class Pending { None, Folder, Link } pending_ = Pending::None;
  std::string text_;
};

std::string LineInSjis(int charset, const std::string& raw) {
  if (charset == kCharsetUtf8) return TBookmarkControl::Utf8ToSjis(raw);
  if (charset == kCharsetEuc) return TBookmarkControl::EucToSjis(raw);
  return raw;
}

// Each folder level is parsed until its "</DL>" as if by a recursive call per folder; the
// calls are kept on an explicit stack so that no file can exhaust the machine stack, and
// folders deeper than the entries can express are not entered.
class BookmarkLineParser {
 public:
  BookmarkLineParser(const TBookmarkControl& control, Owner& owner, int charset, LineReader& file,
                     int& cancel, int& urlCount, int& depth, TreeView* tree, ProgressBar& bar,
                     BookmarkList& list)
      : control_(control),
        owner_(owner),
        charset_(charset),
        file_(file),
        cancel_(cancel),
        urlCount_(urlCount),
        depth_(depth),
        tree_(tree),
        bar_(bar),
        list_(list) {}

  void Run(TreeView::Node parent, int startDepth, const std::string& folderPath) {
    levels_.push_back({startDepth, folderPath, parent, {}});
    ItemJoiner joiner;
    std::string raw, line;
    bool resuming = false;  // a deeper level has ended: go on with the folder line above it
    while (!levels_.empty()) {
      if (resuming) {
        resuming = false;
        line = std::move(levels_.back().folderLine);
      } else {
        if (!file_.ReadLine(raw)) {
          levels_.pop_back();
          resuming = true;
          continue;
        }
        bar_.StepIt();
        owner_.ProcessMessages();
        if (cancel_) break;
        if (!joiner.Complete(raw)) continue;
        line = LineInSjis(charset_, raw);
        if (Contains(line, "<DT>") && Contains(line, "<H3")) {
          const Step step = AddFolder(line);
          if (step == Step::Cancelled) break;
          if (step == Step::Descended) continue;
        }
      }
      // The rest of a line, also of a folder line once the level below it has ended.
      if (!AddLink(line)) break;
      if (LevelEnds(line)) {
        levels_.pop_back();
        resuming = true;
      }
    }
  }

  bool TooDeep() const { return tooDeep_; }

 private:
  struct Level {
    int startDepth;
    std::string folderPath;
    TreeView::Node node;
    std::string folderLine;  // the line of the folder being parsed one level down
  };
  enum class Step { Parsed, Descended, Cancelled };

  // The entry and tree node of a folder line; a folder whose list follows is parsed one level
  // down before the rest of its line.
  Step AddFolder(std::string& line) {
    owner_.ProcessMessages();
    if (cancel_) return Step::Cancelled;
    Level& level = levels_.back();
    if (depth_ - 1 > kMaxFolderLevel) {
      // Its items go to the folder being parsed, the deepest one that fits.
      tooDeep_ = true;
      return Step::Parsed;
    }
    const std::string name = TBookmarkControl::CleanName(line);
    TreeView::Node node = TreeView::kNoNode;
    if (tree_) {
      node = tree_->AddChild(level.node, name, kImageFolder, kImageOpenFolder);
      owner_.ProcessMessages();
      if (cancel_) return Step::Cancelled;
    }
    list_.push_back(level.folderPath + "\\" + name + ".dir" + LevelDigit(depth_, tooDeep_));
    if (depth_ <= level.startDepth) return Step::Parsed;
    level.folderLine = std::move(line);
    Level inner{level.startDepth + 1, level.folderPath + "\\" + name, node, {}};
    levels_.push_back(std::move(inner));
    return Step::Descended;
  }

  // The link a line holds, if it has an address and a name; false when cancelled.
  bool AddLink(const std::string& line) {
    const std::string url = LinkUrl(line);
    if (url.empty()) return true;
    const std::string name = control_.LinkName(line);
    if (name.empty()) return true;
    const std::string title = TBookmarkControl::EntryLinkName(ReplaceAll(name, "&amp;", "&"));
    owner_.ProcessMessages();
    if (cancel_) return false;
    list_.push_back(levels_.back().folderPath + std::string(kLinkMarker) + title + ".url" +
                    LevelDigit(depth_, tooDeep_) + "\\" + url);
    ++urlCount_;
    return true;
  }

  // Counts the lists the line opens and closes; true when the level being parsed has ended.
  bool LevelEnds(const std::string& line) {
    const int startDepth = levels_.back().startDepth;
    if (Contains(line, "<DL>")) ++depth_;
    bool levelEnds = false;
    if (Contains(line, "</DL>")) {
      --depth_;
      levelEnds = depth_ == startDepth;
    }
    return levelEnds || depth_ < startDepth;
  }

  const TBookmarkControl& control_;
  Owner& owner_;
  const int charset_;
  LineReader& file_;
  int& cancel_;
  int& urlCount_;
  int& depth_;
  TreeView* const tree_;  // null where no tree is filled
  ProgressBar& bar_;
  BookmarkList& list_;
  std::vector<Level> levels_;
  bool tooDeep_ = false;
};

}  // namespace

std::string TBookmarkControl::CleanName(std::string_view text) {
  return DropFileNameChars(StripTags(text));
}

std::string TBookmarkControl::LinkName(std::string_view text) const {
  // The interactive pages on Netscape data show titles as they are, "/" and ":" included.
  if (Operation == 4 || Operation == 7 || Operation == 8 || Operation == 9) return StripTags(text);
  return CleanName(text);
}

void TBookmarkControl::LoadBookmarkFile(Owner& owner, StatusLabel* status, int& cancel,
                                        int urlCount, ProgressBar& bar, BookmarkList& list,
                                        TreeView* tree, const std::string& rootName,
                                        const std::string& filePath) {
  if (status) status->SetCaption(Sjis("[ ブックマークファイルの読み込み ]"));
  owner.ProcessMessages();
  bar.SetVisible(true);
  // The caller's count is not handed back; the cancel flag is the page's own, so that its
  // cancel button ends the read.
  int count = urlCount;
  if (tree) {
    tree->Clear();
    ReadBookmarkFile(owner, filePath, cancel, count, tree, true, list, bar, rootName);
  } else {
    ReadBookmarkFile(owner, filePath, cancel, count, nullptr, false, list, bar, rootName);
  }
  Regroup(list);
  bar.SetVisible(false);
}

void TBookmarkControl::ReadBookmarkFile(Owner& owner, const std::string& filePath, int& cancel,
                                        int& urlCount, TreeView* tree, bool fillTree,
                                        BookmarkList& list, ProgressBar& bar,
                                        const std::string& rootName) {
  fillTree = fillTree && tree;
  TreeView::Node root = TreeView::kNoNode;
  if (fillTree) {
    tree->Clear();
    root = tree->AddChild(TreeView::kNoNode, filePath, kImageFolder, kImageFolder);
  }
  try {
    std::int64_t size;
    {
      platform::File file(filePath, platform::File::Mode::Read);
      size = file.Size();
      file.Close();
    }
    bar.SetMax(static_cast<int>(size / 90));
    bar.SetVisible(true);
    bar.SetPosition(0);
    bar.SetStep(1);
    const std::string rootPath = RemoveBackslash(rootName);

    // A UTF-8 file may end its lines with line feeds alone: they end lines there too.
    const int charset = DetectCharset(filePath);
    LineReader file(filePath, charset == kCharsetUtf8);
    int depth = 0;
    ParseBookmarkLines(owner, charset, file, cancel, urlCount, depth, root, tree, fillTree, bar,
                       list, 0, rootPath);
    Regroup(list);
    file.Close();
  } catch (const platform::IoError& e) {
    owner.MessageBox(Sjis("Ｂｏｏｋｍａｒｋファイルの読み込みで [ ") + e.what() +
                         Sjis(" ] のエラーが発生しました。"),
                     MessageCaption(), kMbOk | kMbIconError);
  }
}

void TBookmarkControl::ParseBookmarkLines(Owner& owner, int charset, LineReader& file, int& cancel,
                                          int& urlCount, int& depth, TreeView::Node parent,
                                          TreeView* tree, bool fillTree, ProgressBar& bar,
                                          BookmarkList& list, int startDepth,
                                          const std::string& folderPath) {
  BookmarkLineParser parser(*this, owner, charset, file, cancel, urlCount, depth,
                            fillTree ? tree : nullptr, bar, list);
  parser.Run(parent, startDepth, folderPath);
  if (parser.TooDeep())
    owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbOk | kMbIconWarning);
}

}  // namespace lf
