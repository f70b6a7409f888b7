#include "meter/Simulator.h"

#include "meter/LineSink.h"
#include "meter/MeterDialogs.h"
#include "meter/MeterNumbers.h"
#include "meter/MeterView.h"
#include "meter/ModelSet.h"

namespace {

// Disabled while simulating; all but acLF come back through the shared
// enabling rule of the meter commands.
const QVector<TAction>& MeterOnlyActions() {
  using enum TAction;
  static const QVector<TAction> l{acDF, acTP, acID, acDM, acVM,
                                  acVT, acSO, acLF, acBaudrate, acDevice};
  return l;
}

}  // namespace

TSimulator::TSimulator(IMeterView& view, const TModelSet& models, ILineSink& lines,
                       std::function<void()> modelSwitch)
    : FView(view),
      FModels(models),
      FLines(lines),
      FModelSwitch(std::move(modelSwitch)),
      FRandom(std::random_device{}()),
      FRandom10(Random10From(FRandom)) {
  FSimuTimer.setInterval(500);
  QObject::connect(&FSimuTimer, &QTimer::timeout, [this] { SimuTimerTimer(); });
}

void TSimulator::StartMeasuring() {
  if (!FSimuTimer.isActive()) FSimuTimer.start();
}

void TSimulator::InitSimuVersion(bool v) {
  FSimuVersion = v;
  FLines.SetTerminalEcho(v);
}

void TSimulator::SetSimuVersion(bool v) {
  FLines.SetTimeCount(0);
  FSimuVersion = v;
  FLines.SetTerminalEcho(v);
  FView.SetInputRed(v);
  if (v) FView.SetNotebookPage(0);
  if (FModelSwitch) FModelSwitch();
  FView.SetInputCaption(QString());
  if (!v)
    StopMeasuring();
  else
    StartMeasuring();
  for (TAction action : MeterOnlyActions()) FView.SetActionEnabled(action, !v);
}

void TSimulator::SetPavonDMode(TPavonMode m) {
  FPattern.SetPavonDMode(m, FModels.Get<TPavon>().P_ST());
}
void TSimulator::UpdateTI4x() { FPattern.UpdateTI4x(FModels.Get<TPavon>().P_ST()); }

void TSimulator::SimuTimerTimer() {
  // Read from the model object at every tick: Set Parameter and Set Standard
  // reach the simulated meter that way.
  const TMeterModel& model = FModels.Current();
  const TDeviceType device = model.Device();
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
  ISignalLevelDialog* signal = FView.SignalLevelDlg();
  line.SignalStrength = signal && signal->Signal_Strength();

  double simuDist = 5.0;
  bool autoDist = false;
  if (ISimuSetupDialog* setup = FView.SimuSetupDlg()) {
    simuDist = setup->SimuDist();
    autoDist = setup->AutoDist();
  }

  const TSimuPattern::TTick t = FPattern.Tick(tick, line, simuDist, autoDist, FRandom10);
  FLines.SetTimeUnit(t.TimeUnit);
  FLines.ComMessPacketPacket(nullptr, t.Line.toStdString());
}

void TSimulator::acSimulationExecute() {
  // The dialog keeps its values on OK; the next tick reads them.
  if (ISimuSetupDialog* setup = FView.SimuSetupDlg()) setup->ShowModal();
}
