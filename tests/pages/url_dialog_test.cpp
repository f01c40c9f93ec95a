#include "pages/url_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "engine/ui.h"
#include "tests/support/qt/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace {

using lftest::S;

class UrlDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    page1.move(120, 80);
    lf::UrlDialogShared() = {1, "old", "old"};
  }

  QLineEdit* Edit(const char* name) { return dialog.findChild<QLineEdit*>(name); }
  void Click(const char* name) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(name), Qt::LeftButton);
  }
  // Replaces the text of a field as typing does, so the change handlers run.
  void Type(const char* name, const QString& text) {
    Edit(name)->selectAll();
    Edit(name)->insert(text);
    if (text.isEmpty()) Edit(name)->del();
  }

  lftest::ScriptedMessages messages;
  QWidget page1;
  lf::TForm06 dialog{&page1};
};

TEST_F(UrlDialogTest, ShowingANewUrlPrefillsTheAddressOverItsPage) {
  dialog.SetName("");
  dialog.SetAddress("");
  dialog.show();
  EXPECT_EQ(Edit("Edit2")->text(), "http://");
  EXPECT_EQ(lf::UrlDialogShared().accepted, 0);
  EXPECT_EQ(lf::UrlDialogShared().name, "");
  EXPECT_EQ(dialog.frameGeometry().center(), page1.frameGeometry().center());
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Linkferry ＵＲＬ情報"));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());  // as large as its contents
  EXPECT_EQ(dialog.findChild<QPushButton*>("Button1")->text(), QString::fromUtf8("Ｏ Ｋ"));
  EXPECT_EQ(dialog.findChild<QPushButton*>("Button2")->text(), QString::fromUtf8("キャンセル"));
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(Edit("Edit2")->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(UrlDialogTest, OkRefusesAMissingNameOrTheBarePrefix) {
  const std::string warning = "ＵＲＬの設定が出来ていません。\r設定を行ってください。";
  dialog.SetName("");
  dialog.show();
  Type("Edit1", QString::fromUtf8("ニュース"));
  Click("Button1");  // the address is still "http://"
  Type("Edit1", "");
  Type("Edit2", "http://host/");
  Click("Button1");  // no name
  ASSERT_EQ(messages.shown.size(), 2u);
  for (const auto& shown : messages.shown) {
    EXPECT_EQ(shown.text, warning);
    EXPECT_EQ(shown.caption, "Ｌｉｎｋｆｅｒｒｙ");
    EXPECT_EQ(shown.flags, unsigned{lf::kMbIconError});
    EXPECT_EQ(shown.owner, &dialog);
  }
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(lf::UrlDialogShared().accepted, 0);
}

TEST_F(UrlDialogTest, ANewUrlHandsBackWhatWasTypedAnEmptyAddressIncluded) {
  dialog.SetName("");
  dialog.show();
  Type("Edit1", QString::fromUtf8("ニュース"));
  Type("Edit2", "");
  Click("Button1");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(lf::UrlDialogShared().accepted, 1);
  EXPECT_EQ(lf::UrlDialogShared().name, S("ニュース"));
  EXPECT_EQ(lf::UrlDialogShared().address, "");
}

TEST_F(UrlDialogTest, AnUnchangedEditIsAcceptedAndCancelHandsNothingBack) {
  dialog.SetName(S("ヤフー"));
  dialog.SetAddress("http://y/");
  dialog.show();
  EXPECT_EQ(Edit("Edit2")->text(), "http://y/");  // no prefix over an existing address
  Click("Button1");
  EXPECT_EQ(lf::UrlDialogShared().accepted, 1);
  EXPECT_EQ(dialog.Name(), S("ヤフー"));
  EXPECT_EQ(dialog.Address(), "http://y/");

  dialog.show();
  Type("Edit2", "http://z/");
  Click("Button2");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(lf::UrlDialogShared().accepted, 0);
}

// The dialog is shown again and again: typing always starts in the name field, wherever the
// keyboard was when it was closed last time.
TEST_F(UrlDialogTest, EveryShowingStartsTypingInTheName) {
  dialog.SetName("");
  dialog.show();
  dialog.findChild<QPushButton*>("Button2")->setFocus();
  Click("Button2");
  dialog.show();
  EXPECT_EQ(dialog.focusWidget(), Edit("Edit1"));
}

TEST_F(UrlDialogTest, EnterAndEscapeDoNotAnswerTheModalDialog) {
  dialog.SetName("");
  bool stillOpen = false;
  QTimer::singleShot(0, [&] {
    auto* modal = QApplication::activeModalWidget();
    ASSERT_EQ(modal, &dialog);
    QTest::keyClick(Edit("Edit2"), Qt::Key_Escape);
    QTest::keyClick(Edit("Edit1"), Qt::Key_Return);
    stillOpen = dialog.isVisible();
    Type("Edit1", "News");
    Type("Edit2", "http://n/");
    Click("Button1");
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(lf::UrlDialogShared().name, "News");
  EXPECT_EQ(lf::UrlDialogShared().address, "http://n/");
}

}  // namespace
