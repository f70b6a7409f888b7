#pragma once
// Receive and transmit queue sizes requested from the driver. Odd positive
// sizes are stored one less (the driver works with even sizes).

#include "serial/ComSettingsBase.h"

class TComBuffer : public TComSettingsBase {
 public:
  int InputSize() const { return FInputSize; }
  int OutputSize() const { return FOutputSize; }
  void SetInputSize(int Value) { Set(FInputSize, Value); }
  void SetOutputSize(int Value) { Set(FOutputSize, Value); }

  void AssignTo(TPersistent& Dest) const override;

 private:
  void Set(int& field, int value);
  void Changed() override;

  int FInputSize = 1024;
  int FOutputSize = 1024;
};
