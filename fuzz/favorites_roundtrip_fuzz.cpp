// The Favorites folder written and read back. The first byte picks what the rest is:
//   even: a Favorites folder to read, one item per line, "path<TAB>content" with "/" between
//         the Shift-JIS names and a trailing "/" for a folder; it is read, written into an
//         empty folder, and read again, which must give back every folder and link;
//   odd:  a bookmark list, one entry per line below the root path, written into an empty
//         folder as it is.
// Either way nothing may be made or changed outside the folder written into.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "fuzz/fuzz_support.h"
#include "platform/codepage.h"

namespace {

using lf::TBookmarkControl;

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

// Makes the items of the source folder; lines whose names do not map onto native names are
// left out.
void MakeSource(std::string_view layout, const std::string& nativeRoot) {
  for (std::string_view line : Lines(layout)) {
    const std::size_t tab = line.find('\t');
    std::string native;
    if (!platform::Cp932ToUtf8Exact(line.substr(0, tab), native)) continue;
    if (native.empty() || native.find('\0') != std::string::npos) continue;
    if (native.find("..") != std::string::npos || native.front() == '/') continue;
    std::error_code ec;
    const std::filesystem::path path = nativeRoot + "/" + native;
    if (native.back() == '/') {
      std::filesystem::create_directories(path, ec);
      continue;
    }
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec || std::filesystem::is_directory(path, ec)) continue;
    std::string content =
        tab == std::string_view::npos ? std::string() : std::string(line.substr(tab + 1));
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) continue;
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
}

// An entry that the writer puts back exactly where and as the reader found it. The reader
// builds a link as folder path, link marker, file name, level, "\" and value; it comes back
// when the file is named "*.url" (the writer names every file so), no name holds a character
// the writer drops from names of the Favorites (a "\" is held as "&#92;"), and the value is
// an address written as it stands: one without characters beyond Shift-JIS (references,
// which are percent-encoded) and without Shift-JIS bytes that would read as UTF-8. A folder
// comes back unless its name holds such a character.
bool PlainFavoritesName(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (platform::IsLeadByte(static_cast<unsigned char>(name[i]))) {
      ++i;
      continue;
    }
    if (std::string_view("\\/:*?\"<>|").find(name[i]) != std::string_view::npos) return false;
  }
  return name.find("&#92;") == std::string_view::npos;
}

bool Ordinary(const std::string& entry, const std::string& root) {
  const std::string marker(lf::kLinkMarker);
  const std::size_t link = lf::FindCharBoundary(entry, marker);
  const std::size_t end = link == std::string::npos
                              ? entry.size() - 5
                              : lf::FindCharBoundary(entry, "\\", link + marker.size());
  if (end == std::string::npos) return false;
  // Every name below the root.
  const std::string_view names =
      std::string_view(entry).substr(root.size() + 1, end - root.size() - 1);
  for (std::size_t start = 0; start <= names.size();) {
    std::size_t cut = lf::FindCharBoundary(names, "\\", start);
    if (cut == std::string::npos) cut = names.size();
    std::string_view name = names.substr(start, cut - start);
    if (link != std::string::npos && cut == names.size() && !name.empty())
      name.remove_prefix(marker.size() - 1);  // the link marker's two characters
    if (!PlainFavoritesName(name)) return false;
    start = cut + 1;
  }
  if (link == std::string::npos) return true;
  const std::string name = entry.substr(link + marker.size(), end - link - marker.size());
  const std::string value = entry.substr(end + 1);
  if (name.size() < 5 || name.compare(name.size() - 5, 4, ".url") != 0) return false;
  if (!TBookmarkControl::IsAddress(value) || value.find("&#") != std::string::npos) return false;
  return platform::IsAscii(value) || !platform::IsUtf8(value);
}

std::string Reroot(const std::string& entry, const std::string& from, const std::string& to) {
  return to + entry.substr(from.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lffuzz;
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const Scratch& scratch = Scratch::Get();
  scratch.Reset();
  std::filesystem::create_directories(scratch.Native("fav"));
  const std::string root = scratch.Path("fav");

  TBookmarkControl control;
  QuietOwner owner;
  lf::ProgressBar bar;
  lf::RunCounters counters;
  lf::BookmarkList list;

  const bool fromFolder = (data[0] & 1) == 0;
  if (fromFolder) {
    std::filesystem::create_directories(scratch.Native("src"));
    MakeSource(rest, scratch.Native("src"));
    control.LoadFavorites(owner, nullptr, counters.cancel, counters.errorCount, counters.ieUrlCount,
                          list, nullptr, scratch.Path("src"));
    for (std::string& entry : list) entry = Reroot(entry, scratch.Path("src"), root);
  } else {
    for (std::string_view line : Lines(rest)) list.push_back(root + "\\" + std::string(line));
    TBookmarkControl::Regroup(list);
  }
  std::filesystem::remove_all(scratch.Native("prog/LostData.txt"));

  counters = {};
  control.SaveFavorites(owner, bar, counters.cancel, counters.errorCount, counters.ieUrlCount,
                        list);
  const std::string top = ListNames(scratch.Native());
  Check(top == "fav\nprog\n" || top == "fav\nprog\nsrc\n", "nothing made beside the folder", top);
  scratch.CheckNothingOutside();

  // Every link of the list is either written or counted and logged as lost: only entries
  // that name neither a folder nor a link (no link marker and no address) are no link at all.
  int links = 0;
  for (const std::string& entry : list) {
    std::string key, url;
    TBookmarkControl::SplitEntry(entry, key, url);
    if (TBookmarkControl::IsFolderEntry(entry)) continue;
    if (TBookmarkControl::FolderPart(key).empty() && TBookmarkControl::ExtractUrl(url).empty())
      continue;
    ++links;
  }
  Check(counters.ieUrlCount + counters.errorCount == links, "each link written or lost",
        std::to_string(counters.ieUrlCount) + " + " + std::to_string(counters.errorCount) + " of " +
            std::to_string(links));
  const std::string log = scratch.Read("prog/LostData.txt");
  int logged = 0;
  for (std::string_view line : Lines(log))
    if (line.rfind("URL Error : ", 0) == 0 || line.rfind("File Error : ", 0) == 0) ++logged;
  Check(logged == counters.errorCount, "each lost link logged", log);

  lf::BookmarkList back;
  lf::RunCounters c;
  control.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, back, nullptr, root);
  Check(c.ieUrlCount <= counters.ieUrlCount, "no more links read back than written");
  if (!fromFolder) return 0;

  for (const std::string& entry : list)
    if (!Ordinary(entry, root)) return 0;
  Check(counters.errorCount == 0 && owner.errors == 0, "every link written", owner.last);
  Check(back == list, "the folder reads back as it was read",
        back.size() == list.size() ? std::string() : "different number of entries");
  return 0;
}
