#include "qtui/sharp_picture.h"

#include <utility>

namespace lf {

SharpPicture::SharpPicture(QWidget* parent) : QLabel(parent) {}

void SharpPicture::SetPicture(Maker maker) {
  maker_ = std::move(maker);
  ratio_ = devicePixelRatioF();
  setPixmap(maker_ ? maker_(ratio_) : QPixmap());
}

void SharpPicture::paintEvent(QPaintEvent* event) {
  // A window moved to a screen of another density paints again before anything else tells.
  if (maker_ && devicePixelRatioF() != ratio_) {
    ratio_ = devicePixelRatioF();
    setPixmap(maker_(ratio_));
  }
  QLabel::paintEvent(event);
}

}  // namespace lf
