#include "app/ProgramWindows.h"

#include <QAction>

#include "app/AboutBox.h"
#include "app/ChangeBdDlg.h"
#include "app/Chart.h"
#include "app/ComSetupForm.h"
#include "app/DirectorySetupDlg.h"
#include "app/GraphicSetupForm.h"
#include "app/MainForm.h"
#include "app/SignalLevelDlg.h"
#include "app/SimuSetupDlg.h"

template <typename Window, typename... Args>
std::unique_ptr<Window> TProgramWindows::Create(Args&&... args) {
  auto window = std::make_unique<Window>(std::forward<Args>(args)...);
  FCreationLog << QString::fromLatin1(window->metaObject()->className());
  return window;
}

TProgramWindows::TProgramWindows() {
  FMainForm = Create<TMainForm>();
  TMainForm* main = FMainForm.get();
  FAboutBox = Create<TAboutBox>(main);
  // Puts the stored diagram look on the chart before the window shows.
  FGraphicSetupForm = Create<TGraphicSetupForm>(*main->Chart1, main->Action(TAction::acZoomIn),
                                                main->Action(TAction::acZoomOut), main);
  FComSetupForm = Create<TComSetupForm>(main->Logic(), *main, main);
  FSignalLevelDlg = Create<TSignalLevelDlg>(main->Logic(), main);
  FDirectorySetupDlg = Create<TDirectorySetupDlg>(main);  // its folders are known before the first show
  InstallDirectorySetup(*main, *FDirectorySetupDlg);
  FChangeBdDlg = Create<TChangeBdDlg>(main);
  FSimuSetupDlg = Create<TSimuSetupDlg>(main);

  main->SetGraphicSetupForm(FGraphicSetupForm.get());
  main->SetDialogs(FComSetupForm.get(), FChangeBdDlg.get(), FSimuSetupDlg.get(), FSignalLevelDlg.get());
  TAboutBox* about = FAboutBox.get();
  main->BindAction(TAction::acInfo, [about] { about->ShowModal(); });
}

TProgramWindows::~TProgramWindows() {
  // The dialogs before the main window, in reverse order of creation.
  FSimuSetupDlg.reset();
  FChangeBdDlg.reset();
  FDirectorySetupDlg.reset();
  FSignalLevelDlg.reset();
  FComSetupForm.reset();
  FGraphicSetupForm.reset();
  FAboutBox.reset();
  FMainForm.reset();
}
