#include "serial/ui/SerialDialogs.h"

#include "serial/ComPort.h"
#include "serial/ui/ComSetupFrm.h"
#include "serial/ui/ComTrmSetForm.h"
#include "serial/ui/CustomComTerminal.h"

void InstallSerialDialogs() {
  TCustomComPort::SetupDialogHook = EditComPortDialog;
  TCustomComTerminal::SetupDialogHook = EditComTerminalDialog;
}
