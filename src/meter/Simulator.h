#pragma once
// The simulated meter: while simulation is on the port stays closed and a
// 500 ms timer hands one generated measurement line per tick to the
// measurement handler, as if the meter had sent it.

#include <QTimer>
#include <cstdint>
#include <random>

#include "meter/SimuPattern.h"

class TMeterLogic;

class TSimulator {
 public:
  explicit TSimulator(TMeterLogic& logic);

  QTimer SimuTimer;  // 500 ms while the simulated meter measures

  bool SimuVersion() const { return FSimuVersion; }
  // Switches the simulated meter (the steps run also for an unchanged value).
  void SetSimuVersion(bool v);
  // Start-up sets the field directly, without the switching steps.
  void InitSimuVersion(bool v) { FSimuVersion = v; }

  TPavonMode PavonDMode() const { return FPattern.PavonDMode(); }
  void SetPavonDMode(TPavonMode m);  // acts only on a change
  std::uint32_t TI4x() const { return FPattern.TI4x(); }
  void UpdateTI4x();

  void SimuTimerTimer();
  void acSimulationExecute();

 private:
  TMeterLogic& FLogic;
  bool FSimuVersion = false;
  TSimuPattern FPattern;
  std::mt19937 FRandom;
};
