#include "platform/Clock.h"

#include <chrono>

namespace platform {

using Steady = std::chrono::steady_clock;

std::uint32_t Clock::GetTickCount() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      Steady::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

std::int64_t Clock::PerformanceCounter() {
  return static_cast<std::int64_t>(Steady::now().time_since_epoch().count());
}

std::int64_t Clock::PerformanceFrequency() {
  return static_cast<std::int64_t>(Steady::period::den / Steady::period::num);
}

bool Clock::TimeBeginPeriod(unsigned) { return true; }
bool Clock::TimeEndPeriod(unsigned) { return true; }

}  // namespace platform
