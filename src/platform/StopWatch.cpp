#include "platform/StopWatch.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

static_assert(Clock::period::num == 1, "counter ticks must be a whole fraction of a second");
std::int64_t CounterFrequency() { return Clock::period::den; }

}  // namespace

TStopWatch::TStopWatch() : Frequenz(CounterFrequency()) {}

bool TStopWatch::QueryCounter(std::int64_t& count) {
  count = Clock::now().time_since_epoch().count();
  return true;
}

void TStopWatch::StartTime() {
  FStart = QueryCounter(Anfang);
  Lap = Anfang;
}

double TStopWatch::StopTime() {
  if (!FStart) return 0.0;
  QueryCounter(Aktuell);
  return double(Aktuell - Anfang) / double(Frequenz);
}

double TStopWatch::LapTime() {
  if (!FStart) return 0.0;
  QueryCounter(Aktuell);
  const double t = double(Aktuell - Lap) / double(Frequenz);
  Lap = Aktuell;
  return t;
}
