#include "serial/EscapeCodes.h"

#include <limits>

namespace {

// Decimal integer with an optional sign; anything else (blanks, hex, an empty
// text, a value beyond int) is no number.
bool ParseInt(const QString& s, int& value) {
  int i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    negative = s[i] == u'-';
    ++i;
  }
  if (i == s.size()) return false;
  const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                   : std::numeric_limits<int>::max();
  long long v = 0;
  for (; i < s.size(); ++i) {
    const char16_t c = s[i].unicode();
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c - u'0');
    if (v > limit) return false;
  }
  value = static_cast<int>(negative ? -v : v);
  return true;
}

}  // namespace

int TEscapeCodes::GetParam(int Num, const QStringList& AParams) {
  if (Num < 1 || Num > AParams.size()) return 1;
  int value = 1;
  if (!ParseInt(AParams[Num - 1], value)) return 1;
  return value;
}

TEscapeResult TEscapeCodes::Feed(QChar Ch) {
  if (FInSequence) {
    FData += Ch;
    TEscapeCode code = DetectCode();
    if (code == ecNotCompleted) {
      if (FData.size() < MaxSequenceLength) return erNothing;
      code = ecUnknown;
    }
    FCode = code;
    LeaveSequence();
    return erCode;
  }
  if (Ch.unicode() != 27) {
    Fcharacter = Ch;
    return erChar;
  }
  FData.clear();
  FInSequence = true;
  return erNothing;
}
