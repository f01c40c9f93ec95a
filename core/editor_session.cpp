#include "core/editor_session.h"

#include "core/operations.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"
#include "platform/file_system.h"

namespace lf {

EditorSession::EditorSession(const Settings& settings, RunCounters& counters)
    : settings_(settings), counters_(counters) {
  UseSettings(control_, settings);
  control_.LostDataFolder = AppRun().lostDataFolder;
}

EditorSession::~EditorSession() = default;

bool EditorSession::EditsBookmarkFile() const {
  return settings_.Proc == kEditNn;
}

std::string EditorSession::RootPath() const {
  return TBookmarkControl::RemoveBackslash(settings_.IEDirName);
}

void EditorSession::Changed() {
  dirty_ = true;
  ++version_;
}

void EditorSession::Release() {
  list_.reset();
  writeBack_.reset();
  unread_ = false;
  dirty_ = false;
}

bool EditorSession::Load(Owner& owner, StatusLabel& status, ProgressBar& bar, TreeView& tree) {
  list_ = std::make_unique<BookmarkList>();
  RunCounters& run = counters_;
  const int proc = settings_.Proc;
  const Io io{owner, bar, &status, run.cancel};
  bool& unread = unread_;
  if (proc == kEditIe) {
    const Report report = control_.LoadFavorites(io, *list_, &tree, settings_.IEDirName);
    run.ieUrlCount += report.links;
    run.errorCount += report.errors;
    control_.SaveLostData(owner, report);
    unread = report.Failed();
  } else if (proc == kEditNn) {
    const Report report =
        control_.ReadBookmarkFile(io, settings_.NNFileName, *list_, settings_.IEDirName, &tree);
    bar.SetVisible(false);
    unread = report.Failed() && platform::PathExists(settings_.NNFileName);
  }
  if (run.cancel || unread) return false;
  ready_ = true;
  // What the reader took in is what a write may later replace or delete.
  if (proc == kEditIe) {
    MarkShortcutFiles(*list_);
    writeBack_ = std::make_unique<FavoritesWriteBack>(RootPath(), *list_);
  }
  return true;
}

bool EditorSession::Merge(Owner& owner, StatusLabel& status, ProgressBar& bar,
                          const std::string& file) {
  status.SetCaption(ReadingBookmarkFileText());
  control_.ReadBookmarkFile(owner, file, counters_.cancel, counters_.nnUrlCount, nullptr, false,
                            *list_, bar, settings_.IEDirName);
  Changed();
  return !counters_.cancel;
}

WriteBackResult EditorSession::Write(Owner& owner, StatusLabel& status, ProgressBar& bar) {
  WriteBackResult result;
  const int proc = settings_.Proc;
  if (proc == kEditIe && writeBack_) {
    status.SetCaption(Sjis("[ お気に入りファイルの書き込み ]"));
    result = writeBack_->Write(control_, owner, bar, counters_, *list_);
  } else if (proc == kEditNn) {
    status.SetCaption(Sjis("[ ブックマークファイルの書き込み ]"));
    // The bookmark file is written in one go, whatever the back button asked meanwhile: it
    // is complete then, and the page must not call it interrupted.
    int noCancel = 0;
    const Report report =
        control_.SaveBookmarkFile({owner, bar, nullptr, noCancel}, settings_.NNFileName, *list_);
    counters_.nnUrlCount += report.links;
    result.failures = static_cast<int>(report.failures.size());
    result.written = !report.Failed();
  }
  if (result.written && result.filesNotDeleted == 0) dirty_ = false;
  return result;
}

std::string WriteResultText(const WriteBackResult& result) {
  if (result.linksNotWritten > 0) {
    return Sjis("[ ＵＲＬ ") + std::to_string(result.linksNotWritten) +
           Sjis(
               " 件が書き込めませんでした（ＬｏｓｔＤａｔａ．ｔｘｔ）。「実行」で再度書き込めます "
               "]");
  }
  if (!result.written) return NotWrittenText();
  if (result.filesNotDeleted > 0) {
    return Sjis("[ ＵＲＬファイル ") + std::to_string(result.filesNotDeleted) +
           Sjis(" 件が削除できませんでした ]");
  }
  return std::string();
}

}  // namespace lf
