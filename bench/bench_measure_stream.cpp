// A streaming meter into the whole measurement path: a thread plays the meter
// on a pty master and writes HEXLIN measurement lines ("D 0005.123" CR LF,
// 12 bytes) at a fixed rate; the real TComPort, the measurement splitter, the
// decoder, the log list and a running log file (one open, append, close per
// line) consume them, with the display timer running as in the program.
//
// BM_MeasureStream/L/B: L lines per second, B lines per write, for 3 s.
// 7,000 lines/s of 12 bytes is what a meter sends at 921600 baud; 70,000 is
// ten times that. Reports lines sent and lines that reached the log file
// (they must be equal) and the CPU of the receiving side: the whole process
// less the writer thread.
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <thread>

#include "meter/MeterLogic.h"
#include "support/FakeMeterView.h"
#include "support/PtyPair.h"

#include "BenchClock.h"
#include "BenchMain.h"
#include "PacedWriter.h"

namespace {

// One block of `burst` lines, the values cycling through 100 distances.
QByteArray Lines(int first, int burst) {
  QByteArray b;
  for (int i = 0; i < burst; ++i)
    b += QByteArray("D ") +
         QByteArray::number(5 + ((first + i) % 100) / 1000.0, 'f', 3).rightJustified(8, '0') +
         "\r\n";
  return b;
}

long long FileLines(const QString& name) {
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  return f.readAll().count('\n');
}

struct Receiver {
  PtyPair pty;
  QTemporaryDir dir;
  FakeMeterView view;
  TMeterLogic logic{view};
  QEventLoop loop;
  long long packets = 0;
  long long target = 0;
  QString logName;

  explicit Receiver(bool logFile) {
    logic.SetDevice(Hexlin);
    logic.ComPort().SetPort(pty.SlavePath());
    logic.ComPort().SetBaudRate(br921600);
    // The program's handler, then a count that ends the run (no polling timer:
    // it would add wake-ups of its own).
    logic.ComMessPacket().OnPacket = [this](TObject* s, const std::string& p) {
      logic.Measurement().ComMessPacketPacket(s, p);
      if (++packets >= target) loop.quit();
    };
    if (logFile) {
      logName = dir.filePath("bench.csv");
      view.saveDialogAnswers.push_back(logName);
      logic.Measurement().acStartStopLogExecute();
    }
    logic.ComPort().Open();
  }
  ~Receiver() { logic.ComPort().Close(); }
};

// range(0): lines per second, range(1): lines per write, range(2): 1 with a
// running log file, 0 with the log list only
void BM_MeasureStream(benchmark::State& state) {
  const int linesPerSecond = static_cast<int>(state.range(0));
  const int burst = static_cast<int>(state.range(1));
  const bool logFile = state.range(2) != 0;
  const double seconds = 3.0;
  long long sent = 0, logged = 0;
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    Receiver r(logFile);
    const long long writes = static_cast<long long>(seconds * linesPerSecond / burst);
    QVector<QByteArray> blocks;
    for (int i = 0; i < 100; ++i) blocks << Lines(i * burst, burst);
    r.target = writes * burst;
    std::atomic<double> writerCpu{0};
    std::atomic<bool> written{false};
    std::thread far([&] {
      writerCpu = WritePaced(r.pty, blocks, writes, 1000000000ll * burst / linesPerSecond);
      written = true;
    });
    // A run that lost lines would wait for ever: once everything is written
    // and half a second passes without a new line, it ends and is reported.
    QTimer stall;
    long long seen = -1;
    QObject::connect(&stall, &QTimer::timeout, [&] {
      if (written && r.packets == seen) r.loop.quit();
      seen = r.packets;
    });
    stall.start(500);
    const double c0 = ProcessCpu(), t0 = Now();
    r.loop.exec();
    stall.stop();
    far.join();
    wall += Now() - t0;
    cpu += ProcessCpu() - c0 - writerCpu;
    sent += writes * burst;
    // Lines in the file (less the header); without a file the packets handed
    // to the log list (which keeps only the newest 10001).
    logged += logFile ? FileLines(r.logName) - 1 : r.packets;
  }
  state.counters["lines_sent"] = static_cast<double>(sent);
  state.counters["lines_logged"] = static_cast<double>(logged);
  state.counters["lines_per_s"] = static_cast<double>(sent) / wall;
  state.counters["cpu_percent"] = 100.0 * cpu / wall;
  state.counters["cpu_us_per_line"] = 1e6 * cpu / static_cast<double>(sent);
  if (logged != sent) state.SkipWithError("lines lost on the way into the log file");
}
BENCHMARK(BM_MeasureStream)
    ->Args({7000, 1, 1})
    ->Args({7000, 7, 1})
    ->Args({70000, 10, 1})
    ->Args({70000, 70, 1})
    ->Args({7000, 1, 0})
    ->Args({7000, 7, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// The handler alone, without port and event loop: what one line costs in
// decoding, stamping and the log list, with (range(0) = 1) and without the
// log file.
void BM_MeasurePacket(benchmark::State& state) {
  QTemporaryDir dir;
  FakeMeterView view;
  TMeterLogic logic(view);
  logic.SetDevice(Hexlin);
  if (state.range(0)) {
    view.saveDialogAnswers.push_back(dir.filePath("packets.csv"));
    logic.Measurement().acStartStopLogExecute();
  }
  std::vector<std::string> lines;
  for (int i = 0; i < 100; ++i) {
    const QByteArray l = Lines(i, 1);
    lines.emplace_back(l.constData(), l.size() - 2);
  }
  std::size_t i = 0;
  for (auto _ : state) logic.Measurement().ComMessPacketPacket(nullptr, lines[i++ % 100]);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MeasurePacket)->Arg(0)->Arg(1);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInEventLoopProcess(argc, argv); }
