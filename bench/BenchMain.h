#pragma once
// The main of a benchmark that needs Qt's event loop (ports, timers).

#include <benchmark/benchmark.h>

#include <QCoreApplication>

inline int RunBenchmarksInEventLoopProcess(int argc, char** argv) {
  // Qt's own event loop costs less per wake-up than the GLib one.
  if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
