// A picture that answers a click, as the operation pictures of page 1 do.
#pragma once

#include <QLabel>

namespace lf {

class PictureButton : public QLabel {
  Q_OBJECT
 public:
  explicit PictureButton(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace lf
