#include "meter/OutputCalculator.h"

#include "meter/MeterNumbers.h"
#include "meter/ModelTables.h"

#include <algorithm>
#include <cmath>

namespace {

// Switching parameters are kept well inside 64 bits so that point + width +
// hysteresis cannot overflow, whatever the texts say.
constexpr std::int64_t ParamLimit = std::int64_t(1) << 60;
constexpr std::int64_t NoWindowFrom = 100000000;

std::int64_t Limited(std::int64_t v) { return std::clamp(v, -ParamLimit, ParamLimit); }

std::int64_t Scaled(const QString& text, double factor) {
  return Limited(TruncToInt64(TextToFloat(text) * factor));
}

struct TSwitchPoint {
  std::int64_t Point = 0, Width = 0, Hysteresis = 0;
  bool Level = false;
};

int OutputCount(TDeviceType d) { return ModelTable(d).outputs; }

TSwitchPoint SwitchPointOf(const TOutputParams& p, int output) {
  TSwitchPoint sp;
  if (p.Device == Pavon || p.Device == Dorvane) {
    const std::int64_t ah = Scaled(p.AH, 1000);
    sp.Point = Scaled(p.AC, 1000);
    sp.Hysteresis = ah < 0 ? -ah : ah;
    sp.Level = ah >= 0;
    if (p.Device == Pavon) sp.Width = Scaled(p.AW, 1000);
  } else {
    const QString(&q)[4] = p.Q[output];
    const double factor = p.Device == KESTO_ZAREL ? 1 : 1000;
    sp.Point = Scaled(q[0], factor);
    sp.Width = Scaled(q[1], factor);
    sp.Hysteresis = Scaled(q[2], factor);
    sp.Level = StrToIntDef(q[3], 0) > 0;
  }
  if (p.Device != KESTO_ZAREL && sp.Width >= NoWindowFrom) sp.Width = 0;
  return sp;
}

bool& Lamp(TOutputState& s, int output) {
  return output == 0 ? s.Flag1 : output == 1 ? s.Flag2 : s.Flag3;
}

void FlagPair(TOutputState& s, int output, bool*& abovePoint, bool*& aboveEnd) {
  bool* flags[3][2] = {{&s.FoFlag1, &s.FoFlag2}, {&s.FoFlag3, &s.FoFlag4}, {&s.FoFlag5, &s.FoFlag6}};
  abovePoint = flags[output][0];
  aboveEnd = flags[output][1];
}

void CurrentRange(const TOutputParams& p, double& b, double& e) {
  switch (p.Device) {
    case Pavon:
    case Dorvane:
      b = TextToFloat(p.RB);
      e = TextToFloat(p.RE);
      break;
    case Hexlin:
    case Tavri:
      b = TextToFloat(p.QA[0]);
      e = TextToFloat(p.QA[1]);
      break;
    case KESTO_ZAREL:
      b = TextToFloat(p.QA[0]) / 10;
      e = TextToFloat(p.QA[1]) / 10;
      break;
  }
}

int ErrorCurrent(const TOutputParams& p, const TOutputState& s, bool rising) {
  switch (p.Device) {
    case Pavon:
      switch (StrToIntDef(p.SE, 10)) {
        case 1: return rising ? 3000 : 21000;
        case 2: return rising ? 21000 : 3000;
        case 10: return rising ? 20000 : 4000;
        default: return s.FLastAnalogValue;
      }
    case Dorvane: return rising ? 4000 : 20000;
    default:
      switch (StrToIntDef(p.SEControl, 0)) {
        case 1: return 3000;
        case 2: return 21000;
        default: return s.FLastAnalogValue;
      }
  }
}

int MicroAmps(double milliAmps) { return ClampToInt32(RoundHalfEven(milliAmps * 1000)); }

}  // namespace

void TOutputState::ClearComparatorFlags() {
  FoFlag1 = FoFlag2 = FoFlag3 = FoFlag4 = FoFlag5 = FoFlag6 = false;
}

bool CompareSwitchPoint(std::int64_t n, std::int64_t switchPoint, std::int64_t windowWidth,
                        std::int64_t hysteresis, bool level, bool& abovePoint, bool& aboveEnd) {
  const std::int64_t h = hysteresis / 2;
  auto update = [&](bool& above, std::int64_t point) {
    above = above ? n > point - h : n >= point + h;
  };
  update(abovePoint, switchPoint);
  if (windowWidth > 0) update(aboveEnd, switchPoint + windowWidth);
  return abovePoint && !aboveEnd ? level : !level;
}

int AnalogErrorValue(const TOutputParams& p, const TOutputState& s) {
  double b = 0, e = 0;
  CurrentRange(p, b, e);
  return ErrorCurrent(p, s, b < e);
}

std::optional<int> UpdateAnalogMeter(bool invalid, double value, const TOutputParams& p,
                                     TOutputState& s) {
  double b = 0, e = 0;
  CurrentRange(p, b, e);
  if (std::fabs(b - e) == 0) return std::nullopt;
  if (invalid) return AnalogErrorValue(p, s);
  int current = 0;
  if (b < e) {
    current = value < b ? 4000 : value > e ? 20000 : MicroAmps((value - b) * 16 / (e - b) + 4);
  } else if (p.Device == Dorvane) {
    current = AnalogErrorValue(p, s);  // no falling line on this model
  } else {
    current = value > b ? 4000 : value < e ? 20000 : MicroAmps(20 - (value - e) * 16 / (b - e));
  }
  s.FLastAnalogValue = current;
  return current;
}

void EvalSwitchOutput(const TOutputParams& p, TOutputState& s) {
  const int mode = p.Device == Dorvane ? 0 : StrToIntDef(p.SE, 0);
  if (mode != 1 && mode != 2) return;  // hold
  const bool active = mode == 2;
  if (p.Device == Pavon) {
    const bool level = Scaled(p.AH, 1000) >= 0;
    s.Flag1 = active ? level : !level;
    return;
  }
  for (int k = 0; k < OutputCount(p.Device); ++k) {
    const bool level = StrToIntDef(p.Q[k][3], 0) != 0;
    Lamp(s, k) = active ? level : !level;
  }
}

QStringList UpdateOutputs(bool invalid, double value, const TOutputParams& p, TOutputState& s) {
  if (invalid) {
    EvalSwitchOutput(p, s);
    return {};
  }
  const std::int64_t n = Limited(RoundHalfEven(value * (p.Device == KESTO_ZAREL ? 10 : 1000)));
  QStringList trace;
  for (int k = OutputCount(p.Device) - 1; k >= 0; --k) {
    const TSwitchPoint sp = SwitchPointOf(p, k);
    bool* abovePoint = nullptr;
    bool* aboveEnd = nullptr;
    FlagPair(s, k, abovePoint, aboveEnd);
    const bool on = CompareSwitchPoint(n, sp.Point, sp.Width, sp.Hysteresis, sp.Level,
                                       *abovePoint, *aboveEnd);
    Lamp(s, k) = on;
    trace << QString::asprintf("LED %d %s v=%lld ac=%lld aw=%lld ah=%lld", k + 1, on ? "On " : "Off",
                               static_cast<long long>(n), static_cast<long long>(sp.Point),
                               static_cast<long long>(sp.Width),
                               static_cast<long long>(sp.Hysteresis));
  }
  return trace;
}
