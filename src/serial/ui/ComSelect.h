#pragma once
// The list logic behind a port-selection combo box: which of the port's
// settings is listed, the texts offered for it, the value last chosen, and
// writing that value to the bound port.

#include <QString>
#include <cstdint>

#include "platform/Component.h"
#include "serial/ComTypes.h"

class QComboBox;
class TCustomComPort;

enum TComProperty : std::uint8_t {
  cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl
};

class TComSelect : public TObject {
 public:
  TComSelect() = default;

  // The combo box whose item list this object fills (not owned).
  void SetItems(QComboBox* Items) { FItems = Items; }

  // Stores the property and fills the list anew for it.
  TComProperty ComProperty() const { return FComProperty; }
  void SetComProperty(TComProperty Value);
  // Only stores the port; the combo box asks for the removal notice.
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value) { FComPort = Value; }
  bool AutoApply() const { return FAutoApply; }
  void SetAutoApply(bool Value) { FAutoApply = Value; }

  // A choice of the user: stored in the field of the current property, and
  // written to the port at once with AutoApply.
  void Change(const QString& Text);
  // Writes the field of the current property to the bound port.
  void ApplySettings();
  // Looks up the port's current value in the list: ItemIndex becomes its
  // index (-1 when absent), and a listed value becomes the stored choice.
  // Without a port or property ItemIndex keeps what was passed in.
  void UpdateSettings(int& ItemIndex);

  // The values last chosen.
  const QString& Port() const { return FPort; }
  TBaudRate BaudRate() const { return FBaudRate; }
  TDataBits DataBits() const { return FDataBits; }
  TStopBits StopBits() const { return FStopBits; }
  TParityBits Parity() const { return FParity; }
  TFlowControl FlowControl() const { return FFlowControl; }

 protected:
  void SelectPort();
  void SelectBaudRate();
  void SelectDataBits();
  void SelectStopBits();
  void SelectParity();
  void SelectFlowControl();

 private:
  // Conversion half of Change: the text into the field, nothing applied.
  void StoreText(const QString& Text);
  // The port's current value of the listed property as text.
  QString PortValueText() const;

  // The enumerations start at their first value, which is the first item.
  QString FPort;
  TBaudRate FBaudRate{};
  TDataBits FDataBits{};
  TStopBits FStopBits{};
  TParityBits FParity{};
  TFlowControl FFlowControl{};
  QComboBox* FItems = nullptr;
  TComProperty FComProperty = cpNone;
  TCustomComPort* FComPort = nullptr;
  bool FAutoApply = false;
};
