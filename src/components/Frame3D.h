#pragma once
// The bevelled frame of panels and buttons: `width` rings, each with its top
// and left edges (less the top-right and bottom-left corners) in `topLeft`
// and its right and bottom edges in `bottomRight`. Returns the rectangle
// inside the rings.

#include <QColor>
#include <QRect>

#include "platform/Color.h"

class QPainter;

QRect Frame3D(QPainter& canvas, const QRect& r, const QColor& topLeft, const QColor& bottomRight,
              int width = 1);
// System colours from the application's palette.
QRect Frame3D(QPainter& canvas, const QRect& r, TColor topLeft, TColor bottomRight, int width = 1);
