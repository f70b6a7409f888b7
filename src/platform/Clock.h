#pragma once
// Timing: the millisecond tick count, the high-resolution performance
// counter and the timer-resolution request.

#include <cstdint>

namespace platform {

class Clock {
 public:
  // Milliseconds since an arbitrary start, wrapping at 2^32 like the system
  // tick count.
  static std::uint32_t GetTickCount();
  // Counter ticks of a monotonic clock and their rate per second.
  static std::int64_t PerformanceCounter();
  static std::int64_t PerformanceFrequency();
  // The timer resolution request exists for the program's start and end; the
  // scheduler here needs none, so both always succeed and do nothing.
  static bool TimeBeginPeriod(unsigned periodMs);
  static bool TimeEndPeriod(unsigned periodMs);
};

}  // namespace platform
