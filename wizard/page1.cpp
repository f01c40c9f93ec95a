#include "wizard/page1.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "core/discovery.h"
#include "core/operations.h"
#include "core/run_driver.h"
#include "core/settings_file.h"
#include "engine/lost_data.h"
#include "engine/sjis_text.h"
#include "pages/page_look.h"
#include "platform/file_system.h"
#include "qtui/message_service.h"
#include "qtui/sharp_picture.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"
#include "qtui/window_places.h"
#include "wizard/operation_pictures.h"
#include "wizard/picture_button.h"
#include "wizard/run_texts.h"
#include "wizard/second_pages.h"
#include "wizard/settings_dialog.h"

namespace lf {
namespace {

constexpr const char* kChooseText = "「処 理 内 容」を選択してください。";
constexpr const char* kSetLocationsText = "ファイル、フォルダの設定を行ってください。";
constexpr const char* kNoOperationText =
    "「処 理 内 容」を選択していません。\rどの処理を行うかの選択をしてください。";

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
  auto* button = new QPushButton(Jp(text), parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

// A label of the memo area, which keeps its room in the layout while it is hidden.
QLabel* MemoAreaLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  KeepRoomWhenHidden(label);
  return label;
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
  setProperty("HelpContext", kPage1HelpContext);
  BuildControls();
  bar_ = std::make_unique<QtProgressBar>(progress_);
  status_ = std::make_unique<QtStatusLabel>(label5_);

  Settings& settings = AppSettings();
  // What the settings file holds that cannot be used is said on the page, not passed over:
  // a file there that cannot be read, and values out of their range (their defaults are used).
  std::vector<std::string> problems;
  ReadSettings(settings, &problems);
  if (const int code = SettingsReadError())
    problems.insert(problems.begin(), ReadErrorText(platform::ShownPath(IniFileName()), code));
  for (const std::string& problem : problems)
    settingsProblems_ += (settingsProblems_.isEmpty() ? QString() : QStringLiteral("\n")) +
                         FromSjis(problem);
  control_->LostDataFolder = AppRun().lostDataFolder;
  UseSettings(*control_, settings);
}

TForm01::~TForm01() = default;

void TForm01::BuildControls() {
  auto* page = new QVBoxLayout(this);
  page->addWidget(BuildHeader());
  page->addWidget(BuildPictures());
  page->addWidget(BuildMemos());
  page->addWidget(BuildFooter());
  page->addLayout(BuildButtonRow());
  // As large as its contents: the page has a fixed border. Long texts of a run wrap within.
  layout()->activate();
  setFixedSize(sizeHint());
}

// The program icon with the two information labels.
QWidget* TForm01::BuildHeader() {
  auto* header = new QGroupBox(this);
  header->setObjectName(QStringLiteral("GroupBox1"));
  auto* icon = new SharpPicture(header);
  icon->setObjectName(QStringLiteral("Image0"));
  icon->SetPicture([](qreal ratio) { return ProgramPicture(32, ratio); });
  auto* label1 = new QLabel(QStringLiteral("Linkferry  -  bookmark converter"), header);
  label1->setObjectName(QStringLiteral("Label1"));
  QFont bold = label1->font();
  bold.setBold(true);
  label1->setFont(bold);
  label2_ = new QLabel(header);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->setText(QString::fromLatin1(kVersionText));
  auto* labels = new QVBoxLayout;
  labels->addWidget(label1);
  labels->addWidget(label2_);
  auto* layout = new QHBoxLayout(header);
  layout->addWidget(icon);
  layout->addLayout(labels, 1);
  return header;
}

// The eleven operation pictures, three columns and four rows.
QWidget* TForm01::BuildPictures() {
  pictures_ = new QGroupBox(Jp(" 処 理 内 容 "), this);
  pictures_->setObjectName(QStringLiteral("GroupBox2"));
  auto* grid = new QGridLayout(pictures_);
  grid->setHorizontalSpacing(EmWidth(pictures_, 2));
  for (int n = 1; n <= kOperationCount; ++n) {
    // Three columns and four rows; the last row holds 10 and 11 in the outer columns.
    const int index = n <= kCheckNn ? n - 1 : (n == kOperaToNn ? 9 : 11);
    auto* image = new PictureButton(pictures_);
    image->setObjectName(QStringLiteral("Image%1").arg(n));
    image->SetPicture([n](qreal ratio) { return OperationPicture(n, ratio); });
    image->setFixedSize(kPictureWidth, kPictureHeight);
    image->setToolTip(QString::fromLatin1(OperationOf(n).name));
    connect(image, &PictureButton::clicked, this, [this, n] { ChooseOperation(n); });
    grid->addWidget(image, index / 3, index % 3, Qt::AlignCenter);
    images_[static_cast<std::size_t>(n)] = image;
  }
  return pictures_;
}

// The memos of the operations, with the status of a run in their place: the status label,
// what the run wrote and lost, the lost-data log's path, the bar with "中止", and the button
// that opens the log.
QWidget* TForm01::BuildMemos() {
  auto* memoBox = new QGroupBox(Jp(" メ モ "), this);
  memoBox->setObjectName(QStringLiteral("GroupBox3"));
  auto* grid = new QGridLayout(memoBox);
  for (int n = 1; n <= kOperationCount; ++n) {
    auto* memo = new QPlainTextEdit(memoBox);
    memo->setObjectName(QStringLiteral("Memo%1").arg(n));
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->viewport()->setAutoFillBackground(false);
    memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    QStringList lines;
    for (const std::string& line : MemoLines(n)) lines << QString::fromStdString(line);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    FitMemo(memo);
    KeepRoomWhenHidden(memo);
    memo->hide();
    grid->addWidget(memo, 0, 0, Qt::AlignTop);
    memos_[static_cast<std::size_t>(n)] = memo;
  }

  label5_ = MemoAreaLabel(memoBox, "Label5");
  label5_->hide();
  label6_ = MemoAreaLabel(memoBox, "Label6");
  label6_->setWordWrap(true);
  label6_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label6_->setMinimumHeight(3 * label6_->fontMetrics().lineSpacing());
  label6_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label6_->hide();
  // The path is shown whole, however long: it can be scrolled through and copied.
  lostPath_ = new QLineEdit(memoBox);
  lostPath_->setObjectName(QStringLiteral("LostDataPath"));
  lostPath_->setReadOnly(true);
  lostPath_->setFrame(false);
  lostPath_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
  KeepRoomWhenHidden(lostPath_);
  lostPath_->hide();
  progress_ = new QProgressBar(memoBox);
  progress_->setObjectName(QStringLiteral("Bar"));
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  KeepRoomWhenHidden(progress_);
  progress_->hide();
  // Shown beside the bar while a run reads, so that a long read can be stopped.
  button6_ = Button(memoBox, "Button6", "中止");
  KeepRoomWhenHidden(button6_);
  button6_->hide();
  connect(button6_, &QPushButton::clicked, this, [this] { Button6Click(); });
  button7_ = Button(memoBox, "Button7", "LostData.txt を開く");
  button7_->hide();
  connect(button7_, &QPushButton::clicked, this, [this] { Button7Click(); });

  auto* status = new QVBoxLayout;
  status->setSpacing(2);
  status->addWidget(label5_);
  status->addWidget(label6_);
  status->addWidget(lostPath_);
  auto* row = new QHBoxLayout;
  row->addWidget(progress_, 1);
  row->addWidget(button6_);
  row->addWidget(button7_);
  status->addLayout(row);
  grid->addLayout(status, 0, 0);
  return memoBox;
}

// The prompt with the settings button.
QWidget* TForm01::BuildFooter() {
  auto* bottom = new QGroupBox(this);
  bottom->setObjectName(QStringLiteral("GroupBox4"));
  label3_ = new QLabel(Jp(kChooseText), bottom);
  label3_->setObjectName(QStringLiteral("Label3"));
  QFont bold = label3_->font();
  bold.setBold(true);
  label3_->setFont(bold);
  label3_->setWordWrap(true);
  auto* label4 = new QLabel(Jp("設定の変更を行う場合には「設定」をクリックしてください。"), bottom);
  label4->setObjectName(QStringLiteral("Label4"));
  button5_ = Button(bottom, "Button5", "設定");
  connect(button5_, &QPushButton::clicked, this, [this] { Button5Click(); });
  auto* layout = new QGridLayout(bottom);
  layout->addWidget(label3_, 0, 0);
  layout->addWidget(label4, 1, 0);
  layout->addWidget(button5_, 0, 1, 2, 1, Qt::AlignVCenter);
  layout->setColumnStretch(0, 1);
  // Room for the longest of the texts the status line takes, in bold.
  RunResult lossy;
  lossy.errors = 1;
  label3_->setMinimumWidth(
      QFontMetrics(bold).horizontalAdvance(FromSjis(FinishedText(kNnToOpera, lossy))));
  SetLabel3(false);
  return bottom;
}

// "終了" at the left; "<< 戻る", "次へ >>" and "実行" at the right.
QLayout* TForm01::BuildButtonRow() {
  button1_ = Button(this, "Button1", "終了");
  button2_ = Button(this, "Button2", "<< 戻る");
  button3_ = Button(this, "Button3", "次へ >>");
  button4_ = Button(this, "Button4", "実行");
  button2_->setEnabled(false);
  button4_->setEnabled(false);
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(button2_, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(button3_, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(button4_, &QPushButton::clicked, this, [this] { Button4Click(); });
  auto* row = new QHBoxLayout;
  row->addWidget(button1_);
  row->addStretch(1);
  row->addWidget(button2_);
  row->addWidget(button3_);
  row->addWidget(button4_);
  return row;
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
  if (!settingsProblems_.isEmpty()) {  // once, when the page first shows
    label6_->setText(std::exchange(settingsProblems_, QString()));
    SetRedText(label6_, true);
    label6_->show();
  }
}

void TForm01::SetLabel3(bool red) {
  locationsMissing_ = red;
  ShowStatusLine();
}

void TForm01::SetStatusLine(const std::string& text) {
  statusLine_ = text;
  ShowStatusLine();
}

void TForm01::ShowStatusLine() {
  // Locations still to be set come first: nothing runs well without them.
  if (locationsMissing_)
    label3_->setText(Jp(kSetLocationsText));
  else
    label3_->setText(statusLine_.empty() ? Jp(kChooseText) : FromSjis(statusLine_));
  SetRedText(label3_, locationsMissing_);
}

void TForm01::ChooseOperation(int number) {
  if (running_) return;
  AppSettings().Proc = number;
  HideMemos();
  memos_[static_cast<std::size_t>(number)]->show();
  SetStatusLine(ChosenText(number));
  if (IsRunAtOnce(number))
    ButtonSet1();
  else
    ButtonSet2();
}

void TForm01::ImageClick() {
  Settings& settings = AppSettings();
  if (settings.Proc < 1 || settings.Proc > kOperationCount) {
    settings.Proc = 0;
    SetStatusLine(std::string());
    return;
  }
  ChooseOperation(settings.Proc);
}

void TForm01::HideMemos() {
  for (int n = 1; n <= kOperationCount; ++n) memos_[static_cast<std::size_t>(n)]->hide();
  label5_->hide();
  SetRedText(label5_, false);
  for (QWidget* result : {static_cast<QWidget*>(label6_), static_cast<QWidget*>(lostPath_),
                          static_cast<QWidget*>(button7_)})
    result->hide();
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
  const int proc = settings.Proc;
  SetStatusLine(RunningText(proc));
  RunResult result;
  try {
    result = RunOperation(proc, {*control_, settings, AppRun().counters, owner_, *bar_,
                                 status_.get(), [this] { button6_->setEnabled(false); }});
  } catch (const std::exception& e) {
    // An error no reader or writer handled ends the run here.
    button6_->hide();
    release();
    RunResult failed;
    failed.failures = 1;
    SetStatusLine(FinishedText(proc, failed));
    owner_.MessageBox(e.what(), MessageCaption(), kMbIconError | kMbOk);
    return;
  }
  button6_->hide();
  SetRedText(label5_, !result.complete);
  ShowRunResult(proc, result);
  release();
  button4_->setEnabled(false);
  button2_->setEnabled(true);
  IniWrite();
}

void TForm01::Button5Click() {
  Settings& settings = AppSettings();
  TForm02 dialog(this);
  if (dialog.exec() == QDialog::Accepted) {
    UseSettings(*control_, settings);
    IniWrite();
    HideMemos();
    ButtonSet2();
    ImageClick();
  }
  if (!settings.IEDirName.empty() && !settings.NNFileName.empty()) SetLabel3(false);
}

void TForm01::ShowRunResult(int proc, const RunResult& result) {
  SetStatusLine(FinishedText(proc, result));
  QString detail = FromSjis(RunDetailText(proc, result, AppRun().counters));
  for (const std::string& note : result.notes) detail += QStringLiteral("\n") + FromSjis(note);
  label6_->setText(detail);
  SetRedText(label6_, false);
  label6_->show();
  lostDataPath_.clear();
  if (result.lost > 0) {
    lostDataPath_ = result.lostDataPath.empty() ? LostDataLog(AppRun().lostDataFolder).Path()
                                                : result.lostDataPath;
    std::string native;
    lostPath_->setText(platform::ToNativePath(lostDataPath_, native) == 0
                           ? QString::fromUtf8(native.c_str())
                           : FromSjis(lostDataPath_));
    lostPath_->setCursorPosition(0);
    lostPath_->show();
    button7_->show();
  }
}

void TForm01::Button7Click() {
  if (lostDataPath_.empty() || MessageService::Instance().OpenTextFile(lostDataPath_)) return;
  owner_.MessageBox(lostDataPath_ + Sjis(" を開くプログラムを起動できませんでした。"),
                    MessageCaption(), kMbIconWarning | kMbOk);
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
  // The sizes the user left the windows at; a settings file that cannot take them now only
  // costs the sizes.
  StoreWindowSizes();
  // Closing page 1 ends the program. Qt ends it by itself only when the last visible window
  // closes, and page 1 is hidden when a second page closes it: the program would go on
  // running without any window. Queued, so that the closing page finishes first.
  QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                            Qt::QueuedConnection);
}

}  // namespace lf
