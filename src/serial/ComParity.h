#pragma once
// Parity of the line: the parity bit, whether received parity is checked and
// whether bytes with errors are replaced by ReplaceChar.

#include "platform/Persistent.h"
#include "serial/ComTypes.h"

class TComParity : public TPersistent {
 public:
  TCustomComPort* ComPort() const { return FComPort; }

  TParityBits Bits() const { return FBits; }
  bool Check() const { return FCheck; }
  bool Replace() const { return FReplace; }
  QChar ReplaceChar() const { return FReplaceChar; }
  void SetBits(TParityBits Value);
  void SetCheck(bool Value);
  void SetReplace(bool Value);
  void SetReplaceChar(QChar Value);

  void AssignTo(TPersistent& Dest) const override;

 private:
  friend class TCustomComPort;
  void SetComPort(TCustomComPort* Port) { FComPort = Port; }
  void Changed();

  TCustomComPort* FComPort = nullptr;
  TParityBits FBits = prNone;
  bool FCheck = false;
  bool FReplace = false;
  QChar FReplaceChar = QChar(0);
};
