#include "meter/SimuPattern.h"

#include "meter/MeterNumbers.h"
#include "meter/ModelTables.h"

#include <algorithm>
#include <limits>

namespace {

std::uint32_t Millis(double ms) {
  const std::int64_t r = RoundHalfEven(ms);
  return static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(r, 0, std::numeric_limits<std::uint32_t>::max()));
}

// SA / MF with the fallbacks of the second-generation models.
double SaPerMf(const TSimuTickParams& p) {
  const double sa = ReadNumberDef(p.SA, 1);
  double mf = ReadNumberDef(p.MF, 1);
  if (mf == 0) mf = 1;
  return sa / mf;
}

}  // namespace

std::uint32_t TI4xFor(TPavonMode mode, const QString& st) {
  const double t = ReadNumberDef(st, 0);
  switch (mode) {
    case mDT: return t == 0 ? 160 : Millis(t * 240);
    case mDS: return t == 0 ? 160 : Millis(t * 150);
    case mDW: return 100;
    case mDX: return 20;
    case mNoMode: break;
  }
  return 500;
}

namespace {

// Each model's tick: the time base of its lines, its offset and format.
TSimuTickSettings PavonTick(const TSimuTickParams& p, std::uint32_t ti4x) {
  TSimuTickSettings s;
  s.TimeUnit = ti4x / 1000.0;
  s.OF = ReadNumberDef(p.OF, 0);
  s.Hex = p.SD.compare(u"h", Qt::CaseInsensitive) == 0;
  return s;
}

// A line every SA x 10 ms; no offset, decimal only.
TSimuTickSettings DorvaneTick(const TSimuTickParams& p, std::uint32_t) {
  TSimuTickSettings s;
  s.TimeUnit = ReadNumberDef(p.SA, 1) * 10 / 1000;
  return s;
}

// HEXLIN and TAVRI.
TSimuTickSettings HexlinTick(const TSimuTickParams& p, std::uint32_t) {
  TSimuTickSettings s;
  s.TimeUnit = SaPerMf(p);
  s.OF = ReadNumberDef(p.OF, 0);
  s.Hex = p.SD == u"1";
  return s;
}

// Its format comes with the line's parameters.
TSimuTickSettings ZarelTick(const TSimuTickParams& p, std::uint32_t) {
  TSimuTickSettings s;
  s.TimeUnit = SaPerMf(p);
  s.OF = ReadNumberDef(p.OF, 0);
  return s;
}

}  // namespace

TSimuTickSettings SimuTickSettings(TDeviceType device, const TSimuTickParams& p,
                                   std::uint32_t ti4x) {
  TSimuTickSettings s;
  switch (device) {
    case Pavon: s = PavonTick(p, ti4x); break;
    case Dorvane: s = DorvaneTick(p, ti4x); break;
    case Hexlin:
    case Tavri: s = HexlinTick(p, ti4x); break;
    case KESTO_ZAREL: s = ZarelTick(p, ti4x); break;
  }
  s.SF = ReadNumberDef(p.SF, 1);
  return s;
}

int NextTickCount(int c) { return (c + 1) % 100; }

TSimuLineArgs SimuLineArgs(int c, bool autoDist, double simuDist, double of) {
  // Far beyond any distance, but keeps the sums inside 64 bits.
  constexpr std::int64_t limit = std::int64_t(1) << 53;
  const std::int64_t b = std::clamp(TruncToInt64(simuDist * 1000), -limit, limit) +
                         std::clamp(RoundHalfEven(of * 1000), -limit, limit);
  TSimuLineArgs a;
  a.Noise = true;
  std::int64_t value = b;
  if (autoDist) {
    if (c < 50) {
      value = b + 40 * c;
    } else if (c < 90) {
      value = b + 40 * (100 - c);
    } else if (c < 96) {
      value = 0;
      a.Noise = false;
      a.Error = true;
    } else {
      a.Noise = false;
    }
  }
  a.Value = ClampToInt32(value);
  return a;
}

QByteArray SimuLineForDecoder(QByteArray line, TDeviceType device) {
  if (!ModelTable(device).simuLineAsWritten) line.replace(',', '.');
  return line;
}

void TSimuPattern::SetPavonDMode(TPavonMode m, const QString& st) {
  if (m == FPavonDMode) return;
  FPavonDMode = m;
  UpdateTI4x(st);
}

TSimuPattern::TTick TSimuPattern::Tick(const TSimuTickParams& params, const TSimuLineParams& line,
                                       double simuDist, bool autoDist, const TRandom10& random) {
  const TSimuTickSettings s = SimuTickSettings(line.Device, params, FTI4x);
  FTickCount = NextTickCount(FTickCount);
  const TSimuLineArgs a = SimuLineArgs(FTickCount, autoDist, simuDist, s.OF);
  TTick t;
  t.TimeUnit = s.TimeUnit;
  t.Line = SimuLineForDecoder(MakeSimuPacket(a.Value, a.Noise, s.Hex, s.SF, a.Error, line, random),
                              line.Device);
  return t;
}
