// The Opera hotlist writer: one "#FOLDER" or "#URL" block per entry, in list order, with the
// "-" lines that close the folders an entry leaves; the replaced hotlist is kept as ".old".
#include "engine/bookmark_control.h"
#include "engine/entry.h"
#include "engine/file_backup.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "engine/unheld.h"
#include "platform/codepage.h"
#include "platform/save_file.h"

namespace lf {
namespace {

constexpr std::string_view kIndent = "        ";

// The property lines of an item that carries something: its dates, description and keyword,
// and, for an item of the toolbar folder, its place on the personal bar (position, or -1).
template <typename WriteValue>
void WriteCarried(LineWriter& out, const EntryProps& props, const std::string& stamp, int position,
                  WriteValue& writeValue) {
  // ASCII lines, made where they are written.
  const auto line = [&out](std::string_view key, std::string_view value) {
    out.WriteLineWith([&](std::string& text) { text.append(kIndent).append(key).append(value); });
  };
  const std::string_view added = props.Get(Prop::Added), visited = props.Get(Prop::Visited);
  line("CREATED=", added.empty() ? std::string_view(stamp) : added);
  line("VISITED=", visited.empty() ? "0" : visited);
  line("ORDER=", "0");
  // The format keeps a line break as the two bytes 0x02 0x02.
  std::string_view description = props.Get(Prop::Description);
  std::string stored;
  if (description.find_first_of("\r\n") != std::string_view::npos) {
    stored = description;
    for (std::size_t at = stored.find('\n'); at != std::string::npos;
         at = stored.find('\n', at + 2))
      stored.replace(at, 1, "\x02\x02");
    std::erase(stored, '\r');
    description = stored;
  }
  writeValue("        DESCRIPTION=", description);
  writeValue("        SHORT NAME=", props.Get(Prop::Keyword));
  if (position >= 0) {
    line("ON PERSONALBAR=", "YES");
    line("PERSONALBAR_POS=", std::to_string(position));
  }
  out.WriteLine("");
}

}  // namespace

Report TBookmarkControl::SaveOperaFile(const Io& io, const BookmarkList& list,
                                       const std::string& filePath) {
  Report report;
  int written = 0;
  try {
    platform::SaveFile(filePath,
                       [&](platform::ByteSink& sink) {
                         LineWriter out(sink);
                         const std::string stamp = std::to_string(DateStamp());
                         WriteOperaHeader(out);
                         WriteOperaEntries(io.owner, out, io.bar, list, written, stamp);
                         WriteOperaLine(out, "-");
                         out.Flush();
                       },
                       {BackupPath(filePath), WriteFilter});
    // Only links that reached the hotlist are counted as written.
    report.links = written;
    NoteUnheld(report, list,
               kHoldsSeparators | kHoldsKeywords | kHoldsDescriptions | kHoldsAdded |
                   kHoldsVisited | kHoldsToolbar,
               filePath);
  } catch (const platform::BackupError& e) {
    // Without a backup the hotlist would be replaced with no copy left: it stays as it was.
    ReportFailure(io, report, NoBackupText("Ｏｐｅｒａブックマークファイル", filePath, e.code()));
  } catch (const platform::IoError& e) {
    ReportFailure(
        io, report,
        Sjis("Ｏｐｅｒａ６．ａｄｒの保存で [ ") + e.what() + Sjis(" ] のエラーが発生しました。"));
  }
  return report;
}

void TBookmarkControl::SaveOperaFile(Owner& owner, ProgressBar& bar, const BookmarkList& list,
                                     const std::string& filePath, int& operaUrlCount) {
  int noCancel = 0;
  operaUrlCount += SaveOperaFile({owner, bar, nullptr, noCancel}, list, filePath).links;
}

void TBookmarkControl::WriteOperaHeader(LineWriter& out) {
  WriteOperaLine(out, "Opera Hotlist version 2.0");
  WriteOperaLine(out, "Options:encoding=utf8,version=3");
  WriteOperaLine(out, "");
}

void TBookmarkControl::WriteOperaEntries(Owner& owner, LineWriter& out, ProgressBar& bar,
                                         const BookmarkList& list, int& operaUrlCount,
                                         const std::string& stamp) {
  bar.SetVisible(true);
  bar.SetPosition(0);
  bar.SetMax(static_cast<int>(list.size()) - 1);
  owner.ProcessMessages();

  // The lines every block ends with are the same for all: ASCII, which UTF-8 keeps as it is.
  const std::string indent(kIndent);
  std::string tail;
  for (const std::string& line :
       {indent + "CREATED=" + stamp, indent + "VISITED=0", indent + "ORDER=0",
        indent + "DESCRIPTION=", indent + "SHORT NAME=", std::string()})
    tail += line + "\r\n";
  // A name or address in UTF-8 after its key, the key being ASCII too.
  auto writeValue = [&out](std::string_view key, std::string_view value) {
    out.WriteLineWith([&](std::string& line) {
      line.append(key);
      platform::AppendCp932AsUtf8(line, value);
    });
  };

  int previousLevel = 0;
  bool previousFolder = false;
  // By level: whether the folder open there is the toolbar, and the items it has so far.
  std::vector<int> toolbarItems(kMaxLevel + 2, -1);
  for (const Entry& entry : list) {
    bar.StepIt();
    const EntryView block = ViewOf(entry);

    // A folder directly followed by something at its own level or higher up was empty: its
    // block is still open and is closed together with the folders left in between.
    int closing = 0;
    if (previousFolder && block.level <= previousLevel)
      closing = previousLevel - block.level + 1;
    else if (!previousFolder && block.level < previousLevel)
      closing = previousLevel - block.level;
    for (int i = 0; i < closing; ++i) out.WriteLine("-");

    if (block.IsSeparator()) {
      out.WriteLine("#SEPERATOR");  // the format's own spelling
      out.WriteLine("");
    } else {
      out.WriteLine(block.IsFolder() ? "#FOLDER" : "#URL");
      writeValue("        NAME=", block.name);
      if (!block.IsFolder()) writeValue("        URL=", block.url);
      // An item of the toolbar folder is one of the personal bar's.
      int* const onBar = block.level > 0 ? &toolbarItems[block.level - 1] : nullptr;
      const int position = onBar && *onBar >= 0 ? (*onBar)++ : -1;
      if (entry.props.Empty() && position < 0)
        out.WriteLines(tail);
      else
        WriteCarried(out, entry.props, stamp, position, writeValue);
      if (!block.IsFolder()) ++operaUrlCount;
    }
    if (block.IsFolder())
      toolbarItems[block.level] = entry.props.Get(Prop::Root) == "toolbar" ? 0 : -1;

    previousLevel = block.level;
    previousFolder = block.IsFolder();
  }
  WriteOperaLine(out, "");
  WriteOperaLine(out, "-");
  bar.SetVisible(false);
}

void TBookmarkControl::WriteOperaLine(LineWriter& out, std::string_view line) {
  out.WriteLine(SjisToUtf8(line));
}

}  // namespace lf
