#include "engine/firefox_places.h"

#include <sqlite3.h>

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/firefox_backup.h"
#include "engine/json_text.h"
#include "engine/nested_list.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

namespace lf {
namespace {

// A row of moz_bookmarks with its address and keyword.
struct Item {
  long long id = 0, parent = 0, place = 0;
  int type = 0;  // 1 link, 2 folder, 3 separator
  std::string title, guid, url, keyword;
  long long added = 0, modified = 0;
  std::vector<std::size_t> children;  // in their order
};

constexpr const char* kQuery =
    "SELECT b.id, b.type, b.fk, b.parent, b.title, b.dateAdded, b.lastModified, b.guid, p.url, "
    "(SELECT k.keyword FROM moz_keywords k WHERE k.place_id = b.fk ORDER BY k.id LIMIT 1) "
    "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
    "ORDER BY b.parent, b.position, b.id";

// The database is in use: Firefox keeps it locked while it runs.
class Locked : public std::runtime_error {
 public:
  Locked() : std::runtime_error("locked") {}
};

class Database {
 public:
  explicit Database(const std::string& path) {
    std::string native;
    if (const int code = platform::ToNativePath(path, native); code != 0)
      throw platform::IoError(code);
    // A URI, so that the file is opened read-only whatever its name holds.
    std::string uri = "file:";
    for (const unsigned char c : native) {
      if (c == '%' || c == '?' || c == '#' || c < 0x21 || c >= 0x7F) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        uri += '%';
        uri += kHex[c >> 4];
        uri += kHex[c & 15];
      } else {
        uri += static_cast<char>(c);
      }
    }
    uri += "?mode=ro";
    const int result =
        sqlite3_open_v2(uri.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (result != SQLITE_OK) Fail(result);
    sqlite3_busy_timeout(db_, 200);
  }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  [[noreturn]] void Fail(int result) const {
    if (result == SQLITE_BUSY || result == SQLITE_LOCKED) throw Locked();
    throw FormatError(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(result));
  }

  // Every bookmark row, in the order of its folder.
  std::vector<Item> Items() const {
    sqlite3_stmt* statement = nullptr;
    if (const int result = sqlite3_prepare_v2(db_, kQuery, -1, &statement, nullptr);
        result != SQLITE_OK)
      Fail(result);
    std::vector<Item> items;
    int result;
    const auto text = [statement](int column) {
      const unsigned char* value = sqlite3_column_text(statement, column);
      return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
    };
    while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
      Item& item = items.emplace_back();
      item.id = sqlite3_column_int64(statement, 0);
      item.type = sqlite3_column_int(statement, 1);
      item.place = sqlite3_column_int64(statement, 2);
      item.parent = sqlite3_column_int64(statement, 3);
      item.title = text(4);
      item.added = sqlite3_column_int64(statement, 5);
      item.modified = sqlite3_column_int64(statement, 6);
      item.guid = text(7);
      item.url = text(8);
      item.keyword = text(9);
    }
    sqlite3_finalize(statement);
    if (result != SQLITE_DONE) Fail(result);
    return items;
  }

 private:
  sqlite3* db_ = nullptr;
};

// The bookmarks as a tree, walked from the root with a stack of its own: a database is no
// file of ours, and a folder that lies inside itself must end the walk, not the program.
class Places {
 public:
  Places(std::vector<Item> items, NestedListBuilder& out) : items_(std::move(items)), out_(out) {
    std::unordered_map<long long, std::size_t> byId;
    for (std::size_t i = 0; i < items_.size(); ++i) byId.emplace(items_[i].id, i);
    for (std::size_t i = 0; i < items_.size(); ++i) {
      const auto parent = byId.find(items_[i].parent);
      if (parent != byId.end() && parent->second != i) items_[parent->second].children.push_back(i);
      if (items_[i].guid == "root________") root_ = i;
      if (items_[i].guid == "tags________") tags_ = i;
    }
    // A tag is a folder of the tags root; its links name the places it tags.
    if (tags_ != kNone)
      for (const std::size_t tag : items_[tags_].children)
        for (const std::size_t tagged : items_[tag].children) {
          std::string& tags = tagsOf_[items_[tagged].place];
          if (!tags.empty()) tags += ",";
          tags += items_[tag].title;
        }
  }

  bool HasRoot() const { return root_ != kNone; }

  void Walk() {
    struct Frame {
      std::size_t item, next;
      bool opened;
    };
    std::vector<Frame> stack{{root_, 0, false}};
    std::unordered_set<std::size_t> seen{root_};
    while (!stack.empty()) {
      Frame& top = stack.back();
      const Item& folder = items_[top.item];
      if (top.next == folder.children.size()) {
        if (top.opened) out_.CloseFolder();
        stack.pop_back();
        continue;
      }
      const std::size_t i = folder.children[top.next++];
      if (!seen.insert(i).second) continue;
      if (out_.Cancelled()) return;
      const Item& item = items_[i];
      if (item.type == 3) {
        out_.AddSeparator();
      } else if (item.type == 1) {
        if (item.url.empty())
          out_.Lose(item.title);
        else
          out_.AddLink(item.title, item.url, PropsOf(item));
      } else if (item.type == 2) {
        const bool isRoot = stack.size() == 1;
        const FirefoxRoot root =
            isRoot ? FirefoxRootOf(item.guid) : FirefoxRoot{FirefoxRoot::Folder, {}, {}};
        if (root.kind == FirefoxRoot::Skipped || (root.mark && item.children.empty())) continue;
        const bool open = root.kind == FirefoxRoot::Folder;
        if (open) {
          EntryProps props = PropsOf(item);
          if (root.mark) props.Set(Prop::Root, root.mark);
          out_.OpenFolder(root.name ? std::string_view(root.name) : item.title, std::move(props));
        }
        stack.push_back({i, 0, open});  // top is not used after this
      }
    }
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  EntryProps PropsOf(const Item& item) const {
    EntryProps props;
    props.Set(Prop::Added, SecondsFromMicros(item.added));
    props.Set(Prop::Modified, SecondsFromMicros(item.modified));
    props.Set(Prop::Keyword, platform::Utf8ToCp932(item.keyword));
    if (item.type == 1)
      if (const auto tags = tagsOf_.find(item.place); tags != tagsOf_.end())
        props.Set(Prop::Tags, platform::Utf8ToCp932(tags->second));
    props.Set(Prop::Guid, item.guid);
    return props;
  }

  std::vector<Item> items_;
  NestedListBuilder& out_;
  std::size_t root_ = kNone, tags_ = kNone;
  std::unordered_map<long long, std::string> tagsOf_;
};

}  // namespace

Report ReadFirefoxPlaces(const Io& io, const std::string& path, BookmarkList& list,
                         const std::string& rootName, Order order) {
  Report report;
  try {
    std::vector<Item> items = Database(path).Items();
    io.bar.SetMax(static_cast<int>(items.size() / 1024));
    NestedListBuilder out(io, list, report, rootName, order);
    Places places(std::move(items), out);
    if (!places.HasRoot()) throw FormatError("no places root");
    places.Walk();
    out.Finish(order);
  } catch (const platform::IoError& e) {
    ReportFailure(io, report, ReadFailureText(path, e.what()));
  } catch (const Locked&) {
    ReportFailure(io, report,
                  Sjis("[ ") + platform::ShownPath(path) +
                      Sjis(" ] は Firefox が使っているため読めません。Firefox を終了してから、"
                           "もう一度実行してください。"));
  } catch (const FormatError& e) {
    ReportFailure(
        io, report,
        ReadFailureText(path, Sjis("Firefox の places.sqlite として読めません: ") + e.what()));
  }
  report.cancelled = io.cancel != 0;
  return report;
}

}  // namespace lf
