#include "pages/transfer_page.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include "core/app_state.h"
#include "core/entry_names.h"
#include "core/favorites_writeback.h"
#include "core/operations.h"
#include "engine/sjis_text.h"
#include "engine/status_texts.h"
#include "pages/button_row.h"
#include "pages/page_look.h"
#include "pages/step_texts.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "qtui/image_strip.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"
#include "qtui/window_places.h"

namespace lf {
namespace {

// The page's topic in the help file (there is no help viewer).
constexpr int kTransferHelpContext = 20;

// The page's key in the settings file.
constexpr char kPlaceName[] = "Transfer";

constexpr int kMinWidth = 420;
constexpr int kMinHeight = 335;

QPlainTextEdit* NewMemo(QWidget* parent, const char* name, const char* utf8) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->viewport()->setAutoFillBackground(false);
  memo->setFocusPolicy(Qt::NoFocus);
  memo->setPlainText(QString::fromUtf8(utf8));
  FitMemo(memo);
  KeepRoomWhenHidden(memo);
  memo->hide();
  return memo;
}

QTreeWidget* NewTree(QWidget* parent, const char* name) {
  auto* tree = new QTreeWidget(parent);
  tree->setObjectName(name);
  tree->setHeaderHidden(true);
  tree->setColumnCount(1);
  tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  return tree;
}

// A report-style list of links: read-only, several items selectable, sorted by name.
QTreeWidget* NewUrlList(QWidget* parent, const char* name) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(name);
  list->setColumnCount(1);
  list->setHeaderLabels({Jp("URL 名称")});
  list->setColumnWidth(0, EmWidth(list, 22));
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->header()->setSectionsClickable(false);
  list->setSortingEnabled(true);
  list->sortByColumn(0, Qt::AscendingOrder);
  return list;
}

}  // namespace

TForm03::TForm03(QWidget* page1)
    : LeavingPage(page1, kSecondPageFlags, kPlaceName),
      owner_(this),
      label1_(new QLabel(Jp(kFirstStatusText), this)),
      memo1_(NewMemo(this, "Memo1",
                     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークを「コピー」で選択し\n"
                     "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルフォルダを\n"
                     "選択して「張り付け」を押して追加してください。")),
      memo2_(NewMemo(this, "Memo2",
                     "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ のお気に入りファイルを「コピー」で選択し \n"
                     "Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルのフォルダを\n"
                     "選択して「張り付け」を押して追加してください。")),
      barWidget_(new QProgressBar(this)),
      bitBtn1_(new QPushButton(Jp("コピー"), this)),
      bitBtn2_(new QPushButton(Jp("貼り付け"), this)),
      panel1_(new QSplitter(Qt::Horizontal, this)),
      panel2_(new QSplitter(Qt::Horizontal, this)),
      treeView1_(NewTree(panel1_, "TreeView1")),
      listView1_(NewUrlList(panel1_, "ListView1")),
      treeView2_(NewTree(panel2_, "TreeView2")),
      listView2_(NewUrlList(panel2_, "ListView2")),
      button1_(NewRowButton(this, 1)),
      button2_(NewRowButton(this, 2)),
      button3_(NewRowButton(this, 3)),
      button4_(NewRowButton(this, 4)),
      bar_(barWidget_),
      status_(label1_),
      tree1_(treeView1_),
      tree2_(treeView2_),
      items1_(listView1_),
      items2_(listView2_) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("Form03"));
  setWindowTitle(QStringLiteral("Linkferry (2/2)"));
  setFont(PageFont());
  setProperty("HelpContext", kTransferHelpContext);
  proc_ = AppSettings().Proc;
  UseSettings(control_, AppSettings());
  control_.LostDataFolder = AppRun().lostDataFolder;
  SetStepControls(button1_, button2_, button4_, label1_, barWidget_);

  label1_->setObjectName("Label1");
  barWidget_->setObjectName("Bar");
  bitBtn1_->setObjectName("BitBtn1");
  bitBtn2_->setObjectName("BitBtn2");

  barWidget_->setRange(0, 100);
  barWidget_->setTextVisible(false);
  barWidget_->hide();
  KeepRoomWhenHidden(label1_);
  KeepRoomWhenHidden(barWidget_);
  label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  bitBtn1_->setIcon(StripIcon(kImageLink));
  bitBtn2_->setIcon(StripIcon(kImageOpenFolder));
  for (QPushButton* button : {bitBtn1_, bitBtn2_}) {
    KeepRoomWhenHidden(button);
    button->hide();
  }
  for (QSplitter* panel : {panel1_, panel2_}) panel->setChildrenCollapsible(false);
  LayOut();

  connect(treeView1_, &QTreeWidget::itemClicked, this, [this] { TreeView1Click(); });
  connect(treeView1_, &QTreeWidget::currentItemChanged, this, [this] { TreeView1Click(); });
  connect(treeView2_, &QTreeWidget::itemClicked, this, [this] { TreeView2Click(); });
  connect(treeView2_, &QTreeWidget::currentItemChanged, this, [this] { TreeView2Click(); });
  connect(bitBtn1_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(bitBtn2_, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(button2_, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(button4_, &QPushButton::clicked, this, [this] { Button4Click(); });

  setMinimumSize(kMinWidth, kMinHeight);
  SizeWindow(this, kPlaceName, DefaultSize(), page1_);
}

// The memos and the status above the two sides; above each side's list its button; the row
// of buttons at the foot.
void TForm03::LayOut() {
  auto* memos = new QGridLayout;
  memos->addWidget(memo1_, 0, 0);
  memos->addWidget(memo2_, 0, 0);
  auto* status = new QHBoxLayout;
  status->addWidget(label1_, 1);
  status->addWidget(barWidget_, 1);

  auto* sides = new QGridLayout;
  sides->addWidget(bitBtn1_, 0, 0, Qt::AlignRight);
  sides->addWidget(bitBtn2_, 0, 1, Qt::AlignRight);
  sides->addWidget(panel1_, 1, 0);
  sides->addWidget(panel2_, 1, 1);
  sides->setColumnStretch(0, 1);
  sides->setColumnStretch(1, 1);
  sides->setRowStretch(1, 1);

  auto* page = new QVBoxLayout(this);
  page->addLayout(memos);
  page->addLayout(status);
  page->addLayout(sides, 1);
  page->addLayout(ButtonRowLayout({button1_, button2_, button3_, button4_}));

  const int treeWidth = FolderTreeWidth(treeView1_);
  for (QSplitter* panel : {panel1_, panel2_}) {
    panel->setSizes({treeWidth, listView1_->columnWidth(0) + EmWidth(this, 2)});
    panel->setStretchFactor(0, 1);
    panel->setStretchFactor(1, 1);
  }
}

// Both sides with room for the deepest folder of a large collection and for link names.
QSize TForm03::DefaultSize() const {
  const int side = FolderTreeWidth(treeView1_) + listView1_->columnWidth(0) + EmWidth(this, 2);
  return QSize(std::max(2 * side + EmWidth(this, 2), sizeHint().width()), EmWidth(this, 46));
}

TForm03::~TForm03() = default;

BookmarkList TForm03::CopyBuffer() const {
  return copyBuffer_ ? *copyBuffer_ : BookmarkList();
}

BookmarkList TForm03::TargetList() const {
  return target_ ? *target_ : BookmarkList();
}

void TForm03::showEvent(QShowEvent* event) {
  LeavingPage::showEvent(event);
  if (event->spontaneous() || activated_) return;
  // Load once the window has been painted.
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm03::FormActivate() {
  if (activated_ || step_ != Step::Idle) return;
  activated_ = true;
  step_ = Step::Loading;
  const Settings& settings = AppSettings();
  RunCounters& counters = AppRun().counters;

  BeginReading({memo1_, memo2_});
  copyBuffer_ = std::make_unique<BookmarkList>();
  target_ = std::make_unique<BookmarkList>();
  source_ = std::make_unique<BookmarkList>();
  treeView1_->setEnabled(false);
  treeView2_->setEnabled(false);

  // The bookmark file read takes the page's cancel flag, so "キャンセル" ends either read.
  // Each read says whether it failed: a target that is there and could not be read must not
  // be replaced by the pasted links.
  const Io io{owner_, bar_, &status_, counters.cancel};
  auto loadBookmarkFile = [&](BookmarkList& list, QtTreeView& tree) {
    const Report report =
        control_.ReadBookmarkFile(io, settings.NNFileName, list, settings.IEDirName, &tree);
    bar_.SetVisible(false);
    return report.Failed() && platform::PathExists(settings.NNFileName);
  };
  auto loadFavorites = [&](BookmarkList& list, QtTreeView& tree) {
    // The Favorites reader moves no bar of its own: the bar shows that it is at work.
    ShowBusyBar(barWidget_);
    const Report report = control_.LoadFavorites(io, list, &tree, settings.IEDirName);
    counters.ieUrlCount += report.links;
    counters.errorCount += report.errors;
    control_.SaveLostData(owner_, report);
    return report.Failed();
  };
  if (proc_ == kAddNnToIe)
    loadBookmarkFile(*source_, tree1_);
  else
    loadFavorites(*source_, tree1_);
  if (!counters.cancel) {
    if (proc_ == kAddNnToIe) {
      targetUnread_ = loadFavorites(*target_, tree2_);
      ownShortcuts_ = ShortcutFilesOf(*target_);
    } else {
      targetUnread_ = loadBookmarkFile(*target_, tree2_);
    }
  }

  EndReading(counters.cancel != 0, proc_ == kAddNnToIe ? memo1_ : memo2_);
  if (counters.cancel) {
    listView1_->setEnabled(false);
    listView2_->setEnabled(false);
    bitBtn1_->setEnabled(false);
    bitBtn2_->setEnabled(false);
  }
  treeView1_->setEnabled(true);
  treeView2_->setEnabled(true);
  // Open the root nodes so that the top-level folders can be clicked at once.
  treeView1_->expandToDepth(0);
  treeView2_->expandToDepth(0);
  bitBtn1_->show();
  bitBtn2_->show();
  FinishStep();
}

std::string TForm03::FolderPath(const QtTreeView& tree) const {
  // The readers file everything under the setting without a trailing "\".
  return TBookmarkControl::SelectedFolderPath(
      TBookmarkControl::RemoveBackslash(AppSettings().IEDirName), tree);
}

std::string TForm03::UnsavedWhat() const {
  return Sjis("貼り付けたＵＲＬ");
}

void TForm03::TreeView1Click() {
  if (step_ == Step::Loading || !source_ || tree1_.Selected() == TreeView::kNoNode) return;
  sourceFolder_ = FolderPath(tree1_);
  // A mouse click makes a node current and then clicks it; the source list never changes.
  if (sourceFolder_ == shown1_) return;
  shown1_ = sourceFolder_;
  TBookmarkControl::FillUrlList(sourceFolder_, *source_, items1_);
}

void TForm03::TreeView2Click() {
  if (step_ == Step::Loading || !target_) return;
  const TreeView::Node node = tree2_.Selected();
  if (node == TreeView::kNoNode) return;
  targetFolder_ = FolderPath(tree2_);
  targetLevel_ = tree2_.Level(node);
  // The target list changes only by a paste, which shows the folder again itself.
  if (targetFolder_ == shown2_) return;
  shown2_ = targetFolder_;
  TBookmarkControl::FillUrlList(targetFolder_, *target_, items2_);
}

std::unordered_map<std::string, const Entry*> TForm03::FolderLinks() const {
  std::unordered_map<std::string, const Entry*> links;
  const std::string prefix = sourceFolder_ + std::string(kLinkMarker);
  for (const Entry& entry : *source_) {
    if (entry.compare(0, prefix.size(), prefix) != 0) continue;
    if (TBookmarkControl::EntryUrl(entry).empty()) continue;
    // A folder name holding a scheme ("http:") makes the URL start early and the entry path
    // end before the folder path does.
    const std::string path = TBookmarkControl::EntryKey(entry);
    if (path.size() < prefix.size() + 5) continue;
    links.try_emplace(path.substr(prefix.size(), path.size() - prefix.size() - 5), &entry);
  }
  return links;
}

void TForm03::BitBtn1Click() {
  if (!copyBuffer_ || !source_) return;
  copyBuffer_->clear();
  if (sourceFolder_.empty()) return;
  // One pass over the list for all items: copying a whole large folder must not search the
  // list once per item.
  const std::unordered_map<std::string, const Entry*> links = FolderLinks();
  for (int i = listView1_->topLevelItemCount() - 1; i >= 0; --i) {
    const QTreeWidgetItem* item = listView1_->topLevelItem(i);
    if (!item->isSelected()) continue;
    const auto found = links.find(SjisText(item, 0));
    if (found != links.end()) copyBuffer_->push_back(*found->second);
  }
}

void TForm03::BitBtn2Click() {
  // The target list must not change under a running write.
  if (step_ != Step::Idle || !copyBuffer_ || !target_) return;
  if (copyBuffer_->empty()) {
    owner_.MessageBox(Sjis("追加するＵＲＬファイルを選択していません。選択してください。"),
                      MessageCaption(), kMbIconError);
    return;
  }
  if (targetFolder_.empty()) {
    owner_.MessageBox(Sjis("格納するフォルダを選択していません。選択してください。"),
                      MessageCaption(), kMbIconError);
    return;
  }
  for (const Entry& entry : *copyBuffer_) {
    const EntryView link = ViewOf(entry);
    // The link takes what it carries along (its dates, keyword, icon).
    target_->push_back(MakeShortcutEntry(targetFolder_, link.leaf, targetLevel_, link.url));
    target_->back().props = entry.props;
  }
  TBookmarkControl::Regroup(*target_, control_.ListOrder);
  TBookmarkControl::FillUrlList(targetFolder_, *target_, items2_);
  shown2_ = targetFolder_;
  dirty_ = true;
  button4_->setEnabled(true);
}

void TForm03::Button4Click() {
  if (step_ != Step::Idle || !target_) return;
  if (targetUnread_) {
    owner_.MessageBox(Sjis("追加先を読み込めなかったため、書き込みは行いません。"),
                      MessageCaption(), kMbIconError | kMbOk);
    return;
  }
  step_ = Step::Writing;
  button4_->setEnabled(false);
  const Settings& settings = AppSettings();
  RunCounters& counters = AppRun().counters;

  memo1_->hide();
  memo2_->hide();
  SetRedText(label1_, false);
  label1_->show();
  owner_.BeginRun();
  // Whether everything reached the disk: what the writer says it did.
  Report report;
  if (proc_ == kAddNnToIe) {
    status_.SetCaption(Sjis("[お気に入りファイルの書き込み]"));
    owner_.ProcessMessagesNow();
    barWidget_->show();
    report =
        control_.SaveFavorites({owner_, bar_, nullptr, counters.cancel}, *target_, &ownShortcuts_);
    ShowNotes(owner_, report.notes);
    counters.ieUrlCount += report.links;
    counters.errorCount += report.errors;
    if (!report.cancelled && !control_.SaveLostData(owner_, report))
      report.failures.push_back(std::string());
    barWidget_->hide();
    memo1_->show();
  } else {
    status_.SetCaption(Sjis("[ブックマークファイルの書き込み]"));
    int noCancel = 0;
    report =
        control_.SaveBookmarkFile({owner_, bar_, nullptr, noCancel}, settings.NNFileName, *target_);
    counters.nnUrlCount += report.links;
    memo2_->show();
  }
  const bool written = report.Clean() && !report.cancelled && !counters.cancel;
  button2_->setEnabled(true);
  if (written) {
    dirty_ = false;
    button4_->setEnabled(false);
    // The bookmark file is written whole, every folder of the list with its links.
    const bool favorites = proc_ == kAddNnToIe;
    status_.SetCaption(WrittenText(favorites ? Collection::Favorites : Collection::BookmarkFile,
                                   report.links,
                                   favorites ? report.folders : FolderEntries(*target_)));
  } else {
    // The pasted links are still only on the page: "実行" stays to write them again.
    (proc_ == kAddNnToIe ? memo1_ : memo2_)->hide();
    status_.SetCaption(NotWrittenText());
    SetRedText(label1_, true);
    label1_->show();
    button4_->setEnabled(true);
  }
  FinishStep();
}

void TForm03::Button1Click() {
  close();
}

void TForm03::Button2Click() {
  GoBack();
}

void TForm03::ReleaseLists() {
  dirty_ = false;
  target_.reset();
  copyBuffer_.reset();
  source_.reset();
}

void TForm03::FinishStep() {
  step_ = Step::Idle;
  LeaveIfAsked();
}

}  // namespace lf
