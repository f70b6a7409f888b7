#pragma once
// Receive and transmit queue sizes requested from the driver. Odd positive
// sizes are stored one less (the driver works with even sizes).

#include "platform/Persistent.h"
#include "serial/ComTypes.h"

class TComBuffer : public TPersistent {
 public:
  TCustomComPort* ComPort() const { return FComPort; }

  int InputSize() const { return FInputSize; }
  int OutputSize() const { return FOutputSize; }
  void SetInputSize(int Value) { Set(FInputSize, Value); }
  void SetOutputSize(int Value) { Set(FOutputSize, Value); }

  void AssignTo(TPersistent& Dest) const override;

 private:
  friend class TCustomComPort;
  void SetComPort(TCustomComPort* Port) { FComPort = Port; }
  void Set(int& field, int value);

  TCustomComPort* FComPort = nullptr;
  int FInputSize = 1024;
  int FOutputSize = 1024;
};
