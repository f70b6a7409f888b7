#pragma once
// Parity of the line: the parity bit, whether received parity is checked and
// whether bytes with errors are replaced by ReplaceChar.

#include "serial/ComSettingsBase.h"

class TComParity : public TComSettingsBase {
 public:
  TParityBits Bits() const { return FBits; }
  bool Check() const { return FCheck; }
  bool Replace() const { return FReplace; }
  QChar ReplaceChar() const { return FReplaceChar; }
  void SetBits(TParityBits Value) { Set(FBits, Value); }
  void SetCheck(bool Value) { Set(FCheck, Value); }
  void SetReplace(bool Value) { Set(FReplace, Value); }
  void SetReplaceChar(QChar Value) { Set(FReplaceChar, Value); }

  void AssignTo(TPersistent& Dest) const override;

 private:
  void Changed() override;

  TParityBits FBits = prNone;
  bool FCheck = false;
  bool FReplace = false;
  QChar FReplaceChar = QChar(0);
};
