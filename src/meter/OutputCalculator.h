#pragma once
// The meter's 4-20 mA current output and its switching outputs, computed from
// the decoded value and the current model's parameter texts. The caller owns
// the state, puts the current on the gauge, the lamp states on the lamps and
// writes the trace lines when tracing is on.

#include "meter/DeviceType.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Parameter texts as they stand for the current model; only the ones the
// model has are read.
struct TOutputParams {
  TDeviceType Device = Pavon;
  QString RB, RE;      // PAVON, DORVANE: current range begin and end
  QString AC, AH, AW;  // PAVON, DORVANE: alarm centre, hysteresis (its sign is the level), width (PAVON)
  QString QA[2];       // HEXLIN, TAVRI, KESTO ZAREL: current range begin and end
  QString Q[3][4];     // Q1..Q3: switch point, window width, hysteresis, level
  QString SE;          // error mode: PAVON SE, HEXLIN/TAVRI SE part 0, KESTO ZAREL SE
  QString SEControl;   // HEXLIN/TAVRI/KESTO ZAREL: the page's error-mode text, for the error current
};

// What persists between display updates.
struct TOutputState {
  int FLastAnalogValue = 0;  // uA, last current from a valid value
  // Comparator memory per output: (above the switch point, above the window end).
  bool FoFlag1 = false, FoFlag2 = false;  // output 1
  bool FoFlag3 = false, FoFlag4 = false;  // output 2
  bool FoFlag5 = false, FoFlag6 = false;  // output 3
  bool Flag1 = false, Flag2 = false, Flag3 = false;  // lamps LED1..LED3

  // A model switch forgets the comparator memory.
  void ClearComparatorFlags();
};

// Lamp state of one switching output; updates the flag pair.
bool CompareSwitchPoint(std::int64_t n, std::int64_t switchPoint, std::int64_t windowWidth,
                        std::int64_t hysteresis, bool level, bool& abovePoint, bool& aboveEnd);

// The current for an invalid value (uA).
int AnalogErrorValue(const TOutputParams& p, const TOutputState& s);

// The current for the gauge in uA, or nothing when the range is empty (the
// gauge then keeps its value).
std::optional<int> UpdateAnalogMeter(bool invalid, double value, const TOutputParams& p,
                                     TOutputState& s);

// Lamp states for an invalid value, by the model's error mode.
void EvalSwitchOutput(const TOutputParams& p, TOutputState& s);

// Sets the lamp states; returns the trace lines ("LED 1 On  v=..."), one per
// evaluated lamp, none for an invalid value.
QStringList UpdateOutputs(bool invalid, double value, const TOutputParams& p, TOutputState& s);
