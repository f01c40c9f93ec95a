// The Netscape bookmark file writer: lays the file out from the order of the entries and
// their levels alone, keeps the replaced file as ".old" and carries its title over.
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "platform/file_system.h"
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
  OutputFile(const std::string& path, int charset) : writer_(path), charset_(charset) {}

  void Line(std::string_view line) {
    if (charset_ == 1)
      writer_.WriteLine(TBookmarkControl::SjisToEuc(line));
    else if (charset_ == 2)
      writer_.WriteLine(TBookmarkControl::SjisToUtf8(line));
    else
      writer_.WriteLine(line);
  }
  void Close() { writer_.Close(); }

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

}  // namespace

void TBookmarkControl::SaveBookmarkFile(Owner& owner, ProgressBar& bar, int& urlCount,
                                        const std::string& filePath, const BookmarkList& list) {
  const std::string backupPath = ChangeFileExt(filePath, ".old");
  // A file that already has the backup's name cannot be its own backup: it is neither
  // deleted beforehand nor renamed, and the user is told that no backup was made.
  const bool ownBackup = backupPath == filePath;
  if (!ownBackup && platform::FileExists(backupPath)) platform::DeleteFile(backupPath);

  const std::string user = platform::LoginName();
  std::string title = user + "'s Bookmarks";
  bool backedUp = false;
  if (platform::FileExists(filePath)) {
    try {
      title = user + TitleSuffix(filePath);
    } catch (const platform::IoError&) {
      // An unreadable file keeps the default title; the backup and the write still follow.
    }
    if (ownBackup || platform::RenameFile(filePath, backupPath) != 0) {
      // Without a backup the file would be replaced with no copy left: it stays as it is.
      owner.MessageBox(Sjis("ブックマークファイルのバックアップが出来ていません。"),
                       MessageCaption(), kMbOk | kMbIconError);
      return;
    }
    backedUp = true;
  }

  // The new file is written beside its place and put there only when complete, so that a
  // failed write leaves no cut-off file; the previous one then comes back from its backup.
  const std::string writePath = platform::UnusedPathBeside(filePath, ".tmp");
  const int countBefore = urlCount;

  try {
    OutputFile out(writePath, OutputCharset);
    const std::string stamp = std::to_string(DateStamp());

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
    if (OutputCharset == 0)
      out.Line("<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=shift_jis\">");
    else if (OutputCharset == 1)
      out.Line("<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=euc-jp\">");
    else if (OutputCharset == 2)
      out.Line("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">");
    out.Line("<H1>" + title + "</H1>");
    out.Line("");
    out.Line("<DL><P>");
    out.Line("");

    bar.SetPosition(0);
    bar.SetMax(static_cast<int>(list.size()) - 1);
    bar.SetVisible(true);
    owner.ProcessMessages();

    int previousLevel = 0;
    bool previousFolder = false;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::string& entry = list[i];
      bar.StepIt();
      std::string key, url;
      SplitEntry(entry, key, url);

      std::string name;
      if (std::size_t marker = FindCharBoundary(key, kLinkMarker); marker != std::string::npos) {
        name = key.substr(marker + kLinkMarker.size());
      } else {
        // Only "\" ends a path step: a hotlist's folder names may hold ":".
        std::size_t cut = FindLastChar(key, "\\");
        name = cut == std::string::npos ? key : key.substr(cut + 1);
      }
      name.resize(name.size() > 5 ? name.size() - 5 : 0);

      // An entry that does not end in a level character is written at level 0.
      const int level = key.empty() ? 0 : std::max(LevelValue(key.back()), 0);
      const bool isFolder = IsFolderEntry(entry);

      // An empty folder: one written just before, with nothing inside it.
      if (i > 0 && previousFolder && level <= previousLevel) {
        out.Line(currentIndent_ + "  <DL><P>");
        out.Line(currentIndent_ + "  </DL><P>");
        out.Line("");
      }
      if (level > previousLevel) {
        std::string indent;
        for (int k = previousLevel; k < level; ++k) {
          if (IndentDefined(k)) indent = Indent(k);
          currentIndent_ = indent;
          out.Line(currentIndent_ + "  <DL><P>");
        }
      } else if (level < previousLevel) {
        CloseLists(out, currentIndent_, level, previousLevel);
      }
      previousLevel = level;
      previousFolder = isFolder;

      currentIndent_ = IndentDefined(level) ? Indent(level) : std::string();
      if (isFolder) {
        out.Line(currentIndent_ + "<DT><H3 ADD_DATE=\"" + stamp + "\">" + name + "</H3>");
        out.Line("");
      } else {
        out.Line(currentIndent_ + "<DT><A HREF=\"" + url + "\" ADD_DATE=\"" + stamp +
                 "\" LAST_VISIT=\"0\" LAST_MODIFIED=\"0\">" + name + "</A>");
        ++urlCount;
      }
    }
    // The end lines close two lists; those still open deeper down are closed first, as for a
    // following entry at level 1.
    if (previousLevel > 1) {
      CloseLists(out, currentIndent_, 1, previousLevel);
      currentIndent_ = Indent(1);
    }
    out.Line(currentIndent_ + "</DL><P>");
    out.Line("");
    bar.SetVisible(false);

    out.Line("");
    out.Line("</DL><P>");
    out.Close();
    if (int rc = platform::RenameFile(writePath, filePath)) throw platform::IoError(rc);
  } catch (const platform::IoError& e) {
    platform::DeleteFile(writePath);
    // The links did not reach the file, so they are not counted as written.
    urlCount = countBefore;
    if (backedUp && !platform::PathExists(filePath)) platform::RenameFile(backupPath, filePath);
    owner.MessageBox(Sjis("Ｂｏｏｋｍａｒｋ．ｈｔｍの保存で [ ") + e.what() +
                         Sjis(" ] のエラーが発生しました。"),
                     MessageCaption(), kMbOk | kMbIconError);
  }
}

}  // namespace lf
