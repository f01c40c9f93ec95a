#include "engine/entry.h"

#include <algorithm>
#include <array>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/system_info.h"

namespace lf {
namespace {

constexpr std::size_t kSuffix = 5;  // ".dir" or ".url" and the level character

constexpr std::array<std::string_view, 6> kSchemes = {
    "res:", "https:", "http:", "news:", "ftp:", "file:"};

std::string_view Cut(std::string_view text, std::size_t suffix) {
  return text.size() >= suffix ? text.substr(0, text.size() - suffix) : std::string_view();
}

// SplitKey of an entry whose link marker begins at marker (npos: it has none).
std::pair<std::string_view, std::string_view> SplitKeyAt(std::string_view entry,
                                                         std::size_t marker) {
  if (marker == std::string_view::npos) return {entry, std::string_view()};
  // A link's name ends at the first "\" after the link marker: names hold every "\" of their
  // own as "&#92;" (EntryName), while an address may hold any text, a scheme, ".url" or
  // another "\" included.
  std::size_t end = marker + kLinkMarker.size();  // a character starts here
  while (end < entry.size() && entry[end] != '\\')
    end += platform::IsLeadByte(static_cast<unsigned char>(entry[end])) ? 2 : 1;
  if (end >= entry.size()) return {entry, std::string_view()};
  return {entry.substr(0, end), entry.substr(end + 1)};
}

}  // namespace

std::pair<std::string_view, std::string_view> SplitKey(std::string_view entry) {
  return SplitKeyAt(entry, FindCharBoundary(entry, kLinkMarker));
}

bool IsFolder(std::string_view entry) {
  return entry.size() > kSuffix && entry.substr(entry.size() - kSuffix, 4) == ".dir" &&
         LevelValue(entry.back()) >= 0 &&
         FindCharBoundary(entry, kLinkMarker) == std::string_view::npos;
}

bool IsSeparator(std::string_view entry) {
  return entry.size() > kSuffix && entry.substr(entry.size() - kSuffix, 4) == ".sep" &&
         ViewOf(entry).IsSeparator();
}

EntryView ViewOf(std::string_view entry) {
  EntryView view;
  view.text = entry;
  view.marker = FindCharBoundary(entry, kLinkMarker);
  if (view.marker != std::string_view::npos) {
    std::tie(view.key, view.url) = SplitKeyAt(entry, view.marker);
    view.kind = EntryKind::Link;
    if (view.url.empty() && view.key.size() > kSuffix &&
        view.key.substr(view.key.size() - kSuffix, 4) == ".sep" &&
        LevelValue(view.key.back()) >= 0 && view.key.size() > view.marker + kLinkMarker.size() &&
        static_cast<unsigned char>(view.key[view.marker + kLinkMarker.size()]) == 0xFF)
      view.kind = EntryKind::Separator;
    view.folderPath = entry.substr(0, view.marker);
    view.leaf = view.key.substr(view.marker + kLinkMarker.size());
  } else {
    view.key = entry;
    view.kind = IsFolder(entry) ? EntryKind::Folder : EntryKind::Other;
    // Only "\" ends a path step: a hotlist's folder names may hold ":".
    const std::size_t cut = FindLastChar(entry, "\\");
    view.folderPath = cut == std::string_view::npos ? std::string_view() : entry.substr(0, cut);
    view.leaf = cut == std::string_view::npos ? entry : entry.substr(cut + 1);
  }
  view.name = Cut(view.leaf, kSuffix);
  if (!view.leaf.empty()) view.leaf.remove_suffix(1);
  // An entry that does not end in a level character stands at level 0.
  view.level = view.key.empty() ? 0 : std::max(LevelValue(view.key.back()), 0);
  return view;
}

std::string_view EntryView::FolderPart() const {
  return marker == std::string_view::npos ? std::string_view() : text.substr(0, marker + 1);
}

std::string_view EntryView::OwnPath() const {
  return IsFolder() ? Cut(text, kSuffix) : std::string_view();
}

bool EntryView::NamedAsLink() const {
  return key.size() >= kSuffix &&
         platform::SameIgnoringAsciiCase(key.substr(key.size() - kSuffix, 4), ".url");
}

namespace {

// Appends the name as an entry holds it (EntryName).
void AppendName(std::string& out, std::string_view name) {
  // Most names hold no "\" byte at all and do not begin with the marker's characters.
  if (name.find('\\') == std::string_view::npos &&
      name.substr(0, kLinkMarker.size() - 1) != kLinkMarker.substr(1)) {
    out.append(name);
    return;
  }
  // A name that begins with the link marker's two characters would put the marker right after
  // the "\\" in front of it: the first is held as its reference.
  if (name.substr(0, kLinkMarker.size() - 1) == kLinkMarker.substr(1)) {
    out += "&#33109;";
    name.remove_prefix(2);
  }
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (platform::IsLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
      out.append(name.substr(i++, 2));  // its second byte may be 0x5C without being a "\"
      continue;
    }
    if (name[i] == '\\')
      out += "&#92;";
    else
      out.push_back(name[i]);
  }
}

}  // namespace

std::string EntryName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  AppendName(out, name);
  return out;
}

Entry MakeFolderEntry(std::string_view parentPath, std::string_view name, int level) {
  std::string entry;
  entry.reserve(parentPath.size() + 1 + name.size() + kSuffix);
  entry.append(parentPath).append(1, '\\');
  AppendName(entry, name);
  entry.append(".dir");
  entry.push_back(LevelChar(level));
  return Entry(std::move(entry));
}

namespace {

Entry LinkEntry(std::string_view folderPath, std::string_view name, std::string_view suffix,
                char levelChar, std::string_view url) {
  std::string entry;
  entry.reserve(folderPath.size() + kLinkMarker.size() + name.size() + kSuffix + 1 + url.size());
  entry.append(folderPath).append(kLinkMarker);
  AppendName(entry, name);
  entry.append(suffix);
  entry.push_back(levelChar);
  entry.append(1, '\\').append(url);
  return Entry(std::move(entry));
}

}  // namespace

Entry MakeLinkEntry(std::string_view folderPath, std::string_view name, char levelChar,
                    std::string_view url) {
  return LinkEntry(folderPath, name, ".url", levelChar, url);
}

Entry MakeShortcutEntry(std::string_view folderPath, std::string_view fileName, int level,
                        std::string_view url) {
  return LinkEntry(folderPath, fileName, "", LevelChar(level), url);
}

Entry MakeLinkEntry(std::string_view folderPath, std::string_view name, int level,
                    std::string_view url) {
  return MakeLinkEntry(folderPath, name, LevelChar(level), url);
}

void SeparatorMaker::Add(std::vector<Entry>& list, std::string_view folderPath, int level) {
  if (!keep_) {
    ++skipped_;
    return;
  }
  // The separators of one folder mostly follow each other: its count is found near the end.
  int* count = nullptr;
  for (auto it = counts_.rbegin(); it != counts_.rend() && !count; ++it)
    if (it->first == folderPath) count = &it->second;
  if (!count) count = &counts_.emplace_back(std::string(folderPath), 0).second;
  list.push_back(MakeSeparatorEntry(folderPath, ++*count, level));
}

std::string SeparatorMaker::Note() const {
  if (skipped_ == 0) return std::string();
  return Sjis("区切り線 ") + std::to_string(skipped_) +
         Sjis(
             " 本は名前順に並べるため読み込みませんでした。元の並び順を保つ設定にすると残せます。");
}

Entry MakeSeparatorEntry(std::string_view folderPath, int number, int level) {
  std::string entry;
  entry.append(folderPath).append(kLinkMarker).append(1, '\xFF').append(std::to_string(number));
  entry.append(".sep").push_back(LevelChar(level));
  return Entry(std::move(entry));
}

// ---- The helpers of TBookmarkControl, by the same rules ----

TBookmarkControl::TBookmarkControl() = default;
TBookmarkControl::~TBookmarkControl() = default;

std::string TBookmarkControl::ExtractUrl(std::string_view text) {
  return std::string(FindUrl(text));
}

std::string_view TBookmarkControl::FindUrl(std::string_view text) {
  // Every scheme ends in ":": the first occurrence of each is found in one pass over them.
  std::array<std::size_t, kSchemes.size()> first;
  first.fill(std::string_view::npos);
  std::size_t missing = kSchemes.size();
  for (std::size_t colon = text.find(':'); colon != std::string_view::npos && missing > 0;
       colon = text.find(':', colon + 1)) {
    for (std::size_t k = 0; k < kSchemes.size(); ++k) {
      const std::size_t length = kSchemes[k].size();
      if (first[k] != std::string_view::npos || colon + 1 < length ||
          text.compare(colon + 1 - length, length, kSchemes[k]) != 0)
        continue;
      first[k] = colon + 1 - length;
      --missing;
    }
    // The scheme preferred most has been found: nothing later can come before it.
    if (first[0] != std::string_view::npos) break;
  }
  for (const std::size_t pos : first) {
    if (pos == std::string_view::npos) continue;
    const std::size_t quote = text.find('"', pos);
    return text.substr(pos, quote == std::string_view::npos ? quote : quote - pos);
  }
  return std::string_view();
}

std::string TBookmarkControl::EntryPath(std::string_view entry) {
  const std::size_t url = FindUrl(entry).size();
  if (entry.size() < url + 1) return std::string();
  return std::string(entry.substr(0, entry.size() - url - 1));
}

void TBookmarkControl::SplitEntry(std::string_view entry, std::string& key, std::string& url) {
  const auto [k, u] = SplitKey(entry);
  key = k;
  url = u;
}

std::string TBookmarkControl::EntryLinkName(std::string_view name) {
  return EntryName(name);
}

std::string TBookmarkControl::EntryUrl(std::string_view entry) {
  return std::string(SplitKey(entry).second);
}

std::string TBookmarkControl::EntryKey(std::string_view entry) {
  return std::string(SplitKey(entry).first);
}

bool TBookmarkControl::StartsWithScheme(std::string_view text) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (text.empty() || !letter(text[0])) return false;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ':') return true;
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}

bool TBookmarkControl::IsAddress(std::string_view text) {
  return StartsWithScheme(text) || !FindUrl(text).empty();
}

bool TBookmarkControl::IsFolderEntry(std::string_view entry) {
  return IsFolder(entry);
}

std::string TBookmarkControl::UrlPart(std::string_view entry) {
  const std::size_t p = FindCharBoundary(entry, kLinkMarker);
  if (p == std::string_view::npos) return std::string(entry);
  return std::string(entry.substr(p + 1));
}

std::string TBookmarkControl::FolderPart(std::string_view entry) {
  return std::string(ViewOf(entry).FolderPart());
}

// Only a "\" that is a character of its own counts: the second byte of a two-byte character
// such as "ソ" is 0x5C too, and cutting it would break the name.
std::string TBookmarkControl::AddBackslash(std::string_view text) {
  if (text.empty()) return std::string();
  if (EndsWithBackslash(text)) return std::string(text);
  return std::string(text) + "\\";
}

std::string TBookmarkControl::RemoveBackslash(std::string_view text) {
  if (EndsWithBackslash(text)) text.remove_suffix(1);
  return std::string(text);
}

const std::string& DeepNestingMessage() {
  static const std::string text = Sjis(
      "フォルダの階層が深すぎます。\r６１階層より深いフォルダの内容は、"
      "６１階層目のフォルダに入れて読み込みました。");
  return text;
}

long long DateStamp() {
  return platform::EpochSeconds();
}

}  // namespace lf
