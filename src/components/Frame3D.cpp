#include "components/Frame3D.h"

#include <QPainter>

#include "components/Colors.h"

QRect Frame3D(QPainter& canvas, const QRect& r, const QColor& topLeft, const QColor& bottomRight,
              int width) {
  QRect ring = r;
  for (; width > 0; --width) {
    if (ring.width() <= 0 || ring.height() <= 0) return ring;
    canvas.fillRect(ring.x(), ring.y(), ring.width() - 1, 1, topLeft);
    canvas.fillRect(ring.x(), ring.y(), 1, ring.height() - 1, topLeft);
    canvas.fillRect(ring.x() + ring.width() - 1, ring.y(), 1, ring.height(), bottomRight);
    canvas.fillRect(ring.x(), ring.y() + ring.height() - 1, ring.width(), 1, bottomRight);
    ring.adjust(1, 1, -1, -1);
  }
  return ring;
}

QRect Frame3D(QPainter& canvas, const QRect& r, TColor topLeft, TColor bottomRight, int width) {
  return Frame3D(canvas, r, ColorToQColor(topLeft), ColorToQColor(bottomRight), width);
}
