// Writes a generated collection as a Netscape bookmark file, for measuring whole runs of the
// program on it: make_bookmark_file LINKS FILE [sjis|euc|utf8] [carried]. With "carried" every
// link has a date added, a keyword and an icon address, as a browser's export gives them. A
// FILE named "Bookmarks" or "*.json" is written as Chromium's bookmarks, one named "*.xbel" as
// XBEL, as the bookmark file slot writes a new file.
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "platform/file_system.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_bookmark_file LINKS FILE [sjis|euc|utf8] [carried]\n");
    return 2;
  }
  const std::size_t links = std::stoul(argv[1]);
  const std::string charset = argc > 3 ? argv[3] : "sjis";
  lf::TBookmarkControl control;
  control.OutputCharset = charset == "euc" ? 1 : charset == "utf8" ? 2 : 0;
  lf::Owner owner;
  lf::ProgressBar bar;
  int count = 0;
  const std::string native = std::filesystem::absolute(argv[2]).string();
  lf::BookmarkList list = lfbench::GeneratedList(links);
  if (argc > 4 && std::string(argv[4]) == "carried") lfbench::GiveLinksProps(list);
  control.SaveBookmarkFile(owner, bar, count, platform::FromNativePath(native), list);
  std::printf("%d links written to %s\n", count, native.c_str());
  return count == static_cast<int>(links) ? 0 : 1;
}
