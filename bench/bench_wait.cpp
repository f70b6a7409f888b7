// What waiting for the meter costs: the command layer's waits block in the
// event loop, so a query that waits for a silent meter should use next to no
// CPU, and a wait while the meter streams should cost only the lines.
//
//  BM_GetCmdSilentMeter: GetCmd with its 1000 ms time-out on a meter that
//                        never answers; CPU percent of one core.
//  BM_WaitWhileStreaming: Wait(1000) while the meter streams measurement
//                        lines (20 ms apart, as the emulator sends them) into
//                        the measurement splitter.
#include <benchmark/benchmark.h>


#include "meter/MeterLogic.h"
#include "support/FakeMeterView.h"
#include "support/MeterEmulator.h"
#include "support/PtyPair.h"

#include "BenchClock.h"
#include "BenchMain.h"

namespace {

struct Rig {
  PtyPair pty;
  MeterEmulator emulator{Hexlin, pty.MasterFd()};
  FakeMeterView view;
  TMeterLogic logic{view};
  Rig() {
    logic.ComPort().SetPort(pty.SlavePath());
    logic.SetDevice(Hexlin);
    logic.ComPort().Open();
  }
};

template <typename F>
void Measure(benchmark::State& state, F waitOnce) {
  double cpu = 0;
  double wall = 0;
  for (auto _ : state) {
    const double c0 = ProcessCpu();
    const double t0 = Now();
    waitOnce();
    wall += Now() - t0;
    cpu += ProcessCpu() - c0;
  }
  state.counters["cpu_%"] = 100.0 * cpu / wall;
  state.counters["wall_s"] = wall / static_cast<double>(state.iterations());
}

void BM_GetCmdSilentMeter(benchmark::State& state) {
  Rig rig;
  rig.emulator.silent = true;
  Measure(state, [&] {
    int typ = 0;
    benchmark::DoNotOptimize(rig.logic.GetCmd("SA", "SA", "\r\n", 1000, typ));
  });
}
BENCHMARK(BM_GetCmdSilentMeter)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_WaitWhileStreaming(benchmark::State& state) {
  Rig rig;
  rig.emulator.StartStream();
  Measure(state, [&] { rig.logic.Wait(1000); });
  rig.emulator.StopStream();
}
BENCHMARK(BM_WaitWhileStreaming)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInEventLoopProcess(argc, argv); }
