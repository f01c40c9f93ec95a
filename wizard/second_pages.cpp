#include "wizard/second_pages.h"

#include "pages/duplicate_page.h"
#include "pages/editor_page.h"
#include "pages/transfer_page.h"

namespace lf {

QWidget* CreateSecondPage(int proc, QWidget* page1) {
  switch (proc) {
    case 4:
    case 7:
      return new TForm03(page1);
    case 5:
    case 8:
      return new TForm05(page1);
    case 6:
    case 9:
      return new TForm07(page1);
    default:
      return nullptr;
  }
}

}  // namespace lf
