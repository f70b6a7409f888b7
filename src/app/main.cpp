// The program entry: the timer resolution for the whole run, the application
// object, the windows in their fixed order, the message loop.

#include "app/Application.h"
#include "app/MainForm.h"
#include "app/ProgramWindows.h"
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
    TProgramWindows windows;
    windows.MainForm().show();
    result = TApplication::exec();
  }
  platform::Clock::TimeEndPeriod(1);
  return result;
}
