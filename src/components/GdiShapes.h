#pragma once
// Ellipses, arcs, pies and chords by the canvas conventions the custom
// controls compute their pixels with: a bounding box (x1, y1, x2, y2) excludes
// its right and bottom edge, and an arc runs counter-clockwise on the screen
// from the radial through the start point (x3, y3) to the radial through the
// end point (x4, y4); equal radials give the whole ellipse.

#include <QRect>

class QPainter;

namespace gdi {

QRect BoxRect(int x1, int y1, int x2, int y2);

// Start and span of the arc in sixteenths of a degree, as QPainter takes them.
struct ArcAngles {
  int start;
  int span;
};
ArcAngles ArcAnglesOf(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

void Ellipse(QPainter& p, int x1, int y1, int x2, int y2);
void Arc(QPainter& p, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
void Pie(QPainter& p, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
void Chord(QPainter& p, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

}  // namespace gdi
