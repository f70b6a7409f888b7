#pragma once
// Thread priorities: -3 (idle) .. 0 (normal) .. +3 (time critical), applied
// to the calling thread. Raising the priority needs rights a normal user
// lacks: the system refuses, and the thread keeps the priority it had (so a
// normal user's thread that went idle or lower stays there).

#include <cstdint>

// Priority of a worker thread (the serial event thread, a threaded timer).
enum TThreadPriority : std::uint8_t {
  tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical
};

namespace platform {

void SetCurrentThreadPriority(int level);

// The level of SetCurrentThreadPriority for a priority (tpNormal is 0).
inline int ThreadPriorityLevel(TThreadPriority p) {
  return static_cast<int>(p) - static_cast<int>(tpNormal);
}

}  // namespace platform
