#pragma once
// Painting colours for TColor values. System colours follow the widget's
// palette, so they change with the desktop theme.

#include <QColor>

#include "platform/Color.h"

class QPalette;

// A colour for painting; system colours are taken from `palette` (the
// application's palette in the first form). clNone gives a transparent colour.
QColor ColorToQColor(TColor c, const QPalette& palette);
QColor ColorToQColor(TColor c);

// The $00BBGGRR form of a colour (system colours resolved), e.g. for storing
// what the user picked.
TColor QColorToColor(const QColor& c);
