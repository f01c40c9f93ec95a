#include "pages/second_pages.h"

namespace lf {

QWidget* CreateSecondPage(int proc, QWidget* page1) {
  (void)page1;
  switch (proc) {
    default:
      return nullptr;
  }
}

}  // namespace lf
