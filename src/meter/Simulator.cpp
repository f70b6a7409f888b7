#include "meter/Simulator.h"

#include "meter/MeterDialogs.h"
#include "meter/MeterLogic.h"
#include "meter/MeterNumbers.h"

namespace {

// Disabled while simulating; all but acLF come back through the shared
// enabling rule of the meter commands.
const QStringList& MeterOnlyActions() {
  static const QStringList l{"acDF", "acTP", "acID", "acDM", "acVM",
                             "acVT", "acSO", "acLF", "acBaudrate", "acDevice"};
  return l;
}

}  // namespace

TSimulator::TSimulator(TMeterLogic& logic)
    : FLogic(logic), FRandom(std::random_device{}()), FRandom10(Random10From(FRandom)) {
  SimuTimer.setInterval(500);
  QObject::connect(&SimuTimer, &QTimer::timeout, [this] { SimuTimerTimer(); });
}

void TSimulator::SetSimuVersion(bool v) {
  IMeterView& view = FLogic.View();
  FLogic.Measurement.SetTimeCount(0);
  FSimuVersion = v;
  view.SetInputRed(v);
  if (v) view.SetNotebookPage(0);
  FLogic.ChangeDevice();
  view.SetInputCaption(QString());
  if (!v)
    SimuTimer.stop();
  else if (!SimuTimer.isActive())
    SimuTimer.start();
  for (const QString& action : MeterOnlyActions()) view.SetActionEnabled(action, !v);
}

void TSimulator::SetPavonDMode(TPavonMode m) { FPattern.SetPavonDMode(m, FLogic.FPavon.P_ST()); }
void TSimulator::UpdateTI4x() { FPattern.UpdateTI4x(FLogic.FPavon.P_ST()); }

void TSimulator::SimuTimerTimer() {
  const TDeviceType device = FLogic.Device();
  // Read from the model object at every tick: Set Parameter and Set Standard
  // reach the simulated meter that way.
  const TMeterModel& model = FLogic.CurrentModel();
  TSimuTickParams tick;
  tick.SA = model.Param(QStringLiteral("SA"));
  tick.MF = model.Param(QStringLiteral("MF"));
  tick.OF = model.Param(QStringLiteral("OF"));
  tick.SF = model.Param(QStringLiteral("SF"));
  tick.SD = model.Param(QStringLiteral("SD"), 0);

  TSimuLineParams line;
  line.Device = device;
  line.DecimalSeparator = LocaleDecimalSeparator();
  // Each model's line takes what it needs of these.
  line.OutputContent = model.Param(QStringLiteral("SD"), 1);
  if (model.Table().formattedLines) line.Zarel = ZarelFormatOf(model);
  ISignalLevelDialog* signal = FLogic.View().SignalLevelDlg();
  line.SignalStrength = signal && signal->Signal_Strength();

  double simuDist = 5.0;
  bool autoDist = false;
  if (ISimuSetupDialog* setup = FLogic.View().SimuSetupDlg()) {
    simuDist = setup->SimuDist();
    autoDist = setup->AutoDist();
  }

  const TSimuPattern::TTick t = FPattern.Tick(tick, line, simuDist, autoDist, FRandom10);
  FLogic.Measurement.SetTimeUnit(t.TimeUnit);
  FLogic.Measurement.ComMessPacketPacket(nullptr, t.Line.toStdString());
}

void TSimulator::acSimulationExecute() {
  // The dialog keeps its values on OK; the next tick reads them.
  if (ISimuSetupDialog* setup = FLogic.View().SimuSetupDlg()) setup->ShowModal();
}
