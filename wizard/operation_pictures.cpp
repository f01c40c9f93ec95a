#include "wizard/operation_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace lf {
namespace {

void DrawBookmarkFile(QPainter& p) {
  QPainterPath page;
  page.moveTo(2.5, 0.5);
  page.lineTo(10.5, 0.5);
  page.lineTo(13.5, 3.5);
  page.lineTo(13.5, 15.5);
  page.lineTo(2.5, 15.5);
  page.closeSubpath();
  p.setPen(QColor(0x50, 0x50, 0x60));
  p.setBrush(Qt::white);
  p.drawPath(page);
  p.setPen(QColor(0x90, 0x98, 0xB0));
  for (int y = 6; y <= 13; y += 2) p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
  // The ribbon hanging from the top edge.
  QPolygonF ribbon({{6, 0}, {10, 0}, {10, 9}, {8, 7}, {6, 9}});
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xD0, 0x20, 0x30));
  p.drawPolygon(ribbon);
}

void DrawFavoritesFolder(QPainter& p) {
  p.setPen(QColor(0x80, 0x60, 0x00));
  p.setBrush(QColor(0xF0, 0xC8, 0x40));
  p.drawRect(QRectF(0.5, 3.5, 15, 11));
  p.drawRect(QRectF(0.5, 1.5, 6, 2));
  // A heart on the folder's face.
  QPainterPath heart;
  heart.moveTo(8, 13);
  heart.cubicTo(2, 9, 4, 4.5, 8, 7.5);
  heart.cubicTo(12, 4.5, 14, 9, 8, 13);
  p.setPen(QColor(0x90, 0x10, 0x20));
  p.setBrush(QColor(0xE0, 0x30, 0x40));
  p.drawPath(heart);
}

void DrawHotlist(QPainter& p) {
  p.setPen(QColor(0x60, 0x40, 0x20));
  p.setBrush(QColor(0xB0, 0x80, 0x50));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 14), 1.5, 1.5);
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(3, 3.5, 10, 11));
  p.setBrush(QColor(0x50, 0x50, 0x50));
  p.drawRect(QRectF(5.5, 0.5, 5, 2.5));  // the clip
  for (int i = 0; i < 3; ++i) {
    const double y = 6 + 3 * i;
    p.setBrush(QColor(0xE0, 0x50, 0x10));
    p.drawEllipse(QRectF(4, y - 0.5, 2, 2));
    p.setBrush(QColor(0x70, 0x70, 0x80));
    p.drawRect(QRectF(7, y, 5, 1));
  }
}

QColor ArrowColor(const char* word) {
  const std::string w = word;
  if (w == "Merge") return QColor(0x80, 0x30, 0xA0);
  if (w == "URL Add") return QColor(0x20, 0x90, 0x40);
  if (w == "Update") return QColor(0xD0, 0x70, 0x10);
  if (w == "Check") return QColor(0x10, 0x80, 0x90);
  return QColor(0x20, 0x50, 0xC0);
}

void DrawArrow(QPainter& p, const OperationInfo& op) {
  const double left = 21, right = 74, top = 5, bottom = 15, mid = 10, head = 6;
  QPainterPath arrow;
  if (op.bothWays) {
    arrow.moveTo(left, mid);
    arrow.lineTo(left + head, 1);
    arrow.lineTo(left + head, top);
  } else {
    arrow.moveTo(left, top);
  }
  arrow.lineTo(right - head, top);
  arrow.lineTo(right - head, 1);
  arrow.lineTo(right, mid);
  arrow.lineTo(right - head, 19);
  arrow.lineTo(right - head, bottom);
  if (op.bothWays) {
    arrow.lineTo(left + head, bottom);
    arrow.lineTo(left + head, 19);
  } else {
    arrow.lineTo(left, bottom);
  }
  arrow.closeSubpath();
  const QColor color = ArrowColor(op.word);
  QLinearGradient shade(0, 1, 0, 19);
  shade.setColorAt(0, color.lighter(140));
  shade.setColorAt(1, color.darker(120));
  p.setPen(QPen(color.darker(150), 1));
  p.setBrush(shade);
  p.drawPath(arrow);

  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(8);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(left + (op.bothWays ? head : 0), top,
                    right - left - head * (op.bothWays ? 2 : 1), bottom - top),
             Qt::AlignCenter, QString::fromLatin1(op.word));
}

using DrawMark = void (*)(QPainter&);
constexpr DrawMark kMarks[3] = {DrawBookmarkFile, DrawFavoritesFolder, DrawHotlist};

void DrawMarkAt(QPainter& p, Collection collection, QPointF at) {
  p.save();
  p.translate(at);
  kMarks[static_cast<std::size_t>(collection)](p);
  p.restore();
}

// An empty picture of size device-independent pixels for the ratio, to be painted on in those
// pixels.
QPixmap Canvas(QSize size, qreal ratio) {
  if (ratio <= 0) ratio = 1.0;
  QPixmap pix(qRound(size.width() * ratio), qRound(size.height() * ratio));
  pix.setDevicePixelRatio(ratio);
  pix.fill(Qt::transparent);
  return pix;
}

}  // namespace

QPixmap CollectionMark(Collection collection, qreal devicePixelRatio) {
  QPixmap pix = Canvas(QSize(16, 16), devicePixelRatio);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  DrawMarkAt(p, collection, QPointF(0, 0));
  return pix;
}

QPixmap OperationPicture(int number, qreal devicePixelRatio) {
  if (number < 1 || number > kOperationCount) return QPixmap();
  const OperationInfo& op = OperationOf(number);
  QPixmap pix = Canvas(QSize(kPictureWidth, kPictureHeight), devicePixelRatio);
  pix.fill(QColor(0xF8, 0xF8, 0xF4));
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(0xA0, 0xA0, 0xA0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, kPictureWidth - 1, kPictureHeight - 1));
  DrawMarkAt(p, op.source, QPointF(3, 2));
  DrawMarkAt(p, op.target, QPointF(kPictureWidth - 19, 2));
  DrawArrow(p, op);
  return pix;
}

QPixmap ProgramPicture(int size, qreal devicePixelRatio) {
  QPixmap pix = Canvas(QSize(size, size), devicePixelRatio);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  // Sky disc.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xCC, 0xE4, 0xFF));
  p.drawEllipse(QRectF(1, 1, 30, 30));
  // The ribbon flying from the mast.
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
  p.drawLine(QPointF(16, 5), QPointF(16, 19));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xD0, 0x20, 0x30));
  p.drawPolygon(QPolygonF({{16.5, 5}, {25, 5}, {25, 14}, {20.75, 11}, {16.5, 14}}));
  // Cabin and hull.
  p.setBrush(Qt::white);
  p.setPen(QPen(QColor(0x30, 0x30, 0x50), 1));
  p.drawRect(QRectF(9.5, 14.5, 10, 5));
  p.setBrush(QColor(0x20, 0x40, 0x90));
  p.drawPolygon(QPolygonF({{4, 19.5}, {28, 19.5}, {24, 25}, {8, 25}}));
  // Waves.
  p.setPen(QPen(QColor(0x20, 0x80, 0xD0), 1.6));
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 3; ++i) {
    QPainterPath wave;
    const double y = 26.5 + 0.0 * i;
    wave.moveTo(3 + 9 * i, y);
    wave.quadTo(5.25 + 9 * i, y - 2, 7.5 + 9 * i, y);
    wave.quadTo(9.75 + 9 * i, y + 2, 12 + 9 * i, y);
    p.drawPath(wave);
  }
  return pix;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ProgramPicture(size));
  return icon;
}

}  // namespace lf
