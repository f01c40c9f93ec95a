// Files as today's programs write them, carried through every chain of conversions: a
// browser's export in its three character sets (the Shift-JIS and EUC-JP ones with line feeds
// alone), a hotlist written on Unix by another bookmark editor, and a Favorites folder of
// shortcuts as other programs write them. Every chain gives back every link with its folder,
// title and address, except what a format cannot hold: a Favorites name loses the characters
// a file name cannot hold, a second link of one name is numbered, and an address written into
// a shortcut has the characters beyond Shift-JIS percent-encoded.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "platform/system_info.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace {

using lf::BookmarkList;
using lf::TBookmarkControl;
using Lines = std::vector<std::string>;

const std::string kDataDir =
    (std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "exports").string();

class ExportedFiles : public testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramPath(dir.Path("prog/linkferry"));
    platform::SetLoginName("taro");
    lftest::MakeDirs(dir.NativePath("prog"));
    lftest::MakeDirs(dir.NativePath("fav"));
    root = dir.Path("fav");
  }
  void TearDown() override {
    platform::SetProgramPath(std::nullopt);
    platform::SetLoginName(std::nullopt);
  }

  BookmarkList ReadNetscape(const std::string& path) {
    BookmarkList list;
    lf::RunCounters c;
    engine.ReadBookmarkFile(owner, path, c.cancel, c.nnUrlCount, nullptr, false, list, bar, root);
    EXPECT_EQ(c.nnUrlCount, LinkCount(list));
    return list;
  }
  BookmarkList ReadHotlist(const std::string& path) {
    BookmarkList list;
    lf::RunCounters c;
    engine.LoadOperaFile(owner, path, c.cancel, c.operaUrlCount, bar, list, root);
    EXPECT_EQ(c.operaUrlCount, LinkCount(list));
    return list;
  }
  BookmarkList ReadFavorites() {
    BookmarkList list;
    lf::RunCounters c;
    engine.LoadFavorites(owner, nullptr, c.cancel, c.errorCount, c.ieUrlCount, list, nullptr, root);
    EXPECT_EQ(c.ieUrlCount, LinkCount(list));
    EXPECT_EQ(c.errorCount, 0);
    return list;
  }

  // Each writer writes every link, and its file read back gives the list it holds.
  BookmarkList ThroughNetscape(const BookmarkList& list, int charset) {
    engine.OutputCharset = charset;
    int written = 0;
    engine.SaveBookmarkFile(owner, bar, written, dir.Path("bookmark.htm"), list);
    EXPECT_EQ(written, LinkCount(list));
    return ReadNetscape(dir.Path("bookmark.htm"));
  }
  BookmarkList ThroughHotlist(const BookmarkList& list) {
    int written = 0;
    engine.SaveOperaFile(owner, bar, list, dir.Path("opera6.adr"), written);
    EXPECT_EQ(written, LinkCount(list));
    return ReadHotlist(dir.Path("opera6.adr"));
  }
  BookmarkList ThroughFavorites(const BookmarkList& list) {
    std::filesystem::remove_all(dir.NativePath("fav"));
    lftest::MakeDirs(dir.NativePath("fav"));
    lf::RunCounters c;
    engine.SaveFavorites(owner, bar, c.cancel, c.errorCount, c.ieUrlCount, list);
    EXPECT_EQ(c.ieUrlCount, LinkCount(list));
    EXPECT_EQ(c.errorCount, 0);
    return ReadFavorites();
  }

  static int LinkCount(const BookmarkList& list) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [](const std::string& e) {
      return !TBookmarkControl::IsFolderEntry(e);
    }));
  }

  // The folders and links of a list in UTF-8: "folder > folder /" for a folder and
  // "folder > folder | title | address" for a link, sorted. A "\" inside a name (held as its
  // reference) shows as "\", a folder step as " > ".
  Lines Links(const BookmarkList& list) const {
    Lines out;
    for (const std::string& entry : list) {
      std::string key, url;
      TBookmarkControl::SplitEntry(entry, key, url);
      const std::size_t marker = lf::FindCharBoundary(key, lf::kLinkMarker);
      const bool folder = TBookmarkControl::IsFolderEntry(entry);
      const std::string path = folder ? key.substr(0, key.size() - 5) : key.substr(0, marker);
      std::string line;
      for (std::size_t start = root.size() + 1; start <= path.size();) {
        std::size_t end = lf::FindCharBoundary(path, "\\", start);
        if (end == std::string::npos) end = path.size();
        line += (line.empty() ? "" : " > ") + lftest::U(path.substr(start, end - start));
        start = end + 1;
      }
      if (folder) {
        out.push_back(line + " /");
      } else {
        const std::string title = key.substr(marker + lf::kLinkMarker.size());
        out.push_back(line + " | " + lftest::U(title.substr(0, title.size() - 5)) + " | " +
                      lftest::U(url));
      }
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  // The lines with some of them changed, sorted again.
  static Lines Changed(Lines lines, std::initializer_list<std::pair<std::string, std::string>> changes) {
    for (const auto& [from, to] : changes) std::replace(lines.begin(), lines.end(), from, to);
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  // Every chain from a list: through a hotlist and back into a bookmark file in each
  // character set, and through the Favorites folder into one.
  void EveryChain(const BookmarkList& first, const Lines& links, const Lines& throughFavorites) {
    for (int charset : {0, 1, 2}) {
      EXPECT_EQ(Links(ThroughNetscape(ThroughHotlist(first), charset)), links) << charset;
      EXPECT_EQ(Links(ThroughHotlist(ThroughNetscape(first, charset))), links) << charset;
      EXPECT_EQ(Links(ThroughNetscape(ThroughFavorites(first), charset)), throughFavorites)
          << charset;
    }
    EXPECT_TRUE(owner.messages.empty()) << owner.Texts()[0];
    EXPECT_FALSE(lftest::Exists(dir.NativePath("prog/LostData.txt")));
  }

  lftest::TempDir dir;
  std::string root;
  TBookmarkControl engine;
  lftest::RecordingOwner owner;
  lftest::FakeProgressBar bar;
};

struct Export {
  const char* file;
  int charset;  // the output character set of the same name
};

class BrowserExport : public ExportedFiles, public testing::WithParamInterface<Export> {};

// The HREF values of a bookmark file, sorted.
Lines Hrefs(const std::string& file) {
  Lines hrefs;
  for (std::size_t at = file.find("HREF=\""); at != std::string::npos;
       at = file.find("HREF=\"", at + 1))
    hrefs.push_back(file.substr(at + 6, file.find('"', at + 6) - at - 6));
  std::sort(hrefs.begin(), hrefs.end());
  return hrefs;
}

TEST_P(BrowserExport, EveryChainKeepsEveryLink) {
  const std::string path = kDataDir + "/" + GetParam().file;
  const BookmarkList first = ReadNetscape(path);
  // Written again in its own character set, every address keeps its bytes, references and all.
  ThroughNetscape(first, GetParam().charset);
  EXPECT_EQ(Hrefs(lftest::ReadFile(dir.NativePath("bookmark.htm"))), Hrefs(lftest::ReadFile(path)));
  const Lines links = {
      " | Archive | http://web.archive.org/web/2003/https://example.jp/",
      " | Bookmarklet | javascript:alert(\"x\")",
      " | Café crème – À la carte | https://fr.example.org/",
      " | Config | about:config",
      " | Data | data:text/plain,hello",
      " | Literal &#233; | https://example.net/literal",
      " | Mail | mailto:info@example.jp",
      " | Recent | place:sort=8&maxResults=10",
      " | Resource | http://example.com/path/res:x",
      " | Settings | chrome://settings/",
      " | Über Größe | https://de.example.org/",
      " | 🎉 Party | https://party.example.com/",
      "1999/10/01: news /",
      "Bookmarks Toolbar /",
      "Bookmarks Toolbar | Example | https://www.example.com/",
      "C/C++ & Rust /",
      "C/C++ & Rust | C/C++: reference | https://en.cppreference.com/w/",
      "C/C++ & Rust | Duplicate | https://example.org/dup1",
      "C/C++ & Rust | Duplicate | https://example.org/dup2",
      "C/C++ & Rust | Path C:\\Temp\\readme.txt | file:///C:/Temp/readme.txt",
      "C/C++ & Rust | Tom & Jerry <b> \"quoted\" 'single' | https://example.org/a?b=1",
      "ニュース & 天気 /",
      "ニュース & 天気 | 天気〜予報 | https://weather.example.jp/",
      "ニュース & 天気 | 毎日のニュース | https://news.example.jp/?cat=1&page=2",
      "ニュース & 天気 | 百度一下，你就知道 | https://www.baidu.com/",
      "ニュース & 天気 | 한국어 뉴스 | https://www.example.kr/",
  };
  EXPECT_EQ(Links(first), links);
  const Lines throughFavorites = Changed(links, {
      {"1999/10/01: news /",
       "19991001 news /"},
      {"C/C++ & Rust /",
       "CC++ & Rust /"},
      {"C/C++ & Rust | C/C++: reference | https://en.cppreference.com/w/",
       "CC++ & Rust | CC++ reference | https://en.cppreference.com/w/"},
      {"C/C++ & Rust | Duplicate | https://example.org/dup1",
       "CC++ & Rust | Duplicate | https://example.org/dup1"},
      {"C/C++ & Rust | Duplicate | https://example.org/dup2",
       "CC++ & Rust | Duplicate (2) | https://example.org/dup2"},
      {"C/C++ & Rust | Path C:\\Temp\\readme.txt | file:///C:/Temp/readme.txt",
       "CC++ & Rust | Path CTempreadme.txt | file:///C:/Temp/readme.txt"},
      {"C/C++ & Rust | Tom & Jerry <b> \"quoted\" 'single' | https://example.org/a?b=1",
       "CC++ & Rust | Tom & Jerry b quoted 'single' | https://example.org/a?b=1"},
  });
  EveryChain(first, links, throughFavorites);
}

INSTANTIATE_TEST_SUITE_P(ThreeCharsets, BrowserExport,
                         testing::Values(Export{"browser_export.htm", 2},
                                         Export{"browser_export_sjis_lf.htm", 0},
                                         Export{"browser_export_eucjp_lf.htm", 1}));

TEST_F(ExportedFiles, HotlistWrittenOnUnixKeepsEveryLink) {
  const BookmarkList first = ReadHotlist(kDataDir + "/hotlist_lf.adr");
  const Lines links = {
      " | Café crème – À la carte | https://fr.example.org/",
      " | Literal &#233; &amp; | http://web.archive.org/web/2003/https://example.jp/?a=1&amp;b=2",
      " | 天気〜予報 | about:blank",
      " | 한국어 뉴스 🎉 | https://www.example.kr/",
      "C:\\Tools / C++ /",
      "C:\\Tools / C++ | Duplicate | https://example.org/dup1",
      "C:\\Tools / C++ | Duplicate | https://example.org/dup2",
      "C:\\Tools / C++ | Tom & Jerry <b> \"quoted\" 'single' | javascript:alert(\"x\")",
      "Trash /",
      "ニュース & 天気 /",
      "ニュース & 天気 | 毎日のニュース | https://news.example.jp/?cat=1&page=2",
      "ニュース & 天気 | 百度一下，你就知道 | https://www.baidu.com/",
  };
  EXPECT_EQ(Links(first), links);
  const Lines throughFavorites = Changed(links, {
      {"C:\\Tools / C++ /",
       "CTools  C++ /"},
      {"C:\\Tools / C++ | Duplicate | https://example.org/dup1",
       "CTools  C++ | Duplicate | https://example.org/dup1"},
      {"C:\\Tools / C++ | Duplicate | https://example.org/dup2",
       "CTools  C++ | Duplicate (2) | https://example.org/dup2"},
      {"C:\\Tools / C++ | Tom & Jerry <b> \"quoted\" 'single' | javascript:alert(\"x\")",
       "CTools  C++ | Tom & Jerry b quoted 'single' | javascript:alert(\"x\")"},
  });
  EveryChain(first, links, throughFavorites);
}

TEST_F(ExportedFiles, FavoritesOfAnotherEditorKeepEveryLink) {
  std::filesystem::copy(kDataDir + "/Favorites", dir.NativePath("fav"),
                        std::filesystem::copy_options::recursive);
  // A name holding "\", which other programs write on Unix (not kept in the repository).
  lftest::WriteFile(dir.NativePath("fav/ニュース & 天気/a\\b.url"),
                    "[InternetShortcut]\r\nURL=https://example.org/backslash\r\n");
  const BookmarkList first = ReadFavorites();
  const Lines links = {
      " | Bookmarklet | javascript:alert(\"x\")",
      " | Café | https://fr.example.org/",
      " | Daily | http://web.archive.org/web/2003/https://example.jp/",
      " | Größe | https://de.wikipedia.org/wiki/Größe",
      " | Literal &#233; | https://example.net/?q=&#233;&x=1",
      " | Mail | mailto:info@example.jp",
      " | Memo | see http://example.jp/",
      " | Tom & Jerry 'single' | https://example.org/a?b=1",
      " | Wikipedia | https://ja.wikipedia.org/wiki/日本",
      " | 🎉 Party | https://party.example.com/",
      "ニュース & 天気 /",
      "ニュース & 天気 | a\\b | https://example.org/backslash",
      "ニュース & 天気 | 天気〜予報 | https://weather.example.jp/",
      "ニュース & 天気 | 毎日のニュース | https://news.example.jp/?cat=1&page=2",
      "한국어 /",
      "한국어 | 뉴스 | https://www.example.kr/",
  };
  EXPECT_EQ(Links(first), links);
  const Lines throughFavorites = Changed(links, {
      {"ニュース & 天気 | a\\b | https://example.org/backslash",
       "ニュース & 天気 | ab | https://example.org/backslash"},
  });
  EveryChain(first, links, throughFavorites);
}

}  // namespace
