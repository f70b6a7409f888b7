#pragma once
// Shared by the stream benchmarks: CPU and wall clocks, a far end that
// writes blocks into a pty master at a fixed pace, and main().

#include <sys/resource.h>
#include <time.h>

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QVector>

#include "support/PtyPair.h"

namespace bench {

inline double ProcessCpu() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

inline double ThreadCpu() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

inline double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

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

// main() of a stream benchmark: a Qt core application around the runs.
inline int RunStreamBenchmarks(int argc, char** argv) {
  // Qt's own event loop costs less per wake-up than the GLib one.
  if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
