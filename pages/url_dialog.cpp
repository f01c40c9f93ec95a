#include "pages/url_dialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/sjis_text.h"
#include "engine/ui.h"
#include "qtui/message_service.h"
#include "qtui/sjis_qt.h"
#include "qtui/window_font.h"
#include "qtui/window_places.h"

namespace lf {

namespace {
constexpr char kHttp[] = "http://";
}

UrlDialogValues& UrlDialogShared() {
  static UrlDialogValues values;
  return values;
}

TForm06::TForm06(QWidget* page1, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), page1_(page1) {
  setObjectName("Form06");
  setWindowTitle(Jp("Linkferry ＵＲＬ情報"));
  setFont(PageFont());
  setModal(true);

  label1_ = new QLabel(Jp("ＵＲＬ 名称"), this);
  label1_->setObjectName("Label1");
  edit1_ = new QLineEdit(this);
  edit1_->setObjectName("Edit1");
  label1_->setBuddy(edit1_);

  label2_ = new QLabel(Jp("ＵＲＬ アドレス"), this);
  label2_->setObjectName("Label2");
  edit2_ = new QLineEdit(this);
  edit2_->setObjectName("Edit2");
  label2_->setBuddy(edit2_);
  // Addresses are typed in plain letters: no input method.
  edit2_->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit2_->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText |
                              Qt::ImhUrlCharactersOnly);

  button1_ = new QPushButton(Jp("Ｏ Ｋ"), this);
  button1_->setObjectName("Button1");
  button2_ = new QPushButton(Jp("キャンセル"), this);
  button2_->setObjectName("Button2");
  for (QPushButton* button : {button1_, button2_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  // The name beside its label, the address below its own on the whole width: a name is short,
  // an address may be long. The address field shows about 60 characters.
  const int addressWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60;
  edit1_->setMinimumWidth(addressWidth * 3 / 4);
  edit2_->setMinimumWidth(addressWidth);
  auto* fields = new QGridLayout;
  fields->addWidget(label1_, 0, 0);
  fields->addWidget(edit1_, 0, 1);
  fields->addWidget(label2_, 1, 0, 1, 2);
  fields->addWidget(edit2_, 2, 0, 1, 2);
  fields->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(button1_);
  buttons->addWidget(button2_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  // As large as its contents, and no larger: the dialog has no border to be pulled at.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(edit1_, &QLineEdit::textChanged, this, &TForm06::Edit1Change);
  connect(edit2_, &QLineEdit::textChanged, this, &TForm06::Edit2Change);
  connect(button1_, &QPushButton::clicked, this, &TForm06::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &TForm06::Button2Click);
}

void TForm06::SetName(const std::string& sjis) {
  edit1_->setText(FromSjis(sjis));
}
void TForm06::SetAddress(const std::string& sjis) {
  edit2_->setText(FromSjis(sjis));
}
std::string TForm06::Name() const {
  return ToSjis(edit1_->text());
}
std::string TForm06::Address() const {
  return ToSjis(edit2_->text());
}

void TForm06::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TForm06::keyPressEvent(QKeyEvent* event) {
  // Neither Enter nor Escape answers the dialog; only its two buttons do.
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void TForm06::FormShow() {
  // Over the page it is opened from, where the link it asks for is shown.
  CentreOn(this, parentWidget() ? parentWidget() : page1_.data());
  UrlDialogValues& values = UrlDialogShared();
  values.name.clear();
  values.address.clear();
  if (edit1_->text().isEmpty()) edit2_->setText(QString::fromLatin1(kHttp));
  values.accepted = 0;
  // Typing starts in the name field, not on the button that closed the dialog last time.
  edit1_->setFocus();
}

void TForm06::Edit1Change() {
  UrlDialogShared().name = Name();
}
void TForm06::Edit2Change() {
  UrlDialogShared().address = Address();
}

void TForm06::Button1Click() {
  if (!edit1_->text().isEmpty() && Address() != kHttp) {
    UrlDialogShared().accepted = 1;
    accept();
    return;
  }
  MessageService::Instance().Show(this,
                                  Sjis("ＵＲＬの設定が出来ていません。\r設定を行ってください。"),
                                  MessageCaption(), kMbIconError | kMbOk);
}

void TForm06::Button2Click() {
  reject();
}

}  // namespace lf
