// The writer of Chromium's "Bookmarks" file: the list laid out by the order and levels of its
// entries into the three roots, then numbered and summed as Chromium numbers and sums it.
#include <openssl/evp.h>
#include <simdjson.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <unordered_set>

#include "engine/bookmark_control.h"
#include "engine/chromium_bookmarks.h"
#include "engine/entry.h"
#include "engine/file_backup.h"
#include "engine/json_text.h"
#include "engine/sjis_text.h"
#include "engine/unheld.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

namespace lf {
namespace {

using Json = nlohmann::json;

// The roots in the order Chromium numbers and sums them, with the guids it gives them.
struct RootKind {
  const char* key;
  const char* mark;  // Prop::Root of the folder that stands for it
  const char* name;  // its name when the list has no such folder
  const char* guid;
};
constexpr RootKind kRoots[] = {
    {"bookmark_bar", "toolbar", "Bookmarks bar", "0bc5d13f-2cba-5d74-951f-3f233fe6c908"},
    {"other", "unfiled", "Other bookmarks", "82b081ec-3dd3-529c-8475-ab6c344590dd"},
    {"synced", "mobile", "Mobile bookmarks", "4cf2e351-0e85-532b-bb37-df045d8f8d0f"},
};

bool IsGuid(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (c != '-') return false;
    } else if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
      return false;
    }
  }
  return true;
}

// What the file being replaced holds that a write keeps: the guids of its nodes and its own
// data beside the roots.
struct ReplacedFile {
  std::unordered_set<std::string> guids;
  Json own = Json::object();
};

void CollectGuids(const simdjson::dom::element& node, std::unordered_set<std::string>& guids) {
  simdjson::dom::object o;
  if (node.get_object().get(o) != simdjson::SUCCESS) return;
  std::string_view guid;
  if (o["guid"].get_string().get(guid) == simdjson::SUCCESS) guids.emplace(guid);
  simdjson::dom::array children;
  if (o["children"].get_array().get(children) != simdjson::SUCCESS) return;
  for (const auto child : children) CollectGuids(child, guids);
}

// A file that cannot be read as Chromium's gives nothing to keep.
ReplacedFile ReadReplaced(const std::string& path) {
  ReplacedFile replaced;
  if (!platform::FileExists(path)) return replaced;
  try {
    const JsonText text = ReadJsonFile(path);
    simdjson::dom::parser parser;
    simdjson::dom::object top, roots;
    if (parser.parse(text.Data(), text.Size(), false).get_object().get(top) != simdjson::SUCCESS)
      return replaced;
    for (const auto field : top) {
      if (field.key == "roots") {
        if (field.value.get_object().get(roots) == simdjson::SUCCESS)
          for (const auto root : roots) CollectGuids(root.value, replaced.guids);
      } else if (field.key != "checksum" && field.key != "version") {
        replaced.own[std::string(field.key)] = Json::parse(simdjson::minify(field.value));
      }
    }
  } catch (const std::exception&) {
    return ReplacedFile();
  }
  return replaced;
}

class Layout {
 public:
  explicit Layout(const ReplacedFile& replaced) : replaced_(replaced) {
    for (const RootKind& kind : kRoots) roots_.push_back(Folder(kind.name, {}, kind.guid));
  }

  void Add(const Entry& entry) {
    const EntryView view = ViewOf(entry);
    if (view.IsSeparator()) return;
    // What was open below this level ends here; the array it lay in may move when this
    // item joins it.
    if (open_.size() > static_cast<std::size_t>(view.level) + 1) open_.resize(view.level + 1);
    const EntryProps& props = entry.props;
    if (view.level == 0 && view.IsFolder())
      for (std::size_t r = 0; r < std::size(kRoots); ++r)
        if (!rootTaken_[r] && props.Get(Prop::Root) == kRoots[r].mark) {
          rootTaken_[r] = true;
          roots_[r] = Folder(view.name, props, kRoots[r].guid);
          Open(1, &roots_[r]["children"]);
          return;
        }
    Json* into = view.level == 0 ? &roots_[1]["children"] : Within(view.level);
    if (view.IsFolder()) {
      into->push_back(Folder(view.name, props, {}));
      Open(view.level + 1, &into->back()["children"]);
    } else {
      into->push_back(Link(view, props));
      ++links_;
    }
  }

  // The whole file: the roots numbered and summed.
  Json File() {
    Json roots = Json::object();
    EVP_MD_CTX* md5 = EVP_MD_CTX_new();
    EVP_DigestInit_ex(md5, EVP_md5(), nullptr);
    // The roots are numbered first, as Chromium numbers them; the sum goes through the tree
    // one root after the other.
    for (std::size_t r = 0; r < std::size(kRoots); ++r) roots_[r]["id"] = std::to_string(r + 1);
    int next = static_cast<int>(std::size(kRoots)) + 1;
    for (std::size_t r = 0; r < std::size(kRoots); ++r) {
      Sum(md5, roots_[r]);
      for (Json& child : roots_[r]["children"]) Number(child, next, md5);
      roots[kRoots[r].key] = std::move(roots_[r]);
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    EVP_DigestFinal_ex(md5, digest, &length);
    EVP_MD_CTX_free(md5);
    std::string hex;
    for (unsigned i = 0; i < length; ++i) {
      static constexpr char kHex[] = "0123456789abcdef";
      hex += kHex[digest[i] >> 4];
      hex += kHex[digest[i] & 15];
    }
    Json file = replaced_.own;
    file["checksum"] = hex;
    file["roots"] = std::move(roots);
    file["version"] = 1;
    return file;
  }

  int Links() const { return links_; }

 private:
  // The children of the folder open at that level, or of the deepest one open above it.
  Json* Within(int level) {
    for (int k = std::min<int>(level, static_cast<int>(open_.size()) - 1); k >= 1; --k)
      if (open_[k]) return open_[k];
    return &roots_[1]["children"];
  }

  void Open(int level, Json* children) {
    if (open_.size() <= static_cast<std::size_t>(level)) open_.resize(level + 1, nullptr);
    open_[level] = children;
    std::fill(open_.begin() + level + 1, open_.end(), nullptr);
  }

  Json Folder(std::string_view name, const EntryProps& props, const char* rootGuid) {
    Json node = Node(name, props, rootGuid);
    node["children"] = Json::array();
    node["date_modified"] = ChromiumTimeFromSeconds(props.Get(Prop::Modified));
    node["type"] = "folder";
    return node;
  }

  Json Link(const EntryView& view, const EntryProps& props) {
    Json node = Node(view.name, props, nullptr);
    node["type"] = "url";
    node["url"] = platform::Cp932ToUtf8(view.url);
    return node;
  }

  // What every node has, and what it carried from this file.
  Json Node(std::string_view name, const EntryProps& props, const char* rootGuid) {
    Json node = Json::object();
    const std::string_view guid = props.Get(Prop::Guid);
    const bool fromHere = !guid.empty() && replaced_.guids.count(std::string(guid)) > 0;
    if (fromHere && props.Get(Prop::Extra).substr(0, 1) == "{") {
      const Json extra = Json::parse(props.Get(Prop::Extra), nullptr, false);
      if (extra.is_object()) node = extra;
    }
    const std::string_view added = props.Get(Prop::Added);
    node["date_added"] = ChromiumTimeFromSeconds(added.empty() ? stamp_ : added);
    node["date_last_used"] = ChromiumTimeFromSeconds(props.Get(Prop::Visited));
    node["guid"] = rootGuid ? std::string(rootGuid) : NewOrKept(guid);
    node["name"] = platform::Cp932ToUtf8(name);
    return node;
  }

  // A guid may stand once in a file: a second node with it (the same link pasted twice) and
  // a node with none get new ones.
  std::string NewOrKept(std::string_view guid) {
    if (IsGuid(guid) && used_.insert(std::string(guid)).second) return std::string(guid);
    for (;;) {
      std::uniform_int_distribution<int> digit(0, 15);
      std::string made = "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx";
      for (char& c : made) {
        if (c != 'x' && c != 'y') continue;
        const int value = c == 'x' ? digit(random_) : 8 + digit(random_) % 4;
        c = "0123456789abcdef"[value];
      }
      if (used_.insert(made).second) return made;
    }
  }

  void Number(Json& node, int& next, EVP_MD_CTX* md5) {
    node["id"] = std::to_string(next++);
    Sum(md5, node);
    if (node["type"] == "folder")
      for (Json& child : node["children"]) Number(child, next, md5);
  }

  // Chromium's sum: id, name as UTF-16 (little-endian), type and, for a link, its address.
  static void Sum(EVP_MD_CTX* md5, const Json& node) {
    const auto update = [md5](std::string_view bytes) {
      EVP_DigestUpdate(md5, bytes.data(), bytes.size());
    };
    update(node["id"].get_ref<const std::string&>());
    std::u16string name =
        platform::Cp932ToUtf16(platform::Utf8ToCp932(node["name"].get_ref<const std::string&>()));
    std::string bytes;
    for (const char16_t unit : name) {
      bytes.push_back(static_cast<char>(unit & 0xFF));
      bytes.push_back(static_cast<char>(unit >> 8));
    }
    update(bytes);
    const std::string& type = node["type"].get_ref<const std::string&>();
    update(type);
    if (type == "url") update(node["url"].get_ref<const std::string&>());
  }

  const ReplacedFile& replaced_;
  std::vector<Json> roots_;
  bool rootTaken_[std::size(kRoots)] = {};
  std::vector<Json*> open_;  // by level: the children of the folder open there
  std::unordered_set<std::string> used_;
  std::mt19937_64 random_{std::random_device{}()};
  const std::string stamp_ = std::to_string(DateStamp());
  int links_ = 0;
};

}  // namespace

Report SaveChromiumBookmarks(const Io& io, const std::string& path, const BookmarkList& list,
                             const platform::SinkFilter& filter) {
  Report report;
  if (const std::string lock = ChromiumLockOf(path); !lock.empty()) {
    ReportFailure(io, report,
                  Sjis("ブラウザが動いているため [ ") + platform::ShownPath(path) +
                      Sjis(" ] に書き込めません（") + platform::ShownPath(lock) +
                      Sjis(" があります）。ブラウザを終了してから、もう一度実行してください。"));
    return report;
  }
  const ReplacedFile replaced = ReadReplaced(path);
  Layout layout(replaced);
  io.bar.SetMax(static_cast<int>(list.size()) - 1);
  io.bar.SetPosition(0);
  io.bar.SetVisible(true);
  for (const Entry& entry : list) {
    io.bar.StepIt();
    layout.Add(entry);
  }
  try {
    const std::string text =
        layout.File().dump(3, ' ', false, Json::error_handler_t::replace) + "\n";
    platform::SaveFile(path, [&](platform::ByteSink& sink) { sink.Write(text); },
                       {BackupPath(path), filter});
    report.links = layout.Links();
    NoteUnheld(report, list,
               kHoldsAdded | kHoldsVisited | kHoldsModified | kHoldsToolbar | kHoldsOtherRoots,
               path);
  } catch (const platform::BackupError& e) {
    ReportFailure(io, report, NoBackupText("ブックマークファイル", path, e.code()));
  } catch (const platform::IoError& e) {
    ReportFailure(io, report, SaveFailureText("ブックマークファイル", path, e.what()));
  }
  io.bar.SetVisible(false);
  return report;
}

}  // namespace lf
