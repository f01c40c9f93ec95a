// The second wizard pages that page 1 opens with "次へ >>".
#pragma once

class QWidget;

namespace lf {

// A new page for operation proc (4..9), placed over page 1 and not yet shown; nullptr for
// an operation without a second page. The page shows page 1 again when the user goes back
// and closes it when the page itself is closed.
QWidget* CreateSecondPage(int proc, QWidget* page1);

}  // namespace lf
