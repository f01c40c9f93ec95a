// The Netscape bookmark file reader on raw file bytes. The first byte picks a META line put
// in front of the rest (none, so that the bytes decide, Shift_JIS, UTF-8 or EUC-JP), the
// operation number and whether the folder tree is filled; the rest is the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/bookmark_charset.h"
#include "engine/bookmark_control.h"
#include "engine/bookmark_formats.h"
#include "engine/html_tokens.h"
#include "engine/sjis_text.h"
#include "engine/text_file.h"
#include "fuzz/fuzz_support.h"

namespace {

// Counts the A start tags that a browser finds in the text, the one the file ends in too,
// and those of them with an HREF.
class LinkTags final : public lf::HtmlSink {
 public:
  void Text(std::string_view) override {}
  bool Tag(const lf::HtmlTag& tag) override {
    if (!tag.IsEnd()) CutOff(tag);
    return true;
  }
  void CutOff(const lf::HtmlTag& tag) override {
    if (tag.Name() != "a") return;
    ++all;
    withHref += tag.Find("href").has_value();
  }

  int all = 0;
  int withHref = 0;
};

// The A tags in the file, read in the character set the reader reads it in and in the
// pieces it reads.
LinkTags LinkTagsOf(const std::string& path) {
  const int charset = lf::DetectCharset(path);
  lf::LineReader file(path);
  LinkTags links;
  lf::HtmlTokenizer tokens(links);
  std::string raw, text;
  bool ended;
  while (file.ReadPart(raw, lf::kBookmarkFilePart, ended)) {
    lf::LineInSjis(charset, raw, text);
    if (ended) text.push_back('\n');
    tokens.Feed(text);
  }
  tokens.Finish();
  return links;
}

// How often "<a" stands in the bytes, in any letter case: no more links can be made.
int LessThanA(std::string_view bytes) {
  int count = 0;
  for (std::size_t i = bytes.find('<'); i != std::string_view::npos; i = bytes.find('<', i + 1))
    count += i + 1 < bytes.size() && (bytes[i + 1] == 'a' || bytes[i + 1] == 'A');
  return count;
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

  // Bytes that look like a browser's JSON or XBEL go to the reader of that format.
  if (lf::BookmarkFormatOf(scratch.Path("bookmark.htm")) != lf::BookmarkFormat::Netscape) return 0;
  lf::TBookmarkControl control;
  QuietOwner owner;
  lf::ProgressBar bar;
  CountingTree tree;
  const bool fillTree = (mode & 8) != 0;
  lf::BookmarkList list;
  int cancel = 0;
  const std::string root = scratch.Path("fav");
  const lf::Report report =
      control.ReadBookmarkFile({owner, bar, nullptr, cancel}, scratch.Path("bookmark.htm"), list,
                               root, fillTree ? &tree : nullptr);
  const int count = report.links;

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
  // Every A ends as a link or as a line of the lost-data log, the one with an HREF too, and
  // every lost item is an error of the run.
  const int lost = static_cast<int>(report.lost.size());
  const LinkTags tags = LinkTagsOf(scratch.Path("bookmark.htm"));
  Check(report.errors == lost, "every lost item counted as an error");
  Check(count + lost == tags.all, "every A a link or a lost item");
  Check(count <= tags.withHref, "a link only of an A with an HREF");
  Check(tags.all <= LessThanA(content), "an A only where the bytes hold one");
  // The reader never changes its input, and its temporary copy is gone.
  Check(scratch.Read("bookmark.htm") == content, "the input is unchanged");
  Check(ListNames(scratch.Native()) == "bookmark.htm\nprog\n", "no file left behind",
        ListNames(scratch.Native()));
  scratch.CheckNothingOutside();
  return 0;
}
