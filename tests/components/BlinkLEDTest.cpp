#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <QTimer>

#include "components/BlinkLED.h"

namespace {

class CountingLED : public TBlinkLED {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* e) override {
    ++paints;
    TBlinkLED::paintEvent(e);
  }
};

QTimer* BlinkTimer(TBlinkLED& led) { return led.findChild<QTimer*>(); }

void Tick(TBlinkLED& led) { QMetaObject::invokeMethod(BlinkTimer(led), "timeout", Qt::DirectConnection); }

TEST(BlinkLED, DefaultLampIsARedBlinkingCircleOfRadiusTen) {
  TBlinkLED led;
  EXPECT_EQ(led.size(), QSize(20, 20));
  EXPECT_EQ(led.Radius(), 10);
  EXPECT_TRUE(led.IsOn());
  EXPECT_EQ(led.LEDColorOn(), clRed);
  EXPECT_EQ(led.LEDColorOff(), clMaroon);
  EXPECT_TRUE(led.IsBlinking());
  EXPECT_EQ(led.Interval(), 500);
  ASSERT_NE(BlinkTimer(led), nullptr);
  EXPECT_TRUE(BlinkTimer(led)->isActive());
  EXPECT_EQ(BlinkTimer(led)->interval(), 500);
}

TEST(BlinkLED, TimerTicksToggleAndStoppingKeepsTheState) {
  TBlinkLED led;
  Tick(led);
  EXPECT_FALSE(led.IsOn());
  Tick(led);
  EXPECT_TRUE(led.IsOn());
  Tick(led);
  led.SetIsBlinking(false);
  EXPECT_FALSE(BlinkTimer(led)->isActive());
  EXPECT_FALSE(led.IsOn());
  led.SetIsBlinking(true);
  EXPECT_TRUE(BlinkTimer(led)->isActive());
}

TEST(BlinkLED, IntervalGoesToTheTimerAndZeroNeverFires) {
  TBlinkLED led;
  led.SetInterval(120);
  EXPECT_EQ(BlinkTimer(led)->interval(), 120);
  EXPECT_TRUE(BlinkTimer(led)->isActive());
  led.SetInterval(0);  // would otherwise toggle on every idle pass
  EXPECT_FALSE(BlinkTimer(led)->isActive());
  led.SetInterval(-5);
  EXPECT_FALSE(BlinkTimer(led)->isActive());
  led.SetInterval(300);
  EXPECT_TRUE(BlinkTimer(led)->isActive());
  led.SetIsBlinking(false);
  led.SetInterval(400);
  EXPECT_FALSE(BlinkTimer(led)->isActive());
}

TEST(BlinkLED, StaysRoundWithItsSizeSetByTheWidth) {
  TBlinkLED led;
  led.SetIsBlinking(false);
  led.show();
  led.resize(31, 31);
  EXPECT_EQ(led.Radius(), 15);
  EXPECT_EQ(led.size(), QSize(30, 30));
  led.resize(40, 12);
  EXPECT_EQ(led.Radius(), 20);
  EXPECT_EQ(led.size(), QSize(40, 40));
  led.SetRadius(7);
  EXPECT_EQ(led.size(), QSize(14, 14));
}

TEST(BlinkLED, RepaintsOnlyWhenAPropertyChanges) {
  CountingLED led;
  led.SetIsBlinking(false);
  led.show();
  QCoreApplication::processEvents();
  const int before = led.paints;
  led.SetIsOn(true);
  led.SetLEDColorOn(clRed);
  led.SetLEDColorOff(clMaroon);
  QCoreApplication::processEvents();
  EXPECT_EQ(led.paints, before);
  led.SetIsOn(false);
  QCoreApplication::processEvents();
  EXPECT_GT(led.paints, before);
}

TEST(BlinkLED, LeftClickCallsOnClickThenToggles) {
  TBlinkLED led;
  led.SetIsBlinking(false);
  led.show();
  std::vector<bool> stateAtClick;
  TObject* sender = nullptr;
  led.OnClick = [&](TObject* s) {
    sender = s;
    stateAtClick.push_back(led.IsOn());
  };
  QTest::mouseClick(&led, Qt::LeftButton);
  EXPECT_FALSE(led.IsOn());
  ASSERT_EQ(stateAtClick, std::vector<bool>{true});
  EXPECT_EQ(sender, static_cast<TObject*>(&led));
  QTest::mouseClick(&led, Qt::RightButton);
  EXPECT_FALSE(led.IsOn());
  EXPECT_EQ(stateAtClick.size(), 1u);
}

// Pixels of a lamp of radius 30: the ellipse's outline, the fill and the
// reflex segment at the upper left (chord from the top to the left point of
// the ellipse set in by 10 pixels).
TEST(BlinkLED, PaintsFillOutlineAndReflex) {
  TBlinkLED led;
  led.SetIsBlinking(false);
  led.SetRadius(30);
  led.SetLEDColorOn(clYellow);
  led.SetLEDColorOff(clGreen);
  led.show();
  QImage on = led.grab().toImage();
  EXPECT_EQ(on.pixelColor(40, 40), QColor(255, 255, 0));
  EXPECT_EQ(on.pixelColor(30, 0), QColor(0, 0, 0));
  EXPECT_EQ(on.pixelColor(0, 30), QColor(0, 0, 0));
  EXPECT_EQ(on.pixelColor(59, 30), QColor(0, 0, 0));
  EXPECT_EQ(on.pixelColor(18, 18), QColor(192, 192, 192));  // inside the reflex
  EXPECT_EQ(on.pixelColor(24, 24), QColor(255, 255, 0));    // beyond its chord
  EXPECT_EQ(on.pixelColor(40, 18), QColor(255, 255, 0));    // right of it
  led.SetIsOn(false);
  QImage off = led.grab().toImage();
  EXPECT_EQ(off.pixelColor(40, 40), QColor(0, 128, 0));
  EXPECT_EQ(off.pixelColor(18, 18), QColor(192, 192, 192));
}

}  // namespace
