// The whole program's window on a streaming meter: the real TMainForm with
// its meter logic, terminal, status bar, gauge and diagram receives
// measurement lines that a thread writes into a pty master at a fixed rate.
// The window runs on Xvfb (or any X server) when DISPLAY is set, else on the
// offscreen platform.
//
// BM_Window/M/L/B/F: model M (0 PAVON .. 4 KESTO ZAREL) in its own line
// format, L lines per second, B lines per write, F 1 with a running log file.
// 85,200 bytes a second is 92 % of what 921600 baud carries: 7,100 lines/s of
// the 12-byte TAVRI line. Reports per run:
//   lines_sent, lines_received (packets that reached the measurement handler
//   in the form of a sent line), lines_bad (other packets), rx80full (receive
//   buffer 80 % full events), cpu_percent and cpu_us_per_line (the process
//   less the writer thread), handovers_per_s (received-data deliveries),
//   ctx_switches_per_s, repaints_per_s (paint passes of the main window),
//   status_paints_per_s, terminal_paints_per_s, x_requests_per_s (on X only).
// TELQUIN_BENCH_SECONDS sets the stream's length (default 5).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "app/MainForm.h"
#include "app/StatusBar.h"
#include "meter/MeterLogic.h"
#include "platform/Registry.h"
#include "platform/SerialPortList.h"
#include "serial/ComPort.h"
#include "serial/ui/ComTerminal.h"
#include "support/PtyPair.h"

#include "BenchClock.h"
#include "PacedWriter.h"

namespace {

// The n-th line of a model's measurement stream, with its line end. The
// values cycle through 100 distances around 5 m.
QByteArray ModelLine(TDeviceType m, int n) {
  const int value = 5000 + n % 100;  // thousandths
  const QByteArray num = QByteArray::number(value / 1000.0, 'f', 3);
  switch (m) {
    case Pavon: return num.rightJustified(7, '0') + "\r\n";
    case Dorvane: return QByteArray::number(value / 1000.0, 'f', 2).rightJustified(8, ' ');
    case Hexlin:
    case Tavri: return "D " + num.rightJustified(8, '0') + "\r\n";
    case KESTO_ZAREL: return "d" + QByteArray::number(value, 'f', 1).rightJustified(8, '0') + "\r\n";
  }
  return {};
}

double StreamSeconds() {
  bool ok = false;
  const double s = qEnvironmentVariable("TELQUIN_BENCH_SECONDS").toDouble(&ok);
  return ok && s > 0 ? s : 5.0;
}

struct Usage {
  double cpu = 0;
  long switches = 0;
};

Usage ThreadUsage(int who) {
  rusage u{};
  getrusage(who, &u);
  return {static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
              static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6,
          u.ru_nvcsw + u.ru_nivcsw};
}

// Requests the X connection has sent so far (the sequence number of a
// harmless request), or -1 without X.
long long XRequestsSoFar() {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return -1;
  xcb_connection_t* c = x11->connection();
  const xcb_get_input_focus_cookie_t cookie = xcb_get_input_focus(c);
  xcb_discard_reply(c, cookie.sequence);
  return cookie.sequence;
}

// Counts the repaints of one top-level window (each is a pass over its dirty
// region, answered by a flush to the screen) and the paints of two of its
// widgets.
class PaintCounter : public QObject {
 public:
  PaintCounter(QWidget* window, TStatusBar* status, QWidget* terminal)
      : FWindow(window), FStatus(status), FTerminal(terminal) {
    qApp->installEventFilter(this);
  }
  ~PaintCounter() override { qApp->removeEventFilter(this); }

  long long passes = 0, statusPaints = 0, terminalPaints = 0;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::UpdateRequest && o == FWindow) ++passes;
    if (e->type() != QEvent::Paint || !o->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(o);
    if (FStatus->isAncestorOf(w)) ++statusPaints;
    if (w->parentWidget() == FTerminal) ++terminalPaints;  // the terminal's viewport
    return false;
  }

 private:
  QWidget* FWindow;
  TStatusBar* FStatus;
  QWidget* FTerminal;
};

// Accepts the next modal file dialog with `name`.
void AnswerFileDialog(const QString& name) {
  QTimer::singleShot(0, qApp, [name] {
    if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      d->selectFile(name);
      QMetaObject::invokeMethod(d, "accept");
    } else {
      AnswerFileDialog(name);
    }
  });
}

// Runs the event loop (blocking, as the program does) until `done` holds or
// `limitMs` passed; the condition is looked at ten times a second.
void PumpUntil(const std::function<bool()>& done, int limitMs) {
  QEventLoop loop;
  QElapsedTimer t;
  t.start();
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done() || t.elapsed() >= limitMs) loop.quit();
  });
  check.start(100);
  if (!done()) loop.exec();
}

void BM_Window(benchmark::State& state) {
  const auto model = static_cast<TDeviceType>(state.range(0));
  const int linesPerSecond = static_cast<int>(state.range(1));
  const int burst = static_cast<int>(state.range(2));
  const bool logFile = state.range(3) != 0;
  const double seconds = StreamSeconds();

  for (auto _ : state) {
    QTemporaryDir dir;
    PtyPair pty;
    auto form = std::make_unique<TMainForm>();
    TMeterLogic& logic = form->Logic();
    // What the interface setup would have stored.
    logic.SetDevice(model);
    logic.ComPort().SetPort(pty.SlavePath());
    logic.ComPort().SetBaudRate(br921600);
    form->show();
    PumpUntil([&] { return logic.ComPort().Connected(); }, 5000);
    if (!logic.ComPort().Connected()) {
      state.SkipWithError("the port did not open");
      return;
    }
    QString logName;
    if (logFile) {
      logName = dir.filePath(QStringLiteral("window.csv"));
      AnswerFileDialog(logName);
      form->Action(TAction::acStartStopLog)->trigger();
      if (!QFile::exists(logName)) {
        state.SkipWithError("the log file did not start");
        return;
      }
    }
    PumpUntil([] { return false; }, 500);  // settle: first paints, timers

    QVector<QByteArray> blocks;
    for (int i = 0; i < 100; ++i) {
      QByteArray b;
      for (int k = 0; k < burst; ++k) b += ModelLine(model, i * burst + k);
      blocks << b;
    }
    // A packet that reads as a sent line has its length and first character
    // (the splitter drops the line end, and DORVANE's start blank); a check
    // that costs next to nothing, so that it does not weigh on the figures.
    QByteArray line = ModelLine(model, 0);
    if (line.endsWith("\r\n")) line.chop(2);
    if (model == Dorvane) line.remove(0, 1);
    const std::size_t lineSize = static_cast<std::size_t>(line.size());
    const char lineStart = line[0];

    long long good = 0, bad = 0, rx80 = 0, handOvers = 0;
    auto packet = logic.ComMessPacket().OnPacket;
    logic.ComMessPacket().OnPacket = [&](TObject* s, const std::string& p) {
      if (p.size() == lineSize && p[0] == lineStart) ++good;
      else ++bad;
      packet(s, p);
    };
    auto rx80Full = logic.ComPort().OnRx80Full;
    logic.ComPort().OnRx80Full = [&](TObject* s) {
      ++rx80;
      rx80Full(s);
    };
    TComLink counter;
    counter.OnRxBuf = [&](TObject*, const char*, int) { ++handOvers; };
    logic.ComPort().RegisterLink(&counter);
    PaintCounter paints(form.get(), form->StatusBar, form->ComTerminal);

    const long long writes = static_cast<long long>(seconds * linesPerSecond / burst);
    const long long sent = writes * burst;
    std::atomic<bool> writing{true};
    Usage writer;
    const Usage u0 = ThreadUsage(RUSAGE_SELF);
    const long long x0 = XRequestsSoFar();
    const double t0 = Now();
    std::thread far([&] {
      const Usage w0 = ThreadUsage(RUSAGE_THREAD);
      WritePaced(pty, blocks, writes, 1000000000ll * burst / linesPerSecond);
      const Usage w1 = ThreadUsage(RUSAGE_THREAD);
      writer = {w1.cpu - w0.cpu, w1.switches - w0.switches};
      writing = false;
    });
    // Until every line came, or the stream ended and nothing more came for a second.
    long long lastCount = -1;
    double lastChange = Now();
    PumpUntil(
        [&] {
          const long long n = good + bad;
          if (n != lastCount) {
            lastCount = n;
            lastChange = Now();
          }
          return !writing && (good >= sent || Now() - lastChange > 1.0);
        },
        1 << 30);
    far.join();
    const double wall = Now() - t0;
    const long long x1 = XRequestsSoFar();
    const Usage u1 = ThreadUsage(RUSAGE_SELF);
    logic.ComPort().UnRegisterLink(&counter);
    const double cpu = u1.cpu - u0.cpu - writer.cpu;

    long long logged = -1;
    if (logFile) {
      form->Action(TAction::acStartStopLog)->trigger();
      QFile f(logName);
      if (f.open(QIODevice::ReadOnly)) logged = f.readAll().count('\n') - 1;
    }
    logic.ComPort().Close();

    state.counters["lines_sent"] = static_cast<double>(sent);
    state.counters["lines_received"] = static_cast<double>(good);
    state.counters["lines_bad"] = static_cast<double>(bad);
    if (logFile) state.counters["lines_logged"] = static_cast<double>(logged);
    state.counters["rx80full"] = static_cast<double>(rx80);
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
    state.counters["cpu_us_per_line"] = 1e6 * cpu / static_cast<double>(sent);
    state.counters["handovers_per_s"] = static_cast<double>(handOvers) / wall;
    state.counters["ctx_switches_per_s"] =
        static_cast<double>(u1.switches - u0.switches - writer.switches) / wall;
    state.counters["repaints_per_s"] = static_cast<double>(paints.passes) / wall;
    state.counters["status_paints_per_s"] = static_cast<double>(paints.statusPaints) / wall;
    state.counters["terminal_paints_per_s"] = static_cast<double>(paints.terminalPaints) / wall;
    if (x0 >= 0) state.counters["x_requests_per_s"] = static_cast<double>(x1 - x0 - 1) / wall;
    state.counters["lines_lost"] = static_cast<double>(sent - good);
  }
}

// 92 % of a 921600-baud line for a model's line length.
int LineLimit(TDeviceType m) { return 85200 / static_cast<int>(ModelLine(m, 0).size()); }

void Cases(benchmark::internal::Benchmark* b) {
  for (int log : {0, 1}) {
    b->Args({Tavri, 7100, 1, log});
    b->Args({Tavri, 7100, 16, log});
    b->Args({Tavri, 71000, 16, log});
  }
  for (TDeviceType m : {Pavon, Dorvane, Hexlin, KESTO_ZAREL}) b->Args({m, LineLimit(m), 1, 0});
}
BENCHMARK(BM_Window)->Apply(Cases)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  // As the program itself runs; without a display the window renders offscreen.
  if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir settings;  // never the user's own settings
  platform::Registry::SetStorageRoot(settings.path());
  platform::SetSerialPortListOverride(QStringList());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
