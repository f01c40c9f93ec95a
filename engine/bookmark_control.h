// TBookmarkControl carries every operation on bookmark lists: the entry helpers, regrouping,
// merging, the text conversions, and the readers and writers of the three bookmark formats.
// The operations are spread over one source file per area (see CMakeLists.txt).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/bookmark_list.h"
#include "engine/report.h"
#include "engine/ui.h"
#include "platform/save_file.h"

namespace lf {

class LineReader;
class LineWriter;

class TBookmarkControl {
 public:
  TBookmarkControl();
  ~TBookmarkControl();
  TBookmarkControl(const TBookmarkControl&) = delete;
  TBookmarkControl& operator=(const TBookmarkControl&) = delete;

  // Character set of written Netscape files: 0 Shift_JIS, 1 EUC-JP, 2 UTF-8.
  int OutputCharset = 0;
  // Stands between the writers (and the lost-data log) and their files; tests make writes fail.
  platform::SinkFilter WriteFilter;
  // The folder of the lost-data log; empty for the program's folder.
  std::string LostDataFolder;

  // ---- Entries (entry.cpp; the entry's form is engine/entry.h's) ----
  // The URL in a text: from the first of "res:", "https:", "http:", "news:", "ftp:", "file:"
  // (in this order of preference) up to the next double quote; empty if none occurs.
  static std::string ExtractUrl(std::string_view text);
  // The same as a view into the text.
  static std::string_view FindUrl(std::string_view text);
  // The entry without "\" and its URL.
  static std::string EntryPath(std::string_view entry);
  // The key and URL of an entry, by its form (SplitKey).
  static void SplitEntry(std::string_view entry, std::string& key, std::string& url);
  // A name as an entry holds it (EntryName).
  static std::string EntryLinkName(std::string_view name);
  // The URL of an entry as SplitEntry finds it.
  static std::string EntryUrl(std::string_view entry);
  // The key of SplitEntry: the text before "\" and the URL part, the whole entry without one.
  static std::string EntryKey(std::string_view entry);
  // True for a text that begins with a scheme: a letter, then letters, digits, "+", "-" or
  // ".", then ":" ("mailto:", "javascript:", "place:").
  static bool StartsWithScheme(std::string_view text);
  // True for a text that a link can be made of: one that begins with a scheme, or one in
  // which ExtractUrl finds an address.
  static bool IsAddress(std::string_view text);
  // True for a folder entry by its form: no link marker, ".dir" and a level at its end.
  static bool IsFolderEntry(std::string_view entry);
  // From the first character after the backslash of the link marker to the end; the whole
  // entry if it has no link marker.
  static std::string UrlPart(std::string_view entry);
  // Up to and including the backslash of the link marker; empty without one.
  static std::string FolderPart(std::string_view entry);
  static std::string AddBackslash(std::string_view text);
  static std::string RemoveBackslash(std::string_view text);

  // ---- Regrouping (regroup.cpp) ----
  // Sorts the list and puts every folder entry in front of the entries below it, the links
  // directly under the root last. Order::Keep groups the same way but keeps the entries of
  // each folder in the order of the list, the links under the root among its folders.
  static void Regroup(BookmarkList& list, Order order = Order::Sort);
  // The order a reader regroups its list in: the order the user chose (Order setting).
  Order ListOrder = Order::Sort;

  // ---- Merging and special folders (list_merge.cpp) ----
  // Of identical entries one stays and takes what only the others carried. Order::Sort
  // regroups first and keeps the last; Order::Keep keeps the first where it stands.
  static void RemoveDuplicates(BookmarkList& list, Order order = Order::Sort);
  // The Favorites' "リンク" folder becomes the personal toolbar folder, marked as the
  // toolbar, and back; the toolbar is the folder named so, or the folder a browser marked
  // as its toolbar whatever its name.
  static void LinksToToolbar(BookmarkList& list, Order order = Order::Sort);
  static void ToolbarToLinks(BookmarkList& list, Order order = Order::Sort);

  // ---- Text encodings (encodings.cpp) ----
  static std::string Utf8ToSjis(std::string_view text);
  static std::string SjisToUtf8(std::string_view text);
  static std::string EucToSjis(std::string_view text);
  static std::string SjisToEuc(std::string_view text);

  // ---- Netscape bookmark file reader (netscape_reader.cpp) ----
  // Reads a Netscape bookmark file for a page: the cancel flag is the page's own (its cancel
  // button ends the read), the count starts at urlCount and is not handed back.
  void LoadBookmarkFile(Owner& owner, StatusLabel* status, int& cancel, int urlCount,
                        ProgressBar& bar, BookmarkList& list, TreeView* tree,
                        const std::string& rootName, const std::string& filePath);
  void ReadBookmarkFile(Owner& owner, const std::string& filePath, int& cancel, int& urlCount,
                        TreeView* tree, bool fillTree, BookmarkList& list, ProgressBar& bar,
                        const std::string& rootName);
  // Reads the bookmark file into the list (filling the tree when one is given, and showing
  // its status text when the label is given) and regroups it.
  Report ReadBookmarkFile(const Io& io, const std::string& filePath, BookmarkList& list,
                          const std::string& rootName, TreeView* tree = nullptr);
  static std::string CleanName(std::string_view text);
  std::string LinkName(std::string_view text) const;

  // ---- Netscape bookmark file writer (netscape_writer.cpp) ----
  // Writes the list as the bookmark file, keeping the file it replaces as its ".old".
  Report SaveBookmarkFile(const Io& io, const std::string& filePath, const BookmarkList& list);
  void SaveBookmarkFile(Owner& owner, ProgressBar& bar, int& urlCount, const std::string& filePath,
                        const BookmarkList& list);

  // ---- Favorites folder reader (favorites_reader.cpp) ----
  void LoadFavorites(Owner& owner, StatusLabel* status, int& cancel, int& errorCount,
                     int& ieUrlCount, BookmarkList& list, TreeView* tree,
                     const std::string& rootFolder);
  // Reads the Favorites folder (filling the tree when one is given) and regroups the list.
  Report LoadFavorites(const Io& io, BookmarkList& list, TreeView* tree,
                       const std::string& rootFolder);
  std::string ReadUrlFile(const std::string& path);

  // ---- Favorites folder writer and lost-data log (favorites_writer.cpp) ----
  // Makes a folder for every folder entry and a shortcut for every link of the list.
  // own: the shortcut files a read took in (program paths), which the write may rewrite;
  // anything else in a link's place is left alone and the link takes the next free name.
  Report SaveFavorites(const Io& io, const BookmarkList& list,
                       const std::unordered_set<std::string>* own = nullptr);
  void SaveFavorites(Owner& owner, ProgressBar& bar, int& cancel, int& errorCount, int& ieUrlCount,
                     const BookmarkList& list);
  // Saves the lost-data log of one step that the report tells of, when it lost anything;
  // a failure to save is shown. The forms above without a report save their own so.
  // True when nothing needed saving or the log was saved.
  bool SaveLostData(Owner& owner, const Report& report);

  // ---- Opera hotlist reader (opera_reader.cpp) ----
  void LoadOperaFile(Owner& owner, const std::string& filePath, int& cancel, int& operaUrlCount,
                     ProgressBar& bar, BookmarkList& list, const std::string& rootFolder);
  // Reads the hotlist into the list and regroups it.
  Report LoadOperaFile(const Io& io, const std::string& filePath, BookmarkList& list,
                       const std::string& rootFolder);

  // ---- Opera hotlist writer (opera_writer.cpp) ----
  // Writes the list as the hotlist, keeping the file it replaces as its ".old".
  Report SaveOperaFile(const Io& io, const BookmarkList& list, const std::string& filePath);
  void SaveOperaFile(Owner& owner, ProgressBar& bar, const BookmarkList& list,
                     const std::string& filePath, int& operaUrlCount);
  void WriteOperaHeader(LineWriter& out);
  void WriteOperaEntries(Owner& owner, LineWriter& out, ProgressBar& bar, const BookmarkList& list,
                         int& operaUrlCount, const std::string& stamp);
  void WriteOperaLine(LineWriter& out, std::string_view line);

  // ---- Folder tree and URL list (folder_tree.cpp) ----
  static std::string SelectedFolderPath(const std::string& rootText, const TreeView& tree);
  static void BuildFolderTree(ProgressBar& bar, const std::string& rootCaption, TreeView& tree,
                              const BookmarkList& list);
  static void FillUrlList(const std::string& folderPath, const BookmarkList& list,
                          ListItems& items);

 private:
  // The Netscape writer's indentation, kept from one write to the next.
  std::string currentIndent_;
};

// The date stamp of written files for what carries no date of its own: the seconds since
// 1970-01-01 00:00 UTC, as browsers keep their dates.
long long DateStamp();

}  // namespace lf
