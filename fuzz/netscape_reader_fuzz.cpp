// The Netscape bookmark file reader on raw file bytes. The first byte picks a META line put
// in front of the rest (none, so that the bytes decide, Shift_JIS, UTF-8 or EUC-JP), the
// operation number and whether the folder tree is filled; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lffuzz;
  if (size == 0) return 0;
  static const char* const kMeta[] = {
      "",
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">\r\n",
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n",
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=EUC-JP\">\r\n",
  };
  const unsigned mode = data[0];
  std::string content = kMeta[mode & 3];
  content.append(reinterpret_cast<const char*>(data) + 1, size - 1);

  const Scratch& scratch = Scratch::Get();
  scratch.Reset();
  scratch.Write("bookmark.htm", content);

  lf::TBookmarkControl control;
  QuietOwner owner;
  lf::ProgressBar bar;
  CountingTree tree;
  const bool fillTree = (mode & 8) != 0;
  lf::BookmarkList list;
  int cancel = 0, count = 0;
  const std::string root = scratch.Path("fav");
  control.ReadBookmarkFile(owner, scratch.Path("bookmark.htm"), cancel, count,
                           fillTree ? &tree : nullptr, fillTree, list, bar, root);

  // A readable file is never reported as an error; the only message is the one for folders
  // nested too deep.
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
  // The reader never changes its input, and its temporary copy is gone.
  Check(scratch.Read("bookmark.htm") == content, "the input is unchanged");
  Check(ListNames(scratch.Native()) == "bookmark.htm\nprog\n", "no file left behind",
        ListNames(scratch.Native()));
  scratch.CheckNothingOutside();
  return 0;
}
