#include "qtui/image_strip.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace lf {
namespace {

void DrawClosedFolder(QPainter& p) {
  p.setPen(QColor(0x80, 0x60, 0x00));
  p.setBrush(QColor(0xF0, 0xC8, 0x40));
  p.drawRect(1, 4, 13, 9);
  p.drawRect(1, 2, 5, 2);
  p.setPen(QColor(0xFF, 0xF0, 0xA0));
  p.drawLine(2, 5, 13, 5);
}

void DrawOpenFolder(QPainter& p) {
  p.setPen(QColor(0x80, 0x60, 0x00));
  p.setBrush(QColor(0xD8, 0xA8, 0x20));
  p.drawRect(1, 3, 12, 10);
  p.drawRect(1, 1, 5, 2);
  QPainterPath front;
  front.moveTo(1, 13);
  front.lineTo(4, 7);
  front.lineTo(15, 7);
  front.lineTo(12, 13);
  front.closeSubpath();
  p.setBrush(QColor(0xFF, 0xE0, 0x70));
  p.drawPath(front);
}

void DrawLink(QPainter& p) {
  // A page with a folded corner...
  QPainterPath page;
  page.moveTo(2, 0.5);
  page.lineTo(10, 0.5);
  page.lineTo(13.5, 4);
  page.lineTo(13.5, 15.5);
  page.lineTo(2, 15.5);
  page.closeSubpath();
  p.setPen(QColor(0x60, 0x60, 0x60));
  p.setBrush(Qt::white);
  p.drawPath(page);
  p.drawLine(QPointF(10, 0.5), QPointF(10, 4));
  p.drawLine(QPointF(10, 4), QPointF(13.5, 4));
  // ...and a blue-and-white globe on it.
  p.setPen(QColor(0x10, 0x30, 0x90));
  p.setBrush(QColor(0x30, 0x70, 0xE0));
  p.drawEllipse(QRectF(3.5, 5.5, 8, 8));
  p.setPen(QPen(Qt::white, 1));
  p.drawLine(QPointF(4, 9.5), QPointF(11, 9.5));
  p.drawEllipse(QRectF(6, 5.5, 3, 8));
}

void DrawDrive(QPainter& p) {
  p.setPen(QColor(0x50, 0x50, 0x50));
  p.setBrush(QColor(0xB8, 0xB8, 0xB8));
  p.drawRect(1, 6, 13, 5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0xD0, 0x20));
  p.drawRect(11, 9, 2, 1);
}

using Draw = void (*)(QPainter&);
constexpr Draw kDraw[4] = {DrawClosedFolder, DrawOpenFolder, DrawLink, DrawDrive};

// Sizes the icons are made at: 16 and 32 for the lists at 1x and 2x, and the larger ones for
// pictures shown bigger (the editor page's 32 x 32 picture) at 1x and 2x.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64};

}  // namespace

QPixmap StripPicture(int index, int size, qreal devicePixelRatio) {
  if (index < 0 || index > 3 || size <= 0) return QPixmap();
  const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  const int pixels = qRound(size * ratio);
  QPixmap pix(pixels, pixels);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  const qreal scale = pixels / 16.0;
  // The folders and the drive are drawn on whole pixels at 16; scaled by a whole number they
  // stay on whole pixels, at any other scale they are smoothed.
  const bool whole = scale == qRound(scale);
  p.setRenderHint(QPainter::Antialiasing, index == 2 || !whole);
  p.scale(scale, scale);
  kDraw[index](p);
  p.end();
  pix.setDevicePixelRatio(ratio);
  return pix;
}

QPixmap DirTreeImg() {
  QPixmap strip(64, 16);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  for (int i = 0; i < 4; ++i) p.drawPixmap(16 * i, 0, StripPicture(i));
  return strip;
}

QIcon StripIcon(int index, int selectedIndex) {
  if (index < 0 || index > 3) return QIcon();
  if (selectedIndex < 0 || selectedIndex > 3) selectedIndex = -1;
  // Made once: a list of many thousand links shares one icon instead of making its own each.
  static std::array<std::array<QIcon, 5>, 4> icons;
  QIcon& icon = icons[static_cast<std::size_t>(index)][static_cast<std::size_t>(selectedIndex + 1)];
  if (icon.isNull()) {
    for (int size : kIconSizes) {
      icon.addPixmap(StripPicture(index, size), QIcon::Normal);
      if (selectedIndex >= 0) icon.addPixmap(StripPicture(selectedIndex, size), QIcon::Selected);
    }
  }
  return icon;
}

}  // namespace lf
