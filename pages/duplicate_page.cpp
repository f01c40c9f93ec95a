#include "pages/duplicate_page.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
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
#include "pages/button_row.h"
#include "pages/page_look.h"
#include "platform/file_system.h"
#include "qtui/image_strip.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"

namespace lf {
namespace {

constexpr int kColumnName = 0;
constexpr int kColumnFolder = 1;
constexpr int kColumnDblFolder = 2;
constexpr int kColumnNo = 3;
constexpr int kColumnDblNo = 4;
constexpr int kNumberRole = Qt::UserRole;

// The page's topic in the help file (there is no help viewer).
constexpr int kDuplicateHelpContext = 14;

constexpr int kMinWidth = 420;
constexpr int kMinHeight = 335;
constexpr int kListTop = 84;

// The folder of one side of the row last clicked. A path longer than the label keeps its start
// and its end, where the folders that tell the two copies apart stand, and shows itself whole
// as the hint; cut at the right, two long paths read alike.
class FolderLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) setToolTip(text());
    return QLabel::event(event);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect area = contentsRect();
    style()->drawItemText(&painter, area, alignment(), palette(), isEnabled(),
                          fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()),
                          foregroundRole());
  }
};

}  // namespace

TForm07::TForm07(QWidget* page1)
    : LeavingPage(page1, kSecondPageFlags),
      owner_(this),
      image0_(new QLabel(this)),
      label1_(new QLabel(this)),
      memo1_(new QPlainTextEdit(this)),
      delUrl1_(new FolderLabel(this)),
      delUrl2_(new FolderLabel(this)),
      btnUrl1_(new QPushButton(this)),
      btnUrl2_(new QPushButton(this)),
      label2_(new QLabel(this)),
      barWidget_(new QProgressBar(this)),
      listView_(new QTreeWidget(this)),
      button1_(NewRowButton(this, 1)),
      button2_(NewRowButton(this, 2)),
      button3_(NewRowButton(this, 3)),
      button4_(NewRowButton(this, 4)),
      bar_(barWidget_),
      status_(label1_) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("Form07"));
  setWindowTitle(QStringLiteral("Linkferry (2/2)"));
  setFont(PageFont());
  setProperty("HelpContext", kDuplicateHelpContext);
  proc_ = AppSettings().Proc;
  control_.OutputCharset = AppSettings().Out;
  control_.LostDataFolder = AppRun().lostDataFolder;
  SetStepControls(button1_, button2_, button4_, label1_, barWidget_);

  NameControls();
  SetUpHeader();
  SetUpPairList();
  ConnectHandlers();
  button4_->setEnabled(false);

  setMinimumSize(kMinWidth, kMinHeight);
  resize(420, 375);
}

// The controls carry the names the page's handlers and tests know them by.
void TForm07::NameControls() {
  image0_->setObjectName("Image0");
  label1_->setObjectName("Label1");
  memo1_->setObjectName("Memo1");
  delUrl1_->setObjectName("DelURL1");
  delUrl2_->setObjectName("DelURL2");
  btnUrl1_->setObjectName("BtnURL1");
  btnUrl2_->setObjectName("BtnURL2");
  label2_->setObjectName("Label2");
  barWidget_->setObjectName("Bar");
  listView_->setObjectName("ListView");
}

// The icon, status and instructions, and the two sides of the pair last clicked.
void TForm07::SetUpHeader() {
  image0_->setPixmap(StripIcon(kImageLink).pixmap(32, 32));
  image0_->setGeometry(8, 4, 32, 32);
  label1_->setGeometry(48, 10, 364, 18);
  memo1_->setGeometry(46, 2, 368, 36);
  memo1_->setReadOnly(true);
  memo1_->setFrameShape(QFrame::NoFrame);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo1_->viewport()->setAutoFillBackground(false);
  memo1_->setPlainText(
      Jp("下記のListに表示されたものが、ダブリのものです。\n"
         "クリックして削除するＵＲＬのボタンを押してください。"));
  memo1_->hide();
  barWidget_->setGeometry(48, 40, 364, 12);
  barWidget_->setRange(0, 100);
  barWidget_->setTextVisible(false);
  label2_->setGeometry(48, 38, 364, 16);
  label2_->setText(Jp("[ファイルへの反映は実行を押してください]"));
  SetRedText(label2_, true);
  label2_->hide();
  for (QPushButton* button : {btnUrl1_, btnUrl2_}) {
    button->setIcon(StripIcon(kImageLink));
    button->setToolTip(Jp("URLの削除"));
    button->hide();
  }
  btnUrl1_->setGeometry(8, 58, 24, 22);
  delUrl1_->setGeometry(36, 60, 170, 18);
  btnUrl2_->setGeometry(212, 58, 24, 22);
  delUrl2_->setGeometry(240, 60, 172, 18);
}

// The pairs: name, both folders and both entry numbers, sorted by name.
void TForm07::SetUpPairList() {
  listView_->setColumnCount(5);
  listView_->setHeaderLabels({Jp("URL 名称"), Jp("URL フォルダ"), Jp("Dbl URL フォルダ"),
                              QStringLiteral("URL No."), QStringLiteral("Dbl URL No.")});
  listView_->setColumnWidth(kColumnName, 180);
  listView_->setColumnWidth(kColumnFolder, 200);
  listView_->setColumnWidth(kColumnDblFolder, 200);
  listView_->setColumnWidth(kColumnNo, 10);
  listView_->setColumnWidth(kColumnDblNo, 10);
  listView_->setRootIsDecorated(false);
  listView_->setUniformRowHeights(true);
  listView_->setAllColumnsShowFocus(true);
  // Names and folders too long for their columns keep their start and their end: the folders
  // that tell the two copies apart stand at the end of the paths.
  listView_->setTextElideMode(Qt::ElideMiddle);
  listView_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listView_->header()->setSectionsClickable(false);
  listView_->setSortingEnabled(true);
  listView_->sortByColumn(kColumnName, Qt::AscendingOrder);
}

// Every control to its handler.
void TForm07::ConnectHandlers() {
  // A row is chosen by mouse or keyboard alike.
  connect(listView_, &QTreeWidget::itemClicked, this, [this] { ListViewClick(); });
  connect(listView_, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (!removingRow_) ListViewClick();
  });
  connect(btnUrl1_, &QPushButton::clicked, this, [this] { BtnURL1Click(); });
  connect(btnUrl2_, &QPushButton::clicked, this, [this] { BtnURL2Click(); });
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(button2_, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(button4_, &QPushButton::clicked, this, [this] { Button4Click(); });
}

TForm07::~TForm07() = default;

std::set<std::size_t> TForm07::Marks() const {
  return marks_ ? marks_->Marked() : std::set<std::size_t>();
}

std::string TForm07::UnsavedWhat() const {
  return Sjis("削除の指定");
}

void TForm07::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous() || activated_) return;
  PlaceOnPage1(this, page1_);
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
  owner_.ProcessMessagesNow();

  if (proc_ == kCheckNn) {
    status_.SetCaption(ReadingBookmarkFileText());
    control_.ReadBookmarkFile(owner_, settings.NNFileName, counters.cancel, counters.nnUrlCount,
                              nullptr, false, list, bar_, settings.IEDirName);
  } else if (proc_ == kCheckIe) {
    status_.SetCaption(ReadingFavoritesText());
    barWidget_->hide();
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
  return folder;
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
      mark = owner_.MessageBox(question, MessageCaption(), kMbOkCancel | kMbIconError) == kIdOk;
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
}

void TForm07::Button4Click() {
  if (step_ != Step::Idle || !list_ || !marks_) return;
  step_ = Step::Deleting;
  button4_->setEnabled(false);
  proc_ = AppSettings().Proc;
  BookmarkList& list = *list_;
  const std::set<std::size_t>& marks = marks_->Marked();
  removingRow_ = true;
  listView_->clear();
  removingRow_ = false;

  if (proc_ == kCheckIe) {
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
        if (rc == 0 || rc == ENOENT) continue;
        if (failed++ == 0) {
          firstFailed = TBookmarkControl::FolderPart(list[*it]) + NameWithSuffix(list[*it]);
          firstCode = rc;
        }
      }
      barWidget_->hide();
      if (failed > 0) ShowDeleteFailures(failed, firstFailed, firstCode);
    }
  } else if (proc_ == kCheckNn) {
    // One pass that keeps every unmarked entry in its order.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (marks.contains(i)) continue;
      if (kept != i) list[kept] = std::move(list[i]);
      ++kept;
    }
    list.resize(kept);
    owner_.ProcessMessages();
    RunCounters& counters = AppRun().counters;
    control_.SaveBookmarkFile(owner_, bar_, counters.nnUrlCount, AppSettings().NNFileName, list);
  }
  // The numbers no longer match the list once entries are gone.
  marks_->Clear();

  button4_->setEnabled(false);
  label2_->hide();
  FinishStep();
}

void TForm07::ShowDeleteFailures(int count, const std::string& first, int code) {
  owner_.MessageBox(Sjis("ＵＲＬファイル ") + std::to_string(count) +
                        Sjis(" 件の削除が出来ませんでした。\r[ ") + first + Sjis(" ] など\r[ ") +
                        platform::ErrorText(code) + Sjis(" ]"),
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

void TForm07::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int w = width(), h = height();
  listView_->setGeometry(5, kListTop, w - 10, h - 135);
  PlaceButtonRow({button1_, button2_, button3_, button4_}, w, h);
}

}  // namespace lf
