// The URL information dialog: asks for the name and the address of one link, for a new link
// of the editor page and for editing one.
#pragma once

#include <QDialog>
#include <QPointer>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lf {

// What the dialog hands back to its caller, shared as the program's other values are.
struct UrlDialogValues {
  int accepted = 0;     // 1 after "Ｏ Ｋ" was accepted
  std::string name;     // the name field after its last change since the dialog was shown
  std::string address;  // the address field after its last change since the dialog was shown
};
UrlDialogValues& UrlDialogShared();

class TForm06 : public QDialog {
  Q_OBJECT
 public:
  // page1 is the window the dialog is placed by.
  explicit TForm06(QWidget* page1, QWidget* parent = nullptr);

  // The fields, which the caller fills before showing the dialog and reads after an edit.
  void SetName(const std::string& sjis);
  void SetAddress(const std::string& sjis);
  std::string Name() const;
  std::string Address() const;

 public slots:
  void FormShow();
  void Edit1Change();
  void Edit2Change();
  void Button1Click();
  void Button2Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPointer<QWidget> page1_;
  QLabel* label1_;
  QLineEdit* edit1_;
  QLabel* label2_;
  QLineEdit* edit2_;
  QPushButton* button1_;
  QPushButton* button2_;
};

}  // namespace lf
