// The Netscape bookmark file writer: lays the file out from the order of the entries and
// their levels alone, keeps the replaced file as ".old" and carries its title over.
#include "engine/bookmark_control.h"
#include "engine/bookmark_formats.h"
#include "engine/entry.h"
#include "engine/file_backup.h"
#include "engine/html_text.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "engine/unheld.h"
#include "platform/file_system.h"
#include "platform/save_file.h"
#include "platform/system_info.h"

namespace lf {
namespace {

constexpr int kMaxIndentLevel = 5;

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool IndentDefined(int level) {
  return level >= 0 && level <= kMaxIndentLevel;
}
std::string Indent(int level) {
  return std::string(2 * (level + 1), ' ');
}

// The title suffix of the file being replaced, found in its raw bytes; empty when none.
std::string TitleSuffix(const std::string& path) {
  const std::string japanese = Sjis("のﾌﾞｯｸﾏｰｸ");
  LineReader file(path);
  std::string line;
  while (file.ReadLine(line)) {
    std::string suffix;
    if (Contains(line, "Bookmarks")) suffix = "'s Bookmarks";
    if (Contains(line, japanese)) suffix = japanese;
    if (!suffix.empty()) return suffix;
  }
  return std::string();
}

// Writes Shift-JIS lines in the chosen output character set.
class OutputFile {
 public:
  OutputFile(platform::ByteSink& sink, int charset) : writer_(sink), charset_(charset) {}

  void Line(std::string_view line) {
    if (charset_ == 1)
      writer_.WriteLine(TBookmarkControl::SjisToEuc(line));
    else if (charset_ == 2)
      writer_.WriteLine(TBookmarkControl::SjisToUtf8(line));
    else
      writer_.WriteLine(line);
  }
  void Flush() { writer_.Flush(); }

 private:
  LineWriter writer_;
  int charset_;
};

// Closes the lists between the previous level and a lower one: one closing line for each
// level left, indented by the new level and those below it.
void CloseLists(OutputFile& out, std::string& currentIndent, int level, int previousLevel) {
  std::string indent;
  for (int k = level; k > 2 * level - previousLevel; --k) {
    if (IndentDefined(k)) indent = Indent(k);
    currentIndent = indent;
    out.Line(currentIndent + "  </DL><P>");
    out.Line("");
  }
}

// The title of the new file: the login name with the suffix of the file it replaces.
std::string FileTitle(const std::string& filePath) {
  const std::string user = platform::LoginName();
  if (!platform::FileExists(filePath)) return user + "'s Bookmarks";
  try {
    return user + TitleSuffix(filePath);
  } catch (const platform::IoError&) {
    // An unreadable file keeps the default title; the backup and the write still follow.
    return user + "'s Bookmarks";
  }
}

void WriteHeader(OutputFile& out, const std::string& title, int charset) {
  out.Line("<!DOCTYPE NETSCAPE-Bookmark-file-1>");
  out.Line("");
  if (Contains(title, "Book")) {
    out.Line("<!-- This is an automatically generated file.");
    out.Line("It will be read and overwritten.");
    out.Line("Do Not Edit! -->");
  } else {
    out.Line(Sjis("<!--  これは自動生成されたﾌｧｲﾙです｡"));
    out.Line(Sjis("ﾌﾟﾛｸﾞﾗﾑが読み書きを実行します｡"));
    out.Line(Sjis("編集禁止! -->"));
  }
  out.Line("");
  out.Line("<TITLE>" + title + "</TITLE>");
  if (charset == 0)
    out.Line("<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=shift_jis\">");
  else if (charset == 1)
    out.Line("<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=euc-jp\">");
  else if (charset == 2)
    out.Line("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">");
  out.Line("<H1>" + title + "</H1>");
  out.Line("");
  out.Line("<DL><P>");
  out.Line("");
}

// The lines between the previous entry and one at level: the empty list of a folder written
// just before with nothing inside it, then the lists opened or closed on the way to level.
void ChangeLevel(OutputFile& out, std::string& currentIndent, bool emptyFolderBefore,
                 int previousLevel, int level) {
  if (emptyFolderBefore) {
    out.Line(currentIndent + "  <DL><P>");
    out.Line(currentIndent + "  </DL><P>");
    out.Line("");
  }
  if (level > previousLevel) {
    std::string indent;
    for (int k = previousLevel; k < level; ++k) {
      if (IndentDefined(k)) indent = Indent(k);
      currentIndent = indent;
      out.Line(currentIndent + "  <DL><P>");
    }
  } else if (level < previousLevel) {
    CloseLists(out, currentIndent, level, previousLevel);
  }
}

// An attribute as the file holds it: its value escaped as an address is.
void Attribute(std::string& line, std::string_view name, std::string_view value) {
  line.append(1, ' ').append(name).append("=\"").append(EscapeHtml(value, false)).append(1, '"');
}

// The attributes an item carries beyond the ones every item is written with, and the rest of
// what its file gave it, as it stood.
void CarriedAttributes(std::string& line, const EntryProps& props) {
  static constexpr std::pair<Prop, std::string_view> kWritten[] = {{Prop::IconUri, "ICON_URI"},
                                                                   {Prop::Icon, "ICON"},
                                                                   {Prop::Keyword, "SHORTCUTURL"},
                                                                   {Prop::Tags, "TAGS"}};
  for (const auto& [prop, name] : kWritten)
    if (props.Has(prop)) Attribute(line, name, props.Get(prop));
  const std::string_view root = props.Get(Prop::Root);
  if (root == "toolbar") line += " PERSONAL_TOOLBAR_FOLDER=\"true\"";
  if (root == "unfiled") line += " UNFILED_BOOKMARKS_FOLDER=\"true\"";
  for (const auto& [name, value] : SplitAttributes(props.Get(Prop::Attributes)))
    Attribute(line, name, value);
}

// The date of an entry, or what stands for none.
std::string_view DateOr(const EntryProps& props, Prop prop, std::string_view none) {
  const std::string_view date = props.Get(prop);
  return date.empty() ? none : date;
}

// The lines of one item: a folder's heading, a link, a rule, each with the description it
// carries. An item that carries nothing is written as the program always wrote it.
void WriteItem(OutputFile& out, const std::string& indent, const EntryView& entry,
               const EntryProps& props, const std::string& stamp) {
  if (entry.IsSeparator()) {
    out.Line(indent + "<HR>");
    return;
  }
  // Names and addresses are text: what HTML reserves is written as its reference.
  const std::string name = EscapeHtml(entry.name, true);
  std::string line = indent;
  if (entry.IsFolder()) {
    line.append("<DT><H3 ADD_DATE=\"").append(DateOr(props, Prop::Added, stamp)).append(1, '"');
    if (props.Has(Prop::Modified)) Attribute(line, "LAST_MODIFIED", props.Get(Prop::Modified));
  } else {
    line.append("<DT><A HREF=\"").append(EscapeHtml(entry.url, false)).append("\" ADD_DATE=\"");
    line.append(DateOr(props, Prop::Added, stamp)).append("\" LAST_VISIT=\"");
    line.append(DateOr(props, Prop::Visited, "0")).append("\" LAST_MODIFIED=\"");
    line.append(DateOr(props, Prop::Modified, "0")).append(1, '"');
  }
  if (!props.Empty()) CarriedAttributes(line, props);
  line.append(1, '>').append(name).append(entry.IsFolder() ? "</H3>" : "</A>");
  out.Line(line);
  if (props.Has(Prop::Description))
    out.Line(indent + "<DD>" + EscapeHtml(props.Get(Prop::Description), true));
  if (entry.IsFolder()) out.Line("");
}

// Every entry at the place its order and level give it, then the end lines; counts the links.
void WriteBody(Owner& owner, ProgressBar& bar, OutputFile& out, std::string& currentIndent,
               const BookmarkList& list, const std::string& stamp, int& urlCount) {
  bar.SetPosition(0);
  bar.SetMax(static_cast<int>(list.size()) - 1);
  bar.SetVisible(true);
  owner.ProcessMessages();

  int previousLevel = 0;
  bool previousFolder = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    bar.StepIt();
    const EntryView entry = ViewOf(list[i]);
    ChangeLevel(out, currentIndent, i > 0 && previousFolder && entry.level <= previousLevel,
                previousLevel, entry.level);
    previousLevel = entry.level;
    previousFolder = entry.IsFolder();

    currentIndent = IndentDefined(entry.level) ? Indent(entry.level) : std::string();
    WriteItem(out, currentIndent, entry, list[i].props, stamp);
    urlCount += !entry.IsFolder() && !entry.IsSeparator();
  }
  // The end lines close two lists; those still open deeper down are closed first, as for a
  // following entry at level 1.
  if (previousLevel > 1) {
    CloseLists(out, currentIndent, 1, previousLevel);
    currentIndent = Indent(1);
  }
  out.Line(currentIndent + "</DL><P>");
  out.Line("");
  bar.SetVisible(false);

  out.Line("");
  out.Line("</DL><P>");
}

}  // namespace

Report TBookmarkControl::SaveBookmarkFile(const Io& io, const std::string& filePath,
                                          const BookmarkList& list) {
  if (const BookmarkFormat format = BookmarkFormatOf(filePath); format != BookmarkFormat::Netscape)
    return SaveBookmarkFileAs(format, io, filePath, list, WriteFilter);
  Report report;
  const std::string title = FileTitle(filePath);
  // A value that names no character set writes Shift-JIS, and says so in the file.
  const int charset = OutputCharset >= 0 && OutputCharset <= 2 ? OutputCharset : 0;
  int written = 0;
  try {
    platform::SaveFile(filePath,
                       [&](platform::ByteSink& sink) {
                         OutputFile out(sink, charset);
                         const std::string stamp = std::to_string(DateStamp());
                         WriteHeader(out, title, charset);
                         WriteBody(io.owner, io.bar, out, currentIndent_, list, stamp, written);
                         out.Flush();
                       },
                       {BackupPath(filePath), WriteFilter});
    // Only links that reached the file are counted as written.
    report.links = written;
    // A shortcut's icon file means nothing to a browser.
    NoteUnheld(report, list, kHoldsAll & ~kHoldsIconFiles, filePath);
  } catch (const platform::BackupError& e) {
    // Without a backup the file would be replaced with no copy left: it stays as it was.
    ReportFailure(io, report, NoBackupText("ブックマークファイル", filePath, e.code()));
  } catch (const platform::IoError& e) {
    ReportFailure(io, report,
                  Sjis("Ｂｏｏｋｍａｒｋ．ｈｔｍの保存で [ ") + e.what() +
                      Sjis(" ] のエラーが発生しました。"));
  }
  return report;
}

void TBookmarkControl::SaveBookmarkFile(Owner& owner, ProgressBar& bar, int& urlCount,
                                        const std::string& filePath, const BookmarkList& list) {
  int noCancel = 0;
  urlCount += SaveBookmarkFile({owner, bar, nullptr, noCancel}, filePath, list).links;
}

}  // namespace lf
