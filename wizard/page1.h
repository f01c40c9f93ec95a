// Page 1 of the wizard (TForm01), the main window: the eleven operation pictures with their
// memos, the runs of the operations that are carried out at once, and the way to the
// settings dialog and to the second pages.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "core/operations.h"
#include "core/run_driver.h"
#include "engine/bookmark_control.h"
#include "qtui/qt_owner.h"
#include "qtui/qt_views.h"

class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace lf {

class PictureButton;

class TForm01 : public QWidget {
  Q_OBJECT
 public:
  // FormCreate: reads the settings file and builds the page, hidden.
  explicit TForm01(QWidget* parent = nullptr);
  // FormDestroy.
  ~TForm01() override;

  // Runs each time the page is shown: centres it, finds missing default locations and
  // re-selects the current operation.
  void FormShow();

  // Choosing an operation by its picture.
  void Image1Click() { ChooseOperation(1); }
  void Image2Click() { ChooseOperation(2); }
  void Image3Click() { ChooseOperation(3); }
  void Image4Click() { ChooseOperation(4); }
  void Image5Click() { ChooseOperation(5); }
  void Image6Click() { ChooseOperation(6); }
  void Image7Click() { ChooseOperation(7); }
  void Image8Click() { ChooseOperation(8); }
  void Image9Click() { ChooseOperation(9); }
  void Image10Click() { ChooseOperation(10); }
  void Image11Click() { ChooseOperation(11); }
  // Re-selects the current operation (Proc); one outside 1..11 becomes 0.
  void ImageClick();
  void HideMemos();
  // Buttons for a run-at-once operation: only "実行".
  void ButtonSet1();
  // Buttons for a second-page operation: only "次へ >>".
  void ButtonSet2();

  void Button1Click();  // 終了
  void Button2Click();  // << 戻る
  void Button3Click();  // 次へ >>
  void Button4Click();  // 実行
  void Button5Click();  // 設定
  // "中止" while a run reads: the run stops before it writes anything.
  void Button6Click();
  // "LostData.txt を開く" after a run that lost links: the log in the desktop's text viewer.
  void Button7Click();
  // Stores the shared settings in the settings file.
  void IniWrite();

  TBookmarkControl& Control() { return *control_; }
  // True while "実行" is at work; the page's controls are disabled meanwhile.
  bool Running() const { return running_; }
  // The second page opened last, if it still exists.
  QWidget* SecondPage() const { return secondPage_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildHeader();
  QWidget* BuildPictures();
  QWidget* BuildMemos();
  QWidget* BuildFooter();
  QLayout* BuildButtonRow();
  void ChooseOperation(int number);
  // The status line: red, asking for the locations, while they are missing; else the text.
  void SetLabel3(bool red);
  void SetStatusLine(const std::string& text);
  void ShowStatusLine();
  // What a run wrote and lost, beside its summary line.
  void ShowRunResult(int proc, const RunResult& result);

  std::unique_ptr<TBookmarkControl> control_;
  QtOwner owner_;
  std::unique_ptr<QtProgressBar> bar_;
  std::unique_ptr<QtStatusLabel> status_;

  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label5_ = nullptr;
  QLabel* label6_ = nullptr;       // what the last run wrote and lost
  QLineEdit* lostPath_ = nullptr;  // where the lost-data log lies
  QProgressBar* progress_ = nullptr;
  QGroupBox* pictures_ = nullptr;
  std::array<PictureButton*, kOperationCount + 1> images_{};  // [0] unused
  std::array<QPlainTextEdit*, kOperationCount + 1> memos_{};  // [0] unused
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
  QPushButton* button3_ = nullptr;
  QPushButton* button4_ = nullptr;
  QPushButton* button5_ = nullptr;
  QPushButton* button6_ = nullptr;
  QPushButton* button7_ = nullptr;

  QPointer<QWidget> secondPage_;
  bool running_ = false;
  bool locationsMissing_ = false;  // the status line asks for the locations in red
  std::string statusLine_;         // else what it says of the operation (empty: choose one)
  std::string lostDataPath_;       // the log the last run wrote, for Button7
  QString settingsProblems_;       // what the settings file held that cannot be used
};

}  // namespace lf
