// The factory behind page 1's "次へ >>": the page of each operation's kind.
#include "wizard/second_pages.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "core/app_state.h"
#include "pages/duplicate_page.h"
#include "pages/transfer_page.h"

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

}  // namespace
