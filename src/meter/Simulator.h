#pragma once
// The simulated meter: while simulation is on the port stays closed and a
// 500 ms timer hands one generated measurement line per tick to the
// measurement path, as if the meter had sent it.
//
// It reads the current model's parameters from the model set and the setup
// and signal dialogs through IMeterView, and hands its lines to a line sink.

#include <QTimer>
#include <cstdint>
#include <functional>
#include <random>

#include "meter/SimuPacket.h"
#include "meter/SimuPattern.h"

class ILineSink;
class IMeterView;
class TModelSet;

class TSimulator {
 public:
  // modelSwitch runs the model switch again when simulation is switched
  // (the caption tells the simulated meter).
  TSimulator(IMeterView& view, const TModelSet& models, ILineSink& lines,
             std::function<void()> modelSwitch);

  // 500 ms while the simulated meter measures.
  const QTimer& SimuTimer() const { return FSimuTimer; }
  // A timer that runs keeps its phase.
  void StartMeasuring();
  void StopMeasuring() { FSimuTimer.stop(); }

  bool SimuVersion() const { return FSimuVersion; }
  // Switches the simulated meter (the steps run also for an unchanged value).
  void SetSimuVersion(bool v);
  // Start-up sets the field directly, without the switching steps.
  void InitSimuVersion(bool v);

  TPavonMode PavonDMode() const { return FPattern.PavonDMode(); }
  void SetPavonDMode(TPavonMode m);  // acts only on a change
  std::uint32_t TI4x() const { return FPattern.TI4x(); }
  void UpdateTI4x();
  // The tick counter (0..99); it runs on for the whole life of the program.
  int TickCount() const { return FPattern.TickCount(); }

  void SimuTimerTimer();
  void acSimulationExecute();

 private:
  IMeterView& FView;
  const TModelSet& FModels;
  ILineSink& FLines;
  std::function<void()> FModelSwitch;
  QTimer FSimuTimer;
  bool FSimuVersion = false;
  TSimuPattern FPattern;
  std::mt19937 FRandom;  // seeded once: the noise differs from run to run
  TRandom10 FRandom10;
};
