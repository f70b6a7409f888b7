#include "components/AnalogMeter.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "components/GdiShapes.h"

namespace {

constexpr int kMinWidth = 52;
constexpr int kMinHeight = 37;
constexpr TColor kFontColor = clWindowText;

// Nearest integer, halves to the even neighbour; never undefined for
// results outside int.
int RoundEven(double x) {
  if (!std::isfinite(x)) return 0;
  x = std::nearbyint(x);
  if (x <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (x >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return int(x);
}

// Raised to lo first, then lowered to hi: hi wins when lo > hi.
int Clamp(std::int64_t v, std::int64_t lo, std::int64_t hi) {
  if (v < lo) v = lo;
  if (v > hi) v = hi;
  return int(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// Text with its top at y, as the canvas places it.
void TextOutTop(QPainter& p, int x, int y, const QString& s) { p.drawText(x, y + p.fontMetrics().ascent(), s); }

}  // namespace

TAnalogMeter::TAnalogMeter(QWidget* parent) : QWidget(parent), FFont(font()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(kMinWidth, kMinHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  resize(121, 117);
}

TAnalogMeter::~TAnalogMeter() = default;

QSize TAnalogMeter::sizeHint() const { return QSize(121, 117); }

QColor TAnalogMeter::Q(TColor c) const { return ColorToQColor(c, palette()); }

// The scale lines would vanish on a background in their own colour.
QColor TAnalogMeter::ScaleLineColor() const { return Q(FColor == clBtnShadow ? cl3DLight : clBtnShadow); }

void TAnalogMeter::Repaint() { repaint(); }

void TAnalogMeter::RedrawDynamic() {
  DrawDynamicLayer();
  Repaint();
}

void TAnalogMeter::RedrawAll() {
  DrawStaticLayer();
  DrawDynamicLayer();
  Repaint();
}

// ---- property writes ----------------------------------------------------

void TAnalogMeter::SetCaption(const QString& value) {
  const QString v = value.trimmed();
  if (v == fCaption) return;
  fCaption = v;
  RedrawDynamic();
}

void TAnalogMeter::SetMin(int value) {
  if (value == fMin) return;
  const int low = LowZone(), high = HighZone();
  fMin = value;
  if (value > fValue) SetValue(value);
  SetLowZone(low);
  SetHighZone(high);
}

void TAnalogMeter::SetMax(int value) {
  if (value == fMax) return;
  const int low = LowZone(), high = HighZone();
  fMax = value;
  if (value < fValue) SetValue(value);
  SetLowZone(low);
  SetHighZone(high);
}

void TAnalogMeter::SetValue(int value) {
  int v = value;
  if (v < fMin) v = fMin;
  if (v > fMax) v = fMax;
  if (v == fValue) return;
  const int old = fValue;
  fOldValue = fValue;
  fValue = v;
  if (onChange) onChange(this);
  RedrawDynamic();
  if (!fEnableZoneEvents) return;

  const double high = fHighZone, low = fLowZone;
  const bool riseAboveHigh = onRiseAboveHigh && old < high && v >= high;
  const bool fallBelowLow = onFallBelowLow && old >= low && v < low;
  if (fallBelowLow) onFallBelowLow(this);
  if (riseAboveHigh) onRiseAboveHigh(this);
  if (riseAboveHigh || fallBelowLow) return;
  if (onFallBelowHigh && old >= high && v < high) onFallBelowHigh(this);
  if (onRiseAboveLow && old < low && v >= low) onRiseAboveLow(this);
}

// A factor change redraws both layers: drawing the new text over the old
// one would leave the old format's digits standing.
void TAnalogMeter::SetFactor(TFactor value) {
  if (value == fFactor) return;
  fFactor = value;
  RedrawAll();
}

void TAnalogMeter::SetAngularRange(int value) {
  const int v = Clamp(value, 10, 360);
  if (v == fAngularRange) return;
  fAngularRange = v;
  fZeroAngle = float(360 - v) / 2.0f;
  CalcGeometry();
  RedrawAll();
}

void TAnalogMeter::SetTickCount(int value) {
  const int v = Clamp(value, 0, std::int64_t(fMax) - fMin);
  if (v == fTickCount) return;
  fTickCount = v;
  RedrawDynamic();
}

int TAnalogMeter::LowZone() const { return fMax == fMin ? 0 : RoundEven(fLowZone); }

int TAnalogMeter::HighZone() const { return fMax == fMin ? 0 : RoundEven(fHighZone); }

void TAnalogMeter::SetLowZone(int value) {
  const int v = Clamp(value, 0, fMax);
  if (v == LowZone()) return;
  if (v > HighZone()) SetHighZone(v);
  MoveZoneLimit(fLowZone, v, onFallBelowLow, onRiseAboveLow);
}

void TAnalogMeter::SetHighZone(int value) {
  const int v = Clamp(value, 0, fMax);
  if (v == HighZone()) return;
  if (v < LowZone()) SetLowZone(v);
  MoveZoneLimit(fHighZone, v, onFallBelowHigh, onRiseAboveHigh);
}

// The value stays; the limit moving past it counts as the value crossing it.
void TAnalogMeter::MoveZoneLimit(float& limit, int v, const TNotifyEvent& fallBelow,
                                 const TNotifyEvent& riseAbove) {
  const double old = limit;
  limit = float(v);
  RedrawAll();
  if (!fEnableZoneEvents) return;
  const double now = limit;
  if (fallBelow && fValue >= old && fValue < now) fallBelow(this);
  if (riseAbove && fValue < old && fValue >= now) riseAbove(this);
}

void TAnalogMeter::SetShowValue(bool value) {
  if (value == fShowValue) return;
  // The text lies partly outside the area the dynamic layer clears, so it
  // is taken away here; otherwise a frozen value would stay on the gauge.
  if (!value) DrawValueText(fValue, FColor);
  fShowValue = value;
  RedrawDynamic();
}

void TAnalogMeter::SetShowTicks(bool value) {
  if (value == fShowTicks) return;
  fShowTicks = value;
  RedrawDynamic();
}

void TAnalogMeter::SetShowNumerics(bool value) {
  if (value == fShowNumerics) return;
  fShowNumerics = value;
  RedrawDynamic();
}

void TAnalogMeter::SetTickColor(TColor value) {
  if (value == fTickColor) return;
  fTickColor = value;
  RedrawDynamic();
}

void TAnalogMeter::SetShowFrame(bool value) {
  if (value == fShowFrame) return;
  fShowFrame = value;
  RedrawAll();
}

void TAnalogMeter::SetHighZoneColor(TColor value) {
  if (value == fHighZoneColor) return;
  fHighZoneColor = value;
  RedrawAll();
}

void TAnalogMeter::SetLowZoneColor(TColor value) {
  if (value == fLowZoneColor) return;
  fLowZoneColor = value;
  RedrawAll();
}

void TAnalogMeter::SetOKZoneColor(TColor value) {
  if (value == fOKZoneColor) return;
  fOKZoneColor = value;
  RedrawAll();
}

void TAnalogMeter::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  update();
}

void TAnalogMeter::SetFont(const QFont& value) {
  if (value == FFont) return;
  FFont = value;
  fTxtHeight = QFontMetrics(FFont, this).height();
  if (!fShowValue && fCaption.trimmed().isEmpty()) return;
  RedrawAll();
}

// ---- geometry -------------------------------------------------------------

float TAnalogMeter::ValueToAngle(double v) const {
  // An empty range has no scale to map onto; everything sits at the start.
  if (fMax == fMin) return fZeroAngle;
  return float((v - fMin) * fAngularRange / (double(fMax) - fMin) + fZeroAngle);
}

QPoint TAnalogMeter::EllipseOffset(QPoint halfAxes, double t) {
  const double a = halfAxes.x(), b = halfAxes.y();
  if (a <= 0 || b <= 0) return QPoint(0, 0);
  const double s = std::sin(Radians(t)), c = std::cos(Radians(t));
  const double r = a * b / std::sqrt(b * b * s * s + a * a * c * c);
  return QPoint(RoundEven(-r * s), RoundEven(r * c));
}

int TAnalogMeter::FitVerticalHalfAxis(int h, int w, double zeroAngle) {
  if (zeroAngle >= 90) return h;
  const double a = w * std::cos(Radians(zeroAngle)) / 2.0;
  const double s = std::sin(Radians(zeroAngle));
  int b = h / 2;
  // Height from the top of the ellipse down to the scale's end points.
  auto fits = [&](int b) { return b + b * a / std::sqrt(double(b) * b * s * s + a * a) <= h; };
  while (fits(b)) ++b;
  return b - 1;
}

void TAnalogMeter::CalcGeometry() {
  const int W = width(), H = height();
  fFrameWidth = (W + H) / 40;
  const int t = fTxtHeight + 2;
  const int b = FitVerticalHalfAxis(H - 2 * fFrameWidth - t, W - 2 * fFrameWidth, fZeroAngle);
  fOuterHalfAxes = QPoint(W / 2 - fFrameWidth, b);
  fCentrePoint = QPoint(W / 2, fFrameWidth + b);
  const int d = (W + H) / 25;
  fInnerHalfAxes = fOuterHalfAxes - QPoint(d, d);
}

// ---- drawing --------------------------------------------------------------

QString TAnalogMeter::ValueText(int v) const {
  QString s;
  switch (fFactor) {
    case pOne: return QString::number(v);
    case pTen: s = QString::asprintf("%.1f", v / 10.0); break;
    case pHundred: s = QString::asprintf("%.2f", v / 100.0); break;
    case pThousend: s = QString::asprintf("%.3f", v / 1000.0); break;
  }
  return s.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

QString TAnalogMeter::TickText(int i) const {
  const auto n = int(fMin + ((std::int64_t(fMax) - fMin) * (i - 1)) / (fTickCount - 1));
  switch (fFactor) {
    case pOne: return QString::number(n);
    case pTen: return QString::number(n / 10);
    case pHundred: return QString::number(n / 100);
    case pThousend: return QString::number(n / 1000);
  }
  return QString();
}

void TAnalogMeter::DrawStaticLayer() {
  if (fBitmap.isNull()) return;
  QPainter p(&fBitmap);
  const int W = width(), H = height();
  p.fillRect(0, 0, W, H, Q(FColor));

  const QPoint c = fCentrePoint, o = fOuterHalfAxes;
  const int x1 = c.x() - o.x(), y1 = c.y() - o.y(), x2 = c.x() + o.x(), y2 = c.y() + o.y();
  p.setPen(QPen(ScaleLineColor(), 2));
  const QPoint lowPoint = EllipsePoint(o, ValueToAngle(fLowZone));
  const QPoint highPoint = EllipsePoint(o, ValueToAngle(fHighZone));
  const QPoint d0 = EllipseOffset(o, fZeroAngle);
  if (fMin < fLowZone) {
    const QPoint zero = c + d0;
    p.setBrush(Q(fLowZoneColor));
    gdi::Pie(p, x1, y1, x2, y2, lowPoint.x(), lowPoint.y(), zero.x(), zero.y());
  }
  if (fHighZone > fLowZone) {
    p.setBrush(Q(fOKZoneColor));
    gdi::Pie(p, x1, y1, x2, y2, highPoint.x(), highPoint.y(), lowPoint.x(), lowPoint.y());
  }
  if (fMax > fHighZone) {
    p.setBrush(Q(fHighZoneColor));
    gdi::Pie(p, x1, y1, x2, y2, c.x() - d0.x(), c.y() + d0.y(), highPoint.x(), highPoint.y());
  }
}

void TAnalogMeter::DrawValueText(int v, TColor color) {
  if (fBitmap.isNull()) return;
  QPainter p(&fBitmap);
  // Without antialiasing, drawing the same text in the background colour
  // takes it away completely; that is how the previous value is erased.
  QFont f = FFont;
  f.setStyleStrategy(QFont::NoAntialias);
  p.setFont(f);
  p.setPen(Q(color));
  const QString s = ValueText(v);
  const int x = fCentrePoint.x() - p.fontMetrics().horizontalAdvance(s) / 2;
  TextOutTop(p, x, height() - fFrameWidth - fTxtHeight - 1, s);
}

void TAnalogMeter::DrawDynamicLayer() {
  if (fBitmap.isNull()) return;
  const int W = width(), H = height();
  const QPoint c = fCentrePoint, in = fInnerHalfAxes;
  const QColor background = Q(FColor);
  {
    QPainter p(&fBitmap);
    p.setFont(FFont);

    // Scale arc, then clear its inside (old needle, ticks, numbers, caption).
    const QPoint d0 = EllipseOffset(fOuterHalfAxes, fZeroAngle);
    p.setPen(QPen(ScaleLineColor(), 2));
    p.setBrush(Qt::NoBrush);
    gdi::Arc(p, c.x() - in.x(), c.y() - in.y(), c.x() + in.x(), c.y() + in.y(), c.x() - d0.x(),
             c.y() + d0.y(), c.x() + d0.x(), c.y() + d0.y());
    p.setPen(QPen(background, 1));
    p.setBrush(background);
    gdi::Ellipse(p, c.x() - in.x() + 2, c.y() - in.y() + 2, c.x() + in.x() - 2, c.y() + in.y() - 2);

    if (fShowTicks && fTickCount >= 2) {
      const int k = (W + H) / 35;
      const QPoint tickEnd = in - QPoint(k, k);
      p.setPen(QPen(Q(fTickColor), 1));
      for (int i = 1; i <= fTickCount; ++i) {
        const double v = fMin + (double(fMax) - fMin) * (i - 1) / (fTickCount - 1);
        const double t = ValueToAngle(v);
        p.drawLine(EllipsePoint(in, t), EllipsePoint(tickEnd, t));
      }
    }

    if (fShowNumerics && fTickCount >= 2) {
      const int k = (W + H) / 20;
      const QPoint at = in - QPoint(k, k);
      p.setPen(Q(kFontColor));
      for (int i = 1; i <= fTickCount; ++i) {
        const double v = fMin + (double(fMax) - fMin) * (i - 1) / (fTickCount - 1);
        const QPoint pt = EllipsePoint(at, ValueToAngle(v));
        const QString s = TickText(i);
        TextOutTop(p, pt.x() - p.fontMetrics().horizontalAdvance(s) / 2, pt.y(), s);
      }
    }

    if (!fCaption.isEmpty()) {
      const int k = (W + H) / 40;
      const int y = ((c.y() - in.y() - 1) + (c.y() - k)) / 2;
      const int w = p.fontMetrics().horizontalAdvance(fCaption);
      const int x = c.x() - w / 2;
      p.fillRect(x, y, w, p.fontMetrics().height(), background);
      p.setPen(Q(kFontColor));
      TextOutTop(p, x, y, fCaption);
    }
  }

  if (fShowValue) DrawValueText(fOldValue, FColor);

  QPainter p(&fBitmap);
  {
    const QPoint needle = in - QPoint(3, 3);
    const QPoint tip = EllipsePoint(needle, ValueToAngle(fValue));
    p.setPen(QPen(Q(fTickColor), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, tip);

    const int k = (W + H) / 40;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Q(clBtnShadow), 3));
    gdi::Ellipse(p, c.x() - k + 1, c.y() - k, c.x() + k + 1, c.y() + k);
    TColor hub = fOKZoneColor;
    if (fMin < fLowZone && fValue <= fLowZone)
      hub = fLowZoneColor;
    else if (fMax > fHighZone && fValue >= fHighZone)
      hub = fHighZoneColor;
    p.setPen(QPen(Q(hub), 1));
    p.setBrush(Q(hub));
    gdi::Ellipse(p, c.x() - k, c.y() - k, c.x() + k, c.y() + k);
  }
  p.end();

  if (fShowValue) DrawValueText(fValue, kFontColor);

  if (fShowFrame) {
    QPainter f(&fBitmap);
    // Sunken: shadow on the top and left edges, highlight on the others.
    f.setPen(QPen(Q(clBtnShadow), 1));
    f.drawLine(0, H - 1, 0, 0);
    f.drawLine(0, 0, W - 2, 0);
    f.setPen(QPen(Q(clBtnHighlight), 1));
    f.drawLine(W - 1, 0, W - 1, H - 2);
    f.drawLine(W - 1, H - 1, 1, H - 1);
  }
}

// ---- events ---------------------------------------------------------------

void TAnalogMeter::resizeEvent(QResizeEvent* event) {
  // The minimum size set in the constructor keeps the gauge at least
  // kMinWidth x kMinHeight.
  if (onResize) onResize(this);
  CalcGeometry();
  fBitmap = QImage(size(), QImage::Format_RGB32);
  const int dpm = qRound(logicalDpiX() / 0.0254);
  fBitmap.setDotsPerMeterX(dpm);
  fBitmap.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
  DrawStaticLayer();
  DrawDynamicLayer();
  QWidget::resizeEvent(event);
}

void TAnalogMeter::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, fBitmap);
}
