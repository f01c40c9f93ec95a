// The editor page's window: its controls, their captions and hints, and where they sit.
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>

#include "core/app_state.h"
#include "pages/button_row.h"
#include "pages/editor_page.h"
#include "pages/page_look.h"
#include "qtui/image_strip.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"

namespace lf {
namespace {

constexpr int kMinWidth = 420;
constexpr int kMinHeight = 335;
constexpr int kPanelTop = 58;

// The page's topic in the help file (there is no help viewer).
constexpr int kEditorHelpContext = 13;

QToolButton* NewPictureButton(QWidget* parent, const char* name, const QIcon& icon,
                              const char* caption, const char* hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(icon);
  button->setToolTip(Jp(hint));
  if (caption) {
    button->setText(Jp(caption));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  button->hide();
  button->setEnabled(false);
  return button;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(Jp(caption), parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TForm05::TForm05(QWidget* page1)
    : LeavingPage(page1, kSecondPageFlags),
      session_(AppSettings(), AppRun().counters),
      owner_(this),
      image_(new QToolButton(this)),
      label1_(new QLabel(Jp(kFirstStatusText), this)),
      memo_(new QPlainTextEdit(this)),
      barWidget_(new QProgressBar(this)),
      btnNNfile_(NewPictureButton(this, "BtnNNfile",
                                  style()->standardIcon(QStyle::SP_DialogOpenButton), nullptr,
                                  "ブックマークファイルの読み込み（マージを行う）")),
      btnAdd_(NewPictureButton(this, "BtnAdd",
                               style()->standardIcon(QStyle::SP_FileDialogNewFolder), nullptr,
                               "新規フォルダの追加")),
      btnDel_(NewPictureButton(this, "BtnDel", style()->standardIcon(QStyle::SP_TrashIcon), nullptr,
                               "フォルダの削除")),
      btnNew_(NewPictureButton(this, "BtnNew", StripIcon(kImageLink), "新規", "URLの新規作成")),
      btnMove_(NewPictureButton(this, "BtnMove", style()->standardIcon(QStyle::SP_ArrowRight),
                                "移動", "URLの移動")),
      btnURL_(NewPictureButton(this, "BtnURL",
                               style()->standardIcon(QStyle::SP_DialogDiscardButton), "削除",
                               "URLの削除")),
      btnOK_(NewButton(this, "BtnOK", "O K")),
      btnCan_(NewButton(this, "BtnCan", "Can")),
      panel_(new QSplitter(Qt::Horizontal, this)),
      treeView_(new QTreeWidget(panel_)),
      listView_(new QTreeWidget(panel_)),
      button1_(NewRowButton(this, 1)),
      button2_(NewRowButton(this, 2)),
      button3_(NewRowButton(this, 3)),
      button4_(NewRowButton(this, 4)),
      bar_(barWidget_),
      status_(label1_),
      views_(treeView_, listView_, bar_, session_, [this] { TreeViewClick(); }) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Jp("Linkferry (2/2) Ｂｏｏｋｍａｒｋファイルの編集"));
  setFont(PageFont());
  setProperty("HelpContext", kEditorHelpContext);
  SetStepControls(button1_, button2_, button4_, label1_, barWidget_);

  SetUpHeader();
  SetUpPanes();
  ConnectHandlers();

  setMinimumSize(kMinWidth, kMinHeight);
  resize(800, 500);
}

// The picture, the status label, the memo and the progress bar above the panes.
void TForm05::SetUpHeader() {
  image_->setObjectName("Image");
  image_->setAutoRaise(true);
  image_->setIcon(QIcon(DirTreeImg().copy(2 * 16, 0, 16, 16).scaled(32, 32)));
  image_->setIconSize(QSize(32, 32));

  label1_->setObjectName("Label1");
  // The move prompt is longer than the room beside the buttons: it goes on over two lines,
  // where the progress bar is hidden meanwhile; the short progress texts keep to the first.
  label1_->setWordWrap(true);
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  memo_->setObjectName("Memo");
  memo_->setReadOnly(true);
  memo_->setFrameShape(QFrame::NoFrame);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_->viewport()->setAutoFillBackground(false);
  memo_->setPlainText(
      Jp("フォルダの 「追加」 「削除」 はボタンで、名称変更は直接行ってください。\n"
         "お気に入りファイルも同様の方法で行ってください。 ＵＲＬの移動はリスト\n"
         "から選択後「移動」 を押してフォルダを決定し 「ＯＫ」を押してください。"));

  barWidget_->setObjectName("Bar");
  barWidget_->setRange(0, 100);
  barWidget_->setTextVisible(false);
  barWidget_->hide();

  btnOK_->hide();
  btnCan_->hide();
}

// The folder tree beside the link list, both renamed in place.
void TForm05::SetUpPanes() {
  panel_->setObjectName("Panel");
  panel_->setChildrenCollapsible(false);
  treeView_->setObjectName("TreeView");
  treeView_->setHeaderHidden(true);
  treeView_->setColumnCount(1);
  listView_->setObjectName("ListView");
  listView_->setColumnCount(1);
  listView_->setHeaderLabels({Jp("URL 名称")});
  listView_->setColumnWidth(0, 270);
  listView_->setRootIsDecorated(false);
  listView_->setUniformRowHeights(true);
  listView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  listView_->header()->setSectionsClickable(false);
  listView_->setSortingEnabled(true);
  listView_->sortByColumn(0, Qt::AscendingOrder);
  views_.AllowRenames(true);
}

// Every control to its handler; the views only while the page itself is not changing them.
void TForm05::ConnectHandlers() {
  connect(image_, &QToolButton::clicked, this, &TForm05::ImageClick);
  connect(btnNNfile_, &QToolButton::clicked, this, &TForm05::BtnNNfileClick);
  connect(btnAdd_, &QToolButton::clicked, this, &TForm05::BtnAddClick);
  connect(btnDel_, &QToolButton::clicked, this, &TForm05::BtnDelClick);
  connect(btnNew_, &QToolButton::clicked, this, &TForm05::BtnNewClick);
  connect(btnMove_, &QToolButton::clicked, this, &TForm05::BtnMoveClick);
  connect(btnURL_, &QToolButton::clicked, this, &TForm05::BtnURLClick);
  connect(btnOK_, &QPushButton::clicked, this, &TForm05::BtnOKClick);
  connect(btnCan_, &QPushButton::clicked, this, &TForm05::BtnCanClick);
  connect(button1_, &QPushButton::clicked, this, &TForm05::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &TForm05::Button2Click);
  connect(button4_, &QPushButton::clicked, this, &TForm05::Button4Click);

  // A folder is chosen by mouse or keyboard alike, so the page's folder path always belongs
  // to the node that is selected.
  auto treeClick = [this] {
    if (!views_.Updating()) TreeViewClick();
  };
  connect(treeView_, &QTreeWidget::currentItemChanged, this, treeClick);
  connect(treeView_, &QTreeWidget::itemClicked, this, treeClick);
  connect(treeView_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
    if (!views_.Updating()) TreeViewEdited(item);
  });
  auto listClick = [this] {
    if (!views_.Updating()) ListViewClick();
  };
  connect(listView_, &QTreeWidget::itemSelectionChanged, this, listClick);
  connect(listView_, &QTreeWidget::itemClicked, this, listClick);
  connect(listView_, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (!views_.Updating()) ListViewDblClick();
  });
  connect(listView_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
    if (!views_.Updating()) ListViewEdited(item);
  });
}

TForm05::~TForm05() = default;

void TForm05::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int w = width();
  const int h = height();
  const int right = w - 8;

  image_->setGeometry(8, 12, 36, 36);
  // The picture buttons from the right edge; a narrow window shows their pictures only.
  const bool narrow = w < 640;
  int x = right;
  for (QToolButton* button : {btnURL_, btnMove_, btnNew_}) {
    button->setToolButtonStyle(narrow ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    const int width = narrow ? 30 : 64;
    x -= width;
    button->setGeometry(x, 14, width, 30);
    x -= 4;
  }
  x -= 4;
  for (QToolButton* button : {btnDel_, btnAdd_, btnNNfile_}) {
    x -= 30;
    button->setGeometry(x, 14, 30, 30);
    x -= 4;
  }
  x -= 4;
  btnCan_->setGeometry(x - 50, 16, 50, 26);
  btnOK_->setGeometry(x - 104, 16, 50, 26);
  memo_->setGeometry(50, 2, std::max(0, x - 50), 54);
  label1_->setGeometry(50, 6, std::max(0, x - 112 - 50), 48);
  barWidget_->setGeometry(50, 32, std::max(0, x - 112 - 50), 14);

  const int panelWidth = w - 16;
  panel_->setGeometry(8, kPanelTop, panelWidth, h - 115);
  const int treeWidth = panelWidth / 3;
  panel_->setSizes({treeWidth, std::max(0, panelWidth - treeWidth - panel_->handleWidth())});

  PlaceButtonRow({button1_, button2_, button3_, button4_}, w, h);
}

}  // namespace lf
