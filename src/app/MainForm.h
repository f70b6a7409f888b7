#pragma once
// The main window: toolbar, menus, the left notebook with the parameter pages,
// the notebook "Device" / "Diagram" / "Log Window", the status bar, and the
// actions. It shows what the meter logic tells it through IMeterView; the
// actions' handlers are connected by whoever owns the logic (Action(id)).

#include <QMainWindow>
#include <QVector>
#include <array>
#include <functional>
#include <memory>

#include "app/WidgetParamControls.h"
#include "meter/Action.h"
#include "meter/MeterView.h"
#include "platform/Component.h"

class QAction;
class TActionShortcuts;
class QDialog;
class QFileDialog;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPrinter;
class QStackedWidget;
class QTabWidget;
class QToolBar;
class QToolButton;
class TAnalogMeter;
class TBlinkLED;
class TChart;
class TComTerminal;
class TStatusBar;
class TMeterLogic;
class TComSetupForm;
class TGraphicSetupForm;
namespace platform {
class PrintService;
}

class TMainForm : public QMainWindow, public TObject, public IMeterView {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The meter logic behind the window (created with the window, as the
  // window's creation handler does).
  TMeterLogic& Logic() { return *FLogic; }

  // Start-up and shut-down of the window (the creation handler runs inside
  // the constructor with the program's arguments).
  void FormCreate(const QStringList& arguments);
  void FormShow();
  void FormClose();

  // The interface setup: shows the dialog (when one is installed), then
  // brings the port into line with the settings.
  void acSettingsExecute();

  // Dialogs created after the window (the program entry sets them).
  void SetDialogs(TComSetupForm* comSetup, IChangeBaudDialog* changeBd,
                  ISimuSetupDialog* simuSetup, ISignalLevelDialog* signalLevel);

  // The diagram setup: shown by acGrafik; the diagram keeps its number of
  // points.
  void SetGraphicSetupForm(TGraphicSetupForm* form);

  // Runs an action's handler the way the action list does: the shared
  // enabling rule first for the meter actions, nothing when the action is
  // disabled, and a failure shown to the user instead of escaping.
  void ExecuteAction(TAction action, const std::function<void()>& handler) override;
  // Runs `handler` through ExecuteAction whenever the action is triggered,
  // for as long as `context` (default: the window) lives.
  void BindAction(TAction action, std::function<void()> handler, QObject* context = nullptr);

  // The window's QAction of an action; every action has one, so a lookup
  // that finds none is a programming error and throws EUnknownAction.
  QAction* Action(TAction action) const;
  // All of them in list order.
  QVector<QAction*> Actions() const;

  // Shell handlers
  void acExitExecute(TObject* Sender);
  void acResetZoomExecute(TObject* Sender);
  // The application's hint changed: the simple panel shows a hint, an empty
  // hint brings back the three panels.
  void AppHint(const QString& hint);
  // Path of a shell folder by its CSIDL number (5 documents, 39 pictures);
  // empty for a folder the system does not know.
  static QString GetSpecialFolderPath(int Folder);
  void NotebookClick(TObject* Sender);
  void ToolButton11Click(TObject* Sender);
  void ToolButton12Click(TObject* Sender);
  void ToolButton13Click(TObject* Sender);
  void Chart1MouseMove(TObject* Sender, const QPoint& pos);
  void acGrafikExecute(TObject* Sender);
  // The diagram on one landscape page with the caption and the date above
  // it; a failure aborts the job and raises, the cursor is restored.
  void acPrintGrafikExecute(TObject* Sender);
  // A chosen file goes to the system's print service and the handler
  // returns; the service's refusal is shown when it comes.
  void acPrintExecute(TObject* Sender);
  // The print dialog on the window's printer, printing nothing: the chosen
  // printer, paper and orientation stay on it for the diagram print.
  void acPrinterSetupExecute(TObject* Sender);
  // The window's printer: the printer setup changes it, the diagram print
  // uses it.
  QPrinter& Printer();

  // Every modal dialog the window opens (file, print, printer setup,
  // messages, the diagram setup) runs through here. Tests answer them in
  // OnModalDialog: it gets the dialog and returns its result.
  int ExecDialog(QDialog& dialog);
  std::function<int(QDialog& dialog)> OnModalDialog;

  // Where the picture dialog starts (set at the first show).
  void SetPictureDialogInitialDir(const QString& dir);

  // Hooks for the parts that live elsewhere.
  // "Log Window" page selected: copy the log list into Memo_Log (the window
  // shows the hourglass around it and focuses the memo afterwards).
  std::function<void()> OnLogWindowSelected;
  // Number of points the diagram keeps (the diagram setup's setting).
  std::function<int()> OnChartPointNumber;
  // Folders of the directory setup (an empty one: the dialogs' default).
  std::function<QString()> OnDirParameter;
  std::function<QString()> OnDirLogFile;

  // IMeterView
  TParamControls& Controls() override { return FParamControls; }
  void SetStatusText(int panel, const QString& text) override;
  QString StatusText(int panel) const override;
  void SetCaption(const QString& caption) override;
  bool HasAction(TAction action) const override;
  void SetActionEnabled(TAction action, bool on) override;
  bool ActionEnabled(TAction action) const override;
  void SetActionVisible(TAction action, bool on) override;
  void SetActionChecked(TAction action, bool on) override;
  bool ActionChecked(TAction action) const override;
  void SetActionCaption(TAction action, const QString& caption) override;
  void ShowModelPages(int parameterPage, int deviceButtons, int diagramButtons) override;
  void SetNotebookPage(int page) override;
  int NotebookPage() const override;
  void SetInputCaption(const QString& text) override;
  void SetInputRed(bool red) override;
  void SetGaugeRanges(const TGaugeRanges& r) override;
  void SetGaugeValue(int microampere) override;
  void SetLed(int index, bool on) override;
  void SetOutputVisible(int index, bool on) override;
  void ChartClear() override;
  void ChartAddXY(double x, double y) override;
  void ChartAddNullXY(double x, double y) override;
  int ChartCount() const override;
  void ChartDelete(int index) override;
  void ChartUndoZoom() override;
  void ChartZoomPercent(double percent) override;
  bool ChartSaveToBitmapFile(const QString& fileName) override;
  int ChartPointNumber() const override;
  void TerminalWrite(const QByteArray& bytes) override;
  void TerminalClear() override;
  void SetLogMemo(const QStringList& lines) override;
  QStringList LogMemo() const override;
  void FocusLogMemo() override;
  void SetMemo1Text(const QString& text) override;
  QString ClipboardText() const override;
  void SetClipboardText(const QString& text) override;
  void BeginBusyCursor() override;
  void EndBusyCursor() override;
  std::optional<QString> ExecuteSaveDialog(const FileDialogOptions& o) override;
  std::optional<QString> ExecuteOpenDialog(const FileDialogOptions& o) override;
  std::optional<QString> ExecuteSavePictureDialog() override;
  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text) override;
  std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                  const QString& value) override;
  bool OpenWithShell(const QString& fileName, QString* error) override;
  QString DirParameter() const override;
  QString DirLogFile() const override;
  IChangeBaudDialog* ChangeBdDlg() override { return FChangeBdDlg; }
  ISimuSetupDialog* SimuSetupDlg() override { return FSimuSetupDlg; }
  ISignalLevelDialog* SignalLevelDlg() override { return FSignalLevelDlg; }

  // Layout
  QToolBar* ToolBar1 = nullptr;
  QToolButton* ToolButton11 = nullptr;
  QToolButton* ToolButton12 = nullptr;
  QToolButton* ToolButton13 = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QAction* Test1 = nullptr;  // hidden "Test" item of the File menu
  QMenu* PopupMenu_Grafik = nullptr;
  QMenu* PopupMenu_Log = nullptr;
  TStatusBar* StatusBar = nullptr;
  QStackedWidget* Notebook_Left = nullptr;
  QTabWidget* Notebook = nullptr;
  QGroupBox* gb_length = nullptr;
  QLabel* lb_input = nullptr;
  TAnalogMeter* AnalogMeter = nullptr;
  QLabel* lb_Output1 = nullptr;
  QLabel* lb_Output2 = nullptr;
  QLabel* lb_Output3 = nullptr;
  TBlinkLED* LED1 = nullptr;
  TBlinkLED* LED2 = nullptr;
  TBlinkLED* LED3 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  TComTerminal* ComTerminal = nullptr;
  QStackedWidget* Notebook_Device = nullptr;
  TChart* Chart1 = nullptr;
  QStackedWidget* Notebook_Grafik = nullptr;
  QPlainTextEdit* Memo_Log = nullptr;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateActions();
  void ConnectLogic();
  void CreateMenus();
  void CreateToolBar();
  QWidget* CreateParameterNotebook();
  QWidget* CreateDevicePage();
  QWidget* CreateDiagramPage();
  QWidget* CreateLogPage();
  QWidget* CreateOutputs();
  std::optional<QString> RunFileDialog(QFileDialog* dialog, const FileDialogOptions& o);
  // Runs a handler, showing its failure instead of letting it escape.
  void RunShowingFailure(const std::function<void()>& handler);

  std::array<QAction*, ActionCount> FActions{};  // by ActionIndex
  TActionShortcuts* FShortcuts = nullptr;
  TWidgetParamControls FParamControls;
  QFileDialog* FOpenDialog = nullptr;
  QFileDialog* FSaveDialog = nullptr;
  QFileDialog* FSavePictureDialog = nullptr;
  IChangeBaudDialog* FChangeBdDlg = nullptr;
  ISimuSetupDialog* FSimuSetupDlg = nullptr;
  ISignalLevelDialog* FSignalLevelDlg = nullptr;
  TComSetupForm* FComSetupForm = nullptr;
  TGraphicSetupForm* FGraphicSetupForm = nullptr;
  std::unique_ptr<QPrinter> FPrinter;
  std::unique_ptr<platform::PrintService> FPrintService;  // ends a running lp with the window
  std::unique_ptr<TMeterLogic> FLogic;
  bool FShown = false;
};
