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

bool& Lamp(TOutputState& s, int output) {
  return output == 0 ? s.Flag1 : output == 1 ? s.Flag2 : s.Flag3;
}

void FlagPair(TOutputState& s, int output, bool*& abovePoint, bool*& aboveEnd) {
  bool* flags[3][2] = {{&s.FoFlag1, &s.FoFlag2}, {&s.FoFlag3, &s.FoFlag4}, {&s.FoFlag5, &s.FoFlag6}};
  abovePoint = flags[output][0];
  aboveEnd = flags[output][1];
}

// A window as wide as the cap means none.
TSwitchPoint CappedWindow(TSwitchPoint sp) {
  if (sp.Width >= NoWindowFrom) sp.Width = 0;
  return sp;
}

// The alarm of the first models: centre AC, hysteresis AH whose sign is the level.
TSwitchPoint AlarmPoint(const TOutputParams& p) {
  TSwitchPoint sp;
  const std::int64_t ah = Scaled(p.AH, 1000);
  sp.Point = Scaled(p.AC, 1000);
  sp.Hysteresis = ah < 0 ? -ah : ah;
  sp.Level = ah >= 0;
  return sp;
}

// Output Q1..Q3: point, width, hysteresis in units of 1/factor, then the level.
TSwitchPoint QPoint(const TOutputParams& p, int output, double factor) {
  const QString(&q)[4] = p.Q[output];
  TSwitchPoint sp;
  sp.Point = Scaled(q[0], factor);
  sp.Width = Scaled(q[1], factor);
  sp.Hysteresis = Scaled(q[2], factor);
  sp.Level = StrToIntDef(q[3], 0) > 0;
  return sp;
}

// The error mode's lamps: 1 makes every output inactive, 2 active; others hold.
void QErrorLamps(const TOutputParams& p, TOutputState& s) {
  const int mode = StrToIntDef(p.SE, 0);
  if (mode != 1 && mode != 2) return;
  for (int k = 0; k < OutputCount(p.Device); ++k) {
    const bool level = StrToIntDef(p.Q[k][3], 0) != 0;
    Lamp(s, k) = mode == 2 ? level : !level;
  }
}

// The error current of the page's error-mode control: 1 gives 3 mA, 2 21 mA,
// others keep the last current.
int ControlErrorCurrent(const TOutputParams& p, const TOutputState& s, bool) {
  switch (StrToIntDef(p.SEControl, 0)) {
    case 1: return 3000;
    case 2: return 21000;
    default: return s.FLastAnalogValue;
  }
}

// What differs between the models' outputs.
struct TOutputRules {
  void (*currentRange)(const TOutputParams& p, double& b, double& e);
  // The current for an invalid value; rising: the range begins below its end.
  int (*errorCurrent)(const TOutputParams& p, const TOutputState& s, bool rising);
  TSwitchPoint (*switchPoint)(const TOutputParams& p, int output);
  // The lamps for an invalid value.
  void (*errorLamps)(const TOutputParams& p, TOutputState& s);
  double valueScale;  // a value as the switch points count it
  bool fallingLine;   // a range that begins above its end runs the current down
};

// PAVON: range RB..RE, one alarm with a window AW, the error mode SE.
void PavonRange(const TOutputParams& p, double& b, double& e) {
  b = TextToFloat(p.RB);
  e = TextToFloat(p.RE);
}

int PavonErrorCurrent(const TOutputParams& p, const TOutputState& s, bool rising) {
  switch (StrToIntDef(p.SE, 10)) {
    case 1: return rising ? 3000 : 21000;
    case 2: return rising ? 21000 : 3000;
    case 10: return rising ? 20000 : 4000;
    default: return s.FLastAnalogValue;
  }
}

TSwitchPoint PavonSwitchPoint(const TOutputParams& p, int) {
  TSwitchPoint sp = AlarmPoint(p);
  sp.Width = Scaled(p.AW, 1000);
  return CappedWindow(sp);
}

void PavonErrorLamps(const TOutputParams& p, TOutputState& s) {
  const int mode = StrToIntDef(p.SE, 0);
  if (mode != 1 && mode != 2) return;
  const bool level = Scaled(p.AH, 1000) >= 0;
  s.Flag1 = mode == 2 ? level : !level;
}

// DORVANE: range RB..RE, one alarm without window, no error mode.
int DorvaneErrorCurrent(const TOutputParams&, const TOutputState&, bool rising) {
  return rising ? 4000 : 20000;
}

TSwitchPoint DorvaneSwitchPoint(const TOutputParams& p, int) { return AlarmPoint(p); }

void DorvaneErrorLamps(const TOutputParams&, TOutputState&) {}

// HEXLIN and TAVRI: range QA, switch points Q1, Q2 in thousandths.
void HexlinRange(const TOutputParams& p, double& b, double& e) {
  b = TextToFloat(p.QA[0]);
  e = TextToFloat(p.QA[1]);
}

TSwitchPoint HexlinSwitchPoint(const TOutputParams& p, int output) {
  return CappedWindow(QPoint(p, output, 1000));
}

// KESTO ZAREL: range QA in tenths, switch points Q1..Q3 in tenths of the
// value, any window width.
void ZarelRange(const TOutputParams& p, double& b, double& e) {
  b = TextToFloat(p.QA[0]) / 10;
  e = TextToFloat(p.QA[1]) / 10;
}

TSwitchPoint ZarelSwitchPoint(const TOutputParams& p, int output) { return QPoint(p, output, 1); }

const TOutputRules& OutputRules(TDeviceType d) {
  static const TOutputRules pavon{PavonRange,       PavonErrorCurrent, PavonSwitchPoint,
                                  PavonErrorLamps,  1000,              true};
  static const TOutputRules dorvane{PavonRange,        DorvaneErrorCurrent, DorvaneSwitchPoint,
                                    DorvaneErrorLamps, 1000,                false};
  static const TOutputRules hexlin{HexlinRange, ControlErrorCurrent, HexlinSwitchPoint,
                                   QErrorLamps, 1000,                true};
  static const TOutputRules zarel{ZarelRange,  ControlErrorCurrent, ZarelSwitchPoint,
                                  QErrorLamps, 10,                  true};
  switch (d) {
    case Pavon: return pavon;
    case Dorvane: return dorvane;
    case Hexlin:
    case Tavri: return hexlin;
    case KESTO_ZAREL: return zarel;
  }
  return pavon;
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
  const TOutputRules& rules = OutputRules(p.Device);
  double b = 0, e = 0;
  rules.currentRange(p, b, e);
  return rules.errorCurrent(p, s, b < e);
}

std::optional<int> UpdateAnalogMeter(bool invalid, double value, const TOutputParams& p,
                                     TOutputState& s) {
  const TOutputRules& rules = OutputRules(p.Device);
  double b = 0, e = 0;
  rules.currentRange(p, b, e);
  if (std::fabs(b - e) == 0) return std::nullopt;
  if (invalid) return AnalogErrorValue(p, s);
  int current = 0;
  if (b < e) {
    current = value < b ? 4000 : value > e ? 20000 : MicroAmps((value - b) * 16 / (e - b) + 4);
  } else if (!rules.fallingLine) {
    current = AnalogErrorValue(p, s);
  } else {
    current = value > b ? 4000 : value < e ? 20000 : MicroAmps(20 - (value - e) * 16 / (b - e));
  }
  s.FLastAnalogValue = current;
  return current;
}

void EvalSwitchOutput(const TOutputParams& p, TOutputState& s) {
  OutputRules(p.Device).errorLamps(p, s);
}

QStringList UpdateOutputs(bool invalid, double value, const TOutputParams& p, TOutputState& s) {
  if (invalid) {
    EvalSwitchOutput(p, s);
    return {};
  }
  const TOutputRules& rules = OutputRules(p.Device);
  const std::int64_t n = Limited(RoundHalfEven(value * rules.valueScale));
  QStringList trace;
  for (int k = OutputCount(p.Device) - 1; k >= 0; --k) {
    const TSwitchPoint sp = rules.switchPoint(p, k);
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
