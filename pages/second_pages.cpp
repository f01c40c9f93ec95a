#include "pages/second_pages.h"

#include "pages/unit3.h"
#include "pages/unit5.h"
#include "pages/unit7.h"

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
