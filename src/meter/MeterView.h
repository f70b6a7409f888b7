#pragma once
// What the meter logic needs from the main window. The window implements it
// over its widgets; tests implement it with a recording fake. Names follow the
// window's controls and actions (TAction::acGetParameter, "LED2", panel 2 ...).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

#include "meter/Action.h"
#include "meter/DeviceType.h"
#include "meter/ModelTables.h"

class TParamControls;
class IChangeBaudDialog;
class ISimuSetupDialog;
class ISignalLevelDialog;

class IMeterView {
 public:
  virtual ~IMeterView() = default;

  // The parameter page controls of all five models.
  virtual TParamControls& Controls() = 0;

  // Status bar: panel 0 port summary, 1 line counter, 2 operation texts.
  virtual void SetStatusText(int panel, const QString& text) = 0;
  virtual QString StatusText(int panel) const = 0;
  virtual void SetCaption(const QString& caption) = 0;

  // Runs an action's handler the way the window runs its actions: the
  // shared enabling rule first, nothing when the action is disabled, and a
  // failure shown to the user instead of escaping (an EUnknownAction, a
  // programming error, escapes).
  virtual void ExecuteAction(TAction action, const std::function<void()>& handler) = 0;

  // The window's actions. Using one the window does not have throws
  // EUnknownAction; a handler that may run without it asks HasAction first.
  virtual bool HasAction(TAction action) const = 0;
  virtual void SetActionEnabled(TAction action, bool on) = 0;
  virtual bool ActionEnabled(TAction action) const = 0;
  virtual void SetActionVisible(TAction action, bool on) = 0;
  virtual void SetActionChecked(TAction action, bool on) = 0;
  virtual bool ActionChecked(TAction action) const = 0;
  virtual void SetActionCaption(TAction action, const QString& caption) = 0;

  // Notebooks: the model pages (parameter page, command buttons, diagram
  // buttons; diagramButtons < 0 leaves that notebook as it is) and the main
  // notebook ("Device" 0, "Diagram" 1, "Log Window" 2).
  virtual void ShowModelPages(int parameterPage, int deviceButtons, int diagramButtons) = 0;
  virtual void SetNotebookPage(int page) = 0;
  virtual int NotebookPage() const = 0;

  // Value label lb_input.
  virtual void SetInputCaption(const QString& text) = 0;
  virtual void SetInputRed(bool red) = 0;

  // Gauge (values in microamperes) and lamps LED1..LED3 with their labels.
  virtual void SetGaugeRanges(const TGaugeRanges& r) = 0;
  virtual void SetGaugeValue(int microampere) = 0;
  virtual void SetLed(int index, bool on) = 0;         // 1..3
  virtual void SetOutputVisible(int index, bool on) = 0;  // 2 or 3: label and lamp

  // Diagram Chart1/Series1.
  virtual void ChartClear() = 0;
  virtual void ChartAddXY(double x, double y) = 0;
  virtual void ChartAddNullXY(double x, double y) = 0;
  virtual int ChartCount() const = 0;
  virtual void ChartDelete(int index) = 0;
  virtual void ChartUndoZoom() = 0;
  virtual void ChartZoomPercent(double percent) = 0;
  virtual bool ChartSaveToBitmapFile(const QString& fileName) = 0;
  virtual int ChartPointNumber() const = 0;  // FXNumber of the diagram setup

  // Terminal pane ComTerminal and its font buttons.
  virtual void TerminalWrite(const QByteArray& bytes) = 0;
  virtual void TerminalClear() = 0;

  // Log window Memo_Log and the clipboard carrier Memo1.
  virtual void SetLogMemo(const QStringList& lines) = 0;
  virtual QStringList LogMemo() const = 0;
  virtual void FocusLogMemo() = 0;
  virtual void SetMemo1Text(const QString& text) = 0;
  virtual QString ClipboardText() const = 0;
  virtual void SetClipboardText(const QString& text) = 0;

  // Hourglass while a long exchange runs; calls nest.
  virtual void BeginBusyCursor() = 0;
  virtual void EndBusyCursor() = 0;

  // Dialogs. A file dialog returns the chosen name, nothing when cancelled.
  // An empty initial folder, an empty filter or filter index 0 leaves that
  // setting as the dialog has it.
  struct FileDialogOptions {
    QString initialDir;
    QString defaultExt;
    QString filter;
    int filterIndex = 1;  // 1-based
  };
  virtual std::optional<QString> ExecuteSaveDialog(const FileDialogOptions& o) = 0;
  virtual std::optional<QString> ExecuteOpenDialog(const FileDialogOptions& o) = 0;
  virtual std::optional<QString> ExecuteSavePictureDialog() = 0;
  virtual void ShowMessage(const QString& text) = 0;
  virtual void ShowError(const QString& text) = 0;  // error box with one OK button
  virtual std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                          const QString& value) = 0;
  virtual bool OpenWithShell(const QString& fileName, QString* error) = 0;

  // Folders of the directory setup.
  virtual QString DirParameter() const = 0;
  virtual QString DirLogFile() const = 0;

  // The dialogs; a window without one of them returns nullptr (the signal
  // strength window then counts as closed).
  virtual IChangeBaudDialog* ChangeBdDlg() = 0;
  virtual ISimuSetupDialog* SimuSetupDlg() = 0;
  virtual ISignalLevelDialog* SignalLevelDlg() = 0;
};
