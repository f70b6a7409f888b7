#include "components/GdiShapes.h"

#include <QPainter>
#include <cmath>
#include <numbers>
#include <utility>

namespace gdi {

namespace {

// QPainter takes angles on the circle that is stretched into the ellipse, so
// the direction of a point is converted through the half axes.
double ParametricAngle(double dx, double dy, double a, double b) {
  return std::atan2(-dy * a, dx * b) * 180.0 / std::numbers::pi;
}

bool IsEmpty(int x1, int y1, int x2, int y2) { return x1 == x2 || y1 == y2; }

}  // namespace

QRect BoxRect(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  // A one-pixel outline of QRect(x, y, w, h) covers w + 1 pixels.
  return QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

ArcAngles ArcAnglesOf(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
  const double a = std::abs(x2 - x1) / 2.0, b = std::abs(y2 - y1) / 2.0;
  const int start = int(std::lround(ParametricAngle(x3 - cx, y3 - cy, a, b) * 16));
  const int end = int(std::lround(ParametricAngle(x4 - cx, y4 - cy, a, b) * 16));
  int span = ((end - start) % 5760 + 5760) % 5760;
  if (span == 0) span = 5760;
  return {start, span};
}

void Ellipse(QPainter& p, int x1, int y1, int x2, int y2) {
  if (IsEmpty(x1, y1, x2, y2)) return;
  p.drawEllipse(BoxRect(x1, y1, x2, y2));
}

void Arc(QPainter& p, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (IsEmpty(x1, y1, x2, y2)) return;
  const ArcAngles t = ArcAnglesOf(x1, y1, x2, y2, x3, y3, x4, y4);
  p.drawArc(BoxRect(x1, y1, x2, y2), t.start, t.span);
}

void Pie(QPainter& p, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (IsEmpty(x1, y1, x2, y2)) return;
  const ArcAngles t = ArcAnglesOf(x1, y1, x2, y2, x3, y3, x4, y4);
  p.drawPie(BoxRect(x1, y1, x2, y2), t.start, t.span);
}

void Chord(QPainter& p, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (IsEmpty(x1, y1, x2, y2)) return;
  const ArcAngles t = ArcAnglesOf(x1, y1, x2, y2, x3, y3, x4, y4);
  p.drawChord(BoxRect(x1, y1, x2, y2), t.start, t.span);
}

}  // namespace gdi
