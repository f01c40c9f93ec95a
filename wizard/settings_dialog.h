// The settings dialog (TForm02): the three locations with their histories, the output
// character set of Netscape files, the three options and the current operation.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "qtui/qt_owner.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLayout;
class QSpinBox;
class QVBoxLayout;

namespace lf {

class SharpPicture;

class TForm02 : public QDialog {
  Q_OBJECT
 public:
  // page1 is the window the dialog covers and the owner of its messages.
  explicit TForm02(QWidget* page1 = nullptr);

  // Fills the controls from the settings file and the shared settings (once, when the
  // dialog first opens); the three locations in memory are replaced by the stored ones.
  void FormActivate();
  // Puts the dialog over page 1.
  void FormShow();
  void SpinEditChange(int value);
  // Shows the picture of operation 1..11 in Image0; other numbers change nothing.
  void SetPicture(int number);
  void Button1Click();  // O K
  void Button2Click();  // キャンセル
  void Button5Click();  // the Netscape bookmark file
  void Button6Click();  // the Favorites folder
  void Button3Click();  // the Opera hotlist

  // The index of the chosen output character set, 0..2.
  int OutIndex() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  QLayout* BuildHeader();
  QWidget* BuildOperation();
  void BuildLocations(QVBoxLayout* layout);
  void BuildOptions(QVBoxLayout* layout);
  QLayout* BuildButtons();
  // Runs the file-open dialog for a combo box.
  void ChooseFile(QComboBox* combo, const char* title, const char* filter,
                  const char* defaultExtension);

  QtOwner owner_;
  SharpPicture* image0_ = nullptr;
  QSpinBox* spinEdit_ = nullptr;
  QComboBox* nncb_ = nullptr;
  QComboBox* iecb_ = nullptr;
  QComboBox* opcb_ = nullptr;
  QButtonGroup* nnout_ = nullptr;
  QCheckBox* nnCheck_ = nullptr;
  QCheckBox* dblCheck_ = nullptr;
  QCheckBox* lnkCheck_ = nullptr;
  QCheckBox* orderCheck_ = nullptr;
  bool activated_ = false;
};

// The folder part of a path: everything up to and including its last "\", ":" or "/".
std::string FolderOfPath(const std::string& path);

}  // namespace lf
