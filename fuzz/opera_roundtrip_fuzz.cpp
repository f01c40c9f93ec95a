// An Opera hotlist read, written and read again: the second read gives back every folder and
// link of the first, and the first file is kept byte for byte as the backup.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "fuzz/fuzz_support.h"

namespace {

using lf::TBookmarkControl;

lf::BookmarkList Read(TBookmarkControl& control, const std::string& path,
                      lffuzz::QuietOwner& owner) {
  lf::ProgressBar bar;
  lf::BookmarkList list;
  int cancel = 0, count = 0;
  control.LoadOperaFile(owner, path, cancel, count, bar, list, lffuzz::Scratch::Get().Path("fav"));
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lffuzz;
  const std::string content(reinterpret_cast<const char*>(data), size);
  const Scratch& scratch = Scratch::Get();
  scratch.Reset();
  scratch.Write("opera6.adr", content);
  const std::string file = scratch.Path("opera6.adr");

  TBookmarkControl control;
  QuietOwner owner;
  lf::BookmarkList first = Read(control, file, owner);
  Check(owner.errors == 0, "the first read", owner.last);

  lf::ProgressBar bar;
  int written = 0;
  control.SaveOperaFile(owner, bar, first, file, written);
  Check(owner.errors == 0, "the write", owner.last);
  Check(scratch.Read("opera6.old") == content, "the previous file kept as the backup");

  lf::BookmarkList second = Read(control, file, owner);
  Check(owner.errors == 0, "the second read", owner.last);
  if (!LevelsMatchPaths(first, scratch.Path("fav"))) return 0;
  // Names keep every character, a "\" too, and addresses every text. Only a link named with
  // "URL=" in it gets its address from its name line when read back: the hotlist format
  // cannot hold such a name.
  for (const std::string& entry : first) {
    // Written lines hold a blank for a line end, a NUL or an end-of-file byte (an over-long
    // UTF-8 sequence decodes into one).
    if (entry.find_first_of(std::string_view("\r\n\x1A\0", 4)) != std::string::npos) return 0;
    std::string key, url;
    TBookmarkControl::SplitEntry(entry, key, url);
    if (key.find(lf::kLinkMarker) != std::string::npos && key.find("URL=") != std::string::npos)
      return 0;
  }
  TBookmarkControl::Regroup(first);
  TBookmarkControl::Regroup(second);
  if (first != second) {
    std::string diff;
    for (std::size_t i = 0; i < first.size() || i < second.size(); ++i) {
      const std::string x = i < first.size() ? first[i] : "(none)";
      const std::string y = i < second.size() ? second[i] : "(none)";
      if (x != y) {
        diff = x + "  <>  " + y;
        break;
      }
    }
    Check(false, "the second read gives the entries of the first", diff);
  }
  scratch.CheckNothingOutside();
  return 0;
}
