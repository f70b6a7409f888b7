#include "serial/ComBuffer.h"

#include "serial/ComPort.h"

void TComBuffer::Set(int& field, int value) {
  if (value > 0 && value % 2 == 1) --value;
  TComSettingsBase::Set(field, value);
}

void TComBuffer::Changed() {
  if (FComPort) FComPort->ApplyBufferSizes();
}

void TComBuffer::AssignTo(TPersistent& Dest) const {
  auto* d = dynamic_cast<TComBuffer*>(&Dest);
  if (!d) return TPersistent::AssignTo(Dest);
  d->FInputSize = FInputSize;
  d->FOutputSize = FOutputSize;
}
