// One shortcut file (".url") as the Favorites reader and writer see it: the address it holds,
// what stands in a link's place, and the write that changes no more than it must.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "engine/entry_props.h"
#include "platform/save_file.h"

namespace lf {

// The address a shortcut holds as the program keeps it (Shift-JIS, what lies beyond it as
// references); empty when it holds none that can be carried. Where Windows wrote a Unicode
// copy of it ("[InternetShortcut.W]") that still belongs to the line, that copy is the address.
// With props, what the shortcut holds for its link beside the address: its icon (IconFile,
// IconIndex) and, as the date it was added, the file's time of last modification.
std::string ReadShortcut(const std::string& path, EntryProps* props = nullptr);

// What stands where a link's shortcut is to go.
enum class ShortcutPlace {
  Free,   // nothing
  Same,   // a shortcut of the link's own address: nothing needs writing
  Ours,   // a shortcut a read took in: its address may be rewritten
  Taken,  // anything else: a file of the user's own, a symbolic link, a folder, a shortcut of
          // another address no read took in; never replaced
};
// own: the shortcut files a read took in, or null for none.
ShortcutPlace PlaceOf(const std::string& file, std::string_view url,
                      const std::unordered_set<std::string>* own);

// Writes the shortcut of the address into a place that is not Taken: a new file where nothing
// is, with the icon the link carries; nothing where the file holds the address already; where
// it holds another, only the value of its "URL=" line changes (and of the copies of that line
// Windows reads the address from), and every other line, section, byte order mark and the
// file's name stay. An address that holds what code page 932 cannot is written in Unicode too,
// for Windows to read. A file written takes the date the link was added (Prop::Added) as its
// time of last modification. Returns 0 or the system's error code; a file left half written is
// removed, and one that is replaced is replaced only by a complete new one.
int WriteShortcut(const std::string& file, std::string_view url, const EntryProps& props,
                  const platform::SinkFilter& filter);

// The date an item of the Favorites was added (Prop::Added) is its file's or folder's time of
// last modification: where Windows shows it, and where a read takes it from. A date that is
// none (not a positive number of seconds) leaves the file's time as it is.
void StampWithDate(const std::string& path, const EntryProps& props);
void ReadDateOfFile(const std::string& path, EntryProps& props);

// The address as a new shortcut holds it (see shortcut_file.cpp).
std::string ShortcutAddress(std::string_view url);

}  // namespace lf
