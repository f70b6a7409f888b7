#include "serial/ComParity.h"

#include "serial/ComPort.h"

void TComParity::Changed() {
  if (FComPort) FComPort->ApplyLineSettings();
}

void TComParity::AssignTo(TPersistent& Dest) const {
  auto* d = dynamic_cast<TComParity*>(&Dest);
  if (!d) return TPersistent::AssignTo(Dest);
  d->FBits = FBits;
  d->FCheck = FCheck;
  d->FReplace = FReplace;
  d->FReplaceChar = FReplaceChar;
}
