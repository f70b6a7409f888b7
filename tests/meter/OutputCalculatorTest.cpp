#include "meter/OutputCalculator.h"

#include <gtest/gtest.h>

namespace {

TOutputParams Pavon(const char* rb, const char* re, const char* se = "") {
  TOutputParams p;
  p.Device = ::Pavon;
  p.RB = rb;
  p.RE = re;
  p.SE = se;
  p.AC = "2";
  p.AH = "0.1";
  p.AW = "100000";
  return p;
}

TOutputParams Second(TDeviceType d, const char* qa0, const char* qa1) {
  TOutputParams p;
  p.Device = d;
  p.QA[0] = qa0;
  p.QA[1] = qa1;
  for (int k = 0; k < 3; ++k) {
    p.Q[k][0] = QString::number(k + 1);  // switch points 1, 2, 3
    p.Q[k][1] = "0";
    p.Q[k][2] = "0";
    p.Q[k][3] = "1";
  }
  return p;
}

TEST(CurrentOutput, RisingAndFallingLines) {
  struct Case {
    TOutputParams p;
    double value;
    int current;
  };
  const Case cases[] = {
      {Pavon("0", "40"), 20, 12000},   {Pavon("0", "40"), 45, 20000},
      {Pavon("0", "40"), -1, 4000},    {Pavon("0", "40"), 40, 20000},
      {Pavon("40", "0"), 10, 16000},   {Pavon("40", "0"), 45, 4000},
      {Pavon("40", "0"), -1, 20000},   {Pavon("0,5", "40"), 0.5, 4000},
      {Second(Hexlin, "0", "300"), 150, 12000},
      {Second(Tavri, "30", "0"), 0, 20000},
      {Second(KESTO_ZAREL, "0", "500000"), 25000, 12000},  // range in tenths
  };
  for (const auto& c : cases) {
    TOutputState s;
    EXPECT_EQ(UpdateAnalogMeter(false, c.value, c.p, s), c.current) << c.value;
    EXPECT_EQ(s.FLastAnalogValue, c.current);
  }
}

TEST(CurrentOutput, EmptyRangeChangesNothing) {
  TOutputState s;
  s.FLastAnalogValue = 7777;
  EXPECT_FALSE(UpdateAnalogMeter(false, 5, Pavon("10", "10"), s).has_value());
  EXPECT_FALSE(UpdateAnalogMeter(true, 5, Pavon("", "0"), s).has_value());
  EXPECT_EQ(s.FLastAnalogValue, 7777);
}

TEST(CurrentOutput, ErrorCurrentByModelAndMode) {
  struct Case {
    TOutputParams p;
    int current;  // last value before: 7777
  };
  auto second = [](TDeviceType d, const char* se, bool rising) {
    TOutputParams p = Second(d, rising ? "0" : "30", rising ? "30" : "0");
    p.SEControl = se;
    return p;
  };
  const Case cases[] = {
      {Pavon("0", "40", ""), 20000},  {Pavon("40", "0", ""), 4000},
      {Pavon("0", "40", "x"), 20000}, {Pavon("0", "40", "1"), 3000},
      {Pavon("40", "0", "1"), 21000}, {Pavon("0", "40", "2"), 21000},
      {Pavon("40", "0", "2"), 3000},  {Pavon("0", "40", "0"), 7777},
      {Pavon("0", "40", "3"), 7777},
      {[] { auto p = Pavon("0", "50"); p.Device = Dorvane; return p; }(), 4000},
      {[] { auto p = Pavon("50", "0"); p.Device = Dorvane; return p; }(), 20000},
      {second(Hexlin, "1", true), 3000},     {second(Tavri, "2", false), 21000},
      {second(KESTO_ZAREL, "0", true), 7777}, {second(Hexlin, "", true), 7777},
  };
  for (const auto& c : cases) {
    TOutputState s;
    s.FLastAnalogValue = 7777;
    EXPECT_EQ(UpdateAnalogMeter(true, 0, c.p, s), c.current) << c.p.SE.toStdString();
    EXPECT_EQ(s.FLastAnalogValue, 7777);  // an error current is never remembered
  }
}

TEST(CurrentOutput, DorvaneHasNoFallingLine) {
  TOutputParams p = Pavon("50", "0");
  p.Device = Dorvane;
  TOutputState s;
  EXPECT_EQ(UpdateAnalogMeter(false, 10, p, s), 20000);
  EXPECT_EQ(s.FLastAnalogValue, 20000);
}

// Feeds values in order and returns LED1 after each.
std::vector<bool> Lamp1(const TOutputParams& p, std::initializer_list<double> values) {
  TOutputState s;
  std::vector<bool> r;
  for (double v : values) {
    UpdateOutputs(false, v, p, s);
    r.push_back(s.Flag1);
  }
  return r;
}

TEST(SwitchingOutputs, HysteresisAroundTheSwitchPoint) {
  TOutputParams p = Second(Hexlin, "0", "300");
  p.Q[0][0] = "2";
  p.Q[0][1] = "0";
  p.Q[0][2] = "0.1";
  p.Q[0][3] = "1";
  EXPECT_EQ(Lamp1(p, {2.04, 2.05, 2.0, 1.951, 1.95, 2.049, 2.05}),
            (std::vector<bool>{false, true, true, true, false, false, true}));
  p.Q[0][3] = "0";  // inverted level
  EXPECT_EQ(Lamp1(p, {2.04, 2.05, 1.95}), (std::vector<bool>{true, false, true}));
}

TEST(SwitchingOutputs, WindowAndItsCap) {
  TOutputParams p = Pavon("0", "40");
  p.AH = "0";
  p.AW = "1";  // on inside [2, 3)
  EXPECT_EQ(Lamp1(p, {1.9, 2.0, 2.999, 3.0, 2.5}), (std::vector<bool>{false, true, true, false, true}));
  p.AW = "100000";  // 100000 x 1000 reaches the cap: no window
  EXPECT_EQ(Lamp1(p, {1.9, 3.5, 1000}), (std::vector<bool>{false, true, true}));
  p.AH = "-0.1";  // negative hysteresis: inverted level, |AH| as hysteresis
  EXPECT_EQ(Lamp1(p, {1.9, 2.05, 1.96, 1.95}), (std::vector<bool>{true, false, false, true}));
  // KESTO ZAREL widths have no cap and are not scaled; the value is in tenths
  TOutputParams z = Second(KESTO_ZAREL, "0", "500000");
  z.Q[0][0] = "10000";
  z.Q[0][1] = "200000000";
  z.Q[0][2] = "1000";
  EXPECT_EQ(Lamp1(z, {1000, 1050, 1000.1, 950, 20001050}),
            (std::vector<bool>{false, true, true, false, false}));
}

TEST(SwitchingOutputs, OrderAndTraceTexts) {
  TOutputParams z = Second(KESTO_ZAREL, "0", "500000");
  TOutputState s;
  // 0.25 x 10 is exactly 2.5, which goes to the even 2
  const QStringList trace = UpdateOutputs(false, 0.25, z, s);
  ASSERT_EQ(trace.size(), 3);
  EXPECT_EQ(trace[0], "LED 3 Off v=2 ac=3 aw=0 ah=0");
  EXPECT_EQ(trace[1], "LED 2 On  v=2 ac=2 aw=0 ah=0");
  EXPECT_EQ(trace[2], "LED 1 On  v=2 ac=1 aw=0 ah=0");
  EXPECT_TRUE(s.Flag1 && s.Flag2 && !s.Flag3);
  EXPECT_TRUE(s.FoFlag1 && s.FoFlag3 && !s.FoFlag5);

  TOutputParams p = Pavon("0", "40");
  TOutputState ps;
  EXPECT_EQ(UpdateOutputs(false, 1, p, ps), QStringList{"LED 1 Off v=1000 ac=2000 aw=0 ah=100"});
  EXPECT_TRUE(UpdateOutputs(true, 1, p, ps).isEmpty());
  TOutputParams h = Second(Tavri, "0", "30");
  EXPECT_EQ(UpdateOutputs(false, 1.5, h, ps).size(), 2);
  ps.ClearComparatorFlags();
  EXPECT_FALSE(ps.FoFlag1 || ps.FoFlag2 || ps.FoFlag3 || ps.FoFlag4 || ps.FoFlag5 || ps.FoFlag6);
}

TEST(SwitchingOutputs, ErrorStates) {
  struct Case {
    TOutputParams p;
    bool led1, led2, led3;  // lamps before: all on except LED2
  };
  auto pavon = [](const char* se, const char* ah) {
    TOutputParams p = Pavon("0", "40", se);
    p.AH = ah;
    return p;
  };
  auto second = [](TDeviceType d, const char* se) {
    TOutputParams p = Second(d, "0", "30");
    p.SE = se;
    p.Q[0][3] = "1";
    p.Q[1][3] = "0";
    p.Q[2][3] = "-1";  // any level other than 0 counts as set here
    return p;
  };
  auto dorvane = [] {
    TOutputParams p = Pavon("0", "40", "1");
    p.Device = Dorvane;
    return p;
  };
  const Case cases[] = {
      {pavon("1", "0.1"), false, false, true}, {pavon("1", "-0.1"), true, false, true},
      {pavon("2", "0.1"), true, false, true},  {pavon("2", "-0.1"), false, false, true},
      {pavon("0", "0.1"), true, false, true},  {pavon("", "0.1"), true, false, true},
      {dorvane(), true, false, true},
      {second(Hexlin, "1"), false, true, true},  // LED3 is no output of this model
      {second(Tavri, "2"), true, false, true},
      {second(KESTO_ZAREL, "1"), false, true, false},
      {second(KESTO_ZAREL, "2"), true, false, true},
      {second(KESTO_ZAREL, "x"), true, false, true},
  };
  for (const auto& c : cases) {
    TOutputState s;
    s.Flag1 = s.Flag3 = true;
    UpdateOutputs(true, 0, c.p, s);
    EXPECT_EQ(s.Flag1, c.led1) << c.p.Device << " " << c.p.SE.toStdString();
    EXPECT_EQ(s.Flag2, c.led2) << c.p.Device << " " << c.p.SE.toStdString();
    EXPECT_EQ(s.Flag3, c.led3) << c.p.Device << " " << c.p.SE.toStdString();
  }
}

TEST(SwitchingOutputs, AbsurdParametersDoNotOverflow) {
  TOutputParams p = Second(Hexlin, "-1e308", "1e308");
  p.Q[0][0] = "1e300";
  p.Q[0][1] = "-1e300";
  p.Q[0][2] = "1e300";
  TOutputState s;
  EXPECT_EQ(UpdateOutputs(false, 1e300, p, s).size(), 2);
  EXPECT_TRUE(UpdateAnalogMeter(false, 1e300, p, s).has_value());
}

}  // namespace
