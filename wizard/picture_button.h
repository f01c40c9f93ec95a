// A picture that answers a click, as the operation pictures of page 1 do, and the keyboard:
// Tab reaches it and Space or Enter clicks it.
#pragma once

#include "qtui/sharp_picture.h"

namespace lf {

class PictureButton : public SharpPicture {
  Q_OBJECT
 public:
  explicit PictureButton(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace lf
