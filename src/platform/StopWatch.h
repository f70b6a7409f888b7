#pragma once
// Measures elapsed wall-clock time on a monotonic high-resolution counter.
// There is no stopped state: it runs from the last StartTime until the next
// one; StopTime and LapTime only read it.

#include <cstdint>

#include "platform/Component.h"

class TStopWatch : public TComponent {
 public:
  TStopWatch();

  void StartTime();
  // Seconds since the last StartTime; 0.0 before any start.
  double StopTime();
  // Seconds since the last lap mark (StartTime or LapTime), then marks a lap.
  double LapTime();

 protected:
  // Reads the counter; false when it cannot be read.
  virtual bool QueryCounter(std::int64_t& count);

  std::int64_t Frequenz = 0;
  std::int64_t Anfang = 0;
  std::int64_t Lap = 0;
  std::int64_t Aktuell = 0;
  bool FStart = false;
};
