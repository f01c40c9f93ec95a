#include <array>

#include "engine/bookmark_control.h"
#include "engine/entry_layout.h"
#include "engine/sjis_text.h"
#include "platform/codepage.h"
#include "platform/ini_file.h"
#include "platform/system_info.h"

namespace lf {

TBookmarkControl::TBookmarkControl() = default;
TBookmarkControl::~TBookmarkControl() = default;

namespace {
constexpr std::array<std::string_view, 6> kSchemes = {
    "res:", "https:", "http:", "news:", "ftp:", "file:"};
}

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
  const std::size_t url = ExtractUrl(entry).size();
  if (entry.size() < url + 1) return std::string();
  return std::string(entry.substr(0, entry.size() - url - 1));
}

void TBookmarkControl::SplitEntry(std::string_view entry, std::string& key, std::string& url) {
  const EntryParts parts = PartsOf(entry);
  key = parts.key;
  url = parts.url;
}

std::string TBookmarkControl::EntryLinkName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
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
  return out;
}

std::string TBookmarkControl::EntryUrl(std::string_view entry) {
  std::string key, url;
  SplitEntry(entry, key, url);
  return url;
}

std::string TBookmarkControl::EntryKey(std::string_view entry) {
  std::string key, url;
  SplitEntry(entry, key, url);
  return key;
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
  return StartsWithScheme(text) || !ExtractUrl(text).empty();
}

bool TBookmarkControl::IsFolderEntry(std::string_view entry) {
  return entry.size() > 5 && entry.substr(entry.size() - 5, 4) == ".dir" &&
         LevelValue(entry.back()) >= 0 &&
         FindCharBoundary(entry, kLinkMarker) == std::string_view::npos;
}

std::string TBookmarkControl::UrlPart(std::string_view entry) {
  std::size_t p = FindCharBoundary(entry, kLinkMarker);
  if (p == std::string_view::npos) return std::string(entry);
  return std::string(entry.substr(p + 1));
}

std::string TBookmarkControl::FolderPart(std::string_view entry) {
  std::size_t p = FindCharBoundary(entry, kLinkMarker);
  if (p == std::string_view::npos) return std::string();
  return std::string(entry.substr(0, p + 1));
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
  const platform::LocalDateTime now = platform::Now();
  // Whole seconds; the milliseconds only matter for a total below zero, which is truncated
  // towards zero like the rest.
  long long millis = (platform::DaysSinceEpoch(now.year, now.month, now.day) * 86400LL +
                      now.hour * 3600LL + now.minute * 60LL + now.second - (9 * 3600LL + 60)) *
                         1000LL +
                     now.millisecond;
  return millis / 1000;
}

}  // namespace lf
