#include "wizard/run_texts.h"

#include <utility>
#include <vector>

#include "core/operations.h"
#include "engine/sjis_text.h"
#include "pages/step_texts.h"

namespace lf {
namespace {

std::string Number(int proc) {
  return Sjis("処理 ") + std::to_string(proc);
}

// What each run writes, with the links its counters say were written; -1 where no counter
// is left for them (the Favorites of operation 3, counted over by the second half).
std::vector<std::pair<Collection, int>> Written(int proc, const RunCounters& c) {
  switch (proc) {
    case kNnToIe:
      return {{Collection::Favorites, c.ieUrlCount}};
    case kIeToNn:
    case kOperaToNn:
      return {{Collection::BookmarkFile, c.nnUrlCount}};
    case kMergeNnIe:
      return {{Collection::Favorites, -1}, {Collection::BookmarkFile, c.nnUrlCount}};
    case kNnToOpera:
      return {{Collection::Hotlist, c.operaUrlCount}};
    default:
      return {};
  }
}

}  // namespace

std::string ChosenText(int proc) {
  if (IsRunAtOnce(proc)) return Sjis("「実 行」を押すと") + Number(proc) + Sjis(" を始めます。");
  return Sjis("「次へ >>」を押すと") + Number(proc) + Sjis(" の画面に進みます。");
}

std::string RunningText(int proc) {
  return Number(proc) + Sjis(" を実行しています。");
}

std::string FinishedText(int proc, const RunResult& result) {
  if (!result.complete) return Number(proc) + Sjis(" を中止しました。");
  if (result.failures > 0) return Number(proc) + Sjis(" でエラーがありました。");
  if (result.errors > 0 || result.lost > 0)
    return Number(proc) + Sjis(" が終わりました。変換できなかったものがあります。");
  return Number(proc) + Sjis(" が終わりました。");
}

std::string RunDetailText(int proc, const RunResult& result, const RunCounters& counters) {
  if (!result.complete) return Sjis("読み込みを中止したので、何も書き込んでいません。");
  std::string text;
  auto line = [&](const std::string& sentence) {
    if (!text.empty()) text += '\n';
    text += sentence;
  };
  for (const auto& [collection, links] : Written(proc, counters)) {
    if (links > 0 || (links == 0 && result.failures == 0))
      line(CollectionName(collection) + Sjis("に ＵＲＬ ") + std::to_string(links) +
           Sjis(" 件を書き込みました。"));
    else if (links < 0 && result.failures == 0)
      line(CollectionName(collection) + Sjis("に書き込みました。"));
  }
  if (result.failures > 0)
    line(Sjis("エラーが ") + std::to_string(result.failures) + Sjis(" 件ありました。"));
  if (result.lost > 0)
    line(Sjis("変換できなかった ") + std::to_string(result.lost) +
         Sjis(" 件を次のファイルに記録しました。"));
  return text;
}

}  // namespace lf
