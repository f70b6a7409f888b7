// Measurement lines of every model, with fuzzed model, options and parameter
// texts, through decoding, the log line and the outputs computed from the value.
#include "meter/MeasurementDecoder.h"
#include "meter/OutputCalculator.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <iterator>

namespace {

// Mostly texts the meters use, sometimes anything.
QString Text(FuzzedDataProvider& in, std::initializer_list<const char*> usual) {
  if (in.ConsumeBool()) {
    const auto i = in.ConsumeIntegralInRange<std::size_t>(0, usual.size() - 1);
    return QString::fromLatin1(*std::next(usual.begin(), i));
  }
  return QString::fromStdString(in.ConsumeRandomLengthString(16));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  TDecodeParams p;
  p.Device = DeviceFromOrdinal(in.ConsumeIntegralInRange(0, 4));
  p.SignalStrength = in.ConsumeBool();
  p.Zarel.SD[0] = Text(in, {"0", "1", "2", "3", "4", "-1"});
  for (int i = 1; i < 4; ++i) p.Zarel.SD[i] = Text(in, {"0", "1"});
  p.Zarel.SP = Text(in, {"0x2C", "0x3B", "0x20", "0x2F", "0x09"});
  p.Zarel.SF = Text(in, {"0", "1", "-1", "10"});
  p.Zarel.MUN = Text(in, {"mm", "cm", "dm", "m", "in", "ft", "yd", "in/8", "in/16"});

  TOutputParams o;
  o.Device = p.Device;
  for (QString* t : {&o.RB, &o.RE, &o.AC, &o.AH, &o.AW, &o.SE, &o.SEControl, &o.QA[0], &o.QA[1]})
    *t = Text(in, {"0", "40", "2", "0.1", "-0.1", "100000", "1", "2"});
  for (auto& q : o.Q)
    for (QString& t : q) t = Text(in, {"0", "2", "5000", "0.1", "1", "1e9"});

  const std::string packet = in.ConsumeRemainingBytesAsString();
  const TDecodedPacket r = DecodeMeasurementPacket(QByteArray::fromStdString(packet), p);
  if (r.HasValue) {
    (void)MeasurementLogLine(1.5, r.Valid, r.Value, u',');
    TOutputState s;
    (void)UpdateAnalogMeter(!r.Valid, r.Value, o, s);
    (void)UpdateOutputs(!r.Valid, r.Value, o, s);
  }
  return 0;
}
