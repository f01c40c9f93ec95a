#include "engine/unheld.h"

#include <array>

#include "engine/entry.h"
#include "engine/sjis_text.h"
#include "platform/file_system.h"

namespace lf {
namespace {

struct Kind {
  Holds holds;
  const char* name;  // UTF-8
};

constexpr std::array<Kind, 12> kKinds{{
    {kHoldsSeparators, "区切り線"},
    {kHoldsKeywords, "キーワード"},
    {kHoldsTags, "タグ"},
    {kHoldsDescriptions, "説明"},
    {kHoldsIcons, "アイコン"},
    {kHoldsIconFiles, "アイコンファイル"},
    {kHoldsAdded, "追加日時"},
    {kHoldsVisited, "最終訪問日時"},
    {kHoldsModified, "更新日時"},
    {kHoldsToolbar, "ツールバーの印"},
    {kHoldsOtherRoots, "「その他のブックマーク」などの印"},
    {kHoldsAttributes, "その他の属性"},
}};

// Which of the kinds an entry carries.
unsigned Carried(const Entry& entry) {
  if (IsSeparator(entry)) return kHoldsSeparators;
  const EntryProps& p = entry.props;
  if (p.Empty()) return 0;
  unsigned carried = 0;
  const auto mark = [&](bool has, Holds kind) { carried |= has ? kind : 0u; };
  mark(p.Has(Prop::Keyword), kHoldsKeywords);
  mark(p.Has(Prop::Tags), kHoldsTags);
  mark(p.Has(Prop::Description), kHoldsDescriptions);
  mark(p.Has(Prop::Icon) || p.Has(Prop::IconUri), kHoldsIcons);
  mark(p.Has(Prop::IconFile), kHoldsIconFiles);
  mark(p.Has(Prop::Added), kHoldsAdded);
  mark(p.Has(Prop::Visited), kHoldsVisited);
  mark(p.Has(Prop::Modified), kHoldsModified);
  const std::string_view root = p.Get(Prop::Root);
  mark(root == "toolbar", kHoldsToolbar);
  mark(!root.empty() && root != "toolbar", kHoldsOtherRoots);
  mark(p.Has(Prop::Attributes), kHoldsAttributes);
  return carried;
}

}  // namespace

void NoteUnheld(Report& report, const BookmarkList& list, unsigned holds, const std::string& path) {
  std::array<int, kKinds.size()> counts{};
  for (const Entry& entry : list) {
    const unsigned left = Carried(entry) & ~holds;
    if (left == 0) continue;
    for (std::size_t k = 0; k < kKinds.size(); ++k) counts[k] += (left & kKinds[k].holds) != 0;
  }
  std::string counted;
  for (std::size_t k = 0; k < kKinds.size(); ++k) {
    if (counts[k] == 0) continue;
    if (!counted.empty()) counted += Sjis("、");
    counted += Sjis(kKinds[k].name) + " " + std::to_string(counts[k]) + Sjis(" 件");
  }
  if (counted.empty()) return;
  report.unheld.push_back({"Not Held", path, counted});
  report.notes.push_back(UnheldText(report.unheld.back()));
}

std::string UnheldText(const LostItem& unheld) {
  return Sjis("[ ") + platform::ShownPath(unheld.path) +
         Sjis(" ]には入らないため書かなかったもの：") + unheld.reason;
}

}  // namespace lf
