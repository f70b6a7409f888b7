#include "meter/SimuPattern.h"

#include <gtest/gtest.h>

namespace {

TRandom10 Zero() {
  return [] { return 0; };
}

TEST(SimuPattern, PavonLinePeriodPerMode) {
  struct Case {
    TPavonMode mode;
    const char* st;
    std::uint32_t ms;
  };
  const Case cases[] = {
      {mDT, "0", 160},  {mDT, "25", 6000}, {mDT, "x", 160},  {mDT, "", 160},
      {mDT, " 1", 240}, {mDS, "2", 300},   {mDS, "0", 160},  {mDW, "7", 100},
      {mDX, "7", 20},   {mNoMode, "7", 500},
      {mDT, "-1", 0},  // a negative measure time cannot give a huge period
  };
  for (const auto& c : cases) EXPECT_EQ(TI4xFor(c.mode, c.st), c.ms) << int(c.mode) << c.st;

  TSimuPattern s;
  EXPECT_EQ(s.TI4x(), 0u);
  s.SetPavonDMode(mDT, "25");
  EXPECT_EQ(s.TI4x(), 6000u);
  s.SetPavonDMode(mDT, "0");  // the same mode changes nothing
  EXPECT_EQ(s.TI4x(), 6000u);
  s.UpdateTI4x("0");
  EXPECT_EQ(s.TI4x(), 160u);
}

TEST(SimuPattern, SettingsOfOneTick) {
  struct Case {
    TDeviceType device;
    TSimuTickParams p;
    std::uint32_t ti4x;
    TSimuTickSettings expected;
  };
  const Case cases[] = {
      {Pavon, {"", "", "0.5", "-1", "H"}, 160, {0.16, 0.5, -1, true}},
      {Pavon, {"", "", "x", "x", "d"}, 6000, {6, 0, 1, false}},
      {Dorvane, {"10", "", "5", "10", "1"}, 0, {0.1, 0, 10, false}},
      {Dorvane, {"", "", "", "", ""}, 0, {0.01, 0, 1, false}},
      {Hexlin, {"200", "2000", "0.25", "1", "1"}, 0, {0.1, 0.25, 1, true}},
      {Hexlin, {"200", "0", "", "", "0"}, 0, {200, 0, 1, false}},
      {Tavri, {"x", "x", "1", "2", "1"}, 0, {1, 1, 2, true}},
      {Tavri, {"1500", "15000", "", "", "h"}, 0, {0.1, 0, 1, false}},
      {KESTO_ZAREL, {"1", "0", "2", "0", "1"}, 0, {1, 2, 0, false}},
  };
  for (const auto& c : cases) {
    const TSimuTickSettings s = SimuTickSettings(c.device, c.p, c.ti4x);
    SCOPED_TRACE(int(c.device));
    EXPECT_DOUBLE_EQ(s.TimeUnit, c.expected.TimeUnit);
    EXPECT_DOUBLE_EQ(s.OF, c.expected.OF);
    EXPECT_DOUBLE_EQ(s.SF, c.expected.SF);
    EXPECT_EQ(s.Hex, c.expected.Hex);
  }
}

TEST(SimuPattern, RampAndErrorOverOneCycle) {
  TSimuPattern s;
  TSimuTickParams params{"", "", "0", "1", "d"};
  TSimuLineParams line;
  line.Device = Pavon;
  std::vector<QByteArray> lines(100);
  for (int tick = 1; tick <= 100; ++tick) {
    const TSimuPattern::TTick t = s.Tick(params, line, 5, true, Zero());
    lines[s.TickCount()] = t.Line;
    EXPECT_EQ(s.TickCount(), tick % 100);  // the first tick sees 1
  }
  EXPECT_EQ(lines[0], "005.000");
  EXPECT_EQ(lines[1], "005.040");
  EXPECT_EQ(lines[49], "006.960");
  EXPECT_EQ(lines[50], "007.000");  // the jump: base + 2000
  EXPECT_EQ(lines[51], "006.960");
  EXPECT_EQ(lines[89], "005.440");
  for (int c = 90; c <= 95; ++c) EXPECT_EQ(lines[c], "E10") << c;
  for (int c = 96; c <= 99; ++c) EXPECT_EQ(lines[c], "005.000") << c;
  for (int c = 0; c < 100; ++c) {
    const TSimuLineArgs a = SimuLineArgs(c, true, 5, 0);
    EXPECT_EQ(a.Noise, c < 90) << c;
    EXPECT_EQ(a.Error, c >= 90 && c <= 95) << c;
  }
  // the counter is never reset: the next tick carries on with c = 1
  EXPECT_EQ(s.Tick(params, line, 5, true, Zero()).Line, "005.040");
}

TEST(SimuPattern, FixedDistanceWithNoise) {
  TSimuPattern s;
  std::mt19937 g(7);
  TSimuLineParams line;
  line.Device = Pavon;
  line.DecimalSeparator = u',';  // the locale's comma becomes '.'
  for (int i = 0; i < 200; ++i) {
    const QByteArray l = s.Tick({"", "", "0", "1", "d"}, line, 5, false, Random10From(g)).Line;
    ASSERT_TRUE(l >= "005.000" && l <= "005.009") << l.constData();
  }
}

TEST(SimuPattern, OffsetAndBase) {
  EXPECT_EQ(SimuLineArgs(0, false, 5, 0.5).Value, 5500);
  EXPECT_EQ(SimuLineArgs(0, false, 5, 0).Value, 5000);
  EXPECT_EQ(SimuLineArgs(0, false, 5.0009, 0).Value, 5000);  // the distance is cut
  EXPECT_EQ(SimuLineArgs(0, false, 5, 0.0005).Value, 5000);  // the offset rounds to even
  EXPECT_EQ(SimuLineArgs(0, false, 5, 0.0015).Value, 5002);
  EXPECT_EQ(SimuLineArgs(49, true, 1e300, 1e300).Value, 2147483647);
  TSimuPattern s;
  TSimuLineParams line;
  line.Device = Pavon;
  EXPECT_EQ(s.Tick({"", "", "x", "1", "d"}, line, 5, false, Zero()).Line, "005.000");
}

TEST(SimuPattern, CommaRuleKeepsZarelSeparators) {
  EXPECT_EQ(SimuLineForDecoder("    5,00", Dorvane), "    5.00");
  EXPECT_EQ(SimuLineForDecoder("d005000.0,00035", KESTO_ZAREL), "d005000.0,00035");
}

}  // namespace
