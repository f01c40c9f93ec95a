#include "wizard/second_pages.h"

#include "core/operations.h"
#include "pages/duplicate_page.h"
#include "pages/editor_page.h"
#include "pages/transfer_page.h"

namespace lf {

QWidget* CreateSecondPage(int proc, QWidget* page1) {
  switch (proc) {
    case kAddNnToIe:
    case kAddIeToNn:
      return new TForm03(page1);
    case kEditIe:
    case kEditNn:
      return new TForm05(page1);
    case kCheckIe:
    case kCheckNn:
      return new TForm07(page1);
    default:
      return nullptr;
  }
}

}  // namespace lf
