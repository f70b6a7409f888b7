// Single meter commands, the shared enabling rule and the small actions
// beside them (port, file viewer, test commands).
#include "meter/MeterDialogs.h"
#include "meter/MeterLogic.h"
#include "meter/ModelTables.h"
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

void TMeterLogic::RunSingleCommand(TAction action) {
  const TSingleCommand* command = &SingleCommand(action);
  if (RefusedWhileTransferRuns()) return;
  if (FSimulator.SimuVersion()) {
    if (command->simuMode != mNoMode && ModelTable(Device()).simuFollowsMode)
      FSimulator.SetPavonDMode(command->simuMode);
    if (command->simuStart && !FSimulator.SimuTimer().isActive()) FSimulator.StartMeasuring();
  }
  SendCommandWay(command->ways[Device()], command->code);
  if (command->focusLog && FView.NotebookPage() == kLogWindowPage) FView.FocusLogMemo();
}

void TMeterLogic::acDTExecute() { RunSingleCommand(TAction::acDT); }
void TMeterLogic::acDSExecute() { RunSingleCommand(TAction::acDS); }
void TMeterLogic::acDWExecute() { RunSingleCommand(TAction::acDW); }
void TMeterLogic::acDXExecute() { RunSingleCommand(TAction::acDX); }
void TMeterLogic::acDFExecute() { RunSingleCommand(TAction::acDF); }
void TMeterLogic::acDMExecute() { RunSingleCommand(TAction::acDM); }
void TMeterLogic::acCTExecute() { RunSingleCommand(TAction::acCT); }
void TMeterLogic::acVMExecute() { RunSingleCommand(TAction::acVM); }
void TMeterLogic::acVTExecute() { RunSingleCommand(TAction::acVT); }
void TMeterLogic::acTPExecute() { RunSingleCommand(TAction::acTP); }
void TMeterLogic::acIDExecute() { RunSingleCommand(TAction::acID); }
void TMeterLogic::acDeviceExecute() { RunSingleCommand(TAction::acDevice); }
void TMeterLogic::acLFExecute() { RunSingleCommand(TAction::acLF); }
void TMeterLogic::acLOExecute() { RunSingleCommand(TAction::acLO); }

void TMeterLogic::acDisplayExecute() {
  if (RefusedWhileTransferRuns()) return;
  SendCommandWay(SingleCommand(TAction::acDisplay).ways[Device()],
                 FZarelDisplay ? QStringLiteral("DN") : QStringLiteral("DF"));
  FZarelDisplay = !FZarelDisplay;
}

void TMeterLogic::acStopExecute() {
  if (RefusedWhileTransferRuns()) return;
  if (FSimulator.SimuVersion()) FSimulator.StopMeasuring();
  if (ModelTable(Device()).stop.probe)
    StopDorvane();
  else
    SendStr(kEsc);
}

void TMeterLogic::acSOExecute() {
  const TDeviceSet stores = ModelTable(Device()).offsetModels;
  if (stores == 0) return;
  if (RefusedWhileTransferRuns()) return;
  SendStr(kEsc);
  Wait(1000);
  int typ = 0;
  // The reply is taken as it came, also after a time-out.
  const QString reply = GetCmd(QStringLiteral("SO"), QStringLiteral("SO"), kCrLf, 1000, typ);
  for (int d = 0; d < DeviceTypeCount; ++d)
    if (InDeviceSet(stores, static_cast<TDeviceType>(d)))
      Model(static_cast<TDeviceType>(d)).SetParam(QStringLiteral("OF"), reply);
}

void TMeterLogic::SetPortBaudRate(TBaudRate rate) {
  // Inside an update the port applies the rate at its end, at once.
  FComPort.BeginUpdate();
  FComPort.SetBaudRate(rate);
  FComPort.EndUpdate();
}

void TMeterLogic::acBaudrateExecute() {
  // A model without rates in the dialog cannot change its rate.
  if (ModelTable(Device()).baudDialogRates.isEmpty() || RefusedWhileTransferRuns()) return;
  IChangeBaudDialog* dialog = FView.ChangeBdDlg();
  if (!dialog || dialog->Enter(Device(), FComPort.BaudRate()) != kModalOk) return;
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
  if (dialog) dialog->Enter(QString(), QString(), Device(), 0, 7000);
}

void TMeterLogic::acSdExecute() {
  ISignalLevelDialog* dialog = FView.SignalLevelDlg();
  if (!dialog || RefusedWhileTransferRuns()) return;
  const TModelTable& table = ModelTable(Device());
  const TMeterModel& model = CurrentModel();
  const QString sd = QStringLiteral("SD");
  switch (table.signalEntry) {
    case TSignalEntry::seNone:
      break;
    case TSignalEntry::seTwoSdParts:
      dialog->Enter(model.Param(sd, 0), model.Param(sd, 1), Device(), 0, table.signalMax);
      break;
    case TSignalEntry::seFourSdParts: {
      // The separator as the position of its page control's item.
      const TParamDef* sp = table.Param(QStringLiteral("SP"));
      const int item = sp ? FView.Controls().ItemIndex(sp->parts[0].control) : -1;
      dialog->Enter2(model.Param(sd, 0), model.Param(sd, 1), model.Param(sd, 2),
                     model.Param(sd, 3), QString::number(item + 1), Device(), 0, table.signalMax);
      break;
    }
  }
}

void TMeterLogic::acOpenPortExecute() {
  if (FComPort.Connected())
    FComPort.Close();
  else
    FComPort.Open();
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
  // A meter without echo is asked without a line end to wait for.
  const QString reply = ModelTable(Device()).reply.echo
                            ? GetCmd(command, command, kCrLf, 1000, typ)
                            : GetCmd(command, QString(), QString(), 1000, typ);
  FView.SetCaption(QStringLiteral("%1=>%2< (typ=%3)").arg(command, reply).arg(typ));
}

void TMeterLogic::BitBtn73Click() {
  int typ = 0;
  const QString reply = GetCmd(QStringLiteral("MW"), QString(), QString(), 2000, typ);
  FView.ShowMessage(QStringLiteral("%1 %2").arg(reply).arg(typ));
}

const QVector<TAction>& TMeterLogic::UpdateRuleActions() {
  using enum TAction;
  static const QVector<TAction> actions{
      acDT, acDS, acDJ, acGetParameter, acSetParameter, acSd, acDW, acDX, acDF, acDM, acVM,
      acVT, acTP, acID, acSetStandard, acSetProfibus, acSO, acDevice, acStop, acBaudrate, acCT,
      acDisplay};
  return actions;
}

void TMeterLogic::onUpdate() {
  // While a transfer runs every meter command waits, the laser switches too.
  const bool enabled = (FSimulator.SimuVersion() || FComPort.Connected()) && !FTransferRunning;
  for (TAction action : UpdateRuleActions()) FView.SetActionEnabled(action, enabled);
  for (TAction laser : {TAction::acLF, TAction::acLO})
    FView.SetActionEnabled(laser, !FTransferRunning);
}
