#pragma once
// Numbers as the meters and the parameter texts write them. The readers never
// look at the user's locale: '.' is the decimal separator on the line and in
// the stored parameters. Only the Format helpers take the locale's separator,
// because the log and some simulated lines are written with it.

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cstdint>
#include <string_view>

// Every ',' becomes '.', then the text (blanks around it allowed) is read as a
// number; a text that is not a number gives 0.0.
double TextToFloat(const QString& text);

// '0'..'9' give 0..9, 'A'..'F' and 'a'..'f' give 10..15, anything else 0.
int HexDigitValue(char c);

// A number as a whole: leading blanks are skipped, the rest must be one decimal
// number (optional sign, digits with an optional '.', optional exponent).
bool ReadNumber(std::string_view text, double& value);
bool ReadNumber(const QString& text, double& value);
double ReadNumberDef(const QString& text, double def);

// An integer: leading blanks skipped, optional sign, decimal digits or '$'/"0x"
// and hexadecimal digits; nothing may follow. Decimal must fit 32 bits; hex
// goes up to FFFFFFFF, which wraps to a negative number as the meters mean it.
bool ReadInteger(std::string_view text, std::int32_t& value);
std::int32_t StrToIntDef(std::string_view text, std::int32_t def);
std::int32_t StrToIntDef(const QString& text, std::int32_t def);

// To the nearest integer, an exact half to the even neighbour. NaN gives 0,
// values beyond the 64-bit range saturate (a stray line must not crash).
std::int64_t RoundHalfEven(double x);
// Towards zero, with the same saturation.
std::int64_t TruncToInt64(double x);
std::int32_t ClampToInt32(std::int64_t x);

// printf "%W.Df" with the given decimal separator in place of '.'.
QString FormatFixed(double value, int width, int decimals, QChar decimalSeparator);
// The user's locale separator for FormatFixed.
QChar LocaleDecimalSeparator();

// printf "%.NX" of a 64-bit integer: negatives appear as 16-digit two's complement.
QByteArray FormatHex(std::int64_t value, int minDigits);
// Two upper-case hexadecimal digits, the high nibble first.
QByteArray ByteToHex(std::uint8_t b);

// A single-precision number as 8 hexadecimal digits of its bit pattern, the
// most significant byte first, and back. Missing or bad digits read as 0.
QByteArray SingleToHex(float f);
float HexToSingle(std::string_view digits);
// double to float without undefined behaviour for values beyond float's range.
float ToSingle(double v);
