#include "meter/MeasuringUnit.h"

#include "meter/MeterNumbers.h"

namespace {

struct TUnit {
  const char16_t* Name;
  double MmPerUnit;
  int Decimals;  // of the "%6.Nf" value field
};

constexpr double Inch = 25.4;
constexpr TUnit Units[] = {
    {u"mm", 1, 1},           {u"cm", 10, 2},         {u"dm", 100, 3},
    {u"m", 1000, 4},         {u"in", Inch, 3},       {u"ft", Inch * 12, 4},
    {u"yd", Inch * 36, 4},   {u"in/8", Inch / 8, 2}, {u"in/16", Inch / 16, 2},
};

const TUnit* FindUnit(const QString& mun) {
  for (const TUnit& u : Units)
    if (mun == QStringView(u.Name)) return &u;
  return nullptr;
}

}  // namespace

double ConvertUnit(double value, const QString& mun) {
  const TUnit* u = FindUnit(mun);
  return u ? value * u->MmPerUnit : value;
}

double ConvertUnitBack(double value, const QString& mun) {
  const TUnit* u = FindUnit(mun);
  return u ? value / u->MmPerUnit : value;
}

QByteArray FormatUnitValue(double v, const QString& mun, QChar decimalSeparator) {
  const TUnit* u = FindUnit(mun);
  QByteArray s = u ? FormatFixed(v, 6, u->Decimals, decimalSeparator).toLatin1() : QByteArray();
  // Zeros go in front, ahead of any blanks of the field width; for a negative
  // number they go behind the sign, where they keep it a number.
  const int minus = s.indexOf('-');
  if (s.size() < 8) s.insert(minus < 0 ? 0 : minus + 1, QByteArray(8 - s.size(), '0'));
  s.replace(',', '.');
  return s;
}
