#pragma once
// A needle instrument: an elliptic scale with a low, an OK and a high zone,
// ticks with numbers, a caption, a needle whose hub takes the colour of the
// value's zone, and the value as text. Everything is drawn into an off-screen
// image in two layers: the static one (background and zone band) only on a
// resize or a zone or colour change, the dynamic one (inside the scale, value
// text, frame) on every value change. Painting only copies the image.

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "components/Colors.h"
#include "platform/Component.h"

// Decimal scaling of the shown numbers: divide by 1, 10, 100 or 1000.
enum TFactor : std::uint8_t { pOne, pTen, pHundred, pThousend };

class TAnalogMeter : public QWidget, public TComponent {
  Q_OBJECT

 public:
  explicit TAnalogMeter(QWidget* parent = nullptr);
  ~TAnalogMeter() override;

  QString Caption() const { return fCaption; }
  void SetCaption(const QString& value);
  int Min() const { return fMin; }
  void SetMin(int value);
  int Max() const { return fMax; }
  void SetMax(int value);
  int Value() const { return fValue; }
  void SetValue(int value);
  TFactor Factor() const { return fFactor; }
  void SetFactor(TFactor value);
  int AngularRange() const { return fAngularRange; }
  void SetAngularRange(int value);
  int TickCount() const { return fTickCount; }
  void SetTickCount(int value);
  int LowZone() const;
  void SetLowZone(int value);
  int HighZone() const;
  void SetHighZone(int value);
  bool ShowValue() const { return fShowValue; }
  void SetShowValue(bool value);
  TColor HighZoneColor() const { return fHighZoneColor; }
  void SetHighZoneColor(TColor value);
  TColor LowZoneColor() const { return fLowZoneColor; }
  void SetLowZoneColor(TColor value);
  TColor OKZoneColor() const { return fOKZoneColor; }
  void SetOKZoneColor(TColor value);
  TColor TickColor() const { return fTickColor; }
  void SetTickColor(TColor value);
  bool ShowTicks() const { return fShowTicks; }
  void SetShowTicks(bool value);
  bool ShowNumerics() const { return fShowNumerics; }
  void SetShowNumerics(bool value);
  bool ShowFrame() const { return fShowFrame; }
  void SetShowFrame(bool value);
  bool EnableZoneEvents() const { return fEnableZoneEvents; }
  void SetEnableZoneEvents(bool value) { fEnableZoneEvents = value; }
  // Background of the gauge; takes effect with the next static layer.
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  // The font of every text of the gauge.
  QFont Font() const { return FFont; }
  void SetFont(const QFont& value);

  TNotifyEvent onResize;
  TNotifyEvent onChange;
  TNotifyEvent onRiseAboveHigh;
  TNotifyEvent onFallBelowHigh;
  TNotifyEvent onRiseAboveLow;
  TNotifyEvent onFallBelowLow;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  // Angle in degrees, clockwise on the screen from straight down, of a value.
  float ValueToAngle(double v) const;
  // The value as the value text shows it.
  QString ValueText(int v) const;
  // Number shown at tick i, 1 .. TickCount.
  QString TickText(int i) const;
  // Vertical half axis that lets a scale of height h and width w, ending
  // zeroAngle degrees either side of straight down, fit.
  static int FitVerticalHalfAxis(int h, int w, double zeroAngle);

  void CalcGeometry();
  void DrawStaticLayer();
  void DrawDynamicLayer();
  // Offset from the centre of the point at angle t on the ellipse with the
  // given half axes.
  static QPoint EllipseOffset(QPoint halfAxes, double t);
  QPoint EllipsePoint(QPoint halfAxes, double t) const { return fCentrePoint + EllipseOffset(halfAxes, t); }

  QImage fBitmap;
  float fZeroAngle = 45.0f;
  QPoint fCentrePoint;
  QPoint fOuterHalfAxes;
  QPoint fInnerHalfAxes;
  int fFrameWidth = 0;
  int fTxtHeight = 8;
  int fOldValue = 0;
  bool fEnableZoneEvents = true;
  QString fCaption = QStringLiteral("mV");
  int fMin = 0;
  int fMax = 100;
  int fValue = 0;
  int fAngularRange = 270;
  int fTickCount = 11;
  float fLowZone = 10.0f;
  float fHighZone = 90.0f;
  TFactor fFactor = pOne;
  bool fShowFrame = true;
  bool fShowTicks = true;
  bool fShowNumerics = true;
  bool fShowValue = true;
  TColor fTickColor = clBlack;
  TColor fHighZoneColor = clRed;
  TColor fLowZoneColor = clYellow;
  TColor fOKZoneColor = cl3DLight;
  TColor FColor = clBtnFace;
  QFont FFont;

 private:
  QColor Q(TColor c) const;
  QColor ScaleLineColor() const;
  void RedrawAll();
  void MoveZoneLimit(float& limit, int v, const TNotifyEvent& fallBelow, const TNotifyEvent& riseAbove);
  void RedrawDynamic();
  void Repaint();
  void DrawValueText(int v, TColor color);
};
