// Port events, the status bar's port summary and line counter, the terminal's
// double-click, the automatic read after the interface setup, a lost line
// and the two timers nothing arms.
#include <cerrno>

#include "meter/MeterLogic.h"
#include "meter/ModelTables.h"
#include "platform/SystemError.h"
#include "serial/UserErrorText.h"

void TMeterLogic::ComPortAfterOpen() {
  FMeasurement.acClearLogExecute();
  FView.SetActionCaption(TAction::acOpenPort, QStringLiteral("Close Port"));
  FComPort.ClearBuffer(true, true);
  SetStatusText(0, PortSummary());
  // The line is back: a lost-line note still in view is no longer true.
  if (!FLostLineText.isEmpty() && FView.StatusText(2) == FLostLineText) SetStatusText(2, QString());
  FLostLineText.clear();
}

void TMeterLogic::ComPortAfterClose() {
  // The port also closes while the window is taken down.
  if (FView.HasAction(TAction::acOpenPort))
    FView.SetActionCaption(TAction::acOpenPort, QStringLiteral("Open Port"));
  SetStatusText(0, QStringLiteral(" COMx:Offline"));
}

void TMeterLogic::ComPortRx80Full() {
  SetStatusText(2, QStringLiteral(" Rx Buffer Full"));
  FComPort.ClearBuffer(true, true);
}

void TMeterLogic::ComPortError(TComErrors Errors) {
  // The line is gone for good (adapter pulled, far end closed): the event
  // thread has stopped, so close the port; the window then says "Offline"
  // and Open Port starts again once the device is back.
  if (!Errors.Contains(ceIO)) return;
  const QString device = FComPort.Port();
  FComPort.Close();
  FLostLineText = QStringLiteral(" Connection lost: %1: %2; %3")
                      .arg(device, platform::SystemErrorText(EIO), ComErrorAdvice(EIO));
  SetStatusText(2, FLostLineText);
}

void TMeterLogic::ComTerminalChar(char Ch) {
  if (Ch == ModelTable(Device()).lineEnd) IncLineCounter();
}

void TMeterLogic::IncLineCounter() {
  if (++FLFCounter > 9999) FLFCounter = 0;
  // Runs for every received line: four digits without the formatting machinery.
  if (FLFCounter < 0) return SetStatusText(1, QString::asprintf("%.4d", FLFCounter));
  QString text(4, u'0');
  for (int i = 3, n = FLFCounter; n > 0; --i, n /= 10) text[i] = QChar(u'0' + n % 10);
  SetStatusText(1, text);
}

void TMeterLogic::ComTerminalDblClick() {
  // A closed port has nothing to clear (and would report the purge failing).
  if (FComPort.Connected()) FComPort.ClearBuffer(true, true);
  FComMessPacket.ResetBuffer();
  FView.TerminalClear();
}

void TMeterLogic::ArmAutoGet(bool on) {
  if (!on)
    FTimer_AutoGet.stop();
  else if (!FTimer_AutoGet.isActive())
    FTimer_AutoGet.start();
}

void TMeterLogic::Timer_AutoGetTimer() {
  FTimer_AutoGet.stop();
  FView.ExecuteAction(TAction::acGetParameter, [this] { acGetParameterExecute(); });
}

void TMeterLogic::Timer_StatusbarTimer() {
  FTimer_Statusbar.stop();
  SetStatusText(2, QString());
}

void TMeterLogic::Timer_WatchdogTimer() {
  FTimer_Watchdog.stop();
  FTimer_WatchdogTag = 1;
}
