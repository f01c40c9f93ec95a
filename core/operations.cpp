#include "core/operations.h"

#include <array>

namespace lf {
namespace {

using C = Collection;

constexpr std::array<OperationInfo, kOperationCount> kOperations = {{
    {kNnToIe, "NnToIe", "Convert", C::BookmarkFile, C::Favorites, false, true,
     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルからＩｎｔｅｒｎｅｔ "
     "Ｅｘｐｌｏｒｅｒ の",
     "お気に入りファイルへ変換を行います。"},
    {kIeToNn, "IeToNn", "Convert", C::Favorites, C::BookmarkFile, false, true,
     "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルから Ｎｅｔｓｃａｐｅ "
     "Ｎａｖｉｇａｔｏｒ の",
     "ブックマークファイルへ変換を行います。"},
    {kMergeNnIe, "MergeNnIe", "Merge", C::Favorites, C::BookmarkFile, true, true,
     "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルと、Ｎｅｔｓｃａｐｅ "
     "Ｎａｖｉｇａｔｏｒ の",
     "ブックマークファイルを合わせた内容で双方の再作成を行います。"},
    {kAddNnToIe, "AddNnToIe", "URL Add", C::BookmarkFile, C::Favorites, false, false,
     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルから",
     "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルへ追加を行います。"},
    {kEditIe, "EditIe", "Update", C::Favorites, C::Favorites, false, false,
     "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルの編集を行います。", ""},
    {kCheckIe, "CheckIe", "Check", C::Favorites, C::Favorites, false, false,
     "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルの", "URLのダブリチェックを行います。"},
    {kAddIeToNn, "AddIeToNn", "URL Add", C::Favorites, C::BookmarkFile, false, false,
     "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルから",
     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルへ 追加を行います。"},
    {kEditNn, "EditNn", "Update", C::BookmarkFile, C::BookmarkFile, false, false,
     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルの編集を行います。", ""},
    {kCheckNn, "CheckNn", "Check", C::BookmarkFile, C::BookmarkFile, false, false,
     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルの",
     "URLのダブリチェックを行います。"},
    {kOperaToNn, "OperaToNn", "Convert", C::Hotlist, C::BookmarkFile, false, true,
     "Ｏｐｅｒａのブックマークファイルから",
     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルへ変換を行います。"},
    {kNnToOpera, "NnToOpera", "Convert", C::BookmarkFile, C::Hotlist, false, true,
     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルから",
     "Ｏｐｅｒａのブックマークファイルへ変換を行います。"},
}};

}  // namespace

const OperationInfo& OperationOf(int number) {
  return kOperations[static_cast<std::size_t>(number - 1)];
}

bool IsRunAtOnce(int proc) {
  return proc == kNnToIe || proc == kIeToNn || proc == kMergeNnIe || proc == kOperaToNn ||
         proc == kNnToOpera;
}

bool HasSecondPage(int proc) {
  return proc >= kAddNnToIe && proc <= kCheckNn;
}

std::vector<std::string> MemoLines(int number) {
  const OperationInfo& op = OperationOf(number);
  return {op.memoLine1, op.memoLine2, "",
          op.runAtOnce ? "「実 行」を押せば変換を行います。"
                       : "「次へ」を押して処理を進めてください。"};
}

}  // namespace lf
