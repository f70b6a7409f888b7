#include "serial/ComTimeouts.h"

#include "serial/ComPort.h"

void TComTimeouts::Changed() {
  if (FComPort) FComPort->ApplyTimeoutSettings();
}

void TComTimeouts::AssignTo(TPersistent& Dest) const {
  auto* d = dynamic_cast<TComTimeouts*>(&Dest);
  if (!d) return TPersistent::AssignTo(Dest);
  d->FReadInterval = FReadInterval;
  d->FReadTotalM = FReadTotalM;
  d->FReadTotalC = FReadTotalC;
  d->FWriteTotalM = FWriteTotalM;
  d->FWriteTotalC = FWriteTotalC;
}
