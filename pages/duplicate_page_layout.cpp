// The duplicate check page's window: its controls, their captions and hints, the columns of
// the pairs and where everything sits.
#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "core/app_state.h"
#include "pages/button_row.h"
#include "pages/duplicate_page.h"
#include "pages/page_look.h"
#include "qtui/image_strip.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"
#include "qtui/window_places.h"

namespace lf {
namespace {

// The page's key in the settings file.
constexpr char kPlaceName[] = "Duplicate";

// The page's topic in the help file (there is no help viewer).
constexpr int kDuplicateHelpContext = 14;

constexpr int kMinWidth = 420;
constexpr int kMinHeight = 335;

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
    : LeavingPage(page1, kSecondPageFlags, kPlaceName),
      owner_(this),
      image0_(new QLabel(this)),
      label1_(new QLabel(this)),
      memo1_(new QPlainTextEdit(this)),
      delUrl1_(new FolderLabel(this)),
      delUrl2_(new FolderLabel(this)),
      btnUrl1_(new QPushButton(this)),
      btnUrl2_(new QPushButton(this)),
      label2_(new QLabel(this)),
      label3_(new QLabel(this)),
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
  UseSettings(control_, AppSettings());
  control_.LostDataFolder = AppRun().lostDataFolder;
  SetStepControls(button1_, button2_, button4_, label1_, barWidget_);

  NameControls();
  SetUpHeader();
  SetUpPairList();
  ConnectHandlers();
  button4_->setEnabled(false);
  LayOut();

  setMinimumSize(kMinWidth, kMinHeight);
  SizeWindow(this, kPlaceName, DefaultSize(), page1_);
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
  label3_->setObjectName("Label3");
  barWidget_->setObjectName("Bar");
  listView_->setObjectName("ListView");
}

// The icon, status and instructions, and the two sides of the pair last clicked.
void TForm07::SetUpHeader() {
  image0_->setPixmap(StripPicture(kImageLink, 32, devicePixelRatioF()));
  label1_->setWordWrap(true);
  label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  memo1_->setReadOnly(true);
  memo1_->setFocusPolicy(Qt::NoFocus);
  memo1_->setFrameShape(QFrame::NoFrame);
  memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo1_->viewport()->setAutoFillBackground(false);
  memo1_->setPlainText(
      Jp("下記のListに表示されたものが、ダブリのものです。\n"
         "クリックして削除するＵＲＬのボタンを押してください。"));
  FitMemo(memo1_);
  memo1_->hide();
  barWidget_->setRange(0, 100);
  barWidget_->setTextVisible(false);
  label2_->setText(Jp("[ファイルへの反映は実行を押してください]"));
  SetRedText(label2_, true);
  label2_->hide();
  for (QPushButton* button : {btnUrl1_, btnUrl2_}) {
    button->setIcon(StripIcon(kImageLink));
    button->setToolTip(Jp("URLの削除"));
    button->hide();
  }
  label3_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (QWidget* widget : std::initializer_list<QWidget*>{
           label1_, memo1_, barWidget_, label2_, btnUrl1_, btnUrl2_, delUrl1_, delUrl2_, label3_})
    KeepRoomWhenHidden(widget);
}

// The pairs: name, both folders and both entry numbers, sorted by name.
void TForm07::SetUpPairList() {
  listView_->setColumnCount(kColumnCount);
  listView_->setHeaderLabels({Jp("URL 名称"), Jp("URL フォルダ"), Jp("Dbl URL フォルダ"),
                              QStringLiteral("URL No."), QStringLiteral("Dbl URL No."),
                              Jp("Dbl URL 名称"), Jp("URL アドレス")});
  // The widths in full-width characters, in the order the columns are shown: both links,
  // each with its name and folder, then the address they share; the entry numbers last.
  constexpr std::pair<int, int> kColumnEms[] = {{kColumnName, 18},
                                                {kColumnFolder, 15},
                                                {kColumnDblName, 18},
                                                {kColumnDblFolder, 15},
                                                {kColumnUrl, 22}};
  QHeaderView* header = listView_->header();
  for (int shown = 0; shown < static_cast<int>(std::size(kColumnEms)); ++shown) {
    const auto [column, ems] = kColumnEms[shown];
    header->moveSection(header->visualIndex(column), shown);
    listView_->setColumnWidth(column, EmWidth(listView_, ems));
  }
  for (int column : {kColumnNo, kColumnDblNo})
    listView_->setColumnWidth(column, header->sectionSizeHint(column));
  listView_->setRootIsDecorated(false);
  listView_->setUniformRowHeights(true);
  listView_->setAllColumnsShowFocus(true);
  // Names and folders too long for their columns keep their start and their end: the folders
  // that tell the two copies apart stand at the end of the paths.
  listView_->setTextElideMode(Qt::ElideMiddle);
  // A cut name or folder is read in full as the hint of its cell.
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

void TForm07::NameDeleteButton(QPushButton* button, const QString& name) {
  // A long name is cut in its middle; the hint keeps saying what the button does.
  const QString shown =
      button->fontMetrics().elidedText(name, Qt::ElideMiddle, EmWidth(button, 16));
  // "&" would be taken for the mark of a shortcut key.
  button->setText(Jp("「") + QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&")) +
                  Jp("」を削除"));
  button->setToolTip(Jp("URLの削除") + QStringLiteral(": ") + name);
}

// The icon beside the memo or the status; the two sides of the row last clicked, each with
// its button, and the address they share; the pairs; the row of buttons.
void TForm07::LayOut() {
  auto* text = new QGridLayout;
  text->addWidget(memo1_, 0, 0);
  text->addWidget(label1_, 0, 0, Qt::AlignTop);
  auto* marked = new QHBoxLayout;
  marked->addWidget(label2_);
  marked->addWidget(barWidget_, 1);
  text->addLayout(marked, 1, 0);
  auto* header = new QHBoxLayout;
  header->addWidget(image0_, 0, Qt::AlignTop);
  header->addLayout(text, 1);

  auto* sides = new QGridLayout;
  sides->addWidget(btnUrl1_, 0, 0);
  sides->addWidget(delUrl1_, 0, 1);
  sides->addWidget(btnUrl2_, 1, 0);
  sides->addWidget(delUrl2_, 1, 1);
  sides->addWidget(label3_, 2, 0, 1, 2);
  sides->setColumnStretch(1, 1);

  auto* page = new QVBoxLayout(this);
  page->addLayout(header);
  page->addLayout(sides);
  page->addWidget(listView_, 1);
  page->addLayout(ButtonRowLayout({button1_, button2_, button3_, button4_}));
}

// Every column of the pairs in sight: both names, both folders, the address, the numbers.
QSize TForm07::DefaultSize() const {
  int columns = 0;
  for (int column = 0; column < kColumnCount; ++column) columns += listView_->columnWidth(column);
  const int frame = 2 * listView_->frameWidth() +
                    style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, listView_);
  const QMargins margins = layout()->contentsMargins();
  return QSize(std::max(columns + frame + margins.left() + margins.right(), sizeHint().width()),
               EmWidth(this, 42));
}

}  // namespace lf
