// The window's share of start-up and shut-down, and the wiring of its
// actions, timers and terminal to the meter logic.

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QTimer>

#include "app/Chart.h"
#include "app/ComSetupForm.h"
#include "app/MainForm.h"
#include "meter/MeterLogic.h"
#include "serial/ComPort.h"
#include "serial/UserErrorText.h"
#include "serial/ui/ComTerminal.h"

void TMainForm::FormCreate(const QStringList& arguments) {
  // Panel 0 draws itself (red while offline); the log list, the model
  // objects and the splitters come with the logic.
  FLogic = std::make_unique<TMeterLogic>(*this);
  ComTerminal->SetRows(48);
  ComTerminal->SetDoubleBuffered(false);
  ComTerminal->SetComPort(&FLogic->ComPort());
  ComTerminal->OnChar = [this](TObject*, QChar Ch) { FLogic->ComTerminalChar(Ch.toLatin1()); };
  ComTerminal->OnDblClick = [this](TObject*) { FLogic->ComTerminalDblClick(); };
  OnLogWindowSelected = [this] { FLogic->Measurement().ShowLogWindow(); };
  ConnectLogic();
  FLogic->FormCreate(arguments);
}

void TMainForm::SetDialogs(TComSetupForm* comSetup, IChangeBaudDialog* changeBd,
                           ISimuSetupDialog* simuSetup, ISignalLevelDialog* signalLevel) {
  FComSetupForm = comSetup;
  FChangeBdDlg = changeBd;
  FSimuSetupDlg = simuSetup;
  FSignalLevelDlg = signalLevel;
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FShown) return;
  FShown = true;
  // The first show continues once the window is on screen: the interface
  // setup is a modal dialog over it.
  QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMainForm::FormShow() {
  SetPictureDialogInitialDir(GetSpecialFolderPath(39));
  for (QFileDialog* dialog : {FOpenDialog, FSaveDialog}) dialog->setDirectory(DirParameter());
  acSettingsExecute();
  FLogic->ChangeDevice();
  SetNotebookPage(0);
}

void TMainForm::acSettingsExecute() {
  // A failure of the dialog's OK is shown after the port was brought into
  // line with what was applied.
  ExecuteAction(TAction::acSettings, [this] {
    if (FComSetupForm)
      ::acSettingsExecute(*FComSetupForm, *FLogic);
    else
      FLogic->ApplyInterfaceSetup();
  });
}

void TMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  QMainWindow::closeEvent(event);
}

void TMainForm::FormClose() {
  if (FLogic) FLogic->FormClose();
}

void TMainForm::BindAction(TAction action, std::function<void()> handler, QObject* context) {
  connect(Action(action), &QAction::triggered, context ? context : this,
          [this, action, h = std::move(handler)] { ExecuteAction(action, h); });
}

void TMainForm::ExecuteAction(TAction action, const std::function<void()>& handler) {
  if (TMeterLogic::UpdateRuleActions().contains(action)) FLogic->onUpdate();
  // The state the program gave the action: a hidden one runs by its shortcut.
  if (!ActionEnabled(action)) return;
  RunShowingFailure(handler);
}

void TMainForm::RunShowingFailure(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const EUnknownAction&) {
    throw;
  } catch (const std::exception& e) {
    ShowError(UserErrorText(e, &FLogic->ComPort()));
  }
}

void TMainForm::ConnectLogic() {
  TMeterLogic& L = *FLogic;
  TMeasurement& M = L.Measurement();
  TSimulator& S = L.Simulator();
  using enum TAction;
  const std::pair<TAction, std::function<void()>> handlers[] = {
      {acGetParameter, [&L] { L.acGetParameterExecute(); }},
      {acSetParameter, [&L] { L.acSetParameterExecute(); }},
      {acSetStandard, [&L] { L.acSetStandardExecute(); }},
      {acSetProfibus, [&L] { L.acSetProfibusExecute(); }},
      {acOpen, [&L] { L.acOpenExecute(); }},
      {acSave, [&L] { L.acSaveExecute(); }},
      {acExport, [&L] { L.acExportExecute(); }},
      {acImport, [&L] { L.acImportExecute(); }},
      {acDT, [&L] { L.acDTExecute(); }},
      {acDS, [&L] { L.acDSExecute(); }},
      {acDW, [&L] { L.acDWExecute(); }},
      {acDX, [&L] { L.acDXExecute(); }},
      {acDF, [&L] { L.acDFExecute(); }},
      {acDM, [&L] { L.acDMExecute(); }},
      {acCT, [&L] { L.acCTExecute(); }},
      {acVM, [&L] { L.acVMExecute(); }},
      {acVT, [&L] { L.acVTExecute(); }},
      {acTP, [&L] { L.acTPExecute(); }},
      {acID, [&L] { L.acIDExecute(); }},
      {acDevice, [&L] { L.acDeviceExecute(); }},
      {acLF, [&L] { L.acLFExecute(); }},
      {acLO, [&L] { L.acLOExecute(); }},
      {acDisplay, [&L] { L.acDisplayExecute(); }},
      {acStop, [&L] { L.acStopExecute(); }},
      {acSO, [&L] { L.acSOExecute(); }},
      {acBaudrate, [&L] { L.acBaudrateExecute(); }},
      {acDJ, [&L] { L.acDJExecute(); }},
      {acSd, [&L] { L.acSdExecute(); }},
      {acOpenPort, [&L] { L.acOpenPortExecute(); }},
      {acViewFile, [&L] { L.acViewFileExecute(); }},
      {acStartStopLog, [&M] { M.acStartStopLogExecute(); }},
      {acSaveLog, [&M] { M.acSaveLogExecute(); }},
      {acClearLog, [&M] { M.acClearLogExecute(); }},
      {acClearGrafik, [&M] { M.acClearGrafikExecute(); }},
      {acSaveGrafik, [&M] { M.acSaveGrafikExecute(); }},
      {acZoomIn, [&M] { M.acZoomInExecute(); }},
      {acZoomOut, [&M] { M.acZoomOutExecute(); }},
      {acSimulation, [&S] { S.acSimulationExecute(); }},
  };
  for (const auto& [action, handler] : handlers) BindAction(action, handler);
  connect(Action(acSettings), &QAction::triggered, this, [this] { acSettingsExecute(); });
  // The hidden test item is no action of the list: no enabling rule.
  connect(Test1, &QAction::triggered, this,
          [this] { RunShowingFailure([this] { FLogic->Test1Click(); }); });

  // The shared enabling rule runs whenever the event loop goes idle.
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          [this] { FLogic->onUpdate(); });
}
