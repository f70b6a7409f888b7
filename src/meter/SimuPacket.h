#pragma once
// One measurement line of the simulated meter, in the current model's output
// format, without CR LF.

#include "meter/DeviceType.h"
#include "meter/MeasurementDecoder.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cstdint>
#include <functional>
#include <random>

// A uniform random integer 0..9 for each call.
using TRandom10 = std::function<int()>;

// Draws from a generator the caller seeded once; the generator must outlive the result.
TRandom10 Random10From(std::mt19937& generator);

struct TSimuLineParams {
  TDeviceType Device = Pavon;
  QString OutputContent;        // HEXLIN/TAVRI: SD part 1 of the model's own parameters
  TZarelFormat Zarel;           // KESTO ZAREL: SD parts, SP, SF text, MUN
  bool SignalStrength = false;  // DORVANE: the signal-strength window is active
  QChar DecimalSeparator = u'.';  // the user's locale
};

// value: distance in thousandths of the distance unit; noise adds a random
// 0..9; hex chooses the hexadecimal format (PAVON, HEXLIN, TAVRI); sf is the
// model's scale factor; error writes the model's error line.
QByteArray MakeSimuPacket(std::int32_t value, bool noise, bool hex, double sf, bool error,
                          const TSimuLineParams& p, const TRandom10& random);
