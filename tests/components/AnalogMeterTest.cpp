#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <limits>
#include <string>
#include <vector>

#include "components/AnalogMeter.h"

namespace {

class Gauge : public TAnalogMeter {
 public:
  using TAnalogMeter::FitVerticalHalfAxis;
  using TAnalogMeter::TickText;
  using TAnalogMeter::ValueText;
  using TAnalogMeter::ValueToAngle;
  QPoint Centre() const { return fCentrePoint; }
  float ZeroAngle() const { return fZeroAngle; }
  int FrameWidth() const { return fFrameWidth; }
  int TxtHeight() const { return fTxtHeight; }
  const QImage& Bitmap() const { return fBitmap; }
};

QFont MainWindowFont() {
  QFont f("Tahoma");
  f.setPixelSize(11);
  return f;
}

// The gauge as the main window holds it, in the order the model switch
// writes the ranges.
void SetUpAsMainWindow(TAnalogMeter& g) {
  g.SetFont(MainWindowFont());
  g.SetCaption("mA");
  g.SetFactor(pThousend);
  g.SetShowFrame(false);
  g.SetEnableZoneEvents(false);
  g.SetMax(21000);
  g.SetMin(3000);
  g.SetHighZone(20001);
  g.SetHighZoneColor(clRed);
  g.SetLowZone(3999);
  g.SetLowZoneColor(clRed);
  g.SetTickCount(19);
  g.SetValue(3000);
}

// Palette colours carry 16 bits a channel; the image keeps 8.
::testing::AssertionResult SameColour(const QColor& shown, TColor c) {
  const QColor want = ColorToQColor(c);
  if (std::abs(shown.red() - want.red()) <= 1 && std::abs(shown.green() - want.green()) <= 1 &&
      std::abs(shown.blue() - want.blue()) <= 1)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << shown.name().toStdString() << " is not " << want.name().toStdString();
}

TEST(AnalogMeter, MainWindowGaugeShowsTicksThreeToTwentyOne) {
  Gauge g;
  SetUpAsMainWindow(g);
  EXPECT_EQ(g.Min(), 3000);
  EXPECT_EQ(g.Max(), 21000);
  EXPECT_EQ(g.LowZone(), 3999);
  EXPECT_EQ(g.HighZone(), 20001);
  ASSERT_EQ(g.TickCount(), 19);
  for (int i = 1; i <= 19; ++i) EXPECT_EQ(g.TickText(i), QString::number(i + 2)) << i;
}

TEST(AnalogMeter, TickNumbersTruncateTowardsZero) {
  Gauge g;
  g.SetMax(10);
  g.SetTickCount(4);
  EXPECT_EQ(g.TickText(2), "3");
  EXPECT_EQ(g.TickText(3), "6");
  EXPECT_EQ(g.TickText(4), "10");
  g.SetMin(-25);
  g.SetMax(5);
  g.SetFactor(pTen);
  EXPECT_EQ(g.TickText(1), "-2");  // -25 div 10
  EXPECT_EQ(g.TickText(2), "-1");  // -15 div 10
}

TEST(AnalogMeter, ValueTextByFactorWithTheUsersDecimalSeparator) {
  Gauge g;
  struct Case {
    TFactor factor;
    int value;
    const char* text;
  };
  const std::vector<Case> cases = {
      {pOne, 3000, "3000"},       {pTen, 3005, "300.5"},      {pHundred, 3005, "30.05"},
      {pThousend, 3000, "3.000"}, {pThousend, 12345, "12.345"}, {pThousend, -1500, "-1.500"},
  };
  for (const Case& c : cases) {
    g.SetFactor(c.factor);
    EXPECT_EQ(g.ValueText(c.value), c.text) << c.text;
  }
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(g.ValueText(123456), "123,456");  // no digit grouping
  QLocale::setDefault(saved);
}

// The hub shows the zone of the value; the low and high limits belong to
// their zones.
TEST(AnalogMeter, HubTakesTheColourOfTheValuesZone) {
  Gauge g;
  SetUpAsMainWindow(g);
  g.SetHighZoneColor(clBlue);
  g.resize(260, 220);
  g.show();
  struct Case {
    int value;
    TColor colour;
  };
  const std::vector<Case> cases = {{3000, clRed},      {3999, clRed},       {4000, cl3DLight},
                                   {12000, cl3DLight}, {20000, cl3DLight},  {20001, clBlue},
                                   {21000, clBlue},    {2000, clRed},       {25000, clBlue}};
  for (const Case& c : cases) {
    g.SetValue(c.value);
    const QImage shown = g.grab().toImage();
    EXPECT_TRUE(SameColour(shown.pixelColor(g.Centre()), c.colour)) << c.value;
    EXPECT_TRUE(SameColour(shown.pixelColor(g.Centre() + QPoint(2, 2)), c.colour)) << c.value;
  }
}

// Dark pixels of a text area, to compare the gauge's value text with the
// same text drawn on its own.
std::vector<QPoint> InkOf(const QImage& img, QRect area) {
  std::vector<QPoint> ink;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(img.pixel(x, y)) < 100) ink.emplace_back(x, y);
  return ink;
}

TEST(AnalogMeter, ValueTextReadsThreePointZeroAtThreeMilliamperes) {
  Gauge g;
  SetUpAsMainWindow(g);
  g.resize(260, 220);
  g.show();
  g.SetValue(12000);
  g.SetValue(3000);
  const QImage shown = g.grab().toImage();

  QFont f = MainWindowFont();
  f.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics fm(f, &g);
  const int y = g.height() - g.FrameWidth() - g.TxtHeight() - 1;
  const QRect area(0, y, g.width(), fm.height());
  QImage expected(shown.size(), QImage::Format_RGB32);
  expected.fill(Qt::white);
  {
    QPainter p(&expected);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(g.Centre().x() - fm.horizontalAdvance("3.000") / 2, y + fm.ascent(), "3.000");
  }
  const auto ink = InkOf(shown, area);
  EXPECT_FALSE(ink.empty());
  EXPECT_EQ(ink, InkOf(expected, area));
}

// Value changes redraw only the dynamic layer and erase the previous value
// text; the result must equal a gauge drawn afresh with the final settings.
TEST(AnalogMeter, RedrawnGaugeEqualsAFreshOne) {
  struct Case {
    const char* name;
    std::function<void(TAnalogMeter&)> change;
  };
  const std::vector<Case> cases = {
      {"values", [](TAnalogMeter& g) { for (int v : {9000, 20500, 3000, 15432, 12000}) g.SetValue(v); }},
      {"factor", [](TAnalogMeter& g) { g.SetFactor(pHundred); g.SetValue(7777); g.SetFactor(pTen); }},
      {"hide value", [](TAnalogMeter& g) { g.SetValue(7777); g.SetShowValue(false); }},
      {"zones", [](TAnalogMeter& g) { g.SetLowZone(8000); g.SetHighZone(15000); g.SetValue(12000); }},
  };
  for (const Case& c : cases) {
    TAnalogMeter changed;
    SetUpAsMainWindow(changed);
    changed.resize(260, 220);
    changed.show();
    c.change(changed);

    TAnalogMeter fresh;
    SetUpAsMainWindow(fresh);
    c.change(fresh);  // before the first resize: nothing is drawn yet
    fresh.resize(260, 220);
    fresh.show();
    EXPECT_EQ(changed.grab().toImage(), fresh.grab().toImage()) << c.name;
  }
}

TEST(AnalogMeter, ValueIsClampedAndActsOnlyOnChange) {
  TAnalogMeter g;
  int changes = 0;
  g.onChange = [&](TObject*) { ++changes; };
  g.SetValue(150);
  EXPECT_EQ(g.Value(), 100);
  EXPECT_EQ(changes, 1);
  g.SetValue(100);
  g.SetValue(1000);
  EXPECT_EQ(changes, 1);
  g.SetValue(-7);
  EXPECT_EQ(g.Value(), 0);
  g.SetMin(50);  // moves the value up with it
  EXPECT_EQ(g.Value(), 50);
  g.SetMax(20);  // Max below Min: the maximum wins
  EXPECT_EQ(g.Value(), 20);
  g.SetValue(35);
  EXPECT_EQ(g.Value(), 20);
}

TEST(AnalogMeter, AngularRangeAndTickCountAreClamped) {
  Gauge g;
  g.SetAngularRange(5);
  EXPECT_EQ(g.AngularRange(), 10);
  EXPECT_FLOAT_EQ(g.ZeroAngle(), 175.0f);
  g.SetAngularRange(400);
  EXPECT_EQ(g.AngularRange(), 360);
  EXPECT_FLOAT_EQ(g.ZeroAngle(), 0.0f);
  g.SetAngularRange(271);
  EXPECT_FLOAT_EQ(g.ZeroAngle(), 44.5f);

  g.SetTickCount(-3);
  EXPECT_EQ(g.TickCount(), 0);
  g.SetMax(5);
  g.SetTickCount(11);
  EXPECT_EQ(g.TickCount(), 5);
}

TEST(AnalogMeter, ValueToAngleSpansTheRangeAndSurvivesAnEmptyOne) {
  Gauge g;
  EXPECT_FLOAT_EQ(g.ValueToAngle(0), 45.0f);
  EXPECT_FLOAT_EQ(g.ValueToAngle(50), 180.0f);
  EXPECT_FLOAT_EQ(g.ValueToAngle(100), 315.0f);
  g.SetMax(0);
  EXPECT_TRUE(std::isfinite(g.ValueToAngle(0)));
  EXPECT_EQ(g.LowZone(), 0);
  EXPECT_EQ(g.HighZone(), 0);
  g.resize(150, 120);
  g.show();
  EXPECT_FALSE(g.grab().toImage().isNull());  // draws without failing
}

TEST(AnalogMeter, WidestIntegerRangeDrawsWithoutOverflow) {
  Gauge g;
  g.SetMin(std::numeric_limits<int>::min());
  g.SetMax(std::numeric_limits<int>::max());
  g.SetTickCount(3);
  EXPECT_EQ(g.TickText(2), "-1");  // (2^32 - 1) div 2 below zero
  EXPECT_EQ(g.TickText(3), QString::number(std::numeric_limits<int>::max()));
  g.SetTickCount(std::numeric_limits<int>::max());
  EXPECT_EQ(g.TickCount(), std::numeric_limits<int>::max());
  g.SetTickCount(5);
  g.resize(150, 120);
  g.show();
  g.SetValue(std::numeric_limits<int>::max());
  EXPECT_FLOAT_EQ(g.ValueToAngle(g.Value()), 315.0f);
}

TEST(AnalogMeter, ZoneLimitsClampToZeroAndMaxAndPushEachOther) {
  TAnalogMeter g;
  g.SetMax(21000);
  g.SetMin(3000);
  g.SetLowZone(-5);
  EXPECT_EQ(g.LowZone(), 0);  // the lower bound is 0, not Min
  g.SetLowZone(95);
  EXPECT_EQ(g.LowZone(), 95);
  EXPECT_EQ(g.HighZone(), 95);  // pushed up
  g.SetHighZone(40);
  EXPECT_EQ(g.LowZone(), 40);  // pulled down
  EXPECT_EQ(g.HighZone(), 40);
  g.SetHighZone(30000);
  EXPECT_EQ(g.HighZone(), 21000);
  g.SetMax(15000);  // re-applies the clamp of both limits
  EXPECT_EQ(g.HighZone(), 15000);
  EXPECT_EQ(g.LowZone(), 40);
}

struct Calls {
  std::vector<std::string> log;
  void Attach(TAnalogMeter& g, const std::string& which) {
    auto add = [this](const char* name) { return [this, name](TObject*) { log.push_back(name); }; };
    if (which.find('R') != std::string::npos) g.onRiseAboveHigh = add("RiseAboveHigh");
    if (which.find('F') != std::string::npos) g.onFallBelowHigh = add("FallBelowHigh");
    if (which.find('r') != std::string::npos) g.onRiseAboveLow = add("RiseAboveLow");
    if (which.find('f') != std::string::npos) g.onFallBelowLow = add("FallBelowLow");
  }
};

// Default zones 10 and 90. Handlers: R rise above high, F fall below high,
// r rise above low, f fall below low.
TEST(AnalogMeter, ValueChangesRaiseZoneEvents) {
  struct Case {
    int from, to;
    const char* handlers;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {50, 95, "RFrf", {"RiseAboveHigh"}},
      {50, 90, "RFrf", {"RiseAboveHigh"}},
      {95, 50, "RFrf", {"FallBelowHigh"}},
      {50, 5, "RFrf", {"FallBelowLow"}},
      {5, 10, "RFrf", {"RiseAboveLow"}},
      {95, 5, "RFrf", {"FallBelowLow"}},          // the high fall is suppressed
      {5, 95, "RFrf", {"RiseAboveHigh"}},         // the low rise is suppressed
      {5, 95, "Frf", {"RiseAboveLow"}},           // unless there is no high handler
      {95, 5, "RFr", {"FallBelowHigh"}},
      {20, 80, "RFrf", {}},
  };
  for (const Case& c : cases) {
    TAnalogMeter g;
    g.SetValue(c.from);
    Calls calls;
    calls.Attach(g, c.handlers);
    g.SetValue(c.to);
    EXPECT_EQ(calls.log, c.expected) << c.from << " -> " << c.to << " " << c.handlers;
  }
  TAnalogMeter off;
  off.SetEnableZoneEvents(false);
  Calls calls;
  calls.Attach(off, "RFrf");
  off.SetValue(95);
  EXPECT_TRUE(calls.log.empty());
}

TEST(AnalogMeter, MovingZoneLimitsRaiseZoneEvents) {
  TAnalogMeter g;
  g.SetValue(50);
  Calls calls;
  calls.Attach(g, "RFrf");
  g.SetLowZone(60);
  EXPECT_EQ(calls.log, std::vector<std::string>{"FallBelowLow"});
  calls.log.clear();
  g.SetLowZone(40);
  EXPECT_EQ(calls.log, std::vector<std::string>{"RiseAboveLow"});
  calls.log.clear();
  g.SetHighZone(45);
  EXPECT_EQ(calls.log, std::vector<std::string>{"RiseAboveHigh"});
  calls.log.clear();
  g.SetHighZone(70);
  EXPECT_EQ(calls.log, std::vector<std::string>{"FallBelowHigh"});
}

TEST(AnalogMeter, KeepsAMinimumSizeAndReportsResizes) {
  TAnalogMeter g;
  int resizes = 0;
  g.onResize = [&](TObject*) { ++resizes; };
  g.show();
  g.resize(10, 10);
  EXPECT_EQ(g.size(), QSize(52, 37));
  g.resize(200, 150);
  EXPECT_GE(resizes, 2);
}

// Largest vertical half axis whose scale end points stay within the height.
TEST(AnalogMeter, ScaleFitsTheHeightLeftForIt) {
  EXPECT_EQ(Gauge::FitVerticalHalfAxis(92, 111, 45.0), 53);  // 91.3 fits, 92.7 does not
  EXPECT_EQ(Gauge::FitVerticalHalfAxis(92, 111, 0.0), 46);   // closed scale: twice b
  EXPECT_EQ(Gauge::FitVerticalHalfAxis(93, 111, 0.0), 46);
  EXPECT_EQ(Gauge::FitVerticalHalfAxis(80, 100, 90.0), 80);  // nothing below the centre
  EXPECT_EQ(Gauge::FitVerticalHalfAxis(-10, 100, 45.0), -6); // not even the first try fits
}

TEST(AnalogMeter, AssignedFontSetsTheTextHeight) {
  Gauge g;
  EXPECT_EQ(g.TxtHeight(), 8);
  QFont big = g.Font();
  big.setPixelSize(30);
  g.SetFont(big);
  EXPECT_EQ(g.TxtHeight(), QFontMetrics(big, &g).height());
  EXPECT_GT(g.TxtHeight(), 30);
}

}  // namespace
