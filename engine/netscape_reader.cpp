// The Netscape bookmark file reader: finds the file's character set from its declaration (or,
// without one, from its bytes), converts it to Shift-JIS line by line and reads its markup as
// a browser does (html_tokens.h), wherever the lines end: a folder is an H3, a link an A, a
// list of a folder's contents the DL after its H3. Names and addresses are taken as the text
// the HTML stands for (html_text.h).
#include <algorithm>
#include <array>
#include <forward_list>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/bookmark_charset.h"
#include "engine/bookmark_control.h"
#include "engine/bookmark_formats.h"
#include "engine/entry.h"
#include "engine/html_chars.h"
#include "engine/html_text.h"
#include "engine/html_tokens.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"
#include "engine/text_file.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/file_system.h"

namespace lf {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\n' || c == '\t' || c == '\f' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// A name as the text it stands for, without the white space at its ends. A view into the
// text or into decoded.
std::string_view DecodedName(std::string_view text, std::string& decoded) {
  std::string_view name = Trimmed(text);
  if (!HtmlIsText(name, true)) {
    decoded = DecodeHtml(name, true);
    name = Trimmed(decoded);
  }
  // A name that ends in the first byte of a two-byte character (a title in another character
  // set) loses it: it would take the "\" after the folder's name in its contents' paths for
  // its second.
  if (!name.empty() && platform::ClassifyByte(name, name.size() - 1) == platform::ByteKind::Lead)
    name.remove_suffix(1);
  return name;
}

// The name of a line of markup (CleanName): its text without the tags.
std::string_view NameOf(std::string_view line, std::string& stripped, std::string& decoded) {
  return DecodedName(StripTags(line, stripped), decoded);
}

// The attributes of an item, each with its value as the text it stands for, in the order
// written. A value is decoded when it is asked for; the view stays valid until the next.
class ItemAttributes {
 public:
  explicit ItemAttributes(const HtmlTag& tag) : tag_(tag) {}

  std::size_t Count() const { return tag_.AttributeCount(); }
  // As written: compare it ignoring the letter case.
  std::string_view Name(std::size_t i) const { return tag_.AttributeName(i); }
  std::string_view Value(std::size_t i) { return Decoded(tag_.AttributeValue(i)); }
  // True when the value is the text of the file itself, which lasts as long as the tag.
  bool Lasting(std::size_t i, std::string_view value) const {
    return value.data() == tag_.AttributeValue(i).data();
  }
  // The value of the attribute of that lower-case name, if the item has one.
  std::optional<std::string_view> Find(std::string_view name) {
    const std::optional<std::string_view> value = tag_.Find(name);
    if (!value) return std::nullopt;
    return Decoded(*value);
  }

 private:
  std::string_view Decoded(std::string_view value) {
    if (HtmlIsText(value, false)) return value;
    decoded_ = DecodeHtml(value, false);
    return decoded_;
  }

  const HtmlTag& tag_;
  std::string decoded_;
};

// What an item's attributes give its entry to carry: the dates, keyword, tags and icon a
// browser writes, the mark of a special folder, and every other attribute as it stood, so that
// a bookmark file written from a bookmark file loses none of them.
EntryProps PropsOf(ItemAttributes& attributes) {
  static constexpr std::pair<std::string_view, Prop> kKnown[] = {
      {"add_date", Prop::Added},     {"last_modified", Prop::Modified},
      {"last_visit", Prop::Visited}, {"shortcuturl", Prop::Keyword},
      {"tags", Prop::Tags},          {"icon_uri", Prop::IconUri},
      {"icon", Prop::Icon}};
  std::array<std::string_view, kPropSlots> values{};  // by Prop; a later attribute wins
  std::forward_list<std::string> copies;  // of values decoded, which do not last (seldom any)
  const auto set = [&](Prop prop, std::string_view value, bool lasting = true) {
    values[static_cast<std::size_t>(prop)] =
        lasting ? value : std::string_view(copies.emplace_front(value));
  };
  std::vector<std::pair<std::string, std::string>> others;
  for (std::size_t i = 0; i < attributes.Count(); ++i) {
    const std::string_view name = attributes.Name(i);
    if (html::SameName(name, "href")) continue;
    const std::string_view value = attributes.Value(i);
    bool known = false;
    for (const auto& [key, prop] : kKnown) {
      if (!html::SameName(name, key)) continue;
      known = true;
      // A date of 0 is no date: the program's own files wrote it for "never".
      const bool date = prop == Prop::Added || prop == Prop::Modified || prop == Prop::Visited;
      if (!(date && value == "0")) set(prop, value, attributes.Lasting(i, value));
    }
    if (known) continue;
    if (html::SameName(name, "personal_toolbar_folder") && value == "true")
      set(Prop::Root, "toolbar");
    else if (html::SameName(name, "unfiled_bookmarks_folder") && value == "true")
      set(Prop::Root, "unfiled");
    else
      others.emplace_back(name, value);
  }
  const std::string joined = others.empty() ? std::string() : JoinAttributes(others);
  set(Prop::Attributes, joined);
  return EntryProps::Of(values);
}

// Builds folders and links from the tags and text of a bookmark file. An item that is not
// closed ends where the next item or list begins or ends; a DL is the list of the folder
// whose H3 came last, when no other item came between them, and otherwise a list of the
// folder it stands in; a "</DL>" with no list open closes nothing. Folders deeper than the
// entries can express are not made: what they hold goes into the deepest one that is.
class BookmarkBuilder final : public HtmlSink {
 public:
  BookmarkBuilder(const Io& io, TreeView* tree, TreeView::Node root, std::string rootPath,
                  BookmarkList& list, Report& report, Order order)
      : owner_(io.owner),
        cancel_(io.cancel),
        tree_(tree),
        root_(root),
        rootPath_(std::move(rootPath)),
        list_(list),
        report_(report),
        separators_(order == Order::Keep) {}

  void Text(std::string_view text) override {
    if (item_ != Item::None) text_.append(text);
  }

  bool Tag(const HtmlTag& tag) override {
    const std::string_view name = tag.Name();
    if (tag.IsEnd()) {
      if ((name == "a" && item_ == Item::Link) || (name == "h3" && item_ == Item::Folder) ||
          (name == "dd" && item_ == Item::Description))
        return EndItem();
      if (name != "dl") return true;
      if (!EndItem()) return false;
      CloseList();
      return true;
    }
    const bool link = name == "a";
    if (!link && name != "h3" && name != "dt" && name != "dd" && name != "dl" && name != "hr")
      return true;
    if (!EndItem()) return false;
    if (name == "dl") {
      OpenList();
    } else if (name == "dd") {
      Begin(Item::Description);
    } else {
      // Only a description stands between a folder and its list.
      listFolder_ = false;
      if (link || name == "h3") {
        Begin(link ? Item::Link : Item::Folder);
        itemTag_ = tag;
      } else if (name == "hr") {
        AddSeparator();
      } else {
        described_ = 0;  // a new item: a description after it is not the last one's
      }
    }
    return true;
  }

  void CutOff(const HtmlTag& tag) override {
    if (tag.Name() != "a" || !EndItem()) return;
    // A link whose tag the file ends in: nothing of it but its address is known.
    ItemAttributes attributes(tag);
    Lose({}, attributes);
  }

  // The input handed to the tokenizer so far is about to go: the open item keeps its tag.
  void PieceEnds() {
    if (item_ == Item::Link || item_ == Item::Folder) itemTag_.Keep();
  }

  // The end of the file ends the item that is open.
  void Finish() { EndItem(); }

  bool TooDeep() const { return tooDeep_; }
  std::string SeparatorNote() const { return separators_.Note(); }

 private:
  enum class Item { None, Link, Folder, Description };
  // A folder whose list is open.
  struct Frame {
    long long depth;  // the lists open once its own list is
    std::string path;
    TreeView::Node node;
  };

  void Begin(Item item) {
    item_ = item;
    text_.clear();
  }

  // Makes the item that was open; false when the read was cancelled.
  bool EndItem() {
    switch (std::exchange(item_, Item::None)) {
      case Item::Link:
        return AddLink();
      case Item::Folder:
        return AddFolder();
      case Item::Description:
        TakeDescription(ItemText());
        return true;
      case Item::None:
        return true;
    }
    return true;
  }

  // The text of the item: a line end in it is a blank, as it would be in any file written.
  std::string_view ItemText() {
    std::replace(text_.begin(), text_.end(), '\n', ' ');
    return DecodedName(text_, decodedName_);
  }

  // A link is made of every A with an HREF; its address is the whole value, of whatever
  // scheme or of none, since other attributes (ICON_URI) and the title may hold addresses too
  // and so may the value itself (an archived page). It is carried to where a format can hold
  // it and counted as lost where it cannot (a shortcut). An A without one is lost.
  // Every attribute of the A is at hand here, for what the entry will carry beside its text.
  bool AddLink() {
    ItemAttributes attributes(itemTag_);
    const std::optional<std::string_view> href = attributes.Find("href");
    const std::string_view name = ItemText();
    if (!href) {
      Lose(name, attributes);
      return true;
    }
    owner_.ProcessMessages();
    if (cancel_) return false;
    list_.push_back(MakeLinkEntry(Path(), name, LinkLevel(), Address(*href)));
    list_.back().props = PropsOf(attributes);
    ++report_.links;
    described_ = list_.size();
    return true;
  }

  // A value broken over lines is one address: the line ends are no part of it.
  std::string_view Address(std::string_view value) {
    if (value.find('\n') == std::string_view::npos) return value;
    address_.assign(value);
    std::erase(address_, '\n');
    return address_;
  }

  // Every attribute of the H3 is at hand here (ItemAttributes of itemTag_), for what the
  // entry will carry beside its text.
  bool AddFolder() {
    owner_.ProcessMessages();
    if (cancel_) return false;
    const long long level = Level();
    if (level > kMaxFolderLevel) {
      // Its items go to the folder being read, the deepest one that fits.
      tooDeep_ = true;
      return true;
    }
    const std::string_view name = ItemText();
    TreeView::Node node = TreeView::kNoNode;
    if (tree_) {
      node = tree_->AddChild(Node(), std::string(name), kImageFolder, kImageOpenFolder);
      owner_.ProcessMessages();
      if (cancel_) return false;
    }
    list_.push_back(MakeFolderEntry(Path(), name, static_cast<int>(level)));
    ItemAttributes attributes(itemTag_);
    list_.back().props = PropsOf(attributes);
    ++report_.folders;
    described_ = list_.size();
    listFolder_ = true;
    listPath_.assign(ViewOf(list_.back()).OwnPath());
    listNode_ = node;
    return true;
  }

  // A rule between items: a separator in the folder being read, numbered within it.
  void AddSeparator() {
    separators_.Add(list_, Path(), LinkLevel());
    described_ = 0;
  }

  // The description after a link or folder goes with it; one after anything else is text of
  // the file that nothing carries.
  void TakeDescription(std::string_view text) {
    if (described_ == 0 || described_ != list_.size() || text.empty()) return;
    list_[described_ - 1].props.Set(Prop::Description, text);
    described_ = 0;
  }

  // An A that gives no link: it is counted and logged under the folder it stood in, by its
  // name or, without one, by its address.
  void Lose(std::string_view name, ItemAttributes& attributes) {
    if (name.empty()) name = attributes.Find("href").value_or(name);
    report_.lost.push_back({"URL Error", std::string(Path()) + "\\" + std::string(name), {}});
    ++report_.errors;
  }

  void OpenList() {
    ++depth_;
    if (depth_ == 1) bottomIsFolder_ = listFolder_;
    if (listFolder_) frames_.push_back({depth_, listPath_, listNode_});
    listFolder_ = false;
  }

  void CloseList() {
    listFolder_ = false;
    if (depth_ == 0) return;
    if (!frames_.empty() && frames_.back().depth == depth_) frames_.pop_back();
    --depth_;
  }

  // The level of an item in the list being read: the items of the file's outermost list, and
  // those outside every list, are at level 0, the items of a folder's list one deeper than
  // the folder.
  long long Level() const { return depth_ == 0 ? 0 : depth_ - 1 + (bottomIsFolder_ ? 1 : 0); }
  // The same for a link: what lies deeper than the deepest level is filed at that level.
  int LinkLevel() {
    const long long level = Level();
    if (level <= kMaxLevel) return static_cast<int>(level);
    tooDeep_ = true;
    return kMaxLevel;
  }
  std::string_view Path() const { return frames_.empty() ? rootPath_ : frames_.back().path; }
  TreeView::Node Node() const { return frames_.empty() ? root_ : frames_.back().node; }

  Owner& owner_;
  const int& cancel_;
  TreeView* const tree_;  // null where no tree is filled
  const TreeView::Node root_;
  const std::string rootPath_;
  BookmarkList& list_;
  Report& report_;

  Item item_ = Item::None;
  HtmlTag itemTag_;   // the A or H3 of the item
  std::string text_;  // the item's text as written
  // The folder made last, while its list may follow.
  bool listFolder_ = false;
  std::string listPath_;
  TreeView::Node listNode_ = TreeView::kNoNode;

  long long depth_ = 0;          // the lists open
  bool bottomIsFolder_ = false;  // the outermost open list is a folder's
  std::vector<Frame> frames_;
  bool tooDeep_ = false;
  // One past the entry made last, while a description may follow it; 0 for none.
  std::size_t described_ = 0;
  SeparatorMaker separators_;
  // What names and addresses are made in when they are not pieces of the text.
  std::string decodedName_, address_;
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
  if (report.Failed()) Regroup(list, ListOrder);
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
  if (const BookmarkFormat format = BookmarkFormatOf(filePath); format != BookmarkFormat::Netscape)
    return ReadBookmarkFileAs(format, io, filePath, list, rootName, tree, ListOrder);
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
    BookmarkBuilder builder(io, tree, root, RemoveBackslash(rootName), list, report, ListOrder);
    HtmlTokenizer tokens(builder);
    std::string raw, text;
    bool whole = true, ended;
    while (whole && file.ReadPart(raw, kBookmarkFilePart, ended)) {
      // The bar counts lines of 90 bytes; a long line moves it as far as they would.
      for (std::size_t steps = ended ? 1 : raw.size() / 90; steps > 0; --steps) io.bar.StepIt();
      io.owner.ProcessMessages();
      if (io.cancel) break;
      LineInSjis(charset, raw, text);
      if (ended) text.push_back('\n');
      whole = tokens.Feed(text);
      builder.PieceEnds();
    }
    if (whole && !io.cancel) {
      tokens.Finish();
      builder.Finish();
    }
    if (builder.TooDeep())
      io.owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbOk | kMbIconWarning);
    if (std::string note = builder.SeparatorNote(); !note.empty())
      report.notes.push_back(std::move(note));
    Regroup(list, ListOrder);
    file.Close();
  } catch (const platform::IoError& e) {
    ReportFailure(io, report,
                  Sjis("Ｂｏｏｋｍａｒｋファイル[ ") + platform::ShownPath(filePath) +
                      Sjis(" ]の読み込みで [ ") + e.what() + Sjis(" ] のエラーが発生しました。"));
  }
  report.cancelled = io.cancel != 0;
  return report;
}

}  // namespace lf
