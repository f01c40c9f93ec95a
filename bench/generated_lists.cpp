#include "bench/generated_lists.h"

#include <random>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/entry.h"
#include "engine/sjis_text.h"

namespace lfbench {
namespace {

const std::vector<std::string>& Words() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> w;
    for (const char* u : {"ニュース", "天気", "旅行", "ソフトウェア", "料理", "音楽", "映画",
                          "スポーツ", "技術", "ブログ", "検索", "地図", "辞書", "ゲーム",
                          "大学", "図書館", "趣味", "仕事", "ﾌﾞｯｸﾏｰｸ", "Linux", "News",
                          "Daily", "Reference", "Tools"})
      w.push_back(lf::Sjis(u));
    return w;
  }();
  return words;
}

}  // namespace

std::string JapaneseName(std::size_t i) {
  const auto& w = Words();
  return w[i % w.size()] + w[(i / w.size() + 7) % w.size()] + std::to_string(i % 97);
}

lf::BookmarkList GeneratedList(std::size_t links, const std::string& root) {
  std::mt19937 rng(static_cast<unsigned>(links));
  lf::BookmarkList list;
  list.reserve(links + links / 20);
  struct Folder {
    std::string path;
    int level;
  };
  std::vector<Folder> folders = {{root, -1}};
  std::size_t made = 0, nameNo = 0;
  while (made < links) {
    // Now and then open a new folder below a random one, at most six deep.
    if (rng() % 40 == 0 || folders.size() == 1) {
      const Folder parent = folders[rng() % folders.size()];
      if (parent.level < 5) {
        Folder f{parent.path + "\\" + JapaneseName(nameNo++), parent.level + 1};
        list.push_back(f.path + ".dir" + lf::LevelChar(f.level));
        folders.push_back(f);
      }
    }
    const Folder& f = folders[rng() % folders.size()];
    std::string url = "http://www" + std::to_string(rng() % 5000) + ".example.jp/path/" +
                      std::to_string(made) + "/index.html";
    list.push_back(f.path + std::string(lf::kLinkMarker) + JapaneseName(nameNo++) + ".url" +
                   lf::LevelChar(f.level + 1) + "\\" + url);
    ++made;
  }
  lf::TBookmarkControl::Regroup(list);
  return list;
}

void GiveLinksProps(lf::BookmarkList& list) {
  long long added = 1500000000;
  std::size_t n = 0;
  for (lf::Entry& entry : list) {
    if (!lf::ViewOf(entry).IsLink()) continue;
    entry.props.Set(lf::Prop::Added, std::to_string(added += 37));
    entry.props.Set(lf::Prop::Keyword, "k" + std::to_string(n));
    entry.props.Set(lf::Prop::IconUri, "https://icons.example/" + std::to_string(n++) + ".ico");
  }
}

}  // namespace lfbench
