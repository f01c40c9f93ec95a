#include "wizard/page1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <exception>

#include "core/app_state.h"
#include "core/discovery.h"
#include "core/operations.h"
#include "core/run_driver.h"
#include "core/settings_file.h"
#include "engine/sjis_text.h"
#include "pages/page_look.h"
#include "qtui/message_service.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"
#include "wizard/operation_pictures.h"
#include "wizard/picture_button.h"
#include "wizard/second_pages.h"
#include "wizard/settings_dialog.h"

namespace lf {
namespace {

constexpr const char* kChooseText = "「処 理 内 容」を選択してください。";
constexpr const char* kSetLocationsText = "ファイル、フォルダの設定を行ってください。";
constexpr const char* kNoOperationText =
    "「処 理 内 容」を選択していません。\rどの処理を行うかの選択をしてください。";

QFont InfoFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                    QStringLiteral("DejaVu Serif")});
  font.setPixelSize(12);
  font.setBold(true);
  return font;
}

QLabel* InfoLabel(QWidget* parent, const char* name, const QString& text, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(InfoFont());
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));  // maroon
  label->setPalette(palette);
  label->setGeometry(52, y, 340, 16);
  return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text, int x, int y,
                    int width = 78) {
  auto* button = new QPushButton(Jp(text), parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(x, y, width, 25);
  return button;
}

}  // namespace

TForm01::TForm01(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      control_(std::make_unique<TBookmarkControl>()),
      owner_(this) {
  setObjectName(QStringLiteral("Form01"));
  setWindowTitle(QStringLiteral("Linkferry (1/2)"));
  setWindowIcon(ProgramIcon());
  setFont(PageFont());
  setFixedSize(412, 348);
  setProperty("HelpContext", kPage1HelpContext);
  BuildControls();
  bar_ = std::make_unique<QtProgressBar>(progress_);
  status_ = std::make_unique<QtStatusLabel>(label5_);

  Settings& settings = AppSettings();
  ReadSettings(settings);
  control_->LostDataFolder = AppRun().lostDataFolder;
  control_->OutputCharset = settings.Out;
}

TForm01::~TForm01() = default;

void TForm01::BuildControls() {
  BuildHeader();
  BuildPictures();
  BuildMemos();
  BuildFooter();
}

// The program icon with the two information labels.
void TForm01::BuildHeader() {
  auto* header = new QGroupBox(this);
  header->setObjectName(QStringLiteral("GroupBox1"));
  header->setGeometry(4, 0, 404, 48);
  auto* icon = new QLabel(header);
  icon->setObjectName(QStringLiteral("Image0"));
  icon->setPixmap(ProgramPicture(32));
  icon->setGeometry(10, 10, 32, 32);
  InfoLabel(header, "Label1", QStringLiteral("Linkferry  -  bookmark converter"), 9);
  label2_ = InfoLabel(header, "Label2", QString(), 26);
}

// The eleven operation pictures, three columns and four rows.
void TForm01::BuildPictures() {
  pictures_ = new QGroupBox(Jp(" 処 理 内 容 "), this);
  pictures_->setObjectName(QStringLiteral("GroupBox2"));
  pictures_->setGeometry(4, 50, 404, 116);
  for (int n = 1; n <= kOperationCount; ++n) {
    // Three columns and four rows; the last row holds 10 and 11 in the outer columns.
    const int index = n <= kCheckNn ? n - 1 : (n == kOperaToNn ? 9 : 11);
    const int column = index % 3, row = index / 3;
    auto* image = new PictureButton(pictures_);
    image->setObjectName(QStringLiteral("Image%1").arg(n));
    image->setPixmap(OperationPicture(n));
    image->setGeometry(28 + column * 125, 20 + row * 23, kPictureWidth, kPictureHeight);
    image->setToolTip(QString::fromLatin1(OperationOf(n).name));
    connect(image, &PictureButton::clicked, this, [this, n] { ChooseOperation(n); });
    images_[static_cast<std::size_t>(n)] = image;
  }
}

// The memos of the operations, with the status label and the progress bar in their place.
void TForm01::BuildMemos() {
  auto* memoBox = new QGroupBox(Jp(" メ モ "), this);
  memoBox->setObjectName(QStringLiteral("GroupBox3"));
  memoBox->setGeometry(4, 168, 404, 86);
  for (int n = 1; n <= kOperationCount; ++n) {
    auto* memo = new QPlainTextEdit(memoBox);
    memo->setObjectName(QStringLiteral("Memo%1").arg(n));
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->viewport()->setAutoFillBackground(false);
    memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    memo->document()->setDocumentMargin(1);
    QStringList lines;
    for (const std::string& line : MemoLines(n)) lines << QString::fromStdString(line);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    memo->setGeometry(8, 16, 390, 66);
    memo->hide();
    memos_[static_cast<std::size_t>(n)] = memo;
  }
  label5_ = new QLabel(memoBox);
  label5_->setObjectName(QStringLiteral("Label5"));
  label5_->setGeometry(10, 22, 386, 18);
  label5_->hide();
  progress_ = new QProgressBar(memoBox);
  progress_->setObjectName(QStringLiteral("Bar"));
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  progress_->setGeometry(10, 48, 300, 16);
  progress_->hide();
  // Shown beside the bar while a run reads, so that a long read can be stopped.
  button6_ = new QPushButton(Jp("中止"), memoBox);
  button6_->setObjectName(QStringLiteral("Button6"));
  button6_->setGeometry(318, 44, 78, 24);
  button6_->hide();
  connect(button6_, &QPushButton::clicked, this, [this] { Button6Click(); });
}

// The prompt with the settings button, and the row of buttons.
void TForm01::BuildFooter() {
  auto* bottom = new QGroupBox(this);
  bottom->setObjectName(QStringLiteral("GroupBox4"));
  bottom->setGeometry(4, 256, 404, 56);
  label3_ = new QLabel(Jp(kChooseText), bottom);
  label3_->setObjectName(QStringLiteral("Label3"));
  QFont bold = PageFont();
  bold.setBold(true);
  label3_->setFont(bold);
  label3_->setGeometry(10, 8, 300, 18);
  auto* label4 = new QLabel(Jp("設定の変更を行う場合には「設定」をクリックしてください。"), bottom);
  label4->setObjectName(QStringLiteral("Label4"));
  label4->setGeometry(10, 30, 310, 18);
  button5_ = Button(bottom, "Button5", "設定", 320, 16);
  SetLabel3(false);

  button1_ = Button(this, "Button1", "終了", 4, 318);
  button2_ = Button(this, "Button2", "<< 戻る", 164, 318);
  button3_ = Button(this, "Button3", "次へ >>", 246, 318);
  button4_ = Button(this, "Button4", "実行", 330, 318);
  button2_->setEnabled(false);
  button4_->setEnabled(false);
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(button2_, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(button3_, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(button4_, &QPushButton::clicked, this, [this] { Button4Click(); });
  connect(button5_, &QPushButton::clicked, this, [this] { Button5Click(); });
}

void TForm01::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TForm01::FormShow() {
  QCoreApplication::instance()->setProperty("HelpFile", QString::fromLatin1(kHelpFile));
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
  }
  label2_->setText(QString::fromLatin1(kVersionText));
  if (DiscoverDefaults(AppSettings())) SetLabel3(true);
  HideMemos();
  ImageClick();
}

void TForm01::SetLabel3(bool red) {
  label3_->setText(Jp(red ? kSetLocationsText : kChooseText));
  QPalette palette = label3_->palette();
  palette.setColor(QPalette::WindowText, red ? QColor(Qt::red) : QColor(Qt::black));
  label3_->setPalette(palette);
}

void TForm01::ChooseOperation(int number) {
  if (running_) return;
  AppSettings().Proc = number;
  HideMemos();
  memos_[static_cast<std::size_t>(number)]->show();
  if (IsRunAtOnce(number))
    ButtonSet1();
  else
    ButtonSet2();
}

void TForm01::ImageClick() {
  Settings& settings = AppSettings();
  if (settings.Proc < 1 || settings.Proc > kOperationCount) {
    settings.Proc = 0;
    return;
  }
  ChooseOperation(settings.Proc);
}

void TForm01::HideMemos() {
  for (int n = 1; n <= kOperationCount; ++n) memos_[static_cast<std::size_t>(n)]->hide();
  label5_->hide();
  SetRedText(label5_, false);
}

void TForm01::ButtonSet1() {
  button2_->setEnabled(false);
  button3_->setEnabled(false);
  button4_->setEnabled(true);
}

void TForm01::ButtonSet2() {
  button2_->setEnabled(false);
  button4_->setEnabled(false);
  button3_->setEnabled(true);
}

void TForm01::Button1Click() {
  close();
}

void TForm01::Button2Click() {
  HideMemos();
  ButtonSet2();
  ImageClick();
}

void TForm01::Button3Click() {
  Settings& settings = AppSettings();
  if (settings.Proc == 0) {
    owner_.MessageBox(Sjis(kNoOperationText), MessageCaption(), kMbIconWarning | kMbOk);
    return;
  }
  QWidget* page = HasSecondPage(settings.Proc) ? CreateSecondPage(settings.Proc, this) : nullptr;
  if (page) {
    // One page per press; a page left with "<< 戻る" is not needed any more.
    if (secondPage_ && secondPage_->isHidden()) secondPage_->deleteLater();
    secondPage_ = page;
    page->show();
    hide();
  }
  IniWrite();
}

void TForm01::Button4Click() {
  if (running_) return;
  // The engine lets events through while it works: the page refuses a second run, another
  // operation, the settings and closing until this run is over.
  running_ = true;
  QWidget* guarded[] = {pictures_, button1_, button2_, button3_, button4_, button5_};
  bool enabled[std::size(guarded)];
  for (std::size_t i = 0; i < std::size(guarded); ++i) {
    enabled[i] = guarded[i]->isEnabled();
    guarded[i]->setEnabled(false);
  }
  auto release = [&] {
    for (std::size_t i = 0; i < std::size(guarded); ++i) guarded[i]->setEnabled(enabled[i]);
    running_ = false;
  };

  HideMemos();
  SetRedText(label5_, false);
  label5_->show();
  button6_->setEnabled(true);
  button6_->show();
  owner_.BeginRun();
  Settings& settings = AppSettings();
  bool complete = true;
  try {
    complete = RunOperation(settings.Proc, {*control_, settings, AppRun().counters, owner_, *bar_,
                                            status_.get(), [this] { button6_->setEnabled(false); }})
                   .complete;
  } catch (const std::exception& e) {
    // An error no reader or writer handled ends the run here.
    button6_->hide();
    release();
    owner_.MessageBox(e.what(), MessageCaption(), kMbIconError | kMbOk);
    return;
  }
  button6_->hide();
  SetRedText(label5_, !complete);
  release();
  button4_->setEnabled(false);
  button2_->setEnabled(true);
  IniWrite();
}

void TForm01::Button5Click() {
  Settings& settings = AppSettings();
  TForm02 dialog(this);
  if (dialog.exec() == QDialog::Accepted) {
    control_->OutputCharset = settings.Out;
    IniWrite();
    HideMemos();
    ButtonSet2();
    ImageClick();
  }
  if (!settings.IEDirName.empty() && !settings.NNFileName.empty()) SetLabel3(false);
}

void TForm01::Button6Click() {
  if (running_) AppRun().counters.cancel = 1;
}

void TForm01::IniWrite() {
  lf::IniWrite(AppSettings(), owner_);
}

void TForm01::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  if (secondPage_) secondPage_->hide();
  event->accept();
  // Closing page 1 ends the program. Qt ends it by itself only when the last visible window
  // closes, and page 1 is hidden when a second page closes it: the program would go on
  // running without any window. Queued, so that the closing page finishes first.
  QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                            Qt::QueuedConnection);
}

}  // namespace lf
