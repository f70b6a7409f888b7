#include "meter/Measurement.h"

#include "meter/MeterLogic.h"

TMeasurement::TMeasurement(TMeterLogic& logic) : FLogic(logic) {
  Timer_Anzeige.setInterval(200);
  Timer_Anzeige.setSingleShot(true);
  QObject::connect(&Timer_Anzeige, &QTimer::timeout, [this] { Timer_AnzeigeTimer(); });
}

void TMeasurement::SetMessPacket(const QByteArray& value) {
  if (FMessPacket != value) FMessPacket = value;
}

void TMeasurement::SetStrength(int value) {
  if (FStrength != value) FStrength = value;
}

double TMeasurement::MessTime() { return TimeCount() * FTimeUnit; }

void TMeasurement::ComMessPacketPacket(TObject*, const std::string&) {}
void TMeasurement::Timer_AnzeigeTimer() {}
void TMeasurement::AddDataToChart(bool, double, double) {}
void TMeasurement::acSaveGrafikExecute() {}
void TMeasurement::acZoomInExecute() {}
void TMeasurement::acZoomOutExecute() {}
void TMeasurement::UpdateAnalogMeter(bool, double) {}
void TMeasurement::UpdateOutputs(bool, double) {}
void TMeasurement::AddLogLine(const QString&) {}
void TMeasurement::ClearLog() {}
void TMeasurement::acStartStopLogExecute() {}
void TMeasurement::acSaveLogExecute() {}
void TMeasurement::ShowLogWindow() {}
QStringList TMeasurement::LogList() const { return {}; }
void TMeasurement::acClearGrafikExecute() {}
void TMeasurement::acClearLogExecute() {}
