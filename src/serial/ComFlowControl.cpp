#include "serial/ComFlowControl.h"

#include "serial/ComPort.h"

void TComFlowControl::Changed() {
  if (FComPort) FComPort->ApplyLineSettings();
}

TFlowControl TComFlowControl::FlowControl() const {
  if (FControlRTS == rtsHandshake && FOutCTSFlow && !FXonXoffIn && !FXonXoffOut)
    return fcHardware;
  if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut) return fcSoftware;
  if (FControlRTS == rtsDisable && !FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcNone;
  return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl Value) {
  if (Value != fcCustom) {
    FControlRTS = rtsDisable;
    FOutCTSFlow = false;
    FXonXoffIn = false;
    FXonXoffOut = false;
    if (Value == fcHardware) {
      FControlRTS = rtsHandshake;
      FOutCTSFlow = true;
    } else if (Value == fcSoftware) {
      FXonXoffIn = true;
      FXonXoffOut = true;
    }
  }
  Changed();
}

void TComFlowControl::AssignTo(TPersistent& Dest) const {
  auto* d = dynamic_cast<TComFlowControl*>(&Dest);
  if (!d) return TPersistent::AssignTo(Dest);
  d->FOutCTSFlow = FOutCTSFlow;
  d->FOutDSRFlow = FOutDSRFlow;
  d->FControlDTR = FControlDTR;
  d->FControlRTS = FControlRTS;
  d->FXonXoffOut = FXonXoffOut;
  d->FXonXoffIn = FXonXoffIn;
  d->FDSRSensitivity = FDSRSensitivity;
  d->FTxContinueOnXoff = FTxContinueOnXoff;
  d->FXonChar = FXonChar;
  d->FXoffChar = FXoffChar;
}
