// What an entry carries beside its name and address: dates, keyword, tags, description, icon,
// the mark of a special folder, and whatever else the file it came from held for it. Kept in
// one small block per entry, none at all for an entry that carries nothing, so a million
// plain links cost no more than before.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lf {

enum class Prop : unsigned char {
  Added = 1,    // when it was added: seconds since 1970-01-01 00:00 UTC, in decimal
  Modified,     // when it was last changed, the same way
  Visited,      // when it was last visited, the same way
  Keyword,      // the keyword that opens it from the address bar
  Tags,         // its tags, separated by commas
  Description,  // its description
  Icon,         // its icon as data ("data:image/png;base64,...")
  IconUri,      // where its icon comes from
  Root,         // a special folder: "toolbar", "unfiled" ("other bookmarks") or "mobile"
  Attributes,   // other attributes of a bookmark file item as they stood (see Attributes)
  Guid,         // the identity a browser gave it
  Extra,        // what a browser's own file held for it that nothing here reads (JSON)
  IconFile,     // a shortcut's icon file and index, as the shortcut held them
  IconIndex,
  ShortcutFile,  // the shortcut file a link of the editor's Favorites came from (a program
                 // path): renamed or moved, the link takes the file along
};

// How many kinds of Prop there are, with the unused 0: an index for a value of each.
inline constexpr std::size_t kPropSlots = static_cast<std::size_t>(Prop::ShortcutFile) + 1;

class EntryProps {
 public:
  EntryProps() = default;
  EntryProps(const EntryProps& other);
  EntryProps& operator=(const EntryProps& other);
  EntryProps(EntryProps&&) noexcept = default;
  EntryProps& operator=(EntryProps&&) noexcept = default;

  // The value, empty when there is none.
  std::string_view Get(Prop prop) const;
  // Sets the value; an empty one removes it.
  void Set(Prop prop, std::string_view value);
  // The properties of the values given by Prop (empty ones none), made in one go: what Set
  // of each would give.
  static EntryProps Of(const std::array<std::string_view, kPropSlots>& values);
  bool Has(Prop prop) const { return !Get(prop).empty(); }
  bool Empty() const { return !block_; }
  // Every property there is, in the order of Prop.
  std::vector<std::pair<Prop, std::string_view>> All() const;

  bool operator==(const EntryProps& other) const;

 private:
  // [size: 4 bytes][prop: 1 byte][length: 4 bytes][value]...
  std::unique_ptr<char[]> block_;
};

// The other attributes of a bookmark file item as one value of Prop::Attributes, and back:
// name and value pairs in their order.
std::string JoinAttributes(const std::vector<std::pair<std::string, std::string>>& attributes);
std::vector<std::pair<std::string_view, std::string_view>> SplitAttributes(std::string_view joined);

}  // namespace lf
