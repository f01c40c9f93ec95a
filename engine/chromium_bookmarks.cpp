#include "engine/chromium_bookmarks.h"

#include <simdjson.h>

#include <charconv>
#include <nlohmann/json.hpp>

#include "engine/json_text.h"
#include "engine/nested_list.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"

namespace lf {
namespace {

using simdjson::dom::element;
using simdjson::dom::object;

constexpr long long kSeconds1601To1970 = 11644473600LL;

// A node's fields, taken in one pass over them: a file of a million nodes would otherwise be
// searched key by key for each.
struct Fields {
  std::string_view type, name, url, added, modified, lastUsed, guid;
  bool hasUrl = false;
  simdjson::dom::array children;
  bool hasChildren = false;
  std::string extra;  // the fields nothing here reads, as the members of a JSON object

  explicit Fields(const object& node) {
    for (const auto field : node) {
      const std::string_view key = field.key;
      if (key == "children") {
        hasChildren = field.value.get_array().get(children) == simdjson::SUCCESS;
      } else if (key == "url") {
        hasUrl = field.value.get_string().get(url) == simdjson::SUCCESS;
      } else if (!Text(key, field.value)) {
        extra += extra.empty() ? "{" : ",";
        extra += nlohmann::json(std::string(key)).dump();
        extra += ":" + simdjson::minify(field.value);
      }
    }
  }

  // What a node carries beside its name and address.
  EntryProps Props(bool folder) const {
    EntryProps props;
    props.Set(Prop::Added, SecondsFromChromiumTime(added));
    if (folder) props.Set(Prop::Modified, SecondsFromChromiumTime(modified));
    props.Set(Prop::Visited, SecondsFromChromiumTime(lastUsed));
    props.Set(Prop::Guid, guid);
    if (!extra.empty()) {
      // Held in ASCII, which reads the same in the program's text as in the file's.
      props.Set(Prop::Extra, nlohmann::json::parse(extra + "}")
                                 .dump(-1, ' ', true, nlohmann::json::error_handler_t::replace));
    }
    return props;
  }

 private:
  // The fields of text the entries hold; false for any other.
  bool Text(std::string_view key, const element& value) {
    std::string_view* into = key == "type"             ? &type
                             : key == "name"           ? &name
                             : key == "date_added"     ? &added
                             : key == "date_modified"  ? &modified
                             : key == "date_last_used" ? &lastUsed
                             : key == "guid"           ? &guid
                                                       : nullptr;
    if (into) {
      if (value.get_string().get(*into) != simdjson::SUCCESS) *into = {};
      return true;
    }
    return key == "id";  // numbered anew on every write
  }
};

class Walker {
 public:
  explicit Walker(NestedListBuilder& out) : out_(out) {}

  // A node and what it holds; false once the read is cancelled.
  bool Node(const object& node) {
    if (out_.Cancelled()) return false;
    const Fields fields(node);
    if (fields.type == "folder") {
      out_.OpenFolder(fields.name, fields.Props(true));
      const bool go = Children(fields);
      out_.CloseFolder();
      return go;
    }
    if (!fields.hasUrl || fields.type != "url")
      out_.Lose(fields.name);
    else
      out_.AddLink(fields.name, fields.url, fields.Props(false));
    return true;
  }

  bool Children(const Fields& fields) {
    if (!fields.hasChildren) return true;
    for (const element child : fields.children) {
      object o;
      if (child.get_object().get(o) == simdjson::SUCCESS && !Node(o)) return false;
    }
    return true;
  }

  // A root: a folder of its own, marked, when it holds anything.
  bool Root(const object& roots, std::string_view key, std::string_view mark) {
    object node;
    if (roots[key].get_object().get(node) != simdjson::SUCCESS) return true;
    const Fields fields(node);
    if (!fields.hasChildren || fields.children.size() == 0) return true;
    EntryProps props = fields.Props(true);
    props.Set(Prop::Root, mark);
    out_.OpenFolder(fields.name, std::move(props));
    const bool go = Children(fields);
    out_.CloseFolder();
    return go;
  }

 private:
  NestedListBuilder& out_;
};

}  // namespace

std::string SecondsFromChromiumTime(std::string_view micros) {
  long long value = 0;
  const auto [end, error] = std::from_chars(micros.data(), micros.data() + micros.size(), value);
  if (error != std::errc() || end != micros.data() + micros.size() || value <= 0) return {};
  const long long seconds = value / 1000000 - kSeconds1601To1970;
  return seconds > 0 ? std::to_string(seconds) : std::string();
}

std::string ChromiumTimeFromSeconds(std::string_view seconds) {
  long long value = 0;
  const auto [end, error] = std::from_chars(seconds.data(), seconds.data() + seconds.size(), value);
  if (error != std::errc() || end != seconds.data() + seconds.size() || value <= 0) return "0";
  return std::to_string((value + kSeconds1601To1970) * 1000000);
}

std::string ChromiumLockOf(const std::string& path) {
  const std::size_t file = FindLastChar(path, "\\/");
  if (file == std::string::npos) return {};
  const std::size_t profile = FindLastChar(std::string_view(path).substr(0, file), "\\/");
  if (profile == std::string::npos) return {};
  std::string lock = path.substr(0, profile) + "\\SingletonLock";
  return platform::IsSymbolicLink(lock) ? lock : std::string();
}

Report ReadChromiumBookmarks(const Io& io, const std::string& path, BookmarkList& list,
                             const std::string& rootName, Order order) {
  Report report;
  try {
    JsonText text = ReadJsonFile(path);
    // About 200 bytes a node once the blanks are gone; the bar steps every 1024 nodes.
    io.bar.SetMax(static_cast<int>(text.Size() / 200 / 1024));
    simdjson::dom::parser parser;
    object top, roots;
    if (const auto error = parser.parse(text.Data(), text.Size(), false).get_object().get(top))
      throw FormatError(simdjson::error_message(error));
    // The parsed document holds its own strings: the text can go before the list grows.
    text = JsonText();
    if (top["roots"].get_object().get(roots) != simdjson::SUCCESS)
      throw FormatError("no \"roots\"");
    NestedListBuilder out(io, list, report, rootName, order);
    Walker walker(out);
    if (walker.Root(roots, "bookmark_bar", "toolbar") && walker.Root(roots, "other", "unfiled"))
      walker.Root(roots, "synced", "mobile");
    out.Finish(order);
  } catch (const platform::IoError& e) {
    ReportFailure(io, report, ReadFailureText(path, e.what()));
  } catch (const FormatError& e) {
    ReportFailure(
        io, report,
        ReadFailureText(path, Sjis("Chromium のブックマークとして読めません: ") + e.what()));
  }
  report.cancelled = io.cancel != 0;
  return report;
}

}  // namespace lf
