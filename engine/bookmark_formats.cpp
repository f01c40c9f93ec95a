#include "engine/bookmark_formats.h"

#include <algorithm>
#include <string_view>

#include "engine/bookmark_control.h"
#include "engine/chromium_bookmarks.h"
#include "engine/firefox_backup.h"
#include "engine/firefox_places.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"
#include "engine/xbel_file.h"
#include "platform/file_system.h"

namespace lf {
namespace {

// The start of a file: enough for a JSON file's first keys or an XML prologue and comment.
std::string Head(const std::string& path) {
  std::string head;
  try {
    platform::File file(path, platform::File::Mode::Read);
    head.resize(4096);
    head.resize(file.Read(head.data(), head.size()));
  } catch (const platform::IoError&) {
    head.clear();
  }
  return head;
}

std::string_view FileName(std::string_view path) {
  const std::size_t cut = FindLastChar(path, "\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  // end is in lower case
  return std::equal(end.begin(), end.end(), text.end() - end.size(), [](char low, char c) {
    return low == c || (c >= 'A' && c <= 'Z' && c - 'A' + 'a' == low);
  });
}

BookmarkFormat FormatOfName(std::string_view path) {
  const std::string_view name = FileName(path);
  if (name == "Bookmarks" || EndsWithIgnoringCase(name, ".json")) return BookmarkFormat::Chromium;
  if (EndsWithIgnoringCase(name, ".xbel")) return BookmarkFormat::Xbel;
  return BookmarkFormat::Netscape;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

void SkipBlanks(std::string_view& text) {
  text.remove_prefix(std::min(text.find_first_not_of(" \t\r\n"), text.size()));
}

// An XML document whose first element, or the document type it declares, is "xbel": what
// comes before it may only be the XML declaration, processing instructions, comments and
// white space. A bookmark file that names XBEL somewhere in its text stays the Netscape
// file's.
bool StartsAsXbel(std::string_view head) {
  for (;;) {
    SkipBlanks(head);
    const std::string_view end = head.starts_with("<?")     ? "?>"
                                 : head.starts_with("<!--") ? "-->"
                                                            : "";
    if (end.empty()) break;
    const std::size_t at = head.find(end);
    if (at == std::string_view::npos) return false;
    head.remove_prefix(at + end.size());
  }
  std::string_view name;
  if (head.starts_with("<!DOCTYPE")) {
    head.remove_prefix(9);
    if (head.empty() || head.find_first_of(" \t\r\n") != 0) return false;
    SkipBlanks(head);
    name = head;
  } else if (head.starts_with("<")) {
    name = head.substr(1);
  }
  static constexpr std::string_view kAfterName = " \t\r\n>/[";
  return name.starts_with("xbel") &&
         (name.size() == 4 || kAfterName.find(name[4]) != std::string_view::npos);
}

}  // namespace

BookmarkFormat BookmarkFormatOf(const std::string& path) {
  std::string_view head;
  const std::string bytes = Head(path);
  head = bytes;
  if (head.empty()) return FormatOfName(path);
  if (head.substr(0, 8) == std::string_view("mozLz40\0", 8)) return BookmarkFormat::FirefoxBackup;
  if (head.substr(0, 16) == std::string_view("SQLite format 3\0", 16))
    return BookmarkFormat::FirefoxPlaces;
  if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
  SkipBlanks(head);
  // Text that merely looks like JSON or XML stays the Netscape file's, which reads any text:
  // only the keys and elements the browsers' files begin with make them theirs.
  if (!head.empty() && head.front() == '{') {
    if (Contains(head, "\"roots\"")) return BookmarkFormat::Chromium;
    if (Contains(head, "\"text/x-moz-place")) return BookmarkFormat::FirefoxBackup;
  }
  if (StartsAsXbel(head)) return BookmarkFormat::Xbel;
  return BookmarkFormat::Netscape;
}

Report ReadBookmarkFileAs(BookmarkFormat format, const Io& io, const std::string& path,
                          BookmarkList& list, const std::string& rootName, TreeView* tree,
                          Order order) {
  if (io.status) {
    io.status->SetCaption(ReadingBookmarkFileText());
    io.owner.ProcessMessages();
  }
  io.bar.SetPosition(0);
  io.bar.SetStep(1);
  io.bar.SetVisible(true);
  Report report;
  switch (format) {
    case BookmarkFormat::Chromium:
      report = ReadChromiumBookmarks(io, path, list, rootName, order);
      break;
    case BookmarkFormat::Xbel:
      report = ReadXbelFile(io, path, list, rootName, order);
      break;
    case BookmarkFormat::FirefoxBackup:
      report = ReadFirefoxBackup(io, path, list, rootName, order);
      break;
    case BookmarkFormat::FirefoxPlaces:
      report = ReadFirefoxPlaces(io, path, list, rootName, order);
      break;
    case BookmarkFormat::Netscape:
      break;
  }
  // What was read before a failure is shown in its folders too.
  if (tree) TBookmarkControl::BuildFolderTree(io.bar, path, *tree, list);
  io.bar.SetVisible(false);
  return report;
}

Report SaveBookmarkFileAs(BookmarkFormat format, const Io& io, const std::string& path,
                          const BookmarkList& list, const platform::SinkFilter& filter) {
  Report report;
  switch (format) {
    case BookmarkFormat::Chromium:
      return SaveChromiumBookmarks(io, path, list, filter);
    case BookmarkFormat::Xbel:
      return SaveXbelFile(io, path, list, filter);
    case BookmarkFormat::FirefoxBackup:
    case BookmarkFormat::FirefoxPlaces:
      // Writing the Netscape file here would replace Firefox's own file with one it cannot use.
      ReportFailure(io, report,
                    Sjis("[ ") + platform::ShownPath(path) +
                        Sjis(" ] は Firefox のファイルで、書き込めません。Firefox へはブックマーク"
                             "ファイル（HTML）に書き出して、Firefox の「インポート」で読み込んで"
                             "ください。"));
      return report;
    case BookmarkFormat::Netscape:
      break;
  }
  return report;
}

}  // namespace lf
