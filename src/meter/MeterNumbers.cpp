#include "meter/MeterNumbers.h"

#include <QLocale>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string_view SkipBlanks(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

std::string_view TrimBlanks(std::string_view s) {
  s = SkipBlanks(s);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The whole of s is one decimal number. Our own grammar check first, because
// from_chars would also take "inf", "nan" and hexadecimal floats.
bool ParseDecimal(std::string_view s, double& out) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const std::size_t start = i;
  int digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    int exponentDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  if (i != s.size()) return false;
  double v = 0;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data() + start, end, v, std::chars_format::general);
  if (ec != std::errc() || ptr != end) return false;  // out of range counts as no number
  out = negative ? -v : v;
  return true;
}

template <typename Int>
Int SaturatedFromIntegral(double x) {  // x already integral or NaN
  if (std::isnan(x)) return 0;
  constexpr double limit = 9223372036854775808.0;  // 2^63
  if (x >= limit) return std::numeric_limits<Int>::max();
  if (x < -limit) return std::numeric_limits<Int>::min();
  return static_cast<Int>(x);
}

}  // namespace

double TextToFloat(const QString& text) {
  QByteArray s = text.toLatin1();
  s.replace(',', '.');
  double v = 0;
  return ParseDecimal(TrimBlanks(std::string_view(s.constData(), s.size())), v) ? v : 0.0;
}

int HexDigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

bool ReadNumber(std::string_view text, double& value) {
  return ParseDecimal(SkipBlanks(text), value);
}

bool ReadNumber(const QString& text, double& value) {
  const QByteArray s = text.toLatin1();
  return ReadNumber(std::string_view(s.constData(), s.size()), value);
}

double ReadNumberDef(const QString& text, double def) {
  double v = 0;
  return ReadNumber(text, v) ? v : def;
}

bool ReadInteger(std::string_view text, std::int32_t& value) {
  const std::string_view s = SkipBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == s.size()) return false;
  std::uint64_t acc = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (hex) {
      if (!IsHexDigit(c)) return false;
      acc = acc * 16 + HexDigitValue(c);
      if (acc > 0xFFFFFFFFu) return false;
    } else {
      if (!IsDigit(c)) return false;
      acc = acc * 10 + (c - '0');
      if (acc > 2147483648u) return false;
    }
  }
  if (hex) {
    std::uint32_t u = static_cast<std::uint32_t>(acc);
    if (negative) u = 0u - u;
    value = static_cast<std::int32_t>(u);
    return true;
  }
  if (!negative && acc > 2147483647u) return false;
  value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(acc)
                                             : static_cast<std::int64_t>(acc));
  return true;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t def) {
  std::int32_t v = 0;
  return ReadInteger(text, v) ? v : def;
}

std::int32_t StrToIntDef(const QString& text, std::int32_t def) {
  const QByteArray s = text.toLatin1();
  return StrToIntDef(std::string_view(s.constData(), s.size()), def);
}

std::int64_t RoundHalfEven(double x) {
  if (std::isnan(x)) return 0;
  double f = std::floor(x);
  const double rest = x - f;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(f, 2.0) != 0.0)) f += 1.0;
  return SaturatedFromIntegral<std::int64_t>(f);
}

std::int64_t TruncToInt64(double x) { return SaturatedFromIntegral<std::int64_t>(std::trunc(x)); }

std::int32_t ClampToInt32(std::int64_t x) {
  if (x > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (x < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(x);
}

namespace {

// True when `v` lies exactly halfway between two numbers of `decimals`
// decimals: v * 10^decimals * 2 is an odd integer. With v = M * 2^e (M the
// 53-bit mantissa) that is M * 5^decimals * 2^(e + decimals + 1), odd exactly
// when M holds e + decimals + 1 factors of two, no more.
bool IsDecimalTie(double v, int decimals) {
  int exponent = 0;
  const double fraction = std::frexp(std::abs(v), &exponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int twos = -(exponent - 53 + decimals + 1);
  return mantissa != 0 && twos >= 0 && std::countr_zero(mantissa) == twos;
}

}  // namespace

QString FormatFixed(double value, int width, int decimals, QChar decimalSeparator) {
  // Every measurement line is logged through here, so this avoids the
  // formatted-string machinery; the text is the one the program has always
  // written: a halfway value rounds away from zero, a zero has no sign, and
  // a negative width pads nothing.
  char buf[64];
  std::to_chars_result r{buf, std::errc::value_too_large};
  if (std::isfinite(value) && decimals >= 0) {
    double v = value == 0 ? 0.0 : value;
    if (IsDecimalTie(v, decimals)) v = std::nextafter(v, v > 0 ? HUGE_VAL : -HUGE_VAL);
    r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  }
  QString s = r.ec == std::errc() ? QString::fromLatin1(buf, r.ptr - buf)
                                  : QString::asprintf("%*.*f", width, decimals, value);
  if (s.size() < width) s.prepend(QString(width - s.size(), u' '));
  if (decimalSeparator != u'.') s.replace(u'.', decimalSeparator);
  return s;
}

QChar LocaleDecimalSeparator() {
  const QString p = QLocale().decimalPoint();
  return p.isEmpty() ? QChar(u'.') : p.at(0);
}

QByteArray FormatHex(std::int64_t value, int minDigits) {
  char buf[32];
  const int n = std::snprintf(buf, sizeof buf, "%.*llX", minDigits,
                              static_cast<unsigned long long>(value));
  return QByteArray(buf, n);
}

QByteArray ByteToHex(std::uint8_t b) {
  static const char digits[] = "0123456789ABCDEF";
  const char s[2] = {digits[b >> 4], digits[b & 15]};
  return QByteArray(s, 2);
}

QByteArray SingleToHex(float f) {
  const auto bits = std::bit_cast<std::uint32_t>(f);
  QByteArray s;
  for (int shift = 24; shift >= 0; shift -= 8) s += ByteToHex(static_cast<std::uint8_t>(bits >> shift));
  return s;
}

float HexToSingle(std::string_view digits) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 8; ++i)
    bits = bits << 4 | static_cast<std::uint32_t>(i < digits.size() ? HexDigitValue(digits[i]) : 0);
  return std::bit_cast<float>(bits);
}

float ToSingle(double v) {
  constexpr double max = std::numeric_limits<float>::max();
  if (v > max) return std::numeric_limits<float>::infinity();
  if (v < -max) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);  // NaN converts fine
}
