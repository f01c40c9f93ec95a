// The Netscape bookmark file reader: finds the file's character set from its declaration (or,
// without one, from its bytes), converts every line to Shift-JIS and recognises folders and
// links line by line, tracking the folder depth by counting "<DL>" and "</DL>". Names and
// addresses are taken as the text the HTML stands for (html_text.h).
#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/html_text.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"
#include "engine/text_file.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/file_system.h"

namespace lf {
namespace {

constexpr int kCharsetSjis = 0;
constexpr int kCharsetUtf8 = 1;
constexpr int kCharsetEuc = 2;

// The name of a folder or link line: its text without markup, as the text it stands for; a
// view into the line or into one of the scratch strings.
std::string_view NameOf(std::string_view line, std::string& stripped, std::string& decoded) {
  std::string_view name = StripTags(line, stripped);
  if (!HtmlIsText(name, true)) {
    decoded = DecodeHtml(name, true);
    name = decoded;
  }
  // A name that ends in the first byte of a two-byte character (a title in another character
  // set) loses it: it would take the "\" after the folder's name in its contents' paths for
  // its second.
  if (!name.empty() && platform::ClassifyByte(name, name.size() - 1) == platform::ByteKind::Lead)
    name.remove_suffix(1);
  return name;
}

// The address of a link line. A line with an HREF attribute is a link of its whole value
// (decoded), since other attributes (ICON_URI) and the title may hold addresses too, and so
// may the value itself (an archived page): a value of any scheme, or of none, is carried to
// where a format can hold it and counted as lost where it cannot (a shortcut). A line
// without one is a link of the first address found in it. hasHref tells the two kinds apart.
// A view into the line or into decoded.
std::string_view LinkUrl(std::string_view line, bool& hasHref, std::string& decoded) {
  static constexpr std::string_view kHref = "HREF=\"";
  hasHref = false;
  for (std::size_t i = line.find('='); i != std::string_view::npos; i = line.find('=', i + 1)) {
    if (i + 2 < kHref.size() ||
        !platform::SameIgnoringAsciiCase(line.substr(i - 4, kHref.size()), kHref))
      continue;
    hasHref = true;
    std::string_view value = line.substr(i + 2);
    value = value.substr(0, value.find('"'));
    if (HtmlIsText(value, false)) return value;
    decoded = DecodeHtml(value, false);
    return decoded;
  }
  return TBookmarkControl::FindUrl(line);
}

// The level of an item at the given depth. What lies deeper than the deepest level is filed
// at that level, and an item outside every "<DL>" gets level 0 rather than -1, which no
// consumer of the entries could read back.
int LevelAt(int depth, bool& tooDeep) {
  const int level = depth - 1;
  if (level > kMaxLevel) {
    tooDeep = true;
    return kMaxLevel;
  }
  return level < 0 ? 0 : level;
}

// The character set a declaration names ("charset=utf-8", 'charset="EUC-JP"', "<meta
// charset=x-sjis>"), or -1 when the line holds none the reader knows.
int DeclaredCharset(std::string_view line) {
  // clang-format off
  static constexpr std::array<std::pair<std::string_view, int>, 16> kNames{{
      {"utf-8", kCharsetUtf8},       {"utf8", kCharsetUtf8},
      {"shift_jis", kCharsetSjis},   {"shift-jis", kCharsetSjis},
      {"sjis", kCharsetSjis},        {"x-sjis", kCharsetSjis},
      {"windows-31j", kCharsetSjis}, {"cp932", kCharsetSjis},
      {"ms932", kCharsetSjis},       {"ms_kanji", kCharsetSjis},
      {"euc-jp", kCharsetEuc},       {"euc_jp", kCharsetEuc},
      {"eucjp", kCharsetEuc},        {"x-euc-jp", kCharsetEuc},
      {"x-euc", kCharsetEuc},        {"ujis", kCharsetEuc},
  }};
  // clang-format on
  for (std::size_t at = line.find("charset"); at != std::string_view::npos;
       at = line.find("charset", at + 1)) {
    std::size_t i = at + 7;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i == line.size() || line[i] != '=') continue;
    ++i;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i < line.size() && (line[i] == '"' || line[i] == '\'')) ++i;
    std::size_t end = i;
    while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) ||
                                 line[end] == '-' || line[end] == '_'))
      ++end;
    const std::string_view name = line.substr(i, end - i);
    for (const auto& [known, charset] : kNames)
      if (name == known) return charset;
  }
  return -1;
}

// Follows the bytes of a file in each of the three character sets: whether they are valid
// UTF-8 holding some byte above 0x7F, and whether they are characters of Shift-JIS and of
// EUC-JP all through.
class CharsetGuess {
 public:
  void Take(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(line[i]);
      if (c >= 0x80) nonAscii_ = true;
      TakeUtf8(c);
      TakeSjis(c);
      TakeEuc(c);
    }
    // A line end ends every character.
    utf8_ = utf8_ && utf8Left_ == 0;
    sjis_ = sjis_ && sjisLead_ == 0;
    euc_ = euc_ && eucLeft_ == 0;
  }

  // Valid UTF-8 with non-ASCII bytes is UTF-8; otherwise the one of Shift-JIS and EUC-JP that
  // the bytes fit. Japanese text in Shift-JIS is hardly ever EUC-JP too (its kana and most of
  // its kanji begin with bytes EUC-JP has no use for), while EUC-JP often reads as half-width
  // katakana in Shift-JIS: a text that fits both is EUC-JP when it holds kana as EUC-JP writes
  // them. Anything else is Shift-JIS, as a file without a declaration always was.
  int Charset() const {
    if (!nonAscii_) return kCharsetSjis;
    if (utf8_) return kCharsetUtf8;
    if (euc_ && (!sjis_ || eucKana_)) return kCharsetEuc;
    return kCharsetSjis;
  }

 private:
  void TakeUtf8(unsigned char c) {
    if (!utf8_) return;
    if (utf8Left_ > 0) {
      if ((c & 0xC0) != 0x80) utf8_ = false;
      --utf8Left_;
      return;
    }
    if (c < 0x80) return;
    if (c >= 0xC2 && c <= 0xDF)
      utf8Left_ = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      utf8Left_ = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      utf8Left_ = 3;
    else
      utf8_ = false;
  }
  void TakeSjis(unsigned char c) {
    if (!sjis_) return;
    if (sjisLead_ != 0) {
      sjis_ = platform::IsTrailByte(c) && platform::Cp932CodeToUnicode((sjisLead_ << 8) | c) != 0;
      sjisLead_ = 0;
      return;
    }
    if (platform::IsLeadByte(c))
      sjisLead_ = c;
    else if (c == 0x80 || c == 0xA0 || c >= 0xFD)
      sjis_ = false;
  }
  void TakeEuc(unsigned char c) {
    if (!euc_) return;
    if (eucLeft_ > 0) {
      euc_ = eucHalfWidth_ ? (c >= 0xA1 && c <= 0xDF) : (c >= 0xA1 && c <= 0xFE);
      eucHalfWidth_ = false;
      --eucLeft_;
      return;
    }
    if (c < 0x80) return;
    if (c == 0x8E) {
      eucLeft_ = 1;
      eucHalfWidth_ = true;
    } else if (c == 0x8F) {
      eucLeft_ = 2;
    } else if (c >= 0xA1 && c <= 0xFE) {
      eucLeft_ = 1;
      if (c == 0xA4 || c == 0xA5) eucKana_ = true;
    } else {
      euc_ = false;
    }
  }

  bool nonAscii_ = false;
  bool utf8_ = true, sjis_ = true, euc_ = true;
  int utf8Left_ = 0;
  unsigned sjisLead_ = 0;
  int eucLeft_ = 0;
  bool eucHalfWidth_ = false;  // the byte after 0x8E: a half-width katakana
  bool eucKana_ = false;       // a hiragana or katakana of EUC-JP seen
};

// The declared character set (the first declaration the reader knows decides), else the one
// the bytes fit. A file that begins with the UTF-8 byte order mark is UTF-8.
int DetectCharset(const std::string& path) {
  {
    platform::File file(path, platform::File::Mode::Read);
    char head[3];
    if (file.Read(head, 3) == 3 && std::string_view(head, 3) == "\xEF\xBB\xBF") return kCharsetUtf8;
  }
  LineReader file(path);
  CharsetGuess guess;
  std::string line;
  while (file.ReadLine(line)) {
    guess.Take(line);
    // Only a line with a "c" can declare one.
    if (line.find_first_of("cC") == std::string::npos) continue;
    // The character set is not known yet, so every byte is folded.
    for (char& c : line)
      c = static_cast<char>(platform::FoldAsciiCase(static_cast<unsigned char>(c)));
    if (const int declared = DeclaredCharset(line); declared >= 0) return declared;
  }
  return guess.Charset();
}

// Joins an item written over several lines (a tag broken before its "</A>" or "</H3") into
// one line.
class ItemJoiner {
 public:
  // True when raw holds a line to parse, joined with the lines before it where they belong
  // together; false while an item waits for its end.
  bool Complete(std::string& raw) {
    const LineTags tags = TagsOf(raw);
    if (pending_ == Pending::None) {
      if (tags.dtLink && !tags.linkEnd) {
        pending_ = Pending::Link;
        text_ = raw;
        return false;
      }
      if (tags.dt && !tags.headingEnd && !tags.linkEnd) {
        pending_ = Pending::Folder;
        text_ = raw;
        return false;
      }
      return true;
    }
    std::string_view rest(raw);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    text_.append(rest);
    if (!(pending_ == Pending::Folder ? tags.headingEnd : tags.linkEnd)) return false;
    pending_ = Pending::None;
    raw = std::move(text_);
    text_.clear();
    return true;
  }

 private:
  enum class Pending { None, Folder, Link } pending_ = Pending::None;
  std::string text_;
};

// The line in Shift-JIS, in line; a Shift-JIS line is handed over without a copy.
void LineInSjis(int charset, std::string& raw, std::string& line) {
  if (charset == kCharsetUtf8)
    line = Utf8MarkupToSjis(raw);
  else if (charset == kCharsetEuc)
    line = TBookmarkControl::EucToSjis(raw);
  else
    line.swap(raw);
}

// Each folder level is parsed until its "</DL>" as if by a recursive call per folder; the
// calls are kept on an explicit stack so that no file can exhaust the machine stack, and
// folders deeper than the entries can express are not entered.
class BookmarkLineParser {
 public:
  BookmarkLineParser(const Io& io, int charset, LineReader& file, TreeView* tree,
                     BookmarkList& list, Report& report)
      : owner_(io.owner),
        charset_(charset),
        file_(file),
        cancel_(io.cancel),
        tree_(tree),
        bar_(io.bar),
        list_(list),
        report_(report) {}

  void Run(TreeView::Node parent, int startDepth, const std::string& folderPath) {
    levels_.push_back({startDepth, folderPath, parent, {}});
    ItemJoiner joiner;
    std::string raw, line;
    bool resuming = false;  // a deeper level has ended: go on with the folder line above it
    while (!levels_.empty()) {
      LineTags tags;
      if (resuming) {
        resuming = false;
        line = std::move(levels_.back().folderLine);
        tags = TagsOf(line);
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
        LineInSjis(charset_, raw, line);
        tags = TagsOf(line);
        if (tags.dt && tags.heading) {
          const Step step = AddFolder(line);
          if (step == Step::Cancelled) break;
          if (step == Step::Descended) continue;
        }
      }
      // The rest of a line, also of a folder line once the level below it has ended.
      if (!AddLink(line)) break;
      if (LevelEnds(tags)) {
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
    const std::string_view name = NameOf(line, stripped_, decodedName_);
    TreeView::Node node = TreeView::kNoNode;
    if (tree_) {
      node = tree_->AddChild(level.node, std::string(name), kImageFolder, kImageOpenFolder);
      owner_.ProcessMessages();
      if (cancel_) return Step::Cancelled;
    }
    list_.push_back(MakeFolderEntry(level.folderPath, name, LevelAt(depth_, tooDeep_)));
    ++report_.folders;
    if (depth_ <= level.startDepth) return Step::Parsed;
    level.folderLine = std::move(line);
    Level inner{level.startDepth + 1, std::string(ViewOf(list_.back()).OwnPath()), node, {}};
    levels_.push_back(std::move(inner));
    return Step::Descended;
  }

  // The link a line holds; false when cancelled. A link written as one (with an HREF
  // attribute) is taken whatever its title and address; another line is taken when it holds
  // an address and a name.
  bool AddLink(std::string_view line) {
    bool hasHref;
    const std::string_view url = LinkUrl(line, hasHref, decodedUrl_);
    if (!hasHref && url.empty()) return true;
    const std::string_view title = NameOf(line, stripped_, decodedName_);
    if (!hasHref && title.empty()) return true;
    owner_.ProcessMessages();
    if (cancel_) return false;
    list_.push_back(
        MakeLinkEntry(levels_.back().folderPath, title, LevelAt(depth_, tooDeep_), url));
    ++report_.links;
    return true;
  }

  // Counts the lists the line opens and closes; true when the level being parsed has ended.
  bool LevelEnds(const LineTags& tags) {
    const int startDepth = levels_.back().startDepth;
    if (tags.list) ++depth_;
    bool levelEnds = false;
    if (tags.listEnd) {
      --depth_;
      levelEnds = depth_ == startDepth;
    }
    return levelEnds || depth_ < startDepth;
  }

  Owner& owner_;
  const int charset_;
  LineReader& file_;
  const int& cancel_;
  int depth_ = 0;         // the lists open: one more at every "<DL>", one less at every "</DL>"
  TreeView* const tree_;  // null where no tree is filled
  ProgressBar& bar_;
  BookmarkList& list_;
  Report& report_;
  std::vector<Level> levels_;
  bool tooDeep_ = false;
  // What names and addresses are made in when they are not pieces of their line.
  std::string stripped_, decodedName_, decodedUrl_;
};

}  // namespace

std::string TBookmarkControl::CleanName(std::string_view text) {
  std::string stripped, decoded;
  return std::string(NameOf(text, stripped, decoded));
}

std::string TBookmarkControl::LinkName(std::string_view text) const {
  // Every operation keeps every character of a title: only the Favorites writer drops those
  // a file name cannot hold.
  return CleanName(text);
}

void TBookmarkControl::LoadBookmarkFile(Owner& owner, StatusLabel* status, int& cancel,
                                        int urlCount, ProgressBar& bar, BookmarkList& list,
                                        TreeView* tree, const std::string& rootName,
                                        const std::string& filePath) {
  // The caller's count is not handed back; the cancel flag is the page's own, so that its
  // cancel button ends the read.
  (void)urlCount;
  const Report report =
      ReadBookmarkFile({owner, bar, status, cancel}, filePath, list, rootName, tree);
  // What was read before a failure is shown in its folders too.
  if (report.Failed()) Regroup(list);
  bar.SetVisible(false);
}

void TBookmarkControl::ReadBookmarkFile(Owner& owner, const std::string& filePath, int& cancel,
                                        int& urlCount, TreeView* tree, bool fillTree,
                                        BookmarkList& list, ProgressBar& bar,
                                        const std::string& rootName) {
  const Report report = ReadBookmarkFile({owner, bar, nullptr, cancel}, filePath, list, rootName,
                                         fillTree ? tree : nullptr);
  urlCount += report.links;
}

Report TBookmarkControl::ReadBookmarkFile(const Io& io, const std::string& filePath,
                                          BookmarkList& list, const std::string& rootName,
                                          TreeView* tree) {
  Report report;
  if (io.status) {
    io.status->SetCaption(ReadingBookmarkFileText());
    io.owner.ProcessMessages();
  }
  TreeView::Node root = TreeView::kNoNode;
  if (tree) {
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
    io.bar.SetMax(static_cast<int>(size / 90));
    io.bar.SetVisible(true);
    io.bar.SetPosition(0);
    io.bar.SetStep(1);
    const int charset = DetectCharset(filePath);
    LineReader file(filePath);
    BookmarkLineParser parser(io, charset, file, tree, list, report);
    parser.Run(root, 0, RemoveBackslash(rootName));
    if (parser.TooDeep())
      io.owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbOk | kMbIconWarning);
    Regroup(list);
    file.Close();
  } catch (const platform::IoError& e) {
    ReportFailure(io, report,
                  Sjis("Ｂｏｏｋｍａｒｋファイルの読み込みで [ ") + e.what() +
                      Sjis(" ] のエラーが発生しました。"));
  }
  report.cancelled = io.cancel != 0;
  return report;
}

}  // namespace lf
