#include "wizard/picture_button.h"

#include <QMouseEvent>

namespace lf {

PictureButton::PictureButton(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
  // A click is a press and a release of the left button over the picture.
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) emit clicked();
}

}  // namespace lf
