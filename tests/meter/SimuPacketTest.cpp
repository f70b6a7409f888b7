#include "meter/MeasurementDecoder.h"
#include "meter/MeasuringUnit.h"
#include "meter/MeterNumbers.h"
#include "meter/SimuPacket.h"
#include "meter/SimuPattern.h"
#include "ZarelTestFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A fixed sequence of draws, repeated.
TRandom10 Draws(std::vector<int> v) {
  auto next = std::make_shared<std::size_t>(0);
  return [v, next] { return v[(*next)++ % v.size()]; };
}

TSimuLineParams Line(TDeviceType d, const char* o = "0") {
  TSimuLineParams p;
  p.Device = d;
  p.OutputContent = o;
  p.Zarel = PlainZarelFormat("0");
  return p;
}

TSimuLineParams Zarel(const char* f, const char* mun = "mm", const char* q = "0",
                      const char* t = "0", const char* o = "0", const char* sp = "0x2C") {
  TSimuLineParams p = Line(KESTO_ZAREL);
  p.Zarel.SD[0] = f;
  p.Zarel.SD[1] = q;
  p.Zarel.SD[2] = t;
  p.Zarel.SD[3] = o;
  p.Zarel.MUN = mun;
  p.Zarel.SP = sp;
  return p;
}

struct LineCase {
  TSimuLineParams p;
  std::int32_t value;
  bool hex;
  double sf;
  bool error;
  const char* line;
};

TEST(SimuPacket, LineFormatsOfEachModel) {
  TSimuLineParams comma = Line(Pavon);
  comma.DecimalSeparator = u',';
  TSimuLineParams dorvaneSignal = Line(Dorvane);
  dorvaneSignal.SignalStrength = true;
  TSimuLineParams zarelSf1 = Zarel("0");
  zarelSf1.Zarel.SF = "1";
  const LineCase cases[] = {
      {Line(Pavon), 5000, true, 1, false, " 001388"},
      {Line(Pavon), -1, true, 1, false, " FFFFFFF"},
      {Line(Pavon), 5000, false, 1, false, "005.000"},
      {Line(Pavon), 5000, false, -1, false, "-05.000"},
      {comma, 5000, false, 1, false, "005,000"},  // the locale's separator, made '.' later
      {Line(Pavon), 5000, false, 1, true, "E10"},
      // the sign of the number decides where the zeros go, not the sign of SF
      {Line(Pavon), -1000, false, 1, false, "-01.000"},
      {Line(Pavon), -5000, false, -1, false, "005.000"},
      {Line(Dorvane), 5000, false, 1, false, "    5.00"},
      {Line(Dorvane), 5000, false, 1, true, " 9999.90"},
      {dorvaneSignal, 5000, false, 1, true, "    1503"},
      {Line(Hexlin), 5000, true, 1, false, "H001388"},
      {Line(Hexlin), -1, true, 1, false, "HFFFFFF"},
      {Line(Hexlin, "1"), 5000, true, 1, false, "H001388 057B"},
      {Line(Hexlin, "2"), 5000, true, 1, false, "H001388 100"},
      {Line(Hexlin, "3"), 5000, true, 1, false, "H001388 057B 100"},
      {Line(Hexlin, "2"), 5000, false, 1, false, "D 0005.000 +25.6"},
      {Line(Hexlin, "2"), 5000, false, -1, false, "D-0005.000 +25.6"},
      {Line(Hexlin, "0"), -5000, false, 1, false, "D-0005.000"},
      {Line(Hexlin, "0"), -5000, false, -1, false, "D 0005.000"},
      {Line(Hexlin, "1"), 5000, false, 1, true, "DE02    00000"},
      {Line(Hexlin, "3"), 5000, true, 1, true, "HE02    0000 100"},
      {Line(Hexlin, "2"), 5000, false, 1, true, "DE02    +25.6"},
      {Line(Hexlin, "9"), 5000, false, 1, false, "D 0005.000"},
      {Line(Hexlin, "3"), 5000, false, 1, false, "D 0005.000 01403 +25.6"},
      {Line(Tavri, "1"), 5000, false, 1, false, "D 0005.000 00038"},
      {Line(Tavri, "1"), 5000, true, 1, false, "H001388 0026"},
      {Zarel("0"), 5000, false, 0, false, "d005000.0"},
      {Zarel("0", "m"), 5000, false, 0, false, "d005.0000"},
      {Zarel("2"), 5000, false, 0, false, "h459C4000"},
      {Zarel("2", "m"), 5000, false, 0, false, "h459C4000"},
      {Zarel("3"), 5000, false, 0, false, "h001388"},
      {Zarel("2", "mm", "0", "1"), 5000, false, 0, false, "h459C4000,420C0000"},
      {Zarel("1", "mm", "1", "1", "1"), 5000, false, 0, false, "d005000.0,00038"},
      {Zarel("1", "mm", "0", "1", "1"), 5000, false, 0, false, "d005000.0,00035"},
      {Zarel("1", "mm", "0", "0", "1"), 5000, false, 0, false, "d005000.0,0,0,0"},
      {Zarel("0", "mm", "1", "1", "1", "0x3B"), 5000, false, 0, false,
       "d005000.0;00038;00035;0;0;0"},
      {Zarel("2", "mm", "1", "1", "1", "0x09"), 5000, false, 0, false,
       "h459C4000\t42180000\t420C0000\t00000000\t00000000\t00000000"},
      {Zarel("3", "mm", "1", "1", "1", "0x20"), 5000, false, 0, false, "h001388 0026 0023 0 0 0"},
      {Zarel("0", "furlong"), 5000, false, 0, false, "d00000000"},
      {Zarel("0"), 500, false, 0, false, "d00 500.0"},
      {Zarel("0"), -5, false, 0, false, "d  -005.0"},  // zeros behind the sign
      {Zarel("0"), -5000, false, 0, false, "d-05000.0"},
      {zarelSf1, 5000, false, 1, false, "d005000.0"},
      {Zarel("4"), 5000, false, 0, false, ""},
      {Zarel("0"), 5000, false, 0, true, "e1201"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MakeSimuPacket(c.value, false, c.hex, c.sf, c.error, c.p, Draws({3})), c.line)
        << c.line;
  }
}

TEST(SimuPacket, NoiseAndFieldsDrawAnew) {
  // the first draw is the noise, then one per field
  EXPECT_EQ(MakeSimuPacket(5000, true, false, 1, false, Line(Hexlin, "1"), Draws({7, 2})),
            "D 0005.007 01402");
  EXPECT_EQ(MakeSimuPacket(5000, true, false, 0, false, Zarel("0", "mm", "1"), Draws({9, 0})),
            "d005009.0,00035");
  // KESTO ZAREL with SF 0 but an SF text that is not 0 scales by 1
  TSimuLineParams z = Zarel("0", "m");
  z.Zarel.SF = "2";
  EXPECT_EQ(MakeSimuPacket(5000, false, false, 0, false, z, Draws({0})), "d5000.0000");
}

TEST(SimuPacket, RandomFromAGeneratorStaysInRange) {
  std::mt19937 g(42);
  const TRandom10 r = Random10From(g);
  bool seen[10] = {};
  for (int i = 0; i < 1000; ++i) {
    const int d = r();
    ASSERT_GE(d, 0);
    ASSERT_LE(d, 9);
    seen[d] = true;
  }
  for (bool s : seen) EXPECT_TRUE(s);
}

// Every simulated line decodes back to the value it carries, within what its
// format keeps.
struct RoundTrip {
  TSimuLineParams line;
  bool hex;
  double sf;
  double tolerance;  // in the decoded value's unit
  bool negatives;    // whether the format carries a sign
};

double Expected(const RoundTrip& r, std::int32_t value) {
  const double v = value * r.sf;
  switch (r.line.Device) {
    case KESTO_ZAREL:
      // SF 0: the line is in the measuring unit and decodes to millimetres
      return r.sf == 0 ? value : v;
    case Pavon:
    case Hexlin:
    case Tavri:
      return r.hex ? RoundHalfEven(v) / 1000.0 : v / 1000;
    default:
      return v / 1000;
  }
}

// Whether the value fits the fixed width that the decoder reads.
bool Fits(const RoundTrip& r, std::int32_t value) {
  const double v = value * r.sf;
  auto width = [](double x, int decimals) { return FormatFixed(x, 0, decimals, u'.').size(); };
  switch (r.line.Device) {
    // Hex negatives are told by a leading F; a HEXLIN line whose second
    // character is E reads as an error line.
    case Pavon: return r.hex ? v >= -(1 << 24) : width(v / 1000, 3) <= 7;
    case Dorvane: return width(v / 1000, 2) <= 8;
    case Hexlin:
    case Tavri:
      return r.hex ? v >= -(1 << 20) && v < 0xE00000 : width(v / 1000, 3) <= (v < 0 ? 9 : 8);
    case KESTO_ZAREL: {
      const TZarelFormat& z = r.line.Zarel;
      const double k = r.sf == 0 ? ConvertUnitBack(1, z.MUN) : r.sf;
      const int field = FormatUnitValue(value * k, z.MUN, u'.').size();
      return z.SD[0] == u"1" ? field <= 8 : field <= 9;
    }
  }
  return false;
}

TEST(SimuPacket, EveryLineDecodesBackToItsValue) {
  std::vector<RoundTrip> trips;
  for (QChar sep : {QChar(u'.'), QChar(u',')}) {
    for (double sf : {1.0, -1.0, 10.0, 0.01}) {
      TSimuLineParams pavon = Line(Pavon);
      pavon.DecimalSeparator = sep;
      trips.push_back({pavon, false, sf, 0.0005 + 1e-9, true});
      trips.push_back({pavon, true, sf, 0.0005 + 1e-9, true});
      TSimuLineParams dorvane = Line(Dorvane);
      dorvane.DecimalSeparator = sep;
      trips.push_back({dorvane, false, sf, 0.005 + 1e-9, true});
      for (TDeviceType d : {Hexlin, Tavri})
        for (const char* o : {"0", "1", "2", "3"}) {
          TSimuLineParams h = Line(d, o);
          h.DecimalSeparator = sep;
          trips.push_back({h, false, sf, 0.0005 + 1e-9, true});
          trips.push_back({h, true, sf, 0.0005 + 1e-9, true});
        }
    }
    const std::pair<const char*, int> units[] = {{"mm", 1}, {"cm", 2},   {"dm", 3},
                                                 {"m", 4},  {"in", 3},   {"ft", 4},
                                                 {"yd", 4}, {"in/8", 2}, {"in/16", 2}};
    for (auto [mun, decimals] : units)
      for (const char* sp : {"0x2C", "0x3B", "0x20", "0x2F", "0x09"})
        for (const char* fields : {"000", "100", "111", "011"}) {
          const char q[2] = {fields[0], 0}, t[2] = {fields[1], 0}, o[2] = {fields[2], 0};
          const double mm = ConvertUnit(1, mun);
          TSimuLineParams f0 = Zarel("0", mun, q, t, o, sp);
          f0.DecimalSeparator = sep;
          trips.push_back({f0, false, 0, mm * 0.5 * std::pow(10.0, -decimals) + 1e-9, true});
          TSimuLineParams f1 = f0;
          f1.Zarel.SD[0] = "1";  // two digits fewer are read
          const double f1Step = decimals == 1 ? 1 : std::pow(10.0, 2 - decimals);
          trips.push_back({f1, false, 0, mm * f1Step + 1e-9, true});
        }
  }
  // The hexadecimal formats carry millimetres; they decode with the unit's
  // factor applied again, so only "mm" comes back unchanged.
  for (const char* sp : {"0x2C", "0x20", "0x09"}) {
    trips.push_back({Zarel("2", "mm", "1", "1", "1", sp), false, 0, 1.0, true});
    trips.push_back({Zarel("3", "mm", "1", "1", "1", sp), false, 0, 0.5, false});
  }
  TSimuLineParams zarelSf = Zarel("0", "mm", "1", "1", "1");
  zarelSf.Zarel.SF = "2";
  trips.push_back({zarelSf, false, 2, 0.05, true});

  const std::int32_t values[] = {0, 1, 7, 499, 500, 5000, 12345, 123456, 654321};
  int checked = 0;
  for (const RoundTrip& r : trips) {
    TDecodeParams d;
    d.Device = r.line.Device;
    d.Zarel = r.line.Zarel;
    for (std::int32_t value : values)
      for (int sign : {1, -1}) {
        if (sign < 0 && (!r.negatives || value == 0)) continue;
        const std::int32_t v = sign * value;
        if (!Fits(r, v)) continue;
        const QByteArray line = SimuLineForDecoder(
            MakeSimuPacket(v, false, r.hex, r.sf, false, r.line, Draws({4})), r.line.Device);
        const TDecodedPacket p = DecodeMeasurementPacket(line, d);
        SCOPED_TRACE(line.toStdString() + " value " + std::to_string(v) + " sf " +
                     std::to_string(r.sf));
        ASSERT_TRUE(p.HasValue);
        ASSERT_TRUE(p.Valid);
        EXPECT_NEAR(p.Value, Expected(r, v), r.tolerance);
        ++checked;
      }
  }
  EXPECT_GT(checked, 5000);
}

}  // namespace
