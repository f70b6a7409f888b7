#include "serial/ComParity.h"

#include "serial/ComPort.h"

void TComParity::Changed() {
  if (FComPort) FComPort->ApplyLineSettings();
}

void TComParity::SetBits(TParityBits Value) {
  if (FBits == Value) return;
  FBits = Value;
  Changed();
}

void TComParity::SetCheck(bool Value) {
  if (FCheck == Value) return;
  FCheck = Value;
  Changed();
}

void TComParity::SetReplace(bool Value) {
  if (FReplace == Value) return;
  FReplace = Value;
  Changed();
}

void TComParity::SetReplaceChar(QChar Value) {
  if (FReplaceChar == Value) return;
  FReplaceChar = Value;
  Changed();
}

void TComParity::AssignTo(TPersistent& Dest) const {
  auto* d = dynamic_cast<TComParity*>(&Dest);
  if (!d) return TPersistent::AssignTo(Dest);
  d->FBits = FBits;
  d->FCheck = FCheck;
  d->FReplace = FReplace;
  d->FReplaceChar = FReplaceChar;
}
