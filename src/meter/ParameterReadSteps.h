#pragma once
// The steps of Get Parameter as data: one list for all five models, in the
// order the meter is asked. A step runs only for the models in its set; the
// reply of a query is stored into every one of those models' objects, so a
// value read with one model current also reaches the others that share the
// code.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstdint>

#include "meter/DeviceType.h"

enum class TReadKind : std::uint8_t {
  rkQuery,      // GetCmd, error check, store
  rkWait,       // a fixed pause of 50 ms
  rkTimeBase,   // TimeUnit from the SA and MF read so far
  rkMinMax,     // KESTO ZAREL's window: two GetCmd2 requests "Mi" and "Ma"
};

enum class TReadSplit : std::uint8_t {
  rsWhole,         // the whole value into part 0
  rsBlank,         // fields separated by ' '
  rsCommaTrimmed,  // fields separated by ',', blanks around each dropped
};

enum class TReadEffect : std::uint8_t {
  reNone,
  reSa,          // the value is the SA of the time base
  reMf,          // the value is the MF of the time base
  reStopCrLf,    // measurement lines end in CR LF again
  reTerminator,  // measurement lines end in the terminator the value names
};

struct TReadStep {
  TReadKind kind;
  QString code = {};
  TDeviceSet models = 0;  // who asks, and whose objects store the reply
  TReadSplit split = TReadSplit::rsWhole;
  int parts = 1;          // fields stored (parts 0 .. parts-1)
  // With this model current one field more is stored (its object has it).
  TDeviceSet onePartMore = 0;
  TDeviceSet noStopString = 0;  // models whose reply has no line end
  TReadEffect effect = TReadEffect::reNone;
};

const QVector<TReadStep>& ParameterReadSteps();

// The measurement stop string for the terminator setting TE ("1" CR ...
// "9" ';'); anything else, "0" and '' included, is CR LF.
QByteArray TerminatorStopString(const QString& te);
