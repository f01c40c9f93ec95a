#include "core/run_driver.h"

#include <utility>

#include "core/merge_names.h"
#include "core/operations.h"
#include "engine/entry.h"
#include "engine/lost_data.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"
#include "platform/file_system.h"

namespace lf {
namespace {

class Chain {
 public:
  explicit Chain(const RunContext& run)
      : run_(run),
        s_(run.settings),
        c_(run.counters),
        engine_(run.control),
        io_{run.owner, run.bar, run.status, run.counters.cancel},
        log_(run.control.LostDataFolder) {}

  RunResult Run(int proc) {
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
    result_.errors = c_.errorCount;
    result_.notes = std::move(notes_);
    return result_;
  }

 private:
  bool Attended() const { return run_.status != nullptr; }

  // Sets the status text and lets the window paint it.
  void Show(const std::string& text) {
    if (!Attended()) return;
    run_.status->SetCaption(text);
    run_.owner.ProcessMessages();
  }

  // Takes what a step did: its failures and conversion errors, and what it lost into the
  // run's log, which is saved with every line of the run so far.
  Report Took(Report report) {
    result_.failures += static_cast<int>(report.failures.size());
    notes_.insert(notes_.end(), report.notes.begin(), report.notes.end());
    c_.errorCount += report.errors;
    if (!report.lost.empty() || !report.unheld.empty()) {
      result_.lost += static_cast<int>(report.lost.size());
      log_.Add(report);
      if (log_.Save(run_.owner, engine_.WriteFilter))
        result_.lostDataPath = log_.Path();
      else
        ++result_.failures;
    }
    return report;
  }

  // False when the file could not be read: then nothing is written, so that no file is
  // replaced by less than it held.
  bool ReadNetscape() {
    const Report& report =
        Took(engine_.ReadBookmarkFile(Quiet(), s_.NNFileName, list_, s_.IEDirName));
    c_.nnUrlCount += report.links;
    return !report.Failed() && !report.cancelled;
  }

  // False, and says so, when the source of a conversion gave no links: what it would write
  // is nothing, and the collection it would replace may hold links.
  bool GaveLinks(const char* what, const std::string& path) {
    for (const Entry& entry : list_)
      if (ViewOf(entry).IsLink()) return true;
    const std::string text = path.empty()
                                 ? NoUrlMessage()
                                 : Sjis(what) + "[ " + platform::ShownPath(path) +
                                       Sjis(" ]にはＵＲＬがありません。何も書き込みませんでした。");
    run_.owner.MessageBox(text, MessageCaption(), kMbIconError | kMbOk);
    ++result_.failures;
    return false;
  }

  // The window side of a step that sets no status text of its own.
  Io Quiet() const { return {run_.owner, run_.bar, nullptr, c_.cancel}; }

  // The links already in the Netscape file, kept by a conversion into it: they are read
  // first and the writer counts them again, so the read is not counted.
  bool ReadNetscapeToKeep() {
    Show(ReadingBookmarkFileText());
    // A file that is not there yet keeps no links; one that is there and cannot be read
    // must not be replaced.
    const bool read = !platform::PathExists(s_.NNFileName) || ReadNetscape();
    run_.bar.SetVisible(false);
    c_.nnUrlCount = 0;
    return read;
  }

  bool LoadFavorites() {
    // The reader has no bar of its own: the bar shows that it is at work.
    if (Attended()) {
      run_.bar.SetPosition(0);
      run_.bar.SetMax(0);
      run_.bar.SetVisible(true);
    }
    const Report& report = Took(engine_.LoadFavorites(io_, list_, nullptr, s_.IEDirName));
    c_.ieUrlCount += report.links;
    return !report.Failed() && !report.cancelled;
  }

  // Before each write: a run cancelled while it read writes nothing; a write once begun goes
  // to its end (the Favorites writer would otherwise leave a part of the links behind).
  bool StartWriting() {
    if (c_.cancel) {
      result_.complete = false;
      return false;
    }
    if (run_.writing) run_.writing();
    if (Attended()) run_.bar.SetVisible(true);
    return true;
  }

  void SaveFavorites() {
    int noCancel = 0;
    const Io io{run_.owner, run_.bar, nullptr, noCancel};
    // Nothing in the Favorites was read by this run: a file in a link's place is left alone.
    c_.ieUrlCount += Took(engine_.SaveFavorites(io, list_, nullptr)).links;
  }

  // Every link of the list that a writer of a whole file did not write (it could not make the
  // file, or would not replace one it could not back up, and has said so) is a conversion
  // error of the run and a line of the lost-data log, so the summary and the exit status tell.
  void CountUnwritten(int written) {
    // Usually every link was written: the log's lines are only made when one was not.
    int links = 0;
    for (const Entry& entry : list_) links += ViewOf(entry).IsLink();
    if (written >= links) return;
    Report unwritten;
    for (const Entry& entry : list_) {
      const EntryView link = ViewOf(entry);
      if (!link.IsLink()) continue;
      unwritten.lost.push_back(
          {"File Error", std::string(link.FolderPart()) + std::string(link.name), {}});
    }
    unwritten.errors = links - written;
    Took(unwritten);
  }

  // A list without links would leave an empty Netscape file: it is not written.
  void SaveNetscapeUnlessEmpty() {
    if (!GaveLinks("", std::string())) return;
    int noCancel = 0;
    const Io io{run_.owner, run_.bar, nullptr, noCancel};
    const int written = Took(engine_.SaveBookmarkFile(io, s_.NNFileName, list_)).links;
    c_.nnUrlCount += written;
    CountUnwritten(written);
  }

  void NetscapeToFavorites() {
    Show(ReadingBookmarkFileText());
    if (!ReadNetscape() && !c_.cancel) return;
    if (!c_.cancel && !GaveLinks("ブックマークファイル", s_.NNFileName)) return;
    if (s_.LNK == 1) TBookmarkControl::ToolbarToLinks(list_, engine_.ListOrder);
    if (!StartWriting()) return;
    Show(WritingIntoFavoritesText());
    SaveFavorites();
  }

  void FavoritesToNetscape() {
    if (s_.NNConv == 1 && !ReadNetscapeToKeep() && !c_.cancel) return;
    if (c_.cancel) {
      result_.complete = false;
      return;
    }
    if (Attended()) {
      run_.owner.ProcessMessages();
      run_.status->SetCaption(ReadingFavoritesText());
    }
    if (!LoadFavorites() && !c_.cancel) return;
    if (s_.NNConv == 1) TBookmarkControl::RemoveDuplicates(list_, engine_.ListOrder);
    if (s_.LNK == 1) TBookmarkControl::LinksToToolbar(list_, engine_.ListOrder);
    if (!StartWriting()) return;
    Show(WritingIntoBookmarkFileText());
    SaveNetscapeUnlessEmpty();
  }

  // The Netscape links go into the Favorites first; the Netscape file is then rebuilt from
  // the whole Favorites folder, and only this second half's links are counted. The links the
  // first half could not write are lost to both, so its errors stay counted.
  void Merge() {
    Show(ReadingBookmarkFileText());
    if (platform::PathExists(s_.NNFileName) && !ReadNetscape() && !c_.cancel) return;
    if (!StartWriting()) return;
    Show(WritingIntoFavoritesText());
    const MergeNames names(list_);
    SaveFavorites();
    c_.ieUrlCount = c_.nnUrlCount = 0;
    list_ = BookmarkList();
    if (Attended()) run_.owner.ProcessMessages();
    if (!LoadFavorites() && !c_.cancel) return;
    // The bookmark file keeps its own titles, not the Favorites' names of them.
    names.Restore(list_);
    if (!StartWriting()) return;
    Show(WritingIntoBookmarkFileText());
    SaveNetscapeUnlessEmpty();
  }

  // The Netscape file is not read first: with NNConv the duplicate removal only drops
  // repeats within the hotlist, and the file being replaced stays as its ".old" backup.
  void HotlistToNetscape() {
    if (Attended()) run_.status->SetCaption(ReadingHotlistText());
    const Report& read = Took(engine_.LoadOperaFile(Quiet(), s_.OPFileName, list_, s_.IEDirName));
    c_.operaUrlCount += read.links;
    if (read.Failed()) return;
    if (!c_.cancel && !GaveLinks("Ｏｐｅｒａブックマークファイル", s_.OPFileName)) return;
    if (s_.NNConv == 1) TBookmarkControl::RemoveDuplicates(list_, engine_.ListOrder);
    if (s_.LNK == 1) TBookmarkControl::LinksToToolbar(list_, engine_.ListOrder);
    if (!StartWriting()) return;
    Show(WritingIntoBookmarkFileText());
    SaveNetscapeUnlessEmpty();
  }

  void NetscapeToHotlist() {
    Show(ReadingBookmarkFileText());
    if (!ReadNetscape() && !c_.cancel) return;
    if (!c_.cancel && !GaveLinks("ブックマークファイル", s_.NNFileName)) return;
    if (!StartWriting()) return;
    Show(WritingIntoHotlistText());
    int noCancel = 0;
    const Io io{run_.owner, run_.bar, nullptr, noCancel};
    const int written = Took(engine_.SaveOperaFile(io, list_, s_.OPFileName)).links;
    c_.operaUrlCount += written;
    CountUnwritten(written);
  }

  const RunContext& run_;
  const Settings& s_;
  RunCounters& c_;
  TBookmarkControl& engine_;
  const Io io_;
  LostDataLog log_;
  BookmarkList list_;
  RunResult result_;
  std::vector<std::string> notes_;
};

}  // namespace

RunResult RunOperation(int proc, const RunContext& run) {
  run.counters = RunCounters();
  const RunResult result = Chain(run).Run(proc);
  run.bar.SetVisible(false);
  if (run.status) {
    run.status->SetCaption(result.complete ? SummaryLine(proc, run.counters) : InterruptedText());
    // The Favorites reader blinks the label once per folder and may leave it hidden.
    run.status->SetVisible(true);
  }
  return result;
}

std::string InterruptedText() {
  return Sjis("[ 処理が中断されました ]");
}

RunResult AutoProc(int autoOperation, const RunContext& run) {
  RunContext unattended = run;
  unattended.status = nullptr;
  if (autoOperation < kNnToIe || autoOperation > kMergeNnIe) return RunResult();
  return Chain(unattended).Run(autoOperation);
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
