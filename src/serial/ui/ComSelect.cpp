#include "serial/ui/ComSelect.h"

#include <QComboBox>
#include <QStringList>

#include "serial/ComPort.h"
#include "serial/ComTextForms.h"

namespace {

// The texts of every value of an enumeration, in ordinal order.
template <typename E, int Count>
QStringList AllTexts(QString (*ToText)(E)) {
  QStringList texts;
  for (int i = 0; i < Count; ++i) texts << ToText(static_cast<E>(i));
  return texts;
}

}  // namespace

void TComSelect::SetComProperty(TComProperty Value) {
  FComProperty = Value;
  if (FItems == nullptr) return;
  FItems->clear();
  switch (Value) {
    case cpNone: break;
    case cpPort: SelectPort(); break;
    case cpBaudRate: SelectBaudRate(); break;
    case cpDataBits: SelectDataBits(); break;
    case cpStopBits: SelectStopBits(); break;
    case cpParity: SelectParity(); break;
    case cpFlowControl: SelectFlowControl(); break;
  }
}

void TComSelect::SelectPort() {
  QStringList ports;
  EnumSerialPorts(ports);
  FItems->addItems(ports);
}

void TComSelect::SelectBaudRate() {
  FItems->addItems(AllTexts<TBaudRate, br921600 + 1>(BaudRateToText));
}

void TComSelect::SelectDataBits() {
  FItems->addItems(AllTexts<TDataBits, dbEight + 1>(DataBitsToText));
}

void TComSelect::SelectStopBits() {
  FItems->addItems(AllTexts<TStopBits, sbTwoStopBits + 1>(StopBitsToText));
}

void TComSelect::SelectParity() {
  FItems->addItems(AllTexts<TParityBits, prSpace + 1>(ParityToText));
}

void TComSelect::SelectFlowControl() {
  FItems->addItems(AllTexts<TFlowControl, fcCustom + 1>(FlowControlToText));
}

void TComSelect::StoreText(const QString& Text) {
  switch (FComProperty) {
    case cpNone: break;
    case cpPort: FPort = Text; break;
    case cpBaudRate: FBaudRate = TextToBaudRate(Text); break;
    case cpDataBits: FDataBits = TextToDataBits(Text); break;
    case cpStopBits: FStopBits = TextToStopBits(Text); break;
    case cpParity: FParity = TextToParity(Text); break;
    case cpFlowControl: FFlowControl = TextToFlowControl(Text); break;
  }
}

void TComSelect::Change(const QString& Text) {
  StoreText(Text);
  if (FAutoApply) ApplySettings();
}

void TComSelect::ApplySettings() {
  if (FComPort == nullptr) return;
  switch (FComProperty) {
    case cpNone: break;
    case cpPort:
      // No port opens under an empty name: keep the one the port has.
      if (!FPort.isEmpty()) FComPort->SetPort(FPort);
      break;
    case cpBaudRate: FComPort->SetBaudRate(FBaudRate); break;
    case cpDataBits: FComPort->SetDataBits(FDataBits); break;
    case cpStopBits: FComPort->SetStopBits(FStopBits); break;
    case cpParity: FComPort->Parity().SetBits(FParity); break;
    case cpFlowControl: FComPort->FlowControl().SetFlowControl(FFlowControl); break;
  }
}

QString TComSelect::PortValueText() const {
  switch (FComProperty) {
    case cpNone: break;
    case cpPort: return FComPort->Port();
    case cpBaudRate: return BaudRateToText(FComPort->BaudRate());
    case cpDataBits: return DataBitsToText(FComPort->DataBits());
    case cpStopBits: return StopBitsToText(FComPort->StopBits());
    case cpParity: return ParityToText(FComPort->Parity().Bits());
    case cpFlowControl: return FlowControlToText(FComPort->FlowControl().FlowControl());
  }
  return QString();
}

void TComSelect::UpdateSettings(int& ItemIndex) {
  if (FComPort == nullptr || FComProperty == cpNone) return;
  const QString text = PortValueText();
  ItemIndex = FItems != nullptr ? FItems->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive)
                                : -1;
  // The system cannot list every device (pseudo-terminals, links under
  // /dev/serial): an unlisted port name is still the current choice, so
  // applying the settings keeps it rather than writing an empty name.
  if (ItemIndex >= 0 || FComProperty == cpPort) StoreText(text);
}
