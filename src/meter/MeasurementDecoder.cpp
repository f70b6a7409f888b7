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

bool StrToMessValue(const QByteArray& t, double& value, const TDecodeParams& p) {
  value = 0;
  const bool hex = t.startsWith('$');
  bool valid = false;
  switch (p.Device) {
    case Pavon:
    case Hexlin:
    case Tavri:
      if (hex) {
        value = IntOrZero(t) * 0.001;
        return true;
      }
      valid = ReadNumber(View(t), value);
      break;
    case Dorvane:
      valid = ReadNumber(View(t), value);
      break;
    case KESTO_ZAREL:
      if (hex) {
        value = IntOrZero(t);
        valid = true;
      } else {
        valid = ReadNumber(View(t), value);
      }
      if (valid && TextToFloat(p.Zarel.SF) == 0.0) value = ConvertUnit(value, p.Zarel.MUN);
      break;
  }
  if (!valid) value = 0;
  return valid;
}

TDecodedPacket DecodeMeasurementPacket(const QByteArray& s, const TDecodeParams& p) {
  TDecodedPacket r;
  if (s.size() <= 2) return r;
  r.Stored = true;
  QByteArray t;
  switch (p.Device) {
    case Pavon:
      if (s.size() == 3)
        t = "?";  // the meter's error report
      else if (s[0] == ' ')
        t = HexValueText(Chars(s, 2, 7), 1);
      else
        t = Chars(s, 1, 7);
      break;
    case Dorvane: {
      const bool error = s.contains("9999.90");
      if (p.SignalStrength)
        r.Strength = error ? 0 : IntOrZero(Chars(s, 1, 8));
      else
        t = error ? QByteArray("?") : Chars(s, 1, 8);
      break;
    }
    case Hexlin:
    case Tavri:
      if (s[1] == 'E') {
        t = "?";
        if (p.SignalStrength) r.Strength = 0;
        break;
      }
      if (p.SignalStrength) r.Strength = HexlinStrength(s);
      if (s[0] == 'D')
        t = Chars(s, 2, 9);
      else if (s[0] == 'H')
        t = HexValueText(Chars(s, 2, 6), 2);
      break;
    case KESTO_ZAREL:
      if (s[0] == 'e' || s[0] == 'w') {
        t = "?";
        if (p.SignalStrength) r.Strength = 0;
      } else if (s[0] == 'd' || s[0] == 'h') {
        if (p.SignalStrength) r.Strength = ParseZarelStrength(s, p.Zarel);
        t = ParseZarelValue(s, p.Zarel);
      }
      break;
  }
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
