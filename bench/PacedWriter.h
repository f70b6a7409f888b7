#pragma once
// The far end of a stream benchmark: writes blocks into a pty master at a
// fixed pace.

#include <time.h>

#include <QByteArray>
#include <QVector>

#include "BenchClock.h"
#include "support/PtyPair.h"

// Writes `writes` blocks (cycling through `blocks`), one every `periodNs` on
// an absolute schedule, so a late write is followed by the next at once.
// Returns the CPU seconds of the calling thread.
inline double WritePaced(PtyPair& pty, const QVector<QByteArray>& blocks, long long writes,
                         long long periodNs) {
  const double c0 = ThreadCpu();
  timespec next{};
  clock_gettime(CLOCK_MONOTONIC, &next);
  for (long long i = 0; i < writes; ++i) {
    pty.WriteMaster(blocks[static_cast<int>(i % blocks.size())]);
    next.tv_nsec += periodNs;
    while (next.tv_nsec >= 1000000000) {
      next.tv_nsec -= 1000000000;
      ++next.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
  }
  return ThreadCpu() - c0;
}
