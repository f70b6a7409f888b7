#pragma once
// The measurement path of the main window: each packet of the measurement
// splitter (or of the simulated meter) is decoded, time-stamped and logged;
// a one-shot 200 ms display timer then shows the newest state once: value
// label, signal strength, gauge, lamps and one diagram point. Also the log
// list, the log file and the diagram's small actions.
//
// A meter may stream 7,000 lines a second: the per-line work is decoding,
// stamping and logging only; everything that draws waits for the timer.
//
// It reaches the window through IMeterView, reads the current model's
// parameters from the model set and stamps PAVON lines with the stopwatch;
// nothing else of its owner.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>

#include "meter/LineSink.h"
#include "meter/MeasurementDecoder.h"
#include "meter/OutputCalculator.h"
#include "platform/AppendFile.h"
#include "platform/Component.h"

class IMeterView;
class TModelSet;
class TStopWatch;


class TMeasurement final : public ILineSink {
 public:
  // restartLineCount runs whenever the time base restarts (a log file
  // starts, the diagram or log is cleared).
  TMeasurement(IMeterView& view, const TModelSet& models, TStopWatch& stopWatch,
               std::function<void()> restartLineCount);

  // 200 ms, one shot, armed by a packet when idle.
  const QTimer& Timer_Anzeige() const { return FTimer_Anzeige; }

  // --- measurement fields
  // The last packet of more than 2 characters, bytes as received.
  const std::string& MessPacket() const { return FMessPacket; }
  void SetMessPacket(const std::string& value);  // assigns only when it differs
  double MessValue() const { return FMessValue; }
  bool MessValueValid() const { return FMessValueValid; }
  // The time stamped on the last packet of more than 2 characters.
  double MessTimeStamp() const { return FMessTime; }
  int Strength() const { return FStrength; }
  void SetStrength(int value);  // assigns only on change
  double TimeUnit() const { return FTimeUnit; }
  void SetTimeUnit(double value) override { FTimeUnit = value; }
  // Reading the counter increments it and returns the new value.
  int TimeCount() { return ++FTimeCount; }
  void SetTimeCount(int value) override { FTimeCount = value; }
  // The counted time base: counter (incremented) times TimeUnit.
  double MessTime();
  void SetTerminalEcho(bool on) override { FTerminalEcho = on; }

  // --- the handler of the measurement splitter (and of the simulated meter)
  void ComMessPacketPacket(TObject* Sender, const std::string& Str) override;

  // --- display feed and diagram
  void Timer_AnzeigeTimer();
  void AddDataToChart(bool invalid, double time, double value);
  void acSaveGrafikExecute();
  void acZoomInExecute();
  void acZoomOutExecute();

  // --- current output and switching outputs
  void UpdateAnalogMeter(bool invalid, double value);
  void UpdateOutputs(bool invalid, double value);
  TOutputState& OutputState() { return FOutput; }
  // The current model's parameters for the outputs.
  TOutputParams OutputParams() const;

  // --- measurement log
  void AddLogLine(const QString& line);
  void ClearLog();
  void acStartStopLogExecute();
  void acSaveLogExecute();
  // The "Log Window" page was selected: copy the log list into the memo.
  void ShowLogWindow();
  // Oldest first; shares the list's data (no copy until the next line).
  QStringList LogList() const { return FLogList; }
  const QString& LogFileName() const { return FLogFile.Name(); }

  // --- clear actions of the diagram and the log window (restart the time base)
  void acClearGrafikExecute();
  void acClearLogExecute();

 private:
  bool SignalStrengthOn() const;
  void RestartTimeBase();
  void AppendToLogFile(const QString& line);

  IMeterView& FView;
  const TModelSet& FModels;
  TStopWatch& FStopWatch;
  std::function<void()> FRestartLineCount;
  QTimer FTimer_Anzeige;
  bool FTerminalEcho = false;
  std::string FMessPacket;
  double FMessTime = 0;
  double FMessValue = 0;
  bool FMessValueValid = false;
  int FStrength = 0;
  double FTimeUnit = 1.0;
  int FTimeCount = 0;
  TOutputState FOutput;
  QStringList FLogList;
  platform::AppendFile FLogFile;  // no name while no log file runs
  // The locale's separator, looked up once per log run rather than per line.
  QChar FDecimalSeparator = u'.';
};
