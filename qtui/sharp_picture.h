// A label that shows one of the program's own pictures drawn for the density of the screen it
// is on, so that the picture is as sharp on a 2x screen as on a 1x one.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <functional>

namespace lf {

class SharpPicture : public QLabel {
  Q_OBJECT
 public:
  // Draws the picture for a device pixel ratio.
  using Maker = std::function<QPixmap(qreal devicePixelRatio)>;

  explicit SharpPicture(QWidget* parent = nullptr);

  // Shows the picture (drawn at once for the widget's ratio, again for another ratio).
  void SetPicture(Maker maker);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Maker maker_;
  qreal ratio_ = 0;  // the ratio the shown pixmap was drawn for
};

}  // namespace lf
