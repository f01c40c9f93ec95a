#include "engine/firefox_backup.h"

#include <lz4.h>
#include <simdjson.h>

#include <cstdint>
#include <cstring>

#include "engine/json_text.h"
#include "engine/nested_list.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

namespace lf {
namespace {

using simdjson::dom::object;

constexpr std::string_view kMagic("mozLz40\0", 8);

// The JSON of a backup, compressed or not.
JsonText BackupJson(const std::string& path) {
  JsonText file = ReadJsonFile(path);
  const std::string_view bytes(file.Data(), file.Size());
  if (bytes.substr(0, kMagic.size()) != kMagic) return file;
  if (bytes.size() < 12) throw FormatError("mozLz40: no size");
  std::uint32_t size = 0;
  for (int i = 3; i >= 0; --i) size = size << 8 | static_cast<unsigned char>(bytes[8 + i]);
  // The size is the file's own word: it is taken only as far as LZ4 could ever have grown
  // the block, so that a damaged header cannot ask for more memory than that.
  if (size > std::uint64_t{255} * (bytes.size() - 12) + 16)
    throw FormatError("mozLz40: damaged size");
  JsonText json;
  char* out = json.Resize(size);
  const int got = LZ4_decompress_safe(bytes.data() + 12, out, static_cast<int>(bytes.size() - 12),
                                      static_cast<int>(size));
  if (got < 0) throw FormatError("mozLz40: damaged LZ4 block");
  json.Cut(static_cast<std::size_t>(got));
  return json;
}

std::string_view StringOf(const object& node, std::string_view key) {
  std::string_view value;
  if (node[key].get_string().get(value) != simdjson::SUCCESS) return {};
  return value;
}

long long NumberOf(const object& node, std::string_view key) {
  const auto value = node[key];
  std::int64_t whole;
  if (value.get_int64().get(whole) == simdjson::SUCCESS) return whole;
  double real;
  if (value.get_double().get(real) == simdjson::SUCCESS) return static_cast<long long>(real);
  return 0;
}

EntryProps PropsOf(const object& node) {
  EntryProps props;
  props.Set(Prop::Added, SecondsFromMicros(NumberOf(node, "dateAdded")));
  props.Set(Prop::Modified, SecondsFromMicros(NumberOf(node, "lastModified")));
  props.Set(Prop::Keyword, platform::Utf8ToCp932(StringOf(node, "keyword")));
  props.Set(Prop::Tags, platform::Utf8ToCp932(StringOf(node, "tags")));
  props.Set(Prop::IconUri, platform::Utf8ToCp932(StringOf(node, "iconUri")));
  props.Set(Prop::Guid, StringOf(node, "guid"));
  simdjson::dom::array annos;
  if (node["annos"].get_array().get(annos) == simdjson::SUCCESS)
    for (const auto anno : annos) {
      object a;
      if (anno.get_object().get(a) == simdjson::SUCCESS &&
          StringOf(a, "name") == "bookmarkProperties/description")
        props.Set(Prop::Description, platform::Utf8ToCp932(StringOf(a, "value")));
    }
  return props;
}

class Walker {
 public:
  explicit Walker(NestedListBuilder& out) : out_(out) {}

  bool Node(const object& node, bool top) {
    if (out_.Cancelled()) return false;
    const std::string_view type = StringOf(node, "type");
    const std::string_view title = StringOf(node, "title");
    if (type == "text/x-moz-place-separator") {
      out_.AddSeparator();
    } else if (type == "text/x-moz-place-container") {
      const FirefoxRoot root =
          top ? FirefoxRootOf(StringOf(node, "guid")) : FirefoxRoot{FirefoxRoot::Folder, {}, {}};
      if (root.kind == FirefoxRoot::Skipped) return true;
      if (root.kind == FirefoxRoot::Contents) return Children(node, false);
      if (root.mark && !HasChildren(node)) return true;
      EntryProps props = PropsOf(node);
      if (root.mark) props.Set(Prop::Root, root.mark);
      out_.OpenFolder(root.name ? std::string_view(root.name) : title, std::move(props));
      const bool go = Children(node, false);
      out_.CloseFolder();
      return go;
    } else {
      std::string_view uri;
      if (node["uri"].get_string().get(uri) == simdjson::SUCCESS)
        out_.AddLink(title, uri, PropsOf(node));
      else
        out_.Lose(title);
    }
    return true;
  }

  // top: the children are the roots.
  bool Children(const object& node, bool top) {
    simdjson::dom::array children;
    if (node["children"].get_array().get(children) != simdjson::SUCCESS) return true;
    for (const auto child : children) {
      object o;
      if (child.get_object().get(o) == simdjson::SUCCESS && !Node(o, top)) return false;
    }
    return true;
  }

 private:
  static bool HasChildren(const object& node) {
    simdjson::dom::array children;
    return node["children"].get_array().get(children) == simdjson::SUCCESS && children.size() > 0;
  }

  NestedListBuilder& out_;
};

}  // namespace

FirefoxRoot FirefoxRootOf(std::string_view guid) {
  if (guid == "menu________") return {FirefoxRoot::Contents, nullptr, nullptr};
  if (guid == "toolbar_____") return {FirefoxRoot::Folder, "Bookmarks Toolbar", "toolbar"};
  if (guid == "unfiled_____") return {FirefoxRoot::Folder, "Other Bookmarks", "unfiled"};
  if (guid == "mobile______") return {FirefoxRoot::Folder, "Mobile Bookmarks", "mobile"};
  if (guid == "tags________") return {FirefoxRoot::Skipped, nullptr, nullptr};
  return {FirefoxRoot::Folder, nullptr, nullptr};
}

Report ReadFirefoxBackup(const Io& io, const std::string& path, BookmarkList& list,
                         const std::string& rootName, Order order) {
  Report report;
  try {
    JsonText text = BackupJson(path);
    io.bar.SetMax(static_cast<int>(text.Size() / 300 / 1024));
    simdjson::dom::parser parser;
    object top;
    if (const auto error = parser.parse(text.Data(), text.Size(), false).get_object().get(top))
      throw FormatError(simdjson::error_message(error));
    text = JsonText();  // the parsed document holds its own strings
    if (StringOf(top, "type") != "text/x-moz-place-container") throw FormatError("no places root");
    NestedListBuilder out(io, list, report, rootName, order);
    Walker(out).Children(top, true);
    out.Finish(order);
  } catch (const platform::IoError& e) {
    ReportFailure(io, report, ReadFailureText(path, e.what()));
  } catch (const FormatError& e) {
    ReportFailure(
        io, report,
        ReadFailureText(path, Sjis("Firefox のバックアップとして読めません: ") + e.what()));
  }
  report.cancelled = io.cancel != 0;
  return report;
}

}  // namespace lf
