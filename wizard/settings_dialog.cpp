#include "wizard/settings_dialog.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>

#include "core/app_state.h"
#include "core/discovery.h"
#include "core/operations.h"
#include "core/settings_file.h"
#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "pages/page_look.h"
#include "platform/file_system.h"
#include "qtui/message_service.h"
#include "qtui/sharp_picture.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"
#include "qtui/window_places.h"
#include "wizard/operation_pictures.h"
#include "wizard/page1.h"

namespace lf {
namespace {

constexpr const char* kMissingText = "ファイル、フォルダの指定が出来ていません。指定してください。";
constexpr const char* kNewFileQuestion =
    "Netscape "
    "Navigatorのブックマークファイルが見つかりません。\rブックマークファイルは、新規の作成ですか？";

QGroupBox* Group(QWidget* parent, const char* name, const char* title) {
  auto* box = new QGroupBox(Jp(title), parent);
  box->setObjectName(QLatin1String(name));
  return box;
}

// A location's combo box, in its group box.
QComboBox* Combo(QGroupBox* box, const char* name) {
  auto* combo = new QComboBox(box);
  combo->setObjectName(QLatin1String(name));
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);  // a typed path is the value, not a list line
  // A typed path is the path; the histories are in the drop-down list. Qt's completer would
  // finish a path that begins an entry as that entry ("Favorites" beside "Favorites2"), and
  // swap in an entry that differs from the typed path only in letter case when editing ends:
  // file names tell case apart, and either is another file or folder.
  combo->setCompleter(nullptr);
  // Room for a path of some 60 characters; longer ones scroll in the field.
  combo->setMinimumWidth(combo->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return combo;
}

// The "..." that chooses the location, beside its combo box.
QPushButton* Chooser(QGroupBox* box, QComboBox* combo, const char* name, const char* hint) {
  auto* button = new QPushButton(QStringLiteral("..."), box);
  button->setObjectName(QLatin1String(name));
  button->setMaximumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) * 4);
  if (hint) button->setToolTip(Jp(hint));
  auto* layout = new QHBoxLayout(box);
  layout->addWidget(combo, 1);
  layout->addWidget(button);
  return button;
}

QCheckBox* Check(QWidget* parent, const char* name, const char* text) {
  auto* check = new QCheckBox(Jp(text), parent);
  check->setObjectName(QLatin1String(name));
  return check;
}

// The mark of a browser's file that the list offers and the history does not hold.
const QVariant kFoundItem(QStringLiteral("found"));

void Fill(QComboBox* combo, const Location& location) {
  combo->clear();
  combo->addItem(FromSjis(location.value));
  for (const std::string& entry : location.history) combo->addItem(FromSjis(entry));
  combo->setEditText(FromSjis(location.value));
}

std::string Text(const QComboBox* combo) {
  return ToSjis(combo->currentText());
}

std::vector<std::string> Lines(const QComboBox* combo) {
  std::vector<std::string> lines;
  for (int i = 0; i < combo->count(); ++i)
    if (combo->itemData(i) != kFoundItem) lines.push_back(ToSjis(combo->itemText(i)));
  return lines;
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
  const std::size_t cut = FindLastChar(path, "\\:/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

TForm02::TForm02(QWidget* page1)
    : QDialog(page1, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      owner_(this) {
  setObjectName(QStringLiteral("Form02"));
  setWindowTitle(Jp("Linkferry 設定"));
  setWindowIcon(ProgramIcon());
  setFont(PageFont());
  setProperty("HelpContext", kSettingsHelpContext);
  BuildControls();
}

void TForm02::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(BuildHeader());
  BuildLocations(layout);
  BuildOptions(layout);
  auto* foot = new QHBoxLayout;
  foot->addWidget(BuildOperation());
  foot->addStretch(1);
  foot->addLayout(BuildButtons(), 0);
  layout->addLayout(foot);
  // As large as its contents, and no larger: the dialog has a fixed border.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // The keyboard starts in the first location and Tab goes from the top down: the operation
  // number, made first but standing at the foot, comes beside the buttons.
  setTabOrder(orderCheck_, spinEdit_);
}

// The program icon and the instructions.
QLayout* TForm02::BuildHeader() {
  auto* icon = new SharpPicture(this);
  icon->setObjectName(QStringLiteral("Image1"));
  icon->SetPicture([](qreal ratio) { return ProgramPicture(32, ratio); });
  auto* memo = new QPlainTextEdit(this);
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setFocusPolicy(Qt::NoFocus);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
  memo->setPlainText(
      Jp("Ｎｅｔｓｃａｐｅ Ｎａｖｉｇａｔｏｒ のブックマークファイルの選択と\n"
         "Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ    のお気に入りファイルを作成する\n"
         "フォルダを決定してください。"));
  FitMemo(memo);
  auto* header = new QHBoxLayout;
  header->addWidget(icon, 0, Qt::AlignTop);
  header->addWidget(memo, 1);
  return header;
}

// The operation number with its picture.
QWidget* TForm02::BuildOperation() {
  auto* operation = new QGroupBox(Jp(" 処理内容 "), this);
  operation->setObjectName(QStringLiteral("GroupBox4"));
  image0_ = new SharpPicture(operation);
  image0_->setObjectName(QStringLiteral("Image0"));
  image0_->setFixedSize(kPictureWidth, kPictureHeight);
  KeepRoomWhenHidden(image0_);
  spinEdit_ = new QSpinBox(operation);
  spinEdit_->setObjectName(QStringLiteral("SpinEdit"));
  spinEdit_->setRange(0, kOperationCount);
  // Only the arrows change the number.
  if (auto* edit = spinEdit_->findChild<QLineEdit*>()) edit->setReadOnly(true);
  connect(spinEdit_, &QSpinBox::valueChanged, this, [this](int value) { SpinEditChange(value); });
  auto* layout = new QHBoxLayout(operation);
  layout->addWidget(image0_);
  layout->addWidget(spinEdit_);
  return operation;
}

// The three locations with their choosers, and the output character set.
void TForm02::BuildLocations(QVBoxLayout* layout) {
  QGroupBox* nnBox = Group(this, "GroupBox1", " Netscape Navigatorのブックマークファイル ");
  nncb_ = Combo(nnBox, "NNCB");
  QPushButton* button5 =
      Chooser(nnBox, nncb_, "Button5",
              "Netscape Communicatorに変更した方はフォルダが変更されています。変更してください。");
  connect(button5, &QPushButton::clicked, this, [this] { Button5Click(); });
  layout->addWidget(nnBox);

  QGroupBox* out =
      Group(this, "NNoutCheck", " Netscape Navigatorのブックマークファイルの出力形式 ");
  nnout_ = new QButtonGroup(this);
  auto* radios = new QHBoxLayout(out);
  const char* charsets[] = {"Sjis", "EUC", "utf-8"};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(QString::fromLatin1(charsets[i]), out);
    radio->setObjectName(QStringLiteral("NNout%1").arg(i));
    nnout_->addButton(radio, i);
    radios->addWidget(radio, 1);
  }
  layout->addWidget(out);

  QGroupBox* ieBox = Group(this, "GroupBox2", " Internet Explorerのお気に入りファイルのフォルダ ");
  iecb_ = Combo(ieBox, "IECB");
  QPushButton* button6 = Chooser(ieBox, iecb_, "Button6", nullptr);
  connect(button6, &QPushButton::clicked, this, [this] { Button6Click(); });
  layout->addWidget(ieBox);

  QGroupBox* opBox = Group(this, "GroupBox3", " Ｏｐｅｒａのブックマークファイル ");
  opcb_ = Combo(opBox, "OPCB");
  QPushButton* button3 =
      Chooser(opBox, opcb_, "Button3", "通常ですとProgram FilesのOperaのOpera6.adrです。");
  connect(button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  layout->addWidget(opBox);
}

// The options.
void TForm02::BuildOptions(QVBoxLayout* layout) {
  nnCheck_ = Check(this, "NNCheck", "ＩＥからＮＮへの変換で、元々ＮＮにあるＵＲＬを残して変換する");
  dblCheck_ = Check(this, "DBLCheck", "ダブリチェックで削除の際、確認メッセージを表示しない");
  lnkCheck_ = Check(this, "LNKCheck",
                    "ＩＥ->ＮＮでは「リンク」->「ユーザ設定フォルダ」 NN->ＩＥは<-に変換");
  orderCheck_ =
      Check(this, "OrderCheck", "元の並び順を保つ（フォルダとＵＲＬを名前順に並べ替えない）");
  for (QCheckBox* check : {nnCheck_, dblCheck_, lnkCheck_, orderCheck_}) layout->addWidget(check);
}

// "O K" and "キャンセル".
QLayout* TForm02::BuildButtons() {
  auto* ok = new QPushButton(QStringLiteral("O K"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { Button1Click(); });
  auto* cancel = new QPushButton(Jp("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("Button2"));
  connect(cancel, &QPushButton::clicked, this, [this] { Button2Click(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok, 0, Qt::AlignBottom);
  buttons->addWidget(cancel, 0, Qt::AlignBottom);
  return buttons;
}

void TForm02::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  FormShow();
  if (!activated_) {
    activated_ = true;
    FormActivate();
  }
}

void TForm02::FormShow() {
  CentreOn(this, parentWidget());
}

void TForm02::FormActivate() {
  Settings& settings = AppSettings();
  const StoredLocations stored = ReadLocations();
  settings.NNFileName = stored.nn.value;
  settings.IEDirName = stored.ie.value;
  settings.OPFileName = stored.op.value;
  Fill(nncb_, stored.nn);
  // The browsers' files found are offered below the history; they join it only once chosen.
  for (const std::string& found : FindBrowserBookmarkFiles())
    if (nncb_->findText(FromSjis(found)) < 0) nncb_->addItem(FromSjis(found), kFoundItem);
  Fill(iecb_, stored.ie);
  Fill(opcb_, stored.op);
  nnCheck_->setChecked(settings.NNConv != 0);
  // The writer takes any value but 1 and 2 for Shift_JIS, and so does the dialog.
  const int out = settings.Out == 1 || settings.Out == 2 ? settings.Out : 0;
  nnout_->button(out)->setChecked(true);
  dblCheck_->setChecked(settings.DBL != 0);
  lnkCheck_->setChecked(settings.LNK != 0);
  orderCheck_->setChecked(settings.Order != 0);
  spinEdit_->setValue(settings.Proc);
  SpinEditChange(spinEdit_->value());
  SetPicture(settings.Proc);
}

void TForm02::SpinEditChange(int value) {
  image0_->setVisible(value != 0);
  SetPicture(value);
}

void TForm02::SetPicture(int number) {
  if (number >= 1 && number <= kOperationCount)
    image0_->SetPicture([number](qreal ratio) { return OperationPicture(number, ratio); });
}

int TForm02::OutIndex() const {
  return nnout_->checkedId() < 0 ? 0 : nnout_->checkedId();
}

void TForm02::ChooseFile(QComboBox* combo, const char* title, const char* filter,
                         const char* defaultExtension) {
  const std::string text = Text(combo);
  const std::string start = text.empty() ? std::string() : FolderOfPath(text);
  // Both files are ones the program writes: a new file may be named here as well.
  const auto chosen = MessageService::Instance().OpenFile(this, Sjis(title), Sjis(filter), start,
                                                          defaultExtension, true);
  if (chosen) combo->setEditText(FromSjis(*chosen));
}

void TForm02::Button5Click() {
  // No default extension: a Chromium profile's "Bookmarks" has none, and would be taken for
  // "Bookmarks.htm".
  ChooseFile(nncb_, "ブックマークファイルの指定",
             "ブックマークファイル|*.htm* Bookmarks *.json *.xbel *.jsonlz4 places.sqlite|"
             "HTM/HTML files|*.htm*|Chromium Bookmarks|Bookmarks *.json|XBEL files|*.xbel|"
             "Firefox|*.jsonlz4 places.sqlite|ALL files|*.*",
             "");
}

void TForm02::Button3Click() {
  ChooseFile(opcb_, "Ｏｐｅｒａブックマークファイルの指定", "ＡＤＲ files|*.adr|ALL files|*.*", "");
}

void TForm02::Button6Click() {
  // The chooser starts at the folder shown, so that a nearby folder is quick to pick.
  const auto chosen = MessageService::Instance().ChooseFolder(
      this, Sjis("お気に入りのフォルダを選択してください。"), Text(iecb_));
  if (chosen) iecb_->setEditText(FromSjis(*chosen));
}

void TForm02::Button1Click() {
  const std::string nn = Text(nncb_);
  const std::string ieText = Text(iecb_);
  if (nn.empty() || ieText.empty()) {
    owner_.MessageBox(Sjis(kMissingText), MessageCaption(), kMbIconError | kMbOk);
    return;
  }
  if (!platform::FileExists(nn) && owner_.MessageBox(Sjis(kNewFileQuestion), MessageCaption(),
                                                     kMbIconQuestion | kMbOkCancel) != kIdOk)
    return;

  std::string ie = TBookmarkControl::RemoveBackslash(ieText);
  // The folder typed with this system's separator at its end is the same folder too; kept, it
  // would stand in every path of the entries before their own "\" (".../Favorites/\ニュース").
  if (ie.size() > 1 && ie.back() == '/') ie.pop_back();
  const std::string op = Text(opcb_);
  try {
    WriteLocations(nn, Lines(nncb_), ie, Lines(iecb_), op, Lines(opcb_));
  } catch (const platform::IoError&) {
    // The dialog stays open and the settings in memory keep their values.
    ShowWriteError(owner_, IniFileName());
    return;
  }
  Settings& settings = AppSettings();
  settings.NNFileName = nn;
  settings.IEDirName = ie;
  settings.OPFileName = op;
  settings.NNConv = nnCheck_->isChecked() ? 1 : 0;
  settings.Out = OutIndex();
  settings.DBL = dblCheck_->isChecked() ? 1 : 0;
  settings.LNK = lnkCheck_->isChecked() ? 1 : 0;
  settings.Order = orderCheck_->isChecked() ? 1 : 0;
  settings.Proc = spinEdit_->value();
  accept();
}

void TForm02::Button2Click() {
  reject();
}

}  // namespace lf
