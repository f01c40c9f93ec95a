#include "wizard/picture_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lf {

PictureButton::PictureButton(QWidget* parent) : SharpPicture(parent) {
  setCursor(Qt::PointingHandCursor);
  // Without a mouse the operations are chosen with Tab and Space.
  setFocusPolicy(Qt::StrongFocus);
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

void PictureButton::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      emit clicked();
      return;
    default:
      QLabel::keyPressEvent(event);
  }
}

void PictureButton::paintEvent(QPaintEvent* event) {
  SharpPicture::paintEvent(event);
  if (!hasFocus()) return;
  // The picture the keyboard is on, framed in the colour of a selection.
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
  painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

}  // namespace lf
