// Writes a generated collection as a Netscape bookmark file, for measuring whole runs of the
// program on it: make_bookmark_file LINKS FILE [sjis|euc|utf8].
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/generated_lists.h"
#include "engine/bookmark_control.h"
#include "platform/file_system.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_bookmark_file LINKS FILE [sjis|euc|utf8]\n");
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
  control.SaveBookmarkFile(owner, bar, count, platform::FromNativePath(native),
                           lfbench::GeneratedList(links));
  std::printf("%d links written to %s\n", count, native.c_str());
  return count == static_cast<int>(links) ? 0 : 1;
}
