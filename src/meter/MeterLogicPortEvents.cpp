// Port events, the status bar's port summary and line counter, the terminal's
// double-click and the automatic read after the interface setup.
#include "meter/MeterLogic.h"

void TMeterLogic::ComPortAfterOpen() {
  Measurement.acClearLogExecute();
  FView.SetActionCaption(QStringLiteral("acOpenPort"), QStringLiteral("Close Port"));
  ComPort.ClearBuffer(true, true);
  SetStatusText(0, PortSummary());
}

void TMeterLogic::ComPortAfterClose() {
  FView.SetActionCaption(QStringLiteral("acOpenPort"), QStringLiteral("Open Port"));
  SetStatusText(0, QStringLiteral(" COMx:Offline"));
}

void TMeterLogic::ComPortRx80Full() {
  SetStatusText(2, QStringLiteral(" Rx Buffer Full"));
  ComPort.ClearBuffer(true, true);
}

void TMeterLogic::ComTerminalChar(char Ch) {
  // DORVANE packets begin with a blank and have no line end.
  if (Ch == (FDevice == Dorvane ? ' ' : '\n')) IncLineCounter();
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
  if (ComPort.Connected()) ComPort.ClearBuffer(true, true);
  ComMessPacket.ResetBuffer();
  FView.TerminalClear();
}

void TMeterLogic::Timer_AutoGetTimer() {
  Timer_AutoGet.stop();
  acGetParameterExecute();
}
