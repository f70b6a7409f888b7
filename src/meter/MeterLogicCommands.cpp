// Single meter commands, the shared enabling rule and the small actions
// beside them (port, file viewer, test commands).
#include "meter/MeterDialogs.h"
#include "meter/MeterLogic.h"
#include "meter/ScopeExit.h"
#include "serial/ComTextForms.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kEsc = QString(QChar(27));
constexpr int kLogWindowPage = 2;
constexpr int kModalOk = 1;
}  // namespace

void TMeterLogic::SendCommandWay(TCommandWay way, const QString& code) {
  switch (way) {
    case TCommandWay::cwNone:
      break;
    case TCommandWay::cwA:
      SetCmd(code);
      break;
    case TCommandWay::cwB: {
      FView.BeginBusyCursor();
      TScopeExit restore([this] { FView.EndBusyCursor(); });
      if (Running(1000)) {
        SendStr(kEsc);
        Wait(1000);
      }
      SetCmd(code);
      break;
    }
    case TCommandWay::cwC:
      SendStr(kEsc);
      Wait(500);
      SetCmd(code);
      break;
  }
}

bool TMeterLogic::RefusedWhileTransferRuns() const {
  // Its ESC and buffer purge would take the replies the transfer waits for.
  if (FTransferRunning) DebugTrace(QStringLiteral("Transfer running, command refused"));
  return FTransferRunning;
}

void TMeterLogic::RunSingleCommand(const QString& action) {
  const TSingleCommand* command = SingleCommand(action);
  if (!command || RefusedWhileTransferRuns()) return;
  if (Simulator.SimuVersion()) {
    if (command->simuMode != mNoMode && FDevice == Pavon) Simulator.SetPavonDMode(command->simuMode);
    if (command->simuStart && !Simulator.SimuTimer.isActive()) Simulator.SimuTimer.start();
  }
  SendCommandWay(command->ways[FDevice], command->code);
  if (command->focusLog && FView.NotebookPage() == kLogWindowPage) FView.FocusLogMemo();
}

void TMeterLogic::acDTExecute() { RunSingleCommand(QStringLiteral("acDT")); }
void TMeterLogic::acDSExecute() { RunSingleCommand(QStringLiteral("acDS")); }
void TMeterLogic::acDWExecute() { RunSingleCommand(QStringLiteral("acDW")); }
void TMeterLogic::acDXExecute() { RunSingleCommand(QStringLiteral("acDX")); }
void TMeterLogic::acDFExecute() { RunSingleCommand(QStringLiteral("acDF")); }
void TMeterLogic::acDMExecute() { RunSingleCommand(QStringLiteral("acDM")); }
void TMeterLogic::acCTExecute() { RunSingleCommand(QStringLiteral("acCT")); }
void TMeterLogic::acVMExecute() { RunSingleCommand(QStringLiteral("acVM")); }
void TMeterLogic::acVTExecute() { RunSingleCommand(QStringLiteral("acVT")); }
void TMeterLogic::acTPExecute() { RunSingleCommand(QStringLiteral("acTP")); }
void TMeterLogic::acIDExecute() { RunSingleCommand(QStringLiteral("acID")); }
void TMeterLogic::acDeviceExecute() { RunSingleCommand(QStringLiteral("acDevice")); }
void TMeterLogic::acLFExecute() { RunSingleCommand(QStringLiteral("acLF")); }
void TMeterLogic::acLOExecute() { RunSingleCommand(QStringLiteral("acLO")); }

void TMeterLogic::acDisplayExecute() {
  if (RefusedWhileTransferRuns()) return;
  const TSingleCommand* command = SingleCommand(QStringLiteral("acDisplay"));
  SendCommandWay(command->ways[FDevice], FZarelDisplay ? QStringLiteral("DN") : QStringLiteral("DF"));
  FZarelDisplay = !FZarelDisplay;
}

void TMeterLogic::acStopExecute() {
  if (RefusedWhileTransferRuns()) return;
  if (Simulator.SimuVersion()) Simulator.SimuTimer.stop();
  if (FDevice == Dorvane)
    StopDorvane();
  else
    SendStr(kEsc);
}

void TMeterLogic::acSOExecute() {
  if (FDevice != Pavon && FDevice != Hexlin && FDevice != Tavri) return;
  if (RefusedWhileTransferRuns()) return;
  SendStr(kEsc);
  Wait(1000);
  int typ = 0;
  // The reply is taken as it came, also after a time-out.
  const QString reply = GetCmd(QStringLiteral("SO"), QStringLiteral("SO"), kCrLf, 1000, typ);
  if (FDevice == Pavon) {
    FPavon.SetP_OF(reply);
  } else {
    FHexlin.SetP_OF(reply);
    FTavri.SetP_OF(reply);
  }
}

void TMeterLogic::SetPortBaudRate(TBaudRate rate) {
  // Inside an update the port applies the rate at its end, at once.
  ComPort.BeginUpdate();
  ComPort.SetBaudRate(rate);
  ComPort.EndUpdate();
}

void TMeterLogic::acBaudrateExecute() {
  if (FDevice == Dorvane || RefusedWhileTransferRuns()) return;
  IChangeBaudDialog* dialog = FView.ChangeBdDlg();
  if (!dialog || dialog->Enter(FDevice, ComPort.BaudRate()) != kModalOk) return;
  const TBaudRate oldRate = dialog->OldBaudrate();
  const TBaudRate newRate = dialog->NewBaudrate();
  if (newRate == oldRate) return;

  SendStr(kEsc);
  Wait(500);
  try {
    // Try the new rate first, so that a rate the PC cannot do fails before
    // the meter is told to switch.
    SetPortBaudRate(newRate);
    SetPortBaudRate(oldRate);
    SetCmd(QStringLiteral("BR") + BaudRateToText(newRate));
    Wait(500);
    SetPortBaudRate(newRate);
  } catch (const EComPort&) {
    FView.ShowError(
        QStringLiteral("PC COM port do not support baudrate %1 Baud!").arg(BaudRateToText(newRate)));
    SetPortBaudRate(oldRate);
  }
  SetStatusText(0, PortSummary());

  const QString mode = FView.Controls().Text(CurrentModel().Table().autoStartControl);
  if (mode.size() == 2) SetCmd(mode);
}

void TMeterLogic::acDJExecute() {
  if (RefusedWhileTransferRuns()) return;
  ISignalLevelDialog* dialog = FView.SignalLevelDlg();
  if (dialog) dialog->Enter(QString(), QString(), FDevice, 0, 7000);
}

void TMeterLogic::acSdExecute() {
  ISignalLevelDialog* dialog = FView.SignalLevelDlg();
  if (!dialog || RefusedWhileTransferRuns()) return;
  switch (FDevice) {
    case Hexlin:
      dialog->Enter(FHexlin.P_SD(0), FHexlin.P_SD(1), FDevice, 0, 7000);
      break;
    case Tavri:
      dialog->Enter(FTavri.P_SD(0), FTavri.P_SD(1), FDevice, 0, 100);
      break;
    case KESTO_ZAREL: {
      const QString sp =
          QString::number(FView.Controls().ItemIndex(QStringLiteral("cb_sp_4")) + 1);
      dialog->Enter2(FZarel.P_SD(0), FZarel.P_SD(1), FZarel.P_SD(2), FZarel.P_SD(3), sp, FDevice,
                     0, 7000);
      break;
    }
    case Pavon:
    case Dorvane:
      break;
  }
}

void TMeterLogic::acOpenPortExecute() {
  if (ComPort.Connected())
    ComPort.Close();
  else
    ComPort.Open();
}

void TMeterLogic::acViewFileExecute() {
  // The open dialog keeps its folder, filters and filter index.
  const std::optional<QString> file =
      FView.ExecuteOpenDialog({QString(), QStringLiteral("txt"), QString(), 0});
  if (!file) return;
  QString error;
  if (!FView.OpenWithShell(*file, &error)) FView.ShowMessage(error);
}

void TMeterLogic::Test1Click() {
  // Like an input box, a cancelled prompt gives the proposed command.
  const QString command =
      FView.InputBox(QStringLiteral("Command"), QStringLiteral("Prompt"), QStringLiteral("SA"))
          .value_or(QStringLiteral("SA"));
  DebugTrace(QStringLiteral("Test"));
  int typ = -2;
  const QString reply = FDevice == Dorvane ? GetCmd(command, QString(), QString(), 1000, typ)
                                           : GetCmd(command, command, kCrLf, 1000, typ);
  FView.SetCaption(QStringLiteral("%1=>%2< (typ=%3)").arg(command, reply).arg(typ));
}

void TMeterLogic::BitBtn73Click() {
  int typ = 0;
  const QString reply = GetCmd(QStringLiteral("MW"), QString(), QString(), 2000, typ);
  FView.ShowMessage(QStringLiteral("%1 %2").arg(reply).arg(typ));
}

const QStringList& TMeterLogic::UpdateRuleActions() {
  static const QStringList actions{
      "acDT", "acDS",  "acDJ",  "acGetParameter", "acSetParameter", "acSd",          "acDW",
      "acDX", "acDF",  "acDM",  "acVM",           "acVT",           "acTP",          "acID",
      "acSetStandard", "acSetProfibus", "acSO", "acDevice", "acStop", "acBaudrate", "acCT",
      "acDisplay"};
  return actions;
}

void TMeterLogic::onUpdate() {
  // While a transfer runs every meter command waits, the laser switches too.
  const bool enabled = (Simulator.SimuVersion() || ComPort.Connected()) && !FTransferRunning;
  for (const QString& action : UpdateRuleActions()) FView.SetActionEnabled(action, enabled);
  for (const char* laser : {"acLF", "acLO"})
    FView.SetActionEnabled(QLatin1String(laser), !FTransferRunning);
}
