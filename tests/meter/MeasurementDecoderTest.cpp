#include "meter/MeasurementDecoder.h"
#include "meter/MeasuringUnit.h"
#include "ZarelTestFormat.h"

#include <gtest/gtest.h>

namespace {

TDecodeParams Params(TDeviceType d, bool signal = false) {
  TDecodeParams p;
  p.Device = d;
  p.SignalStrength = signal;
  p.Zarel = PlainZarelFormat("1");
  return p;
}

struct LineCase {
  TDeviceType device;
  const char* line;
  bool hasValue;
  bool valid;
  double value;
};

TEST(MeasurementDecoder, ValuesOfEachModel) {
  const LineCase cases[] = {
      {Pavon, " FFFFFFF", true, true, -0.001},  // 28-bit two's complement
      {Pavon, " 0000010", true, true, 0.016},
      {Pavon, " fffffff", true, true, -0.001},  // lower-case digits are hex too
      {Pavon, " 12G4567", true, true, 0.0},  // bad hex reads 0 but stays valid
      {Pavon, "-05.000", true, true, -5.0},
      {Pavon, "012.345xyz", true, true, 12.345},  // only characters 1..7
      {Pavon, "E10", true, false, 0},
      {Pavon, "E12345", true, false, 0},
      {Dorvane, " 9999.90", true, false, 0},
      {Dorvane, "    $100", true, false, 0},  // decimal only
      {Hexlin, "HFFFFFF", true, true, -0.001},  // 24-bit two's complement
      {Hexlin, "H000400", true, true, 1.024},
      {Hexlin, "D 0005.000 +25.6", true, true, 5.0},
      {Hexlin, "HE02   ", true, false, 0},
      {Tavri, "DE02    00000", true, false, 0},
      {Tavri, "X 0005.000", false, false, 0},
      {KESTO_ZAREL, "d005000.0", true, true, 5000},
      {KESTO_ZAREL, "e1201", true, false, 0},
      {KESTO_ZAREL, "w1201", true, false, 0},
      {KESTO_ZAREL, "x005000.0", false, false, 0},
  };
  for (const auto& c : cases) {
    const TDecodedPacket r = DecodeMeasurementPacket(c.line, Params(c.device));
    SCOPED_TRACE(c.line);
    EXPECT_TRUE(r.Stored);
    EXPECT_EQ(r.HasValue, c.hasValue);
    EXPECT_EQ(r.Valid, c.valid);
    EXPECT_NEAR(r.Value, c.value, 1e-9);
    EXPECT_FALSE(r.Strength.has_value());  // the signal-strength window is closed
  }
}

TEST(MeasurementDecoder, ShortPacketsChangeNothing) {
  for (TDeviceType d : {Pavon, Dorvane, Hexlin, Tavri, KESTO_ZAREL})
    for (const char* s : {"", "E", "d5"}) {
      const TDecodedPacket r = DecodeMeasurementPacket(s, Params(d, true));
      EXPECT_FALSE(r.Stored);
      EXPECT_FALSE(r.HasValue);
      EXPECT_FALSE(r.Strength.has_value());
    }
}

TEST(MeasurementDecoder, SignalStrength) {
  struct Case {
    TDeviceType device;
    const char* line;
    int strength;
    bool hasValue;
  };
  const Case cases[] = {
      {Dorvane, "    1505", 1505, false},  // the window is active: strength only
      {Dorvane, " 9999.90", 0, false},
      {Dorvane, "  12abc ", 0, false},
      {Hexlin, "D 0005.000 01405", 1405, true},
      {Hexlin, "D 0005.000 +25.6", 26, true},  // a number with '.' is rounded
      {Hexlin, "H001388 0578", 1400, true},
      {Hexlin, "HE02    0000", 0, true},
      {Tavri, "X001388 0023", 35, false},
      {KESTO_ZAREL, "e1201", 0, true},
  };
  for (const auto& c : cases) {
    const TDecodedPacket r = DecodeMeasurementPacket(c.line, Params(c.device, true));
    SCOPED_TRACE(c.line);
    ASSERT_TRUE(r.Strength.has_value());
    EXPECT_EQ(*r.Strength, c.strength);
    EXPECT_EQ(r.HasValue, c.hasValue);
  }
  // PAVON ignores the window
  EXPECT_FALSE(DecodeMeasurementPacket("005.000", Params(Pavon, true)).Strength.has_value());
}

TEST(MeasurementDecoder, ZarelScaleFactorZeroConvertsTheUnit) {
  TDecodeParams p = Params(KESTO_ZAREL);
  p.Zarel.MUN = "cm";
  p.Zarel.SF = "0";
  EXPECT_DOUBLE_EQ(DecodeMeasurementPacket("d00012.50", p).Value, 125);
  p.Zarel.SF = "1";
  EXPECT_DOUBLE_EQ(DecodeMeasurementPacket("d00012.50", p).Value, 12.5);
  // hexadecimal texts stay unscaled, then convert the same way
  p.Zarel.SF = "0";
  double v = 0;
  EXPECT_TRUE(StrToMessValue("$000010", v, p));
  EXPECT_DOUBLE_EQ(v, 160);
}

TEST(MeasurementDecoder, ZarelFormatsAndStrength) {
  struct Case {
    const char* sd0;
    const char* line;
    double value;
    int strength;
  };
  const Case cases[] = {
      {"0", "d005000.0,00037", 5000, 37},
      {"1", "d005000.0,00037", 5000, 37},  // characters 2..7 only
      {"1", "d005.1234", 5.12, 0},
      {"1", "d00 500.0,00037", 500, 37},  // blanks of the field width
      {"2", "h459C4000,42140000", 5000, 37},
      {"2", "hC59C4000", -5000, 0},
      {"3", "h001388,0025", 5000, 37},
  };
  for (const auto& c : cases) {
    TDecodeParams p = Params(KESTO_ZAREL, true);
    p.Zarel.SD[0] = c.sd0;
    p.Zarel.SD[1] = "1";
    SCOPED_TRACE(c.line);
    const TDecodedPacket r = DecodeMeasurementPacket(c.line, p);
    EXPECT_TRUE(r.Valid);
    EXPECT_NEAR(r.Value, c.value, 1e-9);
    EXPECT_EQ(r.Strength.value_or(-1), c.strength);
    p.Zarel.SD[1] = "0";  // no signal quality sent: 0
    EXPECT_EQ(DecodeMeasurementPacket(c.line, p).Strength.value_or(-1), 0);
  }
  TZarelFormat f = Params(KESTO_ZAREL).Zarel;
  f.SD[0] = "4";
  EXPECT_EQ(ParseZarelValue("d005000.0", f), "?");
  f.SD[0] = "x";
  EXPECT_EQ(ParseZarelValue("d005000.0", f), "?");
}

TEST(MeasurementDecoder, ZarelFloatPatternsThatAreNoValue) {
  TDecodeParams p = Params(KESTO_ZAREL, true);
  p.Zarel.SD[0] = "2";
  p.Zarel.SD[1] = "1";
  for (const char* line : {"h7FC00000,7FC00000", "hFF800000,7F800000", "h7F000000,7F000000"}) {
    const TDecodedPacket r = DecodeMeasurementPacket(line, p);
    EXPECT_TRUE(r.HasValue) << line;
    EXPECT_FALSE(r.Valid) << line;
  }
  // a short line reads its missing digits as 0
  EXPECT_TRUE(DecodeMeasurementPacket("h459C", p).Valid);
}

// The value field is 8 characters; with further fields the separator is
// character 10 and must not spoil the number.
TEST(MeasurementDecoder, ZarelDecimalValueStopsAtTheSeparator) {
  const std::pair<const char*, const char*> separators[] = {
      {"0x2C", ","}, {"0x3B", ";"}, {"0x2F", "/"}, {"0x09", "\t"}, {"0x20", " "}};
  for (auto [code, sep] : separators) {
    TDecodeParams p = Params(KESTO_ZAREL, true);
    p.Zarel.SP = code;
    p.Zarel.SD[1] = "1";
    const QByteArray line = QByteArray("d005000.0") + sep + "00035" + sep + "00035";
    const TDecodedPacket r = DecodeMeasurementPacket(line, p);
    SCOPED_TRACE(code);
    EXPECT_TRUE(r.Valid);
    EXPECT_DOUBLE_EQ(r.Value, 5000);
    EXPECT_EQ(r.Strength.value_or(-1), 35);
  }
  TDecodeParams p = Params(KESTO_ZAREL);
  p.Zarel.SP = "0x20";  // blank separator, blanks inside the field
  EXPECT_DOUBLE_EQ(DecodeMeasurementPacket("d00 500.0 00035", p).Value, 500);
  p.Zarel.SP = "0x2C";  // no field after the value: as before
  EXPECT_DOUBLE_EQ(DecodeMeasurementPacket("d00 500.0", p).Value, 500);
}

TEST(MeasurementDecoder, Separators) {
  const std::pair<const char*, char> codes[] = {
      {"0x3b", ';'}, {"0x2f", '/'}, {"0x09", '\t'}, {"0x20", ' '}, {"0x2C", ','}, {"junk", ','}};
  for (auto [code, c] : codes) EXPECT_EQ(ZarelFieldSeparator(code), c) << code;
  EXPECT_EQ(GetLSep(4), '\t');
  EXPECT_EQ(GetLSep(5), ',');
}

TEST(MeasurementDecoder, UnitConversion) {
  const std::pair<const char*, double> units[] = {
      {"ft", 304.8}, {"yd", 914.4}, {"in/16", 25.4 / 16}, {"M", 1}, {"", 1}};
  for (auto [unit, mm] : units) {
    EXPECT_DOUBLE_EQ(ConvertUnit(2, unit), 2 * mm) << unit;
    EXPECT_DOUBLE_EQ(ConvertUnitBack(2 * mm, unit), 2) << unit;
  }
}

TEST(MeasurementDecoder, LogLine) {
  EXPECT_EQ(MeasurementLogLine(1.5, true, -0.001, u','), "1,500;-0,001");
  EXPECT_EQ(MeasurementLogLine(1.5, true, 1234.5678, u'.'), "1.500;1234.568");
  EXPECT_EQ(MeasurementLogLine(0.2, false, 0, u','), "0,200;");
  const TDecodedPacket r = DecodeMeasurementPacket("HE02   ", Params(Hexlin));
  EXPECT_EQ(MeasurementLogLine(0.1, r.Valid, r.Value, u'.'), "0.100;");
}

}  // namespace
