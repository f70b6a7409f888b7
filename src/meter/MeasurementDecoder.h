#pragma once
// Measurement lines to values: what one packet of the measurement stream
// means for the current model. Pure functions over the packet and the few
// parameter texts they need; the caller keeps the measurement fields, stamps
// the time, writes the log and arms the display.

#include "meter/DeviceType.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <optional>

// The KESTO ZAREL parameters that shape its lines (texts of the model object).
struct TZarelFormat {
  QString SD[4];  // display format; then "1" = signal quality, temperature, switching outputs sent
  QString SP;     // field separator code, "0x2C" ...
  QString SF;     // scale factor; "0" means values in the measuring unit
  QString MUN;    // measuring unit
};

struct TDecodeParams {
  TDeviceType Device = Pavon;
  bool SignalStrength = false;  // the signal-strength window is active
  TZarelFormat Zarel;           // read for KESTO ZAREL only
};

struct TDecodedPacket {
  // More than 2 characters: the caller keeps it as MessPacket and stamps it.
  bool Stored = false;
  // A value text was found: the caller sets MessValue/MessValueValid and logs.
  bool HasValue = false;
  QByteArray ValueText;
  bool Valid = false;
  double Value = 0;  // 0 when not valid
  std::optional<int> Strength;  // new signal strength, if this packet sets it
};

TDecodedPacket DecodeMeasurementPacket(const QByteArray& s, const TDecodeParams& p);

// Value text to number for the model; false when the text is not a number.
bool StrToMessValue(const QByteArray& t, double& value, const TDecodeParams& p);

// KESTO ZAREL field access.
char ZarelFieldSeparator(const QString& sp);
QByteArray ParseZarelValue(const QByteArray& line, const TZarelFormat& f);
int ParseZarelStrength(const QByteArray& line, const TZarelFormat& f);

// The separator by the list position of the separator control.
char GetLSep(int itemIndex);

// "time;value" with three decimals each; an invalid value leaves only "time;".
QString MeasurementLogLine(double time, bool valid, double value, QChar decimalSeparator);
