#include "meter/MeasurementDecoder.h"

#include "meter/MeasuringUnit.h"
#include "meter/MeterNumbers.h"

#include <cmath>
#include <limits>

namespace {

// Characters from 1-based position `pos`, at most `len` of them (fewer at the end).
QByteArray Chars(const QByteArray& s, int pos, int len = -1) {
  if (pos > s.size()) return {};
  return s.mid(pos - 1, len);
}

std::string_view View(const QByteArray& s) { return {s.constData(), std::size_t(s.size())}; }

int IntOrZero(const QByteArray& s) { return StrToIntDef(View(s), 0); }

// A 28- or 24-bit two's complement in hex, widened to 32 bits by leading F's.
QByteArray HexValueText(const QByteArray& digits, int missingDigits) {
  QByteArray t = "$";
  // Lower-case digits are as valid as upper-case ones, so is a lower-case sign digit.
  if (!digits.isEmpty() && (digits[0] == 'F' || digits[0] == 'f')) t += QByteArray(missingDigits, 'F');
  return t + digits;
}

// An IEEE single to a whole number as text; a pattern that is no finite
// number within 64 bits is not a value.
QByteArray TruncatedSingleText(float f) {
  if (!std::isfinite(f) || std::fabs(f) >= 9.2e18f) return "?";
  return QByteArray::number(static_cast<qlonglong>(std::trunc(f)));
}

int TruncatedSingleInt(float f) {
  if (!std::isfinite(f)) return 0;
  return ClampToInt32(TruncToInt64(f));
}

int ZarelFormatNo(const TZarelFormat& f) { return StrToIntDef(f.SD[0], -1); }

QByteArray AfterSeparator(const QByteArray& line, char sep, int len) {
  const int i = line.indexOf(sep);
  return i < 0 ? QByteArray() : line.mid(i + 1, len);
}

// Strength of a HEXLIN/TAVRI line.
int HexlinStrength(const QByteArray& s) {
  if (s[0] == 'D') {
    const QByteArray field = Chars(s, 12, 5);
    if (!field.contains('.')) return IntOrZero(field);
    double v = 0;
    return ReadNumber(View(field), v) ? ClampToInt32(RoundHalfEven(v)) : 0;
  }
  return IntOrZero("$" + Chars(s, 9, 4));
}

}  // namespace

char ZarelFieldSeparator(const QString& sp) {
  if (sp.compare(u"0x3B", Qt::CaseInsensitive) == 0) return ';';
  if (sp.compare(u"0x20", Qt::CaseInsensitive) == 0) return ' ';
  if (sp.compare(u"0x2F", Qt::CaseInsensitive) == 0) return '/';
  if (sp.compare(u"0x09", Qt::CaseInsensitive) == 0) return '\t';
  return ',';
}

char GetLSep(int itemIndex) {
  switch (itemIndex) {
    case 1: return ';';
    case 2: return ' ';
    case 3: return '/';
    case 4: return '\t';
    default: return ',';
  }
}

QByteArray ParseZarelValue(const QByteArray& line, const TZarelFormat& f) {
  switch (ZarelFormatNo(f)) {
    case 0: {
      // The value field is 8 characters, so with further fields the separator
      // sits at position 10; it is not part of the number. A blank separator
      // needs no cut: blanks are removed anyway and the field may hold blanks.
      QByteArray t = Chars(line, 2, 9);
      const char sep = ZarelFieldSeparator(f.SP);
      if (sep != ' ') {
        const int i = t.indexOf(sep);
        if (i >= 0) t.truncate(i);
      }
      t.replace(" ", "");
      return t;
    }
    case 1: {
      // The field width may put blanks between the leading zeros and a short
      // number ("00 500.0"); they are no part of the number.
      QByteArray t = Chars(line, 2, 6);
      t.replace(" ", "");
      return t;
    }
    case 2: return TruncatedSingleText(HexToSingle(View(Chars(line, 2, 8))));
    case 3: return "$" + Chars(line, 2, 6);
    default: return "?";
  }
}

int ParseZarelStrength(const QByteArray& line, const TZarelFormat& f) {
  if (StrToIntDef(f.SD[1], -1) != 1) return 0;
  const char sep = ZarelFieldSeparator(f.SP);
  switch (ZarelFormatNo(f)) {
    case 0:
    case 1: return IntOrZero(AfterSeparator(line, sep, 5));
    case 2: return TruncatedSingleInt(HexToSingle(View(Chars(line, 11, 8))));
    case 3: return IntOrZero("$" + AfterSeparator(line, sep, 4));
    default: return 0;
  }
}

namespace {

// Each model's line in two steps: the value text (and, while the signal
// window is open, the strength), then the text as a number. An empty text
// means no value; "?" an error report.
struct TLineRules {
  QByteArray (*valueText)(const QByteArray& s, const TDecodeParams& p, TDecodedPacket& r);
  bool (*number)(const QByteArray& t, double& value, const TDecodeParams& p);
};

// A hexadecimal text counts thousandths; it is always a number.
bool ThousandthsNumber(const QByteArray& t, double& value, const TDecodeParams&) {
  if (t.startsWith('$')) {
    value = IntOrZero(t) * 0.001;
    return true;
  }
  return ReadNumber(View(t), value);
}

bool DecimalNumber(const QByteArray& t, double& value, const TDecodeParams&) {
  return ReadNumber(View(t), value);
}

QByteArray PavonValueText(const QByteArray& s, const TDecodeParams&, TDecodedPacket&) {
  if (s.size() == 3) return "?";  // the meter's error report
  if (s[0] == ' ') return HexValueText(Chars(s, 2, 7), 1);
  return Chars(s, 1, 7);
}

QByteArray DorvaneValueText(const QByteArray& s, const TDecodeParams& p, TDecodedPacket& r) {
  const bool error = s.contains("9999.90");
  if (p.SignalStrength) {
    r.Strength = error ? 0 : IntOrZero(Chars(s, 1, 8));
    return {};
  }
  return error ? QByteArray("?") : Chars(s, 1, 8);
}

// HEXLIN and TAVRI.
QByteArray HexlinValueText(const QByteArray& s, const TDecodeParams& p, TDecodedPacket& r) {
  if (s[1] == 'E') {
    if (p.SignalStrength) r.Strength = 0;
    return "?";
  }
  if (p.SignalStrength) r.Strength = HexlinStrength(s);
  if (s[0] == 'D') return Chars(s, 2, 9);
  if (s[0] == 'H') return HexValueText(Chars(s, 2, 6), 2);
  return {};
}

QByteArray ZarelValueText(const QByteArray& s, const TDecodeParams& p, TDecodedPacket& r) {
  if (s[0] == 'e' || s[0] == 'w') {
    if (p.SignalStrength) r.Strength = 0;
    return "?";
  }
  if (s[0] != 'd' && s[0] != 'h') return {};
  if (p.SignalStrength) r.Strength = ParseZarelStrength(s, p.Zarel);
  return ParseZarelValue(s, p.Zarel);
}

// A hexadecimal text is a whole number; with scale factor 0 the value is in
// the measuring unit.
bool ZarelNumber(const QByteArray& t, double& value, const TDecodeParams& p) {
  bool valid = true;
  if (t.startsWith('$'))
    value = IntOrZero(t);
  else
    valid = ReadNumber(View(t), value);
  if (valid && TextToFloat(p.Zarel.SF) == 0.0) value = ConvertUnit(value, p.Zarel.MUN);
  return valid;
}

const TLineRules& LineRules(TDeviceType d) {
  static const TLineRules pavon{PavonValueText, ThousandthsNumber};
  static const TLineRules dorvane{DorvaneValueText, DecimalNumber};
  static const TLineRules hexlin{HexlinValueText, ThousandthsNumber};
  static const TLineRules zarel{ZarelValueText, ZarelNumber};
  switch (d) {
    case Pavon: return pavon;
    case Dorvane: return dorvane;
    case Hexlin:
    case Tavri: return hexlin;
    case KESTO_ZAREL: return zarel;
  }
  return pavon;
}

}  // namespace

bool StrToMessValue(const QByteArray& t, double& value, const TDecodeParams& p) {
  value = 0;
  const bool valid = LineRules(p.Device).number(t, value, p);
  if (!valid) value = 0;
  return valid;
}

TDecodedPacket DecodeMeasurementPacket(const QByteArray& s, const TDecodeParams& p) {
  TDecodedPacket r;
  if (s.size() <= 2) return r;
  r.Stored = true;
  const QByteArray t = LineRules(p.Device).valueText(s, p, r);
  if (t.isEmpty()) return r;
  r.HasValue = true;
  r.ValueText = t;
  r.Valid = StrToMessValue(t, r.Value, p);
  return r;
}

QString MeasurementLogLine(double time, bool valid, double value, QChar decimalSeparator) {
  QString line = FormatFixed(time, 0, 3, decimalSeparator) + u';';
  if (valid) line += FormatFixed(value, 0, 3, decimalSeparator);
  return line;
}
