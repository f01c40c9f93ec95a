// The Opera hotlist reader on raw file bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/bookmark_control.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lffuzz;
  const std::string content(reinterpret_cast<const char*>(data), size);
  const Scratch& scratch = Scratch::Get();
  scratch.Reset();
  scratch.Write("opera6.adr", content);

  lf::TBookmarkControl control;
  QuietOwner owner;
  lf::ProgressBar bar;
  lf::BookmarkList list;
  int cancel = 0;
  const std::string root = scratch.Path("fav");
  const lf::Report report =
      control.LoadOperaFile({owner, bar, nullptr, cancel}, scratch.Path("opera6.adr"), list, root);
  const int count = report.links;
  // A link block without an address is lost, and counted.
  Check(report.errors == static_cast<int>(report.lost.size()), "every lost item an error");

  Check(owner.errors == 0, "no error for a readable file", owner.last);
  Check(owner.messages <= 1, "at most one message per read");
  if (owner.messages == 1)
    Check(owner.last == lf::DeepNestingMessage(), "only the deep nesting message", owner.last);
  CheckEntriesUnder(list, root);
  Check(count >= 0 && static_cast<std::size_t>(count) <= list.size(), "links counted once");
  for (const std::string& entry : list) {
    // Either a folder entry with its level or a URL entry that splits right after its name,
    // ".url" and a level character: names never hold a "\" of their own, nor begin with the
    // link marker's two characters.
    if (lf::TBookmarkControl::IsFolderEntry(entry)) continue;
    std::string key, url;
    lf::TBookmarkControl::SplitEntry(entry, key, url);
    Check(key.size() > 5 && key.compare(key.size() - 5, 4, ".url") == 0 &&
              IsLevelChar(key, key.size() - 1) && key.size() + 1 + url.size() == entry.size(),
          "entry splits like a link entry", entry);
  }
  Check(scratch.Read("opera6.adr") == content, "the input is unchanged");
  Check(ListNames(scratch.Native()) == "opera6.adr\nprog\n", "no file left behind");
  scratch.CheckNothingOutside();
  return 0;
}
