#pragma once
// Text forms of the port's settings (as stored, and as the status bar and
// setup dialogs show them), the character form of stored characters, the
// list of the machine's serial ports and the rate of each TBaudRate.
//
// Text -> value compares the whole text with each value's text without
// regard to ASCII letter case, in ordinal order; a text matching none gives
// the type's fall-back (br9600, sbOneStopBit, dbEight, prNone, fcCustom,
// rtsDisable, dtrDisable, False).

#include <QChar>
#include <QString>
#include <QStringList>

#include "serial/ComTypes.h"

// The rate written to the device; 0 for brCustom.
int BaudRateToInt(TBaudRate BaudRate);

QString BaudRateToText(TBaudRate BaudRate);
QString StopBitsToText(TStopBits StopBits);
QString DataBitsToText(TDataBits DataBits);
QString ParityToText(TParityBits Parity);
QString FlowControlToText(TFlowControl FlowControl);
QString RTSToText(TRTSFlowControl RTS);
QString DTRToText(TDTRFlowControl DTR);
QString BoolToYesNo(bool B);

TBaudRate TextToBaudRate(const QString& Str);
TStopBits TextToStopBits(const QString& Str);
TDataBits TextToDataBits(const QString& Str);
TParityBits TextToParity(const QString& Str);
TFlowControl TextToFlowControl(const QString& Str);
TRTSFlowControl TextToRTS(const QString& Str);
TDTRFlowControl TextToDTR(const QString& Str);
// Only "YES" in any letter case is true.
bool YesNoToBool(const QString& Str);

// Codes 33..127 as the character itself, any other as "#" + decimal code.
QString CharToText(QChar Ch);
// "" -> #0; "#n" (two or more characters) -> code n modulo 256, #0 when n is
// no integer; anything else -> its first character.
QChar TextToChar(const QString& Str);

// Fills List with the machine's serial port names, sorted without regard to
// case; leaves it unchanged when the system has no list.
void EnumSerialPorts(QStringList& List);
