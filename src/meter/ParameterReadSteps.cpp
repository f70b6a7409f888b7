#include "meter/ParameterReadSteps.h"

namespace {
constexpr TDeviceSet P = DeviceBit(Pavon);
constexpr TDeviceSet D = DeviceBit(Dorvane);
constexpr TDeviceSet H = DeviceBit(Hexlin);
constexpr TDeviceSet T = DeviceBit(Tavri);
constexpr TDeviceSet Z = DeviceBit(KESTO_ZAREL);

constexpr auto Whole = TReadSplit::rsWhole;
constexpr auto Blank = TReadSplit::rsBlank;
constexpr auto Comma = TReadSplit::rsCommaTrimmed;

TReadStep Query(const char* code, TDeviceSet models, TReadSplit split = Whole, int parts = 1) {
  return {TReadKind::rkQuery, code, models, split, parts};
}
TReadStep With(TReadStep s, TReadEffect e) {
  s.effect = e;
  return s;
}
TReadStep Pause() { return {TReadKind::rkWait}; }
}  // namespace

const QVector<TReadStep>& ParameterReadSteps() {
  static const QVector<TReadStep> steps = [] {
    QVector<TReadStep> v;
    v << Query("ST", P)
      << With(Query("SA", AllDevices), TReadEffect::reSa)
      << With(Query("MF", H | T | Z), TReadEffect::reMf)
      << TReadStep{TReadKind::rkTimeBase};
    TReadStep td = Query("TD", P | D | H, Blank, 2);
    td.onePartMore = H;
    v << td << Query("TM", P, Blank, 2) << Query("SF", P | D | H | Z) << Pause()
      << Query("OF", P | H | T | Z);
    TReadStep as = Query("AS", AllDevices);
    as.noStopString = D;  // DORVANE answers AS with exactly two characters
    // HEXLIN reports a second SE field that no control shows; it is kept so
    // that writing the set back sends the meter what it reported. TAVRI's
    // is neither read nor sent: the meter keeps it.
    TReadStep se = Query("SE", H | T | Z, Blank, 1);
    se.onePartMore = H;
    v << as << Query("SE", P) << se << TReadStep{TReadKind::rkMinMax, "MW", Z};
    TReadStep mw = Query("MW", H | T, Blank, 2);
    mw.onePartMore = T;
    v << mw << Query("GN", T) << Query("UB", T) << Query("PL", H) << Query("HE", H, Blank, 2)
      << Query("RM", P, Blank, 3) << Query("SD", P) << Query("SD", Z, Blank, 4)
      << With(Query("SP", Z), TReadEffect::reStopCrLf) << Query("SD", H | T, Blank, 2)
      << With(Query("TE", H | T), TReadEffect::reTerminator) << Query("RB", P | D)
      << Query("QA", Z, Comma, 2) << Query("QA", H | T, Blank, 2) << Pause()
      << Query("RE", P | D) << Pause() << Query("AC", P | D) << Pause() << Query("AH", P | D)
      << Query("Q1", Z, Comma, 4) << Query("Q2", Z, Comma, 4) << Query("Q3", Z, Comma, 4)
      << Query("MUN", Z) << Query("TRI", Z, Comma, 2) << Query("TRO", Z, Comma, 2)
      << Query("Q1", H | T, Blank, 4) << Query("Q2", H | T, Blank, 4) << Query("SC", H)
      << Query("AW", P) << Pause();
    return v;
  }();
  return steps;
}

QByteArray TerminatorStopString(const QString& te) {
  static const char* const stops[] = {"\r", "\n", "\x02", "\x03", "\t", " ", ",", ":", ";"};
  for (int i = 1; i <= 9; ++i)
    if (te == QString::number(i)) return stops[i - 1];
  return "\r\n";
}
