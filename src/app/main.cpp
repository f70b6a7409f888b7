// The program entry: the timer resolution for the whole run, the application
// object, the windows in their fixed order, the message loop.

#include "app/Application.h"
#include "app/ChangeBdDlg.h"
#include "app/ComSetupForm.h"
#include "app/DirectorySetupDlg.h"
#include "app/MainForm.h"
#include "app/SimuSetupDlg.h"
#include "components/ToolConst.h"
#include "platform/Clock.h"
#include "serial/ui/SerialDialogs.h"

int main(int argc, char* argv[]) {
  // Qt's own event loop costs less per wake-up than the GLib one, and the
  // serial line wakes the program thousands of times a second.
  if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  platform::Clock::TimeBeginPeriod(1);
  int result = 0;
  {
    TApplication app(argc, argv);
    RegisterToolCursors();
    InstallSerialDialogs();
    TMainForm MainForm;  // its creation handler runs before any dialog exists
    TComSetupForm ComSetupForm(MainForm.Logic(), MainForm, &MainForm);
    TDirectorySetupDlg DirectorySetupDlg(&MainForm);  // known before the first show
    InstallDirectorySetup(MainForm, DirectorySetupDlg);
    TChangeBdDlg ChangeBdDlg(&MainForm);
    TSimuSetupDlg SimuSetupDlg(&MainForm);
    MainForm.SetDialogs(&ComSetupForm, &ChangeBdDlg, &SimuSetupDlg, nullptr);
    MainForm.show();
    result = TApplication::exec();
  }
  platform::Clock::TimeEndPeriod(1);
  return result;
}
