#pragma once
// Flow control of the line: the single flags and characters, and the derived
// FlowControl (hardware, software, none, or custom for any other mix).

#include "serial/ComSettingsBase.h"

class TComFlowControl : public TComSettingsBase {
 public:
  bool OutCTSFlow() const { return FOutCTSFlow; }
  bool OutDSRFlow() const { return FOutDSRFlow; }
  TDTRFlowControl ControlDTR() const { return FControlDTR; }
  TRTSFlowControl ControlRTS() const { return FControlRTS; }
  bool XonXoffOut() const { return FXonXoffOut; }
  bool XonXoffIn() const { return FXonXoffIn; }
  bool DSRSensitivity() const { return FDSRSensitivity; }
  bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
  QChar XonChar() const { return FXonChar; }
  QChar XoffChar() const { return FXoffChar; }

  void SetOutCTSFlow(bool Value) { Set(FOutCTSFlow, Value); }
  void SetOutDSRFlow(bool Value) { Set(FOutDSRFlow, Value); }
  void SetControlDTR(TDTRFlowControl Value) { Set(FControlDTR, Value); }
  void SetControlRTS(TRTSFlowControl Value) { Set(FControlRTS, Value); }
  void SetXonXoffOut(bool Value) { Set(FXonXoffOut, Value); }
  void SetXonXoffIn(bool Value) { Set(FXonXoffIn, Value); }
  void SetDSRSensitivity(bool Value) { Set(FDSRSensitivity, Value); }
  void SetTxContinueOnXoff(bool Value) { Set(FTxContinueOnXoff, Value); }
  void SetXonChar(QChar Value) { Set(FXonChar, Value); }
  void SetXoffChar(QChar Value) { Set(FXoffChar, Value); }

  // Derived from RTS control, CTS flow and the two XON/XOFF flags only.
  TFlowControl FlowControl() const;
  // Always applies, also when the value is the current one; fcCustom leaves
  // the flags as they are.
  void SetFlowControl(TFlowControl Value);

  void AssignTo(TPersistent& Dest) const override;

 private:
  void Changed() override;

  bool FOutCTSFlow = false;
  bool FOutDSRFlow = false;
  TDTRFlowControl FControlDTR = dtrDisable;
  TRTSFlowControl FControlRTS = rtsDisable;
  bool FXonXoffOut = false;
  bool FXonXoffIn = false;
  bool FDSRSensitivity = false;
  bool FTxContinueOnXoff = false;
  QChar FXonChar = QChar(17);
  QChar FXoffChar = QChar(19);
};
