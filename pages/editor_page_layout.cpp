// The editor page's window: its controls, their captions and hints, and where they sit.
#include <QBoxLayout>
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
#include "qtui/window_places.h"

namespace lf {
namespace {

// The page's key in the settings file.
constexpr char kPlaceName[] = "Editor";

constexpr int kMinWidth = 420;
constexpr int kMinHeight = 335;

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
    : LeavingPage(page1, kSecondPageFlags, kPlaceName),
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
      btnCan_(NewButton(this, "BtnCan", "キャンセル")),
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
  LayOut();
  SizeWindow(this, kPlaceName, DefaultSize(), page1_);
}

// The picture, the memo, the status label and the progress bar above the panes.
void TForm05::SetUpHeader() {
  image_->setObjectName("Image");
  image_->setAutoRaise(true);
  image_->setIcon(StripIcon(kImageLink));
  image_->setIconSize(QSize(32, 32));

  label1_->setObjectName("Label1");
  // The texts after a write that did not go through are long: they go on over two lines.
  label1_->setWordWrap(true);
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  memo_->setObjectName("Memo");
  memo_->setReadOnly(true);
  memo_->setFocusPolicy(Qt::NoFocus);
  memo_->setFrameShape(QFrame::NoFrame);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_->viewport()->setAutoFillBackground(false);
  memo_->setPlainText(
      Jp("フォルダの 「追加」 「削除」 はボタンで、名称変更は直接行ってください。\n"
         "お気に入りファイルも同様の方法で行ってください。 ＵＲＬの移動はリスト\n"
         "から選択後「移動」 を押してフォルダを決定し 「ＯＫ」を押してください。"));
  FitMemo(memo_);

  barWidget_->setObjectName("Bar");
  barWidget_->setRange(0, 100);
  barWidget_->setTextVisible(false);
  barWidget_->hide();

  btnOK_->hide();
  btnCan_->hide();
  for (QWidget* widget : {static_cast<QWidget*>(label1_), static_cast<QWidget*>(memo_),
                          static_cast<QWidget*>(barWidget_), static_cast<QWidget*>(btnOK_),
                          static_cast<QWidget*>(btnCan_)})
    KeepRoomWhenHidden(widget);
  for (QToolButton* button : {btnNNfile_, btnAdd_, btnDel_, btnNew_, btnMove_, btnURL_})
    KeepRoomWhenHidden(button);
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
  listView_->setColumnWidth(0, EmWidth(listView_, 30));
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

void TForm05::ShowMemo() {
  memo_->show();
}

void TForm05::SetEditingButtons(bool add, bool del, bool newUrl, bool url, bool move) {
  btnAdd_->setEnabled(add);
  btnDel_->setEnabled(del);
  btnNew_->setEnabled(newUrl);
  btnURL_->setEnabled(url);
  btnMove_->setEnabled(move);
}

void TForm05::EndMove() {
  moveMode_ = false;
  label1_->hide();
  ShowMemo();
  btnNew_->setEnabled(true);
  btnOK_->hide();
  btnCan_->hide();
}

// From the top: the picture beside the memo, the status label with the bar; the folder
// buttons above the tree and the link buttons above the list, with "O K" and "キャンセル"
// of a move; the panes; the row of buttons.
void TForm05::LayOut() {
  auto* status = new QHBoxLayout;
  status->addWidget(label1_, 3);
  status->addWidget(barWidget_, 2, Qt::AlignTop);
  auto* text = new QVBoxLayout;
  text->setSpacing(2);
  text->addWidget(memo_);
  text->addLayout(status);
  auto* header = new QHBoxLayout;
  header->addWidget(image_, 0, Qt::AlignTop);
  header->addLayout(text, 1);

  auto* tools = new QHBoxLayout;
  for (QToolButton* button : {btnNNfile_, btnAdd_, btnDel_}) tools->addWidget(button);
  tools->addSpacing(EmWidth(this, 1));
  for (QToolButton* button : {btnNew_, btnMove_, btnURL_}) tools->addWidget(button);
  tools->addStretch(1);
  tools->addWidget(btnOK_);
  tools->addWidget(btnCan_);

  auto* page = new QVBoxLayout(this);
  page->addLayout(header);
  page->addLayout(tools);
  page->addWidget(panel_, 1);
  page->addLayout(ButtonRowLayout({button1_, button2_, button3_, button4_}));

  const int treeWidth = FolderTreeWidth(treeView_);
  panel_->setSizes({treeWidth, listView_->columnWidth(0) + EmWidth(listView_, 2)});
  panel_->setStretchFactor(0, 1);
  panel_->setStretchFactor(1, 1);
}

// Room for the deepest folder of a large collection in the tree, and for long link names
// beside it; a little higher than wide enough for the memo.
QSize TForm05::DefaultSize() const {
  const int width = FolderTreeWidth(treeView_) + listView_->columnWidth(0) + EmWidth(this, 4);
  return QSize(std::max(width, sizeHint().width()), EmWidth(this, 44));
}

}  // namespace lf
