#pragma once
// The program's windows, created in their fixed order (the main window
// first, its creation handler before any dialog exists; each dialog's
// creation handler runs inside its constructor) and freed in reverse order.
// The program entry makes one; tests make their own.

#include <QStringList>
#include <memory>

class TAboutBox;
class TChangeBdDlg;
class TComSetupForm;
class TDirectorySetupDlg;
class TGraphicSetupForm;
class TMainForm;
class TSignalLevelDlg;
class TSimuSetupDlg;

class TProgramWindows {
 public:
  TProgramWindows();
  ~TProgramWindows();
  TProgramWindows(const TProgramWindows&) = delete;
  TProgramWindows& operator=(const TProgramWindows&) = delete;

  TMainForm& MainForm() { return *FMainForm; }
  TAboutBox& AboutBox() { return *FAboutBox; }
  TGraphicSetupForm& GraphicSetupForm() { return *FGraphicSetupForm; }
  TComSetupForm& ComSetupForm() { return *FComSetupForm; }
  TSignalLevelDlg& SignalLevelDlg() { return *FSignalLevelDlg; }
  TDirectorySetupDlg& DirectorySetupDlg() { return *FDirectorySetupDlg; }
  TChangeBdDlg& ChangeBdDlg() { return *FChangeBdDlg; }
  TSimuSetupDlg& SimuSetupDlg() { return *FSimuSetupDlg; }

  // Class names of the windows in the order they were created.
  const QStringList& CreationLog() const { return FCreationLog; }

 private:
  template <typename Window, typename... Args>
  std::unique_ptr<Window> Create(Args&&... args);

  QStringList FCreationLog;
  std::unique_ptr<TMainForm> FMainForm;
  std::unique_ptr<TAboutBox> FAboutBox;
  std::unique_ptr<TGraphicSetupForm> FGraphicSetupForm;
  std::unique_ptr<TComSetupForm> FComSetupForm;
  std::unique_ptr<TSignalLevelDlg> FSignalLevelDlg;
  std::unique_ptr<TDirectorySetupDlg> FDirectorySetupDlg;
  std::unique_ptr<TChangeBdDlg> FChangeBdDlg;
  std::unique_ptr<TSimuSetupDlg> FSimuSetupDlg;
};
