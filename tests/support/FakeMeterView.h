#pragma once
// A window for the meter logic in tests: it keeps what the logic shows (status
// panels, caption, actions, lamps, gauge, chart points, terminal bytes, memos,
// clipboard) and answers dialogs from scripted values.

#include <QSet>
#include <QVector>
#include <array>
#include <deque>
#include <optional>

#include "meter/MemoryParamControls.h"
#include "meter/MeterDialogs.h"
#include "meter/MeterView.h"
#include "support/ActionPrinter.h"

struct FakeAction {
  bool present = true;  // false: the window has no such action
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  QString caption;
};

class FakeChangeBaudDialog : public IChangeBaudDialog {
 public:
  int Enter(TDeviceType dev, TBaudRate bd) override {
    enterCalls++;
    lastDevice = dev;
    oldRate = bd;
    if (result == 1) newRate = chosenRate;
    return result;
  }
  TBaudRate OldBaudrate() const override { return oldRate; }
  TBaudRate NewBaudrate() const override { return newRate; }

  int result = 2;  // what the next Enter returns
  TBaudRate chosenRate = br9600;
  int enterCalls = 0;
  TDeviceType lastDevice = Pavon;
  TBaudRate oldRate = br9600;
  TBaudRate newRate = br9600;
};

class FakeSimuSetupDialog : public ISimuSetupDialog {
 public:
  void ShowModal() override { shown++; }
  double SimuDist() const override { return simuDist; }
  bool AutoDist() const override { return autoDist; }
  double simuDist = 5.0;
  bool autoDist = false;
  int shown = 0;
};

class FakeSignalLevelDialog : public ISignalLevelDialog {
 public:
  bool Signal_Strength() const override { return active; }
  void SetStrength(int value) override { strength = value; }
  void Enter(const QString& sd1, const QString& sd2, TDeviceType dev, int min, int max) override {
    calls << QStringList{"Enter", sd1, sd2, QString::number(dev), QString::number(min),
                         QString::number(max)};
  }
  void Enter2(const QString& sd1, const QString& sd2, const QString& sd3, const QString& sd4,
              const QString& sp, TDeviceType dev, int min, int max) override {
    calls << QStringList{"Enter2", sd1, sd2, sd3, sd4, sp, QString::number(dev),
                         QString::number(min), QString::number(max)};
  }
  bool active = false;  // the window shows the signal strength
  int strength = -1;    // the last strength it was given
  QList<QStringList> calls;  // the arguments of each Enter/Enter2 as texts
};

class FakeMeterView : public IMeterView {
 public:
  FakeMeterView();

  TParamControls& Controls() override { return controls; }
  void SetStatusText(int panel, const QString& text) override;
  QString StatusText(int panel) const override;
  void SetCaption(const QString& c) override { caption = c; }

  // Runs the handler unless the action is disabled; a failure lands in
  // `errors` as the window would show it, an EUnknownAction escapes.
  void ExecuteAction(TAction a, const std::function<void()>& handler) override;
  bool HasAction(TAction a) const override;
  void SetActionEnabled(TAction a, bool on) override { action(a).enabled = on; }
  bool ActionEnabled(TAction a) const override { return action(a).enabled; }
  void SetActionVisible(TAction a, bool on) override { action(a).visible = on; }
  void SetActionChecked(TAction a, bool on) override { action(a).checked = on; }
  bool ActionChecked(TAction a) const override { return action(a).checked; }
  void SetActionCaption(TAction a, const QString& c) override { action(a).caption = c; }

  void ShowModelPages(int p, int d, int g) override;
  void SetNotebookPage(int page) override { notebookPage = page; }
  int NotebookPage() const override { return notebookPage; }

  void SetInputCaption(const QString& t) override { inputCaption = t; }
  void SetInputRed(bool red) override { inputRed = red; }

  void SetGaugeRanges(const TGaugeRanges& r) override { gauge = r; }
  void SetGaugeValue(int ua) override { gaugeValue = ua; }
  void SetLed(int i, bool on) override { led[i] = on; ledSets++; }
  void SetOutputVisible(int i, bool on) override { outputVisible[i] = on; }

  void ChartClear() override { chart.clear(); chartClears++; }
  void ChartAddXY(double x, double y) override { chart.push_back({x, y, false}); }
  void ChartAddNullXY(double x, double y) override { chart.push_back({x, y, true}); }
  int ChartCount() const override { return chart.size(); }
  void ChartDelete(int i) override { chart.remove(i); }
  void ChartUndoZoom() override { undoZooms++; }
  void ChartZoomPercent(double p) override { zooms.push_back(p); }
  bool ChartSaveToBitmapFile(const QString& f) override {
    savedBitmaps << f;
    return bitmapSaveResult;
  }
  int ChartPointNumber() const override { return pointNumber; }

  void TerminalWrite(const QByteArray& b) override { terminal += b; }
  void TerminalClear() override { terminal.clear(); terminalClears++; }

  void SetLogMemo(const QStringList& lines) override { logMemo = lines; }
  QStringList LogMemo() const override { return logMemo; }
  void FocusLogMemo() override { logMemoFocused++; }
  void SetMemo1Text(const QString& t) override { memo1 = t; }
  QString ClipboardText() const override { return clipboard; }
  void SetClipboardText(const QString& t) override { clipboard = t; }

  void BeginBusyCursor() override { busyDepth++; busyCalls++; }
  void EndBusyCursor() override { busyDepth--; }

  std::optional<QString> ExecuteSaveDialog(const FileDialogOptions& o) override;
  std::optional<QString> ExecuteOpenDialog(const FileDialogOptions& o) override;
  std::optional<QString> ExecuteSavePictureDialog() override;
  void ShowMessage(const QString& t) override { messages << t; }
  void ShowError(const QString& t) override { errors << t; }
  std::optional<QString> InputBox(const QString&, const QString&, const QString& value) override;
  bool OpenWithShell(const QString& f, QString* error) override;

  QString DirParameter() const override { return dirParameter; }
  QString DirLogFile() const override { return dirLogFile; }

  IChangeBaudDialog* ChangeBdDlg() override { return &changeBaud; }
  ISimuSetupDialog* SimuSetupDlg() override { return &simuSetup; }
  ISignalLevelDialog* SignalLevelDlg() override { return signalLevel; }

  // --- recorded state
  TMemoryParamControls controls;
  QString status[3];
  QStringList statusHistory[3];  // every text written, in order
  QString caption;
  // The state of an action; throws EUnknownAction for a value outside the
  // list and for an action taken away with RemoveAction, as the window does
  // for an action it lacks.
  FakeAction& action(TAction a);
  const FakeAction& action(TAction a) const;
  void RemoveAction(TAction a) { action(a).present = false; }
  int parameterPage = -1, deviceButtons = -1, diagramButtons = -1;
  int notebookPage = 0;
  QString inputCaption;
  bool inputRed = false;
  TGaugeRanges gauge{};
  int gaugeValue = 0;
  bool led[4] = {false, false, false, false};
  int ledSets = 0;  // calls of SetLed
  bool outputVisible[4] = {true, true, true, true};
  struct Point { double x, y; bool null; };
  QVector<Point> chart;
  int chartClears = 0, undoZooms = 0;
  QVector<double> zooms;
  QStringList savedBitmaps;
  bool bitmapSaveResult = true;  // what saving the diagram reports
  int pointNumber = 250;
  QByteArray terminal;
  int terminalClears = 0;
  QStringList logMemo;
  int logMemoFocused = 0;
  QString memo1, clipboard;
  int busyDepth = 0, busyCalls = 0;
  QStringList messages, errors;
  QVector<TAction> executedActions;  // every action run through ExecuteAction
  QString dirParameter, dirLogFile;

  // Scripted dialog answers (taken from the front; empty: cancelled).
  std::deque<std::optional<QString>> saveDialogAnswers, openDialogAnswers, pictureAnswers,
      inputAnswers;
  QVector<FileDialogOptions> saveDialogCalls, openDialogCalls;
  QStringList shellOpened;

  FakeChangeBaudDialog changeBaud;
  FakeSimuSetupDialog simuSetup;
  ISignalLevelDialog* signalLevel = nullptr;

 private:
  std::array<FakeAction, ActionCount> FActions;
};
