// A Netscape bookmark file read, written in one of the three character sets and read again:
// the second read gives back every folder and link of the first, and the first file is kept
// byte for byte as the backup. The first byte picks the input's META line, the output
// character set and the operation number; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/bookmark_control.h"
#include "engine/bookmark_formats.h"
#include "engine/sjis_text.h"
#include "fuzz/fuzz_support.h"
#include "platform/system_info.h"

namespace {

using lf::TBookmarkControl;

lf::BookmarkList Read(TBookmarkControl& control, const std::string& path, lffuzz::QuietOwner& owner,
                      int& count) {
  lf::ProgressBar bar;
  lf::BookmarkList list;
  int cancel = 0;
  control.ReadBookmarkFile(owner, path, cancel, count, nullptr, false, list, bar,
                           lffuzz::Scratch::Get().Path("fav"));
  return list;
}

}  // namespace

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
  platform::SetLoginName(std::string("taro"));
  const std::string file = scratch.Path("bookmark.htm");

  // Bytes that look like a browser's JSON or XBEL go to the reader of that format.
  if (lf::BookmarkFormatOf(file) != lf::BookmarkFormat::Netscape) return 0;
  TBookmarkControl control;
  control.OutputCharset = static_cast<int>((mode >> 4) % 3);
  QuietOwner owner;
  int readCount = 0, written = 0, reread = 0;
  const lf::BookmarkList first = Read(control, file, owner, readCount);
  Check(owner.errors == 0, "the first read", owner.last);

  lf::ProgressBar bar;
  control.SaveBookmarkFile(owner, bar, written, file, first);
  Check(owner.errors == 0, "the write", owner.last);
  Check(scratch.Read("bookmark.old") == content, "the previous file kept as the backup");

  // Every list the writer opens is closed again, however the levels of the entries jump.
  {
    const std::string written = scratch.Read("bookmark.htm");
    int opened = 0, closed = 0;
    for (std::size_t start = 0; start < written.size();) {
      std::size_t end = written.find("\r\n", start);
      if (end == std::string::npos) end = written.size();
      const std::string_view line(written.data() + start, end - start);
      const std::size_t text = line.find_first_not_of(' ');
      if (text != std::string_view::npos) {
        if (line.substr(text) == "<DL><P>") ++opened;
        if (line.substr(text) == "</DL><P>") ++closed;
      }
      start = end + 2;
    }
    Check(opened > 0 && closed >= opened, "every list written is closed",
          std::to_string(opened) + " opened, " + std::to_string(closed) + " closed");
  }

  lf::BookmarkList second = Read(control, file, owner, reread);
  Check(owner.errors == 0, "the second read", owner.last);
  Check(written <= static_cast<int>(first.size()), "links written at most once");

  if (!LevelsMatchPaths(first, scratch.Path("fav"))) return 0;
  // Names and addresses are written as the text they are, "&", "<", ">" and '"' escaped, and
  // read back as that text: every name keeps every character. Only these do not come back:
  // bytes that are no character of the output character set (written as a substitute), a tag
  // inside an address (it changes the nesting when the line is read again), a folder name
  // holding an address (the line of the folder is taken for a link too) and control bytes.
  for (const std::string& entry : first) {
    // Written lines hold a blank for a line end, a NUL or an end-of-file byte (an EUC-JP
    // pair cut by an ASCII byte converts into one).
    if (entry.find_first_of(std::string_view("\r\n\x1A\0", 4)) != std::string::npos) return 0;
    std::string key, url;
    TBookmarkControl::SplitEntry(entry, key, url);
    if (url.find_first_of("<>") != std::string::npos) return 0;
    if (TBookmarkControl::IsFolderEntry(entry) && !TBookmarkControl::ExtractUrl(entry).empty())
      return 0;
    if (control.OutputCharset == 1 &&
        TBookmarkControl::EucToSjis(TBookmarkControl::SjisToEuc(entry)) != entry)
      return 0;
    if (control.OutputCharset == 2 &&
        TBookmarkControl::Utf8ToSjis(TBookmarkControl::SjisToUtf8(entry)) != entry)
      return 0;
  }
  lf::BookmarkList a = first, b = second;
  TBookmarkControl::Regroup(a);
  TBookmarkControl::Regroup(b);
  if (a != b) {
    std::string diff;
    for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
      const std::string x = i < a.size() ? a[i] : "(none)";
      const std::string y = i < b.size() ? b[i] : "(none)";
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
