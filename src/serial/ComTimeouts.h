#pragma once
// Time-outs of the port's reads and writes, in milliseconds. A change is
// passed to the owning port at once (which applies it while open).

#include "serial/ComSettingsBase.h"

class TComTimeouts : public TComSettingsBase {
 public:
  int ReadInterval() const { return FReadInterval; }
  int ReadTotalMultiplier() const { return FReadTotalM; }
  int ReadTotalConstant() const { return FReadTotalC; }
  int WriteTotalMultiplier() const { return FWriteTotalM; }
  int WriteTotalConstant() const { return FWriteTotalC; }
  void SetReadInterval(int Value) { Set(FReadInterval, Value); }
  void SetReadTotalMultiplier(int Value) { Set(FReadTotalM, Value); }
  void SetReadTotalConstant(int Value) { Set(FReadTotalC, Value); }
  void SetWriteTotalMultiplier(int Value) { Set(FWriteTotalM, Value); }
  void SetWriteTotalConstant(int Value) { Set(FWriteTotalC, Value); }

  void AssignTo(TPersistent& Dest) const override;

 private:
  void Changed() override;

  int FReadInterval = -1;
  int FReadTotalM = 0;
  int FReadTotalC = 0;
  int FWriteTotalM = 100;
  int FWriteTotalC = 1000;
};
