// The factory behind page 1's "次へ >>": the page of each operation's kind.
#include "wizard/second_pages.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "core/app_state.h"
#include "pages/duplicate_page.h"
#include "pages/transfer_page.h"
#include "pages/url_dialog.h"
#include "qtui/window_font.h"

namespace {

TEST(SecondPages, PageOneOpensTheTransferPageForOperationsFourAndSeven) {
  QWidget page1;
  for (int proc : {4, 7}) {
    lf::AppSettings().Proc = proc;
    QWidget* page = lf::CreateSecondPage(proc, &page1);
    EXPECT_TRUE(qobject_cast<lf::TForm03*>(page)) << proc;
    delete page;
  }
}

TEST(SecondPages, PageOneOpensTheDuplicateCheckForOperationsSixAndNine) {
  QWidget page1;
  for (int proc : {6, 9}) {
    lf::AppSettings().Proc = proc;
    QWidget* page = lf::CreateSecondPage(proc, &page1);
    EXPECT_TRUE(qobject_cast<lf::TForm07*>(page)) << proc;
    delete page;
  }
  EXPECT_EQ(lf::CreateSecondPage(1, &page1), nullptr);
}

// Every window shows its Japanese text in page 1's font, not in a fallback that spaces
// full-width letters apart and draws some "\" as a yen sign.
TEST(SecondPages, EveryPageAndTheUrlDialogUseThePageFont) {
  QWidget page1;
  for (int proc = 4; proc <= 9; ++proc) {
    lf::AppSettings().Proc = proc;
    QWidget* page = lf::CreateSecondPage(proc, &page1);
    EXPECT_EQ(page->font().toString(), lf::PageFont().toString()) << proc;
    delete page;
  }
  lf::TForm06 dialog(&page1);
  EXPECT_EQ(dialog.font().toString(), lf::PageFont().toString());
}

}  // namespace
