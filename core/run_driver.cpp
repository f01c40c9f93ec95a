#include "core/run_driver.h"

#include "core/operations.h"
#include "engine/entry.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"

namespace lf {
namespace {

class Chain {
 public:
  explicit Chain(const RunContext& run)
      : run_(run), s_(run.settings), c_(run.counters), engine_(run.control) {}

  // False when the run was cancelled before it wrote.
  bool Run(int proc) {
    switch (proc) {
      case kNnToIe:
        NetscapeToFavorites();
        break;
      case kIeToNn:
        FavoritesToNetscape();
        break;
      case kMergeNnIe:
        Merge();
        break;
      case kOperaToNn:
        HotlistToNetscape();
        break;
      case kNnToOpera:
        NetscapeToHotlist();
        break;
      default:
        break;
    }
    return !cancelled_;
  }

 private:
  bool Attended() const { return run_.status != nullptr; }

  // Sets the status text and lets the window paint it.
  void Show(const std::string& text) {
    if (!Attended()) return;
    run_.status->SetCaption(text);
    run_.owner.ProcessMessages();
  }

  void ReadNetscape() {
    engine_.ReadBookmarkFile(run_.owner, s_.NNFileName, c_.cancel, c_.nnUrlCount, nullptr, false,
                             list_, run_.bar, s_.IEDirName);
  }

  // The links already in the Netscape file, kept by a conversion into it: they are read
  // first and the writer counts them again, so the read is not counted.
  void ReadNetscapeToKeep() {
    Show(ReadingBookmarkFileText());
    ReadNetscape();
    run_.bar.SetVisible(false);
    c_.nnUrlCount = 0;
  }

  void LoadFavorites() {
    // The reader has no bar of its own: the bar shows that it is at work.
    if (Attended()) {
      run_.bar.SetPosition(0);
      run_.bar.SetMax(0);
      run_.bar.SetVisible(true);
    }
    engine_.LoadFavorites(run_.owner, run_.status, c_.cancel, c_.errorCount, c_.ieUrlCount, list_,
                          nullptr, s_.IEDirName);
  }

  // Before each write: a run cancelled while it read writes nothing; a write once begun goes
  // to its end (the Favorites writer would otherwise leave a part of the links behind).
  bool StartWriting() {
    if (c_.cancel) {
      cancelled_ = true;
      return false;
    }
    if (run_.writing) run_.writing();
    if (Attended()) run_.bar.SetVisible(true);
    return true;
  }

  void SaveFavorites() {
    int noCancel = 0;
    engine_.SaveFavorites(run_.owner, run_.bar, noCancel, c_.errorCount, c_.ieUrlCount, list_);
  }

  // Every link of the list that a writer of a whole file did not write (it could not make the
  // file, or would not replace one it could not back up, and has said so) is a conversion
  // error of the run and a line of the lost-data log, so the summary and the exit status tell.
  void CountUnwritten(int written) {
    // Usually every link was written: the log's lines are only made when one was not.
    std::size_t links = 0;
    for (const std::string& entry : list_) links += !TBookmarkControl::IsFolderEntry(entry);
    if (written >= static_cast<int>(links)) return;
    std::vector<std::string> lost;
    for (const std::string& entry : list_) {
      if (TBookmarkControl::IsFolderEntry(entry)) continue;
      const EntryView link = ViewOf(entry);
      lost.push_back("File Error : " + std::string(link.FolderPart()) + std::string(link.name));
    }
    c_.errorCount += static_cast<int>(lost.size()) - written;
    engine_.RecordLostData(run_.owner, lost);
  }

  // An empty list would leave an empty Netscape file: it is not written.
  void SaveNetscapeUnlessEmpty() {
    if (!list_.empty()) {
      const int before = c_.nnUrlCount;
      engine_.SaveBookmarkFile(run_.owner, run_.bar, c_.nnUrlCount, s_.NNFileName, list_);
      CountUnwritten(c_.nnUrlCount - before);
    } else if (Attended()) {
      run_.owner.MessageBox(NoUrlMessage(), MessageCaption(), kMbIconError | kMbOk);
    }
  }

  void NetscapeToFavorites() {
    Show(ReadingBookmarkFileText());
    ReadNetscape();
    if (s_.LNK == 1) TBookmarkControl::ToolbarToLinks(list_);
    if (!StartWriting()) return;
    Show(WritingIntoFavoritesText());
    SaveFavorites();
  }

  void FavoritesToNetscape() {
    if (s_.NNConv == 1) ReadNetscapeToKeep();
    if (c_.cancel) {
      cancelled_ = true;
      return;
    }
    if (Attended()) {
      run_.owner.ProcessMessages();
      run_.status->SetCaption(ReadingFavoritesText());
    }
    LoadFavorites();
    if (s_.NNConv == 1) TBookmarkControl::RemoveDuplicates(list_);
    if (s_.LNK == 1) TBookmarkControl::LinksToToolbar(list_);
    if (!StartWriting()) return;
    Show(WritingIntoBookmarkFileText());
    SaveNetscapeUnlessEmpty();
  }

  // The Netscape links go into the Favorites first; the Netscape file is then rebuilt from
  // the whole Favorites folder, and only this second half's links are counted. The links the
  // first half could not write are lost to both, so its errors stay counted.
  void Merge() {
    Show(ReadingBookmarkFileText());
    ReadNetscape();
    if (!StartWriting()) return;
    Show(WritingIntoFavoritesText());
    SaveFavorites();
    c_.ieUrlCount = c_.nnUrlCount = 0;
    list_ = BookmarkList();
    if (Attended()) run_.owner.ProcessMessages();
    LoadFavorites();
    if (!StartWriting()) return;
    Show(WritingIntoBookmarkFileText());
    SaveNetscapeUnlessEmpty();
  }

  // The Netscape file is not read first: with NNConv the duplicate removal only drops
  // repeats within the hotlist, and the file being replaced stays as its ".old" backup.
  void HotlistToNetscape() {
    if (Attended()) run_.status->SetCaption(ReadingHotlistText());
    engine_.LoadOperaFile(run_.owner, s_.OPFileName, c_.cancel, c_.operaUrlCount, run_.bar, list_,
                          s_.IEDirName);
    if (s_.NNConv == 1) TBookmarkControl::RemoveDuplicates(list_);
    if (s_.LNK == 1) TBookmarkControl::LinksToToolbar(list_);
    if (!StartWriting()) return;
    Show(WritingIntoBookmarkFileText());
    SaveNetscapeUnlessEmpty();
  }

  void NetscapeToHotlist() {
    Show(ReadingBookmarkFileText());
    ReadNetscape();
    if (!StartWriting()) return;
    Show(WritingIntoHotlistText());
    engine_.SaveOperaFile(run_.owner, run_.bar, list_, s_.OPFileName, c_.operaUrlCount);
    CountUnwritten(c_.operaUrlCount);
  }

  const RunContext& run_;
  const Settings& s_;
  RunCounters& c_;
  TBookmarkControl& engine_;
  BookmarkList list_;
  bool cancelled_ = false;
};

}  // namespace

bool RunOperation(int proc, const RunContext& run) {
  run.counters = RunCounters();
  run.control.StartLostDataRun();
  const bool complete = Chain(run).Run(proc);
  run.control.EndLostDataRun();
  run.bar.SetVisible(false);
  if (run.status) {
    run.status->SetCaption(complete ? SummaryLine(proc, run.counters) : InterruptedText());
    // The Favorites reader blinks the label once per folder and may leave it hidden.
    run.status->SetVisible(true);
  }
  return complete;
}

std::string InterruptedText() {
  return Sjis("[ 処理が中断されました ]");
}

void AutoProc(int autoOperation, const RunContext& run) {
  RunContext unattended = run;
  unattended.status = nullptr;
  if (autoOperation < kNnToIe || autoOperation > kMergeNnIe) return;
  run.control.StartLostDataRun();
  Chain(unattended).Run(autoOperation);
  run.control.EndLostDataRun();
}

std::string SummaryLine(int proc, const RunCounters& c) {
  const bool opera = proc >= kOperaToNn;
  std::string line = opera ? Sjis("ＯＰ ｕｒｌ数: ") + std::to_string(c.operaUrlCount)
                           : Sjis("ＩＥ ｕｒｌ数: ") + std::to_string(c.ieUrlCount);
  line += Sjis(", ＮＮ ｕｒｌ数: ") + std::to_string(c.nnUrlCount);
  line += Sjis(", 変換エラー数: ") + std::to_string(c.errorCount);
  return line;
}

std::string NoUrlMessage() {
  return Sjis("お気に入りのＵＲＬがありません。フォルダの再確認を行ってください。");
}

}  // namespace lf
