#include "pages/duplicate_page.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cerrno>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/entry_names.h"
#include "core/operations.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"
#include "pages/page_look.h"
#include "pages/step_texts.h"
#include "platform/file_system.h"
#include "qtui/image_strip.h"
#include "qtui/sjis_qt.h"

namespace lf {
namespace {

constexpr int kNumberRole = Qt::UserRole;

}  // namespace

std::set<std::size_t> TForm07::Marks() const {
  return marks_ ? marks_->Marked() : std::set<std::size_t>();
}

std::string TForm07::UnsavedWhat() const {
  return Sjis("削除の指定");
}

void TForm07::showEvent(QShowEvent* event) {
  LeavingPage::showEvent(event);
  if (event->spontaneous() || activated_) return;
  // Read once the window has been painted.
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm07::FormActivate() {
  if (activated_ || step_ != Step::Idle) return;
  activated_ = true;
  step_ = Step::Reading;
  Settings& settings = AppSettings();
  RunCounters& counters = AppRun().counters;
  proc_ = settings.Proc;

  BeginReading({memo1_});
  list_ = std::make_unique<BookmarkList>();
  marks_ = std::make_unique<DuplicateMarks>();
  BookmarkList& list = *list_;

  listView_->clear();
  SetRedText(label1_, false);
  label1_->show();
  btnUrl1_->hide();
  btnUrl2_->hide();
  delUrl1_->clear();
  delUrl2_->clear();
  label3_->clear();
  owner_.ProcessMessagesNow();

  if (proc_ == kCheckNn) {
    status_.SetCaption(ReadingBookmarkFileText());
    control_.ReadBookmarkFile(owner_, settings.NNFileName, counters.cancel, counters.nnUrlCount,
                              nullptr, false, list, bar_, settings.IEDirName);
  } else if (proc_ == kCheckIe) {
    status_.SetCaption(ReadingFavoritesText());
    // The Favorites reader moves no bar of its own: the bar shows that it is at work.
    ShowBusyBar(barWidget_);
    const Report report = control_.LoadFavorites({owner_, bar_, &status_, counters.cancel}, list,
                                                 nullptr, settings.IEDirName);
    counters.ieUrlCount += report.links;
    counters.errorCount += report.errors;
    control_.SaveLostData(owner_, report);
  }

  // Both readers leave the list regrouped.
  if (!counters.cancel && !list.empty()) DblCheck();

  const bool found = listView_->topLevelItemCount() > 0;
  EndReading(!found && counters.cancel, found ? memo1_ : nullptr);
  if (found) {
    button4_->setEnabled(true);
    owner_.ProcessMessages();
  } else if (!counters.cancel) {
    ShowEndText(list.empty() ? Sjis("[ ＵＲＬの情報がありませんでした ]")
                             : Sjis("[ ダブリのデータはありません ]"),
                false);
  }
  FinishStep();
}

void TForm07::ShowEndText(const std::string& text, bool red) {
  status_.SetCaption(text);
  SetRedText(label1_, red);
  label1_->show();
}

void TForm07::DblCheck() {
  const BookmarkList& list = *list_;
  int& cancel = AppRun().counters.cancel;
  barWidget_->show();
  bar_.SetPosition(0);
  bar_.SetMax(static_cast<int>(list.size()) - 1);
  status_.SetCaption(Sjis("[ ＵＲＬダブリチェック中 ]"));
  owner_.ProcessMessagesNow();

  const std::vector<DuplicatePair> pairs = FindDuplicatePairs(list, [&](std::size_t i) {
    bar_.SetPosition(static_cast<int>(i));
    owner_.ProcessMessages();
    return cancel == 0;
  });
  marks_ = std::make_unique<DuplicateMarks>(pairs);
  AddRows(pairs);
}

std::string TForm07::ShownFolder(const std::string& entry) const {
  std::string folder = TBookmarkControl::FolderPart(entry);
  // The bookmark file has no folder of its own on disk: its links are shown relative to the
  // root path, which the reader takes without a trailing "\".
  if (proc_ == kCheckNn) {
    const std::size_t root = TBookmarkControl::RemoveBackslash(AppSettings().IEDirName).size();
    folder.erase(0, std::min(folder.size(), root));
  }
  // Shown as the system writes paths ("/" between the names on Linux).
  return platform::ShownPath(folder);
}

void TForm07::AddRows(const std::vector<DuplicatePair>& pairs) {
  const BookmarkList& list = *list_;
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(pairs.size()));
  for (const DuplicatePair& pair : pairs) {
    auto* row = new SjisItem();
    SetSjisText(row, kColumnName, LinkCaption(list[pair.first]));
    SetSjisText(row, kColumnFolder, ShownFolder(list[pair.first]));
    SetSjisText(row, kColumnDblFolder, ShownFolder(list[pair.second]));
    SetSjisText(row, kColumnNo, std::to_string(pair.first));
    SetSjisText(row, kColumnDblNo, std::to_string(pair.second));
    SetSjisText(row, kColumnDblName, LinkCaption(list[pair.second]));
    SetSjisText(row, kColumnUrl, std::string(ViewOf(list[pair.first]).url));
    for (int column : {kColumnName, kColumnFolder, kColumnDblName, kColumnDblFolder, kColumnUrl})
      row->setToolTip(column, row->text(column));
    row->setData(kColumnNo, kNumberRole, QVariant::fromValue<qulonglong>(pair.first));
    row->setData(kColumnDblNo, kNumberRole, QVariant::fromValue<qulonglong>(pair.second));
    row->setIcon(kColumnName, StripIcon(kImageLink));
    rows.push_back(row);
  }
  // Sorting once after all rows are in is much faster than keeping every insertion sorted.
  listView_->setSortingEnabled(false);
  listView_->addTopLevelItems(rows);
  listView_->setSortingEnabled(true);
  listView_->sortByColumn(kColumnName, Qt::AscendingOrder);
}

void TForm07::ListViewClick() {
  const QList<QTreeWidgetItem*> selected = listView_->selectedItems();
  if (selected.isEmpty()) return;
  QTreeWidgetItem* row = selected.first();
  delUrl1_->setText(row->text(kColumnFolder));
  delUrl2_->setText(row->text(kColumnDblFolder));
  side1_ = row->data(kColumnNo, kNumberRole).toULongLong();
  side2_ = row->data(kColumnDblNo, kNumberRole).toULongLong();
  NameDeleteButton(btnUrl1_, row->text(kColumnName));
  NameDeleteButton(btnUrl2_, row->text(kColumnDblName));
  label3_->setText(Jp("ＵＲＬ アドレス: ") + row->text(kColumnUrl));
  btnUrl1_->show();
  btnUrl2_->show();
}

void TForm07::URLdelete(int side) {
  const QList<QTreeWidgetItem*> selected = listView_->selectedItems();
  if (step_ == Step::Idle && marks_ && !selected.isEmpty()) {
    QTreeWidgetItem* row = selected.first();
    const int folderColumn = side == 1 ? kColumnFolder : kColumnDblFolder;
    const std::size_t number =
        row->data(side == 1 ? kColumnNo : kColumnDblNo, kNumberRole).toULongLong();
    bool mark = AppSettings().DBL == 1;
    if (marks_->LastCopy(number)) {
      owner_.MessageBox(Sjis("このＵＲＬの最後の１件は削除できません。\r"
                             "ほかの同じＵＲＬはすべて削除の指定がされています。"),
                        MessageCaption(), kMbIconError);
      mark = false;
    } else if (!mark) {
      // The question names the link this side would delete: the two links of a pair share
      // their URL, not always their name, and the row is named after its first one.
      const std::string name = list_ && number < list_->size() ? LinkCaption((*list_)[number])
                                                               : SjisText(row, kColumnName);
      const std::string question = Sjis("フォルダ 「 ") + SjisText(row, folderColumn) +
                                   Sjis(" 」にある\rＵＲＬ 「 ") + name +
                                   Sjis(" 」を削除しますか？");
      mark = owner_.MessageBox(question, MessageCaption(), kMbOkCancel | kMbIconQuestion) == kIdOk;
    }
    // The page may have been left while the question was open.
    if (mark && marks_ && listView_->indexOfTopLevelItem(row) >= 0) {
      if (marks_->Mark(number)) label2_->show();
      removingRow_ = true;
      delete row;
      listView_->clearSelection();
      removingRow_ = false;
    }
  }
  btnUrl1_->hide();
  btnUrl2_->hide();
  delUrl1_->clear();
  delUrl2_->clear();
  label3_->clear();
}

void TForm07::Button4Click() {
  if (step_ != Step::Idle || !list_ || !marks_) return;
  step_ = Step::Deleting;
  button4_->setEnabled(false);
  proc_ = AppSettings().Proc;
  removingRow_ = true;
  listView_->clear();
  removingRow_ = false;
  memo1_->hide();
  SetRedText(label1_, false);

  if (proc_ == kCheckIe)
    ShowEndText(DeleteMarkedFiles(), false);
  else if (proc_ == kCheckNn)
    WriteWithoutMarked();
  // The numbers no longer match the list once entries are gone.
  marks_->Clear();

  label2_->hide();
  FinishStep();
}

std::string TForm07::DeleteMarkedFiles() {
  const BookmarkList& list = *list_;
  const std::set<std::size_t>& marks = marks_->Marked();
  int deleted = 0;
  if (!marks.empty()) {
    barWidget_->show();
    bar_.SetPosition(0);
    bar_.SetMax(static_cast<int>(marks.size()) - 1);
    owner_.ProcessMessagesNow();
    int failed = 0, firstCode = 0;
    std::string firstFailed;
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
      bar_.StepIt();
      if (*it >= list.size()) continue;
      // A shortcut that is gone already is what was asked for.
      const int rc = DeleteUrlFile(list[*it]);
      if (rc == 0 || rc == ENOENT) {
        ++deleted;
        continue;
      }
      if (failed++ == 0) {
        firstFailed = TBookmarkControl::FolderPart(list[*it]) + NameWithSuffix(list[*it]);
        firstCode = rc;
      }
    }
    barWidget_->hide();
    if (failed > 0) ShowDeleteFailures(failed, firstFailed, firstCode);
  }
  return Sjis("[ ＵＲＬファイル ") + std::to_string(deleted) + Sjis(" 件を削除しました ]");
}

void TForm07::WriteWithoutMarked() {
  BookmarkList& list = *list_;
  const std::set<std::size_t>& marks = marks_->Marked();
  // One pass that keeps every unmarked entry in its order.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (marks.contains(i)) continue;
    if (kept != i) list[kept] = std::move(list[i]);
    ++kept;
  }
  const std::size_t removed = list.size() - kept;
  list.resize(kept);
  removed_ += static_cast<int>(removed);
  owner_.ProcessMessages();
  int noCancel = 0;
  const Report report =
      control_.SaveBookmarkFile({owner_, bar_, nullptr, noCancel}, AppSettings().NNFileName, list);
  AppRun().counters.nnUrlCount += report.links;
  barWidget_->hide();
  // The list holds what the file should: "実行" stays to write it again.
  unwritten_ = report.Failed();
  button4_->setEnabled(unwritten_);
  if (unwritten_) {
    ShowEndText(NotWrittenText(), true);
    return;
  }
  ShowEndText(Sjis("[ ＵＲＬ ") + std::to_string(removed_) + Sjis(" 件を削除しました ] ") +
                  WrittenText(Collection::BookmarkFile, report.links, FolderEntries(list)),
              false);
  removed_ = 0;
}

void TForm07::ShowDeleteFailures(int count, const std::string& first, int code) {
  owner_.MessageBox(Sjis("ＵＲＬファイル ") + std::to_string(count) +
                        Sjis(" 件の削除が出来ませんでした。\r[ ") + platform::ShownPath(first) +
                        Sjis(" ] など\r[ ") + platform::ErrorText(code) + Sjis(" ]"),
                    MessageCaption(), kMbIconError);
}

int TForm07::DeleteUrlFile(const std::string& entry) {
  // The Favorites reader keeps the shortcut's own file name after the link marker, its
  // extension in whatever letter case it was written ("c.URL"). Deleting by that very name
  // finds the file on a file system that tells case apart, and never takes a neighbour whose
  // name differs only in the extension's case ("c.url" beside "c.URL") in its place.
  const std::string folder = TBookmarkControl::FolderPart(entry);
  const std::string name = NameWithSuffix(entry);
  if (folder.empty() || name.empty()) return ENOENT;
  return platform::DeleteFile(folder + name);
}

void TForm07::Button1Click() {
  close();
}

void TForm07::Button2Click() {
  GoBack();
}

void TForm07::ReleaseLists() {
  list_.reset();
  marks_.reset();
}

void TForm07::FinishStep() {
  step_ = Step::Idle;
  LeaveIfAsked();
}

}  // namespace lf
