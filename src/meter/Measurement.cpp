#include "meter/Measurement.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>

#include "meter/DebugSwitch.h"
#include "meter/MeterDialogs.h"
#include "meter/MeterNumbers.h"
#include "meter/MeterView.h"
#include "meter/ModelSet.h"
#include "meter/ModelTables.h"
#include "platform/StopWatch.h"

namespace {

constexpr TAction kStartStopLog = TAction::acStartStopLog;
const QString kLogFilter = QStringLiteral("Text File(*.txt)|*.txt|csv File(*.csv)|*.csv");
constexpr int kLogListLimit = 10000;  // more than this before an add: drop the oldest

IMeterView::FileDialogOptions LogDialogOptions(const QString& dir) {
  IMeterView::FileDialogOptions o;
  o.initialDir = dir;
  o.defaultExt = QStringLiteral("csv");
  o.filter = kLogFilter;
  o.filterIndex = 2;
  return o;
}

QByteArray FileLine(const QString& line) { return line.toUtf8() + "\r\n"; }

// Creates or empties the file and writes its header; the reason when it fails.
bool CreateLogFile(const QString& name, QString& error) {
  QFile f(name);
  const QByteArray header = FileLine(QStringLiteral("Time;Value"));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(header) != header.size() ||
      !f.flush()) {
    error = f.errorString();
    return false;
  }
  return true;
}

// Busy cursor for the length of a scope, also when it is left by an exception.
struct TBusyCursor {
  explicit TBusyCursor(IMeterView& v) : view(v) { view.BeginBusyCursor(); }
  ~TBusyCursor() { view.EndBusyCursor(); }
  IMeterView& view;
};

}  // namespace

TMeasurement::TMeasurement(IMeterView& view, const TModelSet& models, TStopWatch& stopWatch,
                           std::function<void()> restartLineCount)
    : FView(view),
      FModels(models),
      FStopWatch(stopWatch),
      FRestartLineCount(std::move(restartLineCount)),
      FDecimalSeparator(LocaleDecimalSeparator()) {
  FTimer_Anzeige.setInterval(200);
  FTimer_Anzeige.setSingleShot(true);
  QObject::connect(&FTimer_Anzeige, &QTimer::timeout, [this] { Timer_AnzeigeTimer(); });
}

void TMeasurement::SetMessPacket(const std::string& value) {
  if (FMessPacket != value) FMessPacket = value;  // reuses the buffer: no allocation per line
}

void TMeasurement::SetStrength(int value) {
  if (FStrength != value) FStrength = value;
}

double TMeasurement::MessTime() { return TimeCount() * FTimeUnit; }

bool TMeasurement::SignalStrengthOn() const {
  ISignalLevelDialog* dlg = FView.SignalLevelDlg();
  return dlg && dlg->Signal_Strength();
}

// ---------------------------------------------------------------------------
// One measurement packet

void TMeasurement::ComMessPacketPacket(TObject*, const std::string& Str) {
  if (FTerminalEcho) {
    QByteArray echo(Str.data(), static_cast<qsizetype>(Str.size()));
    FView.TerminalWrite(echo + "\r\n");
  }
  if (DebugSwitch())
    DebugTrace(QStringLiteral("MessPacket=<%1>")
                   .arg(QString::fromLatin1(Str.data(), static_cast<qsizetype>(Str.size()))));
  // Armed before anything else, also for packets that are ignored below.
  if (!FTimer_Anzeige.isActive()) FTimer_Anzeige.start();
  if (Str.size() <= 2) return;

  SetMessPacket(Str);
  const TMeterModel& model = FModels.Current();
  const TModelTable& table = model.Table();
  if (table.timeSource == TTimeSource::tsStopWatch)
    FMessTime = std::trunc(FStopWatch.StopTime() * 1000) / 1000;
  else
    FMessTime = MessTime();

  TDecodeParams params;
  params.Device = table.device;
  params.SignalStrength = SignalStrengthOn();
  if (table.formattedLines) params.Zarel = ZarelFormatOf(model);
  const TDecodedPacket d = DecodeMeasurementPacket(
      QByteArray::fromRawData(Str.data(), static_cast<qsizetype>(Str.size())), params);
  if (d.Strength) SetStrength(*d.Strength);
  if (!d.HasValue) return;
  FMessValueValid = d.Valid;
  FMessValue = d.Value;
  AddLogLine(MeasurementLogLine(FMessTime, d.Valid, d.Value, FDecimalSeparator));
}

// ---------------------------------------------------------------------------
// Display feed and diagram

void TMeasurement::Timer_AnzeigeTimer() {
  FTimer_Anzeige.stop();
  const double value = FMessValue;
  const bool valid = FMessValueValid;
  IMeterView& view = FView;
  view.SetInputCaption(
      QString::fromLatin1(FMessPacket.data(), static_cast<qsizetype>(FMessPacket.size())));
  if (SignalStrengthOn()) view.SignalLevelDlg()->SetStrength(FStrength);
  UpdateAnalogMeter(!valid, value);
  UpdateOutputs(!valid, value);
  AddDataToChart(!valid, FMessTime, value);
}

void TMeasurement::AddDataToChart(bool invalid, double time, double value) {
  if (DebugSwitch() && !invalid)
    DebugTrace(QString::asprintf("Series(%.3f %.3f)", time, value));
  IMeterView& view = FView;
  // Trimmed before the add: the series shows the configured number plus one.
  while (view.ChartCount() > view.ChartPointNumber()) view.ChartDelete(0);
  if (invalid)
    view.ChartAddNullXY(time, value);
  else
    view.ChartAddXY(time, value);
}

void TMeasurement::acSaveGrafikExecute() {
  IMeterView& view = FView;
  const std::optional<QString> name = view.ExecuteSavePictureDialog();
  if (name && !view.ChartSaveToBitmapFile(*name))
    view.ShowError(QStringLiteral("The diagram could not be saved to %1.").arg(*name));
}

void TMeasurement::acZoomInExecute() { FView.ChartZoomPercent(115); }
void TMeasurement::acZoomOutExecute() { FView.ChartZoomPercent(85); }

// ---------------------------------------------------------------------------
// Current output and switching outputs

TOutputParams TMeasurement::OutputParams() const {
  // Every model is read by the same codes: a code the model lacks reads ''.
  static const QString kRB = QStringLiteral("RB"), kRE = QStringLiteral("RE"),
                       kAC = QStringLiteral("AC"), kAH = QStringLiteral("AH"),
                       kAW = QStringLiteral("AW"), kSE = QStringLiteral("SE"),
                       kQA = QStringLiteral("QA");
  static const QString kQ[3] = {QStringLiteral("Q1"), QStringLiteral("Q2"), QStringLiteral("Q3")};
  TOutputParams p;
  const TMeterModel& m = FModels.Current();
  p.Device = m.Device();
  p.RB = m.Param(kRB);
  p.RE = m.Param(kRE);
  p.AC = m.Param(kAC);
  p.AH = m.Param(kAH);
  p.AW = m.Param(kAW);
  p.SE = m.Param(kSE);
  for (int i = 0; i < 2; ++i) p.QA[i] = m.Param(kQA, i);
  for (int q = 0; q < 3; ++q)
    for (int i = 0; i < 4; ++i) p.Q[q][i] = m.Param(kQ[q], i);
  // The error current follows the page's error-mode control where there is one.
  const QString& control = m.Table().errorModeControl;
  if (!control.isEmpty()) p.SEControl = FView.Controls().Text(control);
  return p;
}

void TMeasurement::UpdateAnalogMeter(bool invalid, double value) {
  const std::optional<int> current = ::UpdateAnalogMeter(invalid, value, OutputParams(), FOutput);
  if (current) FView.SetGaugeValue(*current);
}

void TMeasurement::UpdateOutputs(bool invalid, double value) {
  const bool before[3] = {FOutput.Flag1, FOutput.Flag2, FOutput.Flag3};
  const QStringList trace = ::UpdateOutputs(invalid, value, OutputParams(), FOutput);
  const bool after[3] = {FOutput.Flag1, FOutput.Flag2, FOutput.Flag3};
  // Lamps change only when their state does.
  for (int i = 0; i < 3; ++i)
    if (before[i] != after[i]) FView.SetLed(i + 1, after[i]);
  for (const QString& line : trace) DebugTrace(line);
}

// ---------------------------------------------------------------------------
// Measurement log

void TMeasurement::AddLogLine(const QString& line) {
  try {
    if (FLogList.size() > kLogListLimit) FLogList.removeFirst();
    FLogList.append(line);
  } catch (...) {
    FLogList.clear();
  }
  if (!FLogFile.Name().isEmpty() && FView.ActionChecked(kStartStopLog))
    AppendToLogFile(line);
}

void TMeasurement::AppendToLogFile(const QString& line) {
  // Opened and closed for every line, so the file is complete on disk after
  // each measurement.
  const QByteArray bytes = FileLine(line);
  QString reason;
  if (FLogFile.Append(std::string_view(bytes.constData(), std::size_t(bytes.size())), &reason))
    return;
  // No further lines: say so, and leave the action in the stopped state.
  IMeterView& view = FView;
  view.SetActionChecked(kStartStopLog, false);
  view.SetActionCaption(kStartStopLog, QStringLiteral("Start Log File"));
  FView.SetStatusText(
      2, QStringLiteral(" Log File stopped, cannot write %1: %2").arg(FLogFile.Name(), reason));
  FLogFile.SetName(QString());
}

void TMeasurement::ClearLog() {
  FLogList.clear();
  FView.SetLogMemo({});
}

void TMeasurement::acStartStopLogExecute() {
  IMeterView& view = FView;
  bool checked = !view.ActionChecked(kStartStopLog);
  view.SetActionChecked(kStartStopLog, checked);
  if (checked) {
    const std::optional<QString> name = view.ExecuteSaveDialog(LogDialogOptions(view.DirLogFile()));
    QString error;
    if (!name) {
      checked = false;
    } else if (!CreateLogFile(*name, error)) {
      // Nothing would be written: the action must not claim a running file.
      checked = false;
      view.ShowError(QStringLiteral("The log file %1 could not be created: %2").arg(*name, error));
    } else {
      FDecimalSeparator = LocaleDecimalSeparator();
      RestartTimeBase();
      view.ChartClear();
      ClearLog();
      FLogFile.SetName(*name);
      FView.SetStatusText(2, QStringLiteral(" Log File: %1").arg(*name));
    }
    if (!checked) view.SetActionChecked(kStartStopLog, false);
  } else {
    FView.SetStatusText(2, QString());
    FLogFile.SetName(QString());
    view.SetLogMemo(FLogList);
  }
  view.SetActionCaption(kStartStopLog,
                        checked ? QStringLiteral("Stop Log File") : QStringLiteral("Start Log File"));
}

void TMeasurement::acSaveLogExecute() {
  IMeterView& view = FView;
  const std::optional<QString> name = view.ExecuteSaveDialog(LogDialogOptions(view.DirLogFile()));
  if (!name) return;
  // Written aside and renamed at the end: a failure leaves an older file intact.
  QSaveFile f(*name);
  bool ok = f.open(QIODevice::WriteOnly);
  for (const QString& line : view.LogMemo()) {
    if (!ok) break;
    const QByteArray bytes = FileLine(line);
    ok = f.write(bytes) == bytes.size();
  }
  if (ok) ok = f.commit();
  if (!ok)
    view.ShowError(
        QStringLiteral("The log window could not be saved to %1: %2").arg(*name, f.errorString()));
}

void TMeasurement::ShowLogWindow() {
  IMeterView& view = FView;
  TBusyCursor busy(view);
  view.SetLogMemo(FLogList);
  view.FocusLogMemo();
}

// ---------------------------------------------------------------------------
// Clear actions of the window

void TMeasurement::RestartTimeBase() {
  FStopWatch.StartTime();
  SetTimeCount(0);
  if (FRestartLineCount) FRestartLineCount();
}

void TMeasurement::acClearGrafikExecute() {
  RestartTimeBase();
  FView.ChartClear();
  FView.ChartUndoZoom();
}

void TMeasurement::acClearLogExecute() {
  RestartTimeBase();
  FView.ChartClear();
  ClearLog();
}
