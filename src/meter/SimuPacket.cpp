#include "meter/SimuPacket.h"

#include "meter/MeasuringUnit.h"
#include "meter/MeterNumbers.h"
#include "meter/ModelTables.h"

namespace {

QByteArray Fixed(double v, int width, int decimals, QChar sep) {
  return FormatFixed(v, width, decimals, sep).toLatin1();
}

QByteArray Zeros5(int v) { return QByteArray::number(v).rightJustified(5, '0'); }

// Zero-pads a fixed-point text to `width`: behind the sign for a negative
// number, in front otherwise. The sign of the text decides, not the sign of
// the scale factor: a negative value with a positive factor (a large negative
// offset) would otherwise get zeros in front of its sign, and a positive value
// with a negative factor zeros inside its digits.
QByteArray ZeroPadded(QByteArray t, int width) {
  const int at = t.startsWith('-') ? 1 : 0;
  if (t.size() < width) t.insert(at, QByteArray(width - t.size(), '0'));
  return t;
}

QByteArray PavonLine(double v, bool hex, bool error, QChar sep) {
  if (error) return "E10";
  if (hex) {
    QByteArray h = FormatHex(RoundHalfEven(v), 6);
    if (h.size() > 7) h = h.right(7);
    return " " + h;
  }
  return ZeroPadded(Fixed(v / 1000, 0, 3, sep), 7);
}

// A signal strength of the model with its noise.
int Strength(const TSimuLineParams& p, const TRandom10& random) {
  return ModelTable(p.Device).simuStrengthBase + random();
}

QByteArray DorvaneLine(double v, bool error, const TSimuLineParams& p, const TRandom10& random) {
  if (p.SignalStrength) return QByteArray::number(Strength(p, random)).rightJustified(8, ' ');
  if (error) return " 9999.90";
  return Fixed(v / 1000, 8, 2, p.DecimalSeparator);
}

QByteArray HexlinLine(double v, bool hex, bool error, const TSimuLineParams& p,
                      const TRandom10& random) {
  const QString& o = p.OutputContent;
  auto strength = [&] { return Strength(p, random); };
  QByteArray line;
  if (error) {
    line = hex ? "HE02   " : "DE02   ";
    const QByteArray s = hex ? "0000" : "00000";
    const QByteArray temperature = hex ? "100" : "+25.6";
    if (o == u"1") line += " " + s;
    else if (o == u"2") line += " " + temperature;
    else if (o == u"3") line += " " + s + " " + temperature;
    return line;
  }
  if (hex) {
    line = "H" + FormatHex(RoundHalfEven(v), 6).right(6);
    if (o == u"1") line += " " + FormatHex(strength(), 4);
    else if (o == u"2") line += " 100";
    else if (o == u"3") line += " " + FormatHex(strength(), 4) + " 100";
    return line;
  }
  const QByteArray t = Fixed(v / 1000, 0, 3, p.DecimalSeparator);
  line = t.startsWith('-') ? "D" + ZeroPadded(t, 9) : "D " + ZeroPadded(t, 8);
  if (o == u"1") line += " " + Zeros5(strength());
  else if (o == u"2") line += " +25.6";
  else if (o == u"3") line += " " + Zeros5(strength()) + " +25.6";
  return line;
}

// n: the value before scaling; a scale factor 0 means values in the
// measuring unit.
QByteArray ZarelLine(std::int64_t n, double sf, bool error, const TSimuLineParams& p,
                     const TRandom10& random) {
  const TZarelFormat& z = p.Zarel;
  double k = sf;
  if (sf == 0) k = TextToFloat(z.SF) == 0 ? ConvertUnitBack(1, z.MUN) : 1;
  const double v = static_cast<double>(n) * k;
  if (error) return "e1201";
  const QByteArray sep(1, ZarelFieldSeparator(z.SP));
  const bool quality = z.SD[1] == u"1", temperature = z.SD[2] == u"1", outputs = z.SD[3] == u"1";
  auto signalQuality = [&] { return Strength(p, random); };
  const QString& format = z.SD[0];
  QByteArray line;
  if (format == u"0" || format == u"1") {
    line = "d" + FormatUnitValue(v, z.MUN, p.DecimalSeparator);
    const bool all = format == u"0";
    bool appended = false;
    if (quality) {
      line += sep + Zeros5(signalQuality());
      appended = true;
    }
    if (temperature && (all || !appended)) {
      line += sep + Zeros5(35);
      appended = true;
    }
    if (outputs && (all || !appended)) line += sep + "0" + sep + "0" + sep + "0";
    return line;
  }
  const float f = ToSingle(ConvertUnit(v, z.MUN));
  if (format == u"2") {
    line = "h" + SingleToHex(f);
    if (quality) line += sep + SingleToHex(static_cast<float>(signalQuality()));
    if (temperature) line += sep + SingleToHex(35.0f);
    if (outputs) line += sep + "00000000" + sep + "00000000" + sep + "00000000";
    return line;
  }
  if (format == u"3") {
    line = "h" + FormatHex(RoundHalfEven(f), 6);
    if (quality) line += sep + FormatHex(signalQuality(), 4);
    if (temperature) line += sep + FormatHex(35, 4);
    if (outputs) line += sep + "0" + sep + "0" + sep + "0";
    return line;
  }
  return {};
}

}  // namespace

TRandom10 Random10From(std::mt19937& generator) {
  return [&generator] { return std::uniform_int_distribution<int>(0, 9)(generator); };
}

QByteArray MakeSimuPacket(std::int32_t value, bool noise, bool hex, double sf, bool error,
                          const TSimuLineParams& p, const TRandom10& random) {
  std::int64_t n = value;
  if (noise) n += random();
  const double v = static_cast<double>(n) * sf;
  switch (p.Device) {
    case Pavon: return PavonLine(v, hex, error, p.DecimalSeparator);
    case Dorvane: return DorvaneLine(v, error, p, random);
    case Hexlin:
    case Tavri: return HexlinLine(v, hex, error, p, random);
    case KESTO_ZAREL: return ZarelLine(n, sf, error, p, random);
  }
  return {};
}
