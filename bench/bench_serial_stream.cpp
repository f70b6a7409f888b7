// Streams bytes from a pty master through TComPort (event thread, hand-over
// to the GUI thread) into one link, the way the meter's lines arrive.
//
//  BM_StreamFlat:  the far end writes as fast as it can; MB/s received and
//                  CPU seconds per MB of the receiving side.
//  BM_StreamPaced: the far end sends 18-byte lines at a fixed rate, one line
//                  per write or bursts of 16; CPU percent of one core used by
//                  the receiving side.
//
// "Receiving side" is the whole process minus the thread that plays the far
// end (its own CPU time is measured and taken off).
#include <benchmark/benchmark.h>
#include <poll.h>
#include <unistd.h>

#include <QEventLoop>
#include <atomic>
#include <thread>

#include "serial/ComPort.h"
#include "support/PtyPair.h"

#include "BenchClock.h"
#include "BenchMain.h"
#include "PacedWriter.h"

namespace {

// The link counts what arrives and ends the event loop at `target` bytes
// (no polling timer: it would cost wake-ups of its own).
struct Receiver {
  PtyPair pty;
  TComPort port;
  TComLink link;
  QEventLoop loop;
  long long received = 0;
  long long target = 0;
  Receiver() {
    port.SetPort(pty.SlavePath());
    port.SetBaudRate(br921600);
    link.OnRxBuf = [this](TObject*, const char*, int count) {
      received += count;
      if (received >= target) loop.quit();
    };
    port.RegisterLink(&link);
    port.Open();
  }
  ~Receiver() {
    port.Close();
    port.UnRegisterLink(&link);
  }
};

void BM_StreamFlat(benchmark::State& state) {
  const long long total = 64ll << 20;
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    Receiver r;
    std::atomic<double> writerCpu{0};
    std::thread far([&] {
      const double c0 = ThreadCpu();
      QByteArray block(4096, '7');
      for (long long sent = 0; sent < total; sent += block.size()) r.pty.WriteMaster(block);
      writerCpu = ThreadCpu() - c0;
    });
    const double c0 = ProcessCpu(), t0 = Now();
    r.target = total;
    r.loop.exec();
    wall += Now() - t0;
    far.join();
    cpu += ProcessCpu() - c0 - writerCpu;
  }
  const double mb = static_cast<double>(total) * static_cast<double>(state.iterations()) / 1e6;
  state.counters["MB_per_s"] = mb / wall;
  state.counters["cpu_s_per_MB"] = cpu / mb;
}
BENCHMARK(BM_StreamFlat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// range(0): lines per second, range(1): lines per write
void BM_StreamPaced(benchmark::State& state) {
  const int linesPerSecond = static_cast<int>(state.range(0));
  const int burst = static_cast<int>(state.range(1));
  const double seconds = 3.0;
  const QByteArray line("+0001234.567 m\r\n\0\0", 18);
  QByteArray chunk;
  for (int i = 0; i < burst; ++i) chunk += line;
  double cpu = 0, wall = 0;
  long long lines = 0;
  for (auto _ : state) {
    Receiver r;
    std::atomic<double> writerCpu{0};
    const long long writes = static_cast<long long>(seconds * linesPerSecond / burst);
    std::thread far([&] {
      writerCpu = WritePaced(r.pty, {chunk}, writes, 1000000000ll * burst / linesPerSecond);
    });
    const double c0 = ProcessCpu(), t0 = Now();
    r.target = writes * chunk.size();
    r.loop.exec();
    far.join();
    wall += Now() - t0;
    cpu += ProcessCpu() - c0 - writerCpu;
    lines += writes * burst;
  }
  state.counters["lines_per_s"] = static_cast<double>(lines) / wall;
  state.counters["cpu_percent"] = 100.0 * cpu / wall;
  state.counters["cpu_us_per_line"] = 1e6 * cpu / static_cast<double>(lines);
}
// 921600 baud carries 92,160 bytes/s: 5,120 lines of 18 bytes; 7,100 lines/s
// is what the meter streams at most.
BENCHMARK(BM_StreamPaced)
    ->Args({5120, 1})
    ->Args({5120, 16})
    ->Args({7100, 1})
    ->Args({7100, 16})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInEventLoopProcess(argc, argv); }
