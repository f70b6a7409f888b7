#include <gtest/gtest.h>

#include <deque>

#include "platform/StopWatch.h"

namespace {

// A stopwatch on a scripted counter: each reading takes the next value.
class ScriptedStopWatch : public TStopWatch {
 public:
  explicit ScriptedStopWatch(std::int64_t frequency) { Frequenz = frequency; }
  std::deque<std::int64_t> readings;
  bool fail = false;
  int queries = 0;

  std::int64_t LapMark() const { return Lap; }
  std::int64_t LastReading() const { return Aktuell; }
  bool Started() const { return FStart; }

 protected:
  bool QueryCounter(std::int64_t& count) override {
    ++queries;
    if (fail) return false;
    count = readings.front();
    readings.pop_front();
    return true;
  }
};

TEST(StopWatch, ReadsZeroBeforeAnyStartWithoutTouchingTheCounter) {
  ScriptedStopWatch w(1000);
  EXPECT_EQ(w.StopTime(), 0.0);
  EXPECT_EQ(w.LapTime(), 0.0);
  EXPECT_EQ(w.queries, 0);
  EXPECT_EQ(w.LapMark(), 0);
  EXPECT_EQ(w.LastReading(), 0);
}

TEST(StopWatch, LapsMeasureFromTheLastMarkAndNeverMoveTheStart) {
  ScriptedStopWatch w(1000);
  w.readings = {5000, 7500, 8000, 8500, 9000, 9250};
  w.StartTime();
  EXPECT_DOUBLE_EQ(w.StopTime(), 2.5);  // stop only reads
  EXPECT_DOUBLE_EQ(w.LapTime(), 3.0);   // first lap from the start
  EXPECT_DOUBLE_EQ(w.LapTime(), 0.5);   // second lap from the first one's reading
  EXPECT_DOUBLE_EQ(w.StopTime(), 4.0);  // still from the start
  EXPECT_DOUBLE_EQ(w.LapTime(), 0.75);  // a stop reading is no lap mark
}

TEST(StopWatch, SecondStartRestartsElapsedAndLap) {
  ScriptedStopWatch w(100);
  w.readings = {100, 300, 1000, 1050, 1200};
  w.StartTime();
  EXPECT_DOUBLE_EQ(w.LapTime(), 2.0);
  w.StartTime();
  EXPECT_DOUBLE_EQ(w.LapTime(), 0.5);
  EXPECT_DOUBLE_EQ(w.StopTime(), 2.0);
}

TEST(StopWatch, KeepsCountResolutionFarFromTheCounterOrigin) {
  // Forming the difference first keeps single counts where the counter's
  // absolute value is beyond what a double resolves.
  ScriptedStopWatch w(1'000'000'000);
  const std::int64_t big = std::int64_t(1) << 62;
  w.readings = {big, big + 1, big + 3};
  w.StartTime();
  EXPECT_DOUBLE_EQ(w.StopTime(), 1e-9);
  EXPECT_DOUBLE_EQ(w.LapTime(), 3e-9);
}

TEST(StopWatch, FailingCounterAtStartLeavesItIdle) {
  ScriptedStopWatch w(1000);
  w.readings = {4000};
  w.StartTime();
  ASSERT_TRUE(w.Started());
  w.fail = true;
  w.StartTime();
  EXPECT_FALSE(w.Started());
  EXPECT_EQ(w.LapMark(), 4000);  // copied from the start value even so
  const int queries = w.queries;
  EXPECT_EQ(w.StopTime(), 0.0);
  EXPECT_EQ(w.LapTime(), 0.0);
  EXPECT_EQ(w.queries, queries);
}

TEST(StopWatch, SteadyClockReadingsDoNotDecrease) {
  TStopWatch w;
  EXPECT_EQ(w.StopTime(), 0.0);
  w.StartTime();
  const double a = w.StopTime();
  const double lap = w.LapTime();
  const double b = w.StopTime();
  EXPECT_GE(a, 0.0);
  EXPECT_GE(b, a);
  EXPECT_GE(b, lap);
}

}  // namespace
