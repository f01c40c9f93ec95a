// The one place that makes entries and reads them. An entry is a line of the bookmark list:
//   folder entry:     parent path \ name .dir level
//   URL entry:        folder path \腕腕 name .url level \ URL
//   separator entry:  folder path \腕腕 0xFF number .sep level
// The text is all the format; what an entry carries beside it (entry_props.h) travels with it
// as a value.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/entry_props.h"

namespace lf {

// One entry of a bookmark list: its text, with every operation of a string, and what it
// carries. Copying or moving an entry takes its properties along; assigning a text to it
// (an edit) keeps them. Entries compare by their text.
class Entry : public std::string {
 public:
  Entry() = default;
  Entry(std::string text) : std::string(std::move(text)) {}  // NOLINT: entries are texts
  Entry(std::string_view text) : std::string(text) {}        // NOLINT
  Entry(const char* text) : std::string(text) {}             // NOLINT
  Entry(std::string text, EntryProps carried)
      : std::string(std::move(text)), props(std::move(carried)) {}
  using std::string::operator=;
  using std::string::operator+=;

  EntryProps props;
};

// What kind of item an entry is, by its form.
enum class EntryKind {
  Folder,     // no link marker, ".dir" and a level at its end
  Link,       // a link marker
  Separator,  // a link marker, and ".sep" and a level at its end
  Other,      // none of these (no entry the readers make)
};

// An entry read through its form. Views into the entry, valid while it is.
struct EntryView {
  std::string_view text;  // the whole entry
  std::string_view key;   // the entry without "\" and its URL (all of a folder entry)
  std::string_view url;   // what follows the name's "\" in a URL entry; empty otherwise
  std::size_t marker = std::string_view::npos;  // where its link marker begins
  std::string_view folderPath;  // the folder it lies in: up to the link marker, or up to a
                                // folder entry's last "\"
  std::string_view leaf;        // the name with its ".url"/".dir", without the level
  std::string_view name;        // the folder or link name without ".dir"/".url" and the level
  int level = 0;                // the value of its level character (0 when it has none)
  EntryKind kind = EntryKind::Other;

  bool IsFolder() const { return kind == EntryKind::Folder; }
  bool IsLink() const { return kind == EntryKind::Link; }
  bool IsSeparator() const { return kind == EntryKind::Separator; }
  // Up to and including the "\" of the link marker: the folder path and "\"; empty without
  // a link marker.
  std::string_view FolderPart() const;
  // The folder's own path (the folder entry without ".dir" and its level); empty for a link.
  std::string_view OwnPath() const;
  // True when the name is followed by ".url" in any letter case, as the link lists require.
  bool NamedAsLink() const;
};

// Reads any entry.
EntryView ViewOf(std::string_view entry);

// The entry of a folder named name in parentPath; the name is held as EntryName holds it.
Entry MakeFolderEntry(std::string_view parentPath, std::string_view name, int level);
// The entry of a link named name in folderPath, with its address.
Entry MakeLinkEntry(std::string_view folderPath, std::string_view name, int level,
                    std::string_view url);
// The same with the level character as it stands (an entry rewritten keeps its own).
Entry MakeLinkEntry(std::string_view folderPath, std::string_view name, char levelChar,
                    std::string_view url);

// The entry of a link read from a shortcut file, named by the file's own name (which ends in
// ".url" in any letter case), so that the file it came from can be told again.
Entry MakeShortcutEntry(std::string_view folderPath, std::string_view fileName, int level,
                        std::string_view url);

// The entry of the number-th separator (from 1) of folderPath. Its name sorts after every
// link's, and no reader's name can be one.
Entry MakeSeparatorEntry(std::string_view folderPath, int number, int level);

// The separators a reader meets: entries of their own, numbered in their folder, where the
// list keeps the order of its source; where it is sorted by name no place could say what a
// separator divides, so they are only counted, and the reader says so.
class SeparatorMaker {
 public:
  explicit SeparatorMaker(bool keep) : keep_(keep) {}
  void Add(std::vector<Entry>& list, std::string_view folderPath, int level);
  // What the reader says of the separators it did not keep; empty when it kept them all.
  std::string Note() const;

 private:
  bool keep_;
  int skipped_ = 0;
  std::vector<std::pair<std::string, int>> counts_;  // by folder path, the last few
};

// A name as an entry holds it: every "\" of the name as its reference "&#92;", so that it
// never reads as the end of a folder or link name, and the first of two "腕" it begins with
// as "&#33109;", so that it never reads as a link marker. A name held so stays as it is.
std::string EntryName(std::string_view name);

// The key and URL of an entry, split by its form (see EntryView).
std::pair<std::string_view, std::string_view> SplitKey(std::string_view entry);

// True for a folder entry by its form: no link marker, ".dir" and a level at its end.
bool IsFolder(std::string_view entry);
// True for a separator entry (EntryKind::Separator); an entry that does not end in ".sep"
// and a level is not read through.
bool IsSeparator(std::string_view entry);

// Failed checks in tests print entries as the text they are.
inline void PrintTo(const Entry& entry, std::ostream* out) {
  *out << '"' << static_cast<const std::string&>(entry) << '"';
}

}  // namespace lf
