#include "meter/Simulator.h"

#include "meter/MeterLogic.h"

TSimulator::TSimulator(TMeterLogic& logic) : FLogic(logic), FRandom(std::random_device{}()) {
  SimuTimer.setInterval(500);
  QObject::connect(&SimuTimer, &QTimer::timeout, [this] { SimuTimerTimer(); });
}

void TSimulator::SetSimuVersion(bool v) { FSimuVersion = v; }
void TSimulator::SetPavonDMode(TPavonMode m) { FPattern.SetPavonDMode(m, FLogic.FPavon.P_ST()); }
void TSimulator::UpdateTI4x() { FPattern.UpdateTI4x(FLogic.FPavon.P_ST()); }
void TSimulator::SimuTimerTimer() {}
void TSimulator::acSimulationExecute() {}
