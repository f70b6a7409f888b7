#include "components/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QPalette::ColorRole SystemColorRole(int index) {
  switch (index) {
    case 5: return QPalette::Base;             // window (edit) background
    case 6: return QPalette::Shadow;           // window frame
    case 8: return QPalette::Text;             // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Window;          // face of buttons and forms
    case 16: return QPalette::Dark;            // button shadow
    case 17: return QPalette::PlaceholderText; // grey text
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;           // button highlight
    case 21: return QPalette::Shadow;          // dark 3D shadow
    case 22: return QPalette::Midlight;        // 3D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
  }
}

}  // namespace

QColor ColorToQColor(TColor c, const QPalette& palette) {
  if (IsSystemColor(c)) return palette.color(QPalette::Active, SystemColorRole(c & 0xFF));
  if (c == clNone) return QColor(Qt::transparent);
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QColor ColorToQColor(TColor c) { return ColorToQColor(c, QGuiApplication::palette()); }

TColor QColorToColor(const QColor& c) {
  const QColor rgb = c.toRgb();
  return RGBColor(rgb.red(), rgb.green(), rgb.blue());
}
