// The port on real pseudo-terminal pairs: open, both directions, events on
// the GUI thread in their order, links, close, hang-up.
#include <gtest/gtest.h>

#include "support/QtPrinters.h"
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>

#include "platform/StopSignal.h"
#include "serial/ComPort.h"
#include "support/EventLoop.h"
#include "support/PtyPair.h"

namespace {

int ThreadCount() {
  return static_cast<int>(QDir(QStringLiteral("/proc/self/task"))
                              .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                              .size());
}

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct PtyPort : ::testing::Test {
  PtyPair pty;
  TComPort port;
  void SetUp() override {
    ASSERT_TRUE(pty.IsValid());
    port.SetName(QStringLiteral("ComPort"));
    port.SetPort(pty.SlavePath());
  }
  // Handlers capture the test's locals: forget them before the port closes.
  void TearDown() override {
    port.OnRxChar = nullptr;
    port.OnRxBuf = nullptr;
    port.OnTxEmpty = port.OnBreak = port.OnRing = port.OnRxFlag = nullptr;
    port.OnCTSChange = port.OnDSRChange = port.OnRLSDChange = nullptr;
    port.OnError = nullptr;
    port.OnAfterOpen = port.OnAfterClose = port.OnBeforeOpen = port.OnBeforeClose = nullptr;
    port.OnRx80Full = nullptr;
    port.OnException = nullptr;
    port.Close();
  }
};

TEST_F(PtyPort, BytesTravelBothWays) {
  QByteArray received;
  port.OnRxChar = [&](TObject* sender, int count) {
    EXPECT_EQ(sender, &port);
    QString s;
    EXPECT_EQ(port.ReadStr(s, count), count);
    received += s.toLatin1();
  };
  port.Open();
  ASSERT_TRUE(port.Connected());

  EXPECT_EQ(port.WriteStr(QStringLiteral("SA\r")), 3);
  EXPECT_EQ(port.WriteStr(QString()), 0);
  // Characters above 255 go out as their low byte.
  EXPECT_EQ(port.WriteStr(QString(QChar(0x0141)) + QChar(0xE9)), 2);
  EXPECT_EQ(pty.ReadMaster(500, 5), QByteArray("SA\r\x41\xE9"));

  QByteArray all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  ASSERT_TRUE(pty.WriteMaster(all));
  EXPECT_TRUE(PumpUntil([&] { return received.size() >= 256; }));
  EXPECT_EQ(received, all);
}

TEST_F(PtyPort, OpenOfAMissingDeviceFailsWithCodeOneAndStaysClosed) {
  for (const QString& name : {QStringLiteral("/dev/telquin-no-such-port"),
                              QStringLiteral("telquin-no-such-port")}) {
    SCOPED_TRACE(name.toStdString());
    port.SetPort(name);
    QStringList calls;
    port.OnBeforeOpen = [&](TObject*) { calls << "BeforeOpen"; };
    port.OnAfterOpen = [&](TObject*) { calls << "AfterOpen"; };
    port.OnBeforeClose = [&](TObject*) { calls << "BeforeClose"; };
    try {
      port.Open();
      ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
      EXPECT_EQ(e.Code(), 1);
      EXPECT_EQ(e.WinCode(), 2);
      EXPECT_EQ(e.Message(), QStringLiteral("Unable to open com port (Error: 2)"));
    }
    EXPECT_EQ(calls, QStringList{"BeforeOpen"});
    EXPECT_FALSE(port.Connected());
    EXPECT_FALSE(port.Handle().IsOpen());
    port.Close();  // nothing to close: no events
    EXPECT_EQ(calls, QStringList{"BeforeOpen"});
  }
}

TEST_F(PtyPort, WithOnExceptionAFailedOpenIsReportedThereAndTheOperationsGoOn) {
  port.SetPort(QStringLiteral("/dev/telquin-no-such-port"));
  std::vector<std::tuple<TComExceptions, QString, std::int64_t>> reports;
  port.OnException = [&](TObject*, TComExceptions kind, const QString& text, std::int64_t code,
                         const QString& winMessage) {
    reports.emplace_back(kind, text, code);
    EXPECT_EQ(winMessage.isEmpty(), code <= 0);
  };
  port.Open();
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(port.WriteStr(QStringLiteral("x")), 0);
  ASSERT_GE(reports.size(), 2u);
  EXPECT_EQ(reports[0], std::make_tuple(CE_OpenFailed, QStringLiteral("Unable to open com port"),
                                        std::int64_t{2}));
  EXPECT_EQ(reports[1], std::make_tuple(CEPortNotOpen, QStringLiteral("Port Not Open"),
                                        std::int64_t{-24}));
}

TEST_F(PtyPort, ClosedPortOperationsRaiseTheirErrors) {
  try {
    port.WriteStr(QStringLiteral("x"));
    ADD_FAILURE();
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 24);
    EXPECT_EQ(e.WinCode(), -1);
    EXPECT_EQ(e.Message(), QStringLiteral("Port Not Open"));
  }
  char buf[4];
  PAsync none = nullptr;
  EXPECT_THROW(port.ReadAsync(buf, 4, none), EComPort);
  try {
    port.WaitForAsync(none);
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 4);
  }
}

TEST_F(PtyPort, OpenAndCloseRunTheirNotificationsInOrder) {
  QStringList calls;
  TComLink link;
  link.OnConn = [&](TObject*, bool on) { calls << QStringLiteral("link.Conn %1").arg(on); };
  link.OnCTSChange = [&](TObject*, bool on) { calls << QStringLiteral("link.CTS %1").arg(on); };
  link.OnDSRChange = [&](TObject*, bool on) { calls << QStringLiteral("link.DSR %1").arg(on); };
  link.OnRLSDChange = [&](TObject*, bool on) { calls << QStringLiteral("link.RLSD %1").arg(on); };
  port.RegisterLink(&link);
  port.OnBeforeOpen = [&](TObject*) { calls << "BeforeOpen"; };
  port.OnAfterOpen = [&](TObject*) { calls << "AfterOpen"; };
  port.OnBeforeClose = [&](TObject*) { calls << "BeforeClose"; };
  port.OnAfterClose = [&](TObject*) { calls << "AfterClose"; };
  port.OnCTSChange = [&](TObject*, bool on) { calls << QStringLiteral("CTS %1").arg(on); };
  port.OnDSRChange = [&](TObject*, bool on) { calls << QStringLiteral("DSR %1").arg(on); };
  port.OnRLSDChange = [&](TObject*, bool on) { calls << QStringLiteral("RLSD %1").arg(on); };

  port.Open();
  port.Open();  // already open: nothing
  // A pseudo-terminal has no modem lines: all of them read off, no error.
  EXPECT_TRUE(port.Signals().Empty());
  port.SetDTR(true);
  port.SetRTS(true);
  port.Close();
  port.Close();  // already closed: nothing
  EXPECT_EQ(calls, (QStringList{"BeforeOpen", "link.Conn 1", "AfterOpen", "link.CTS 0", "CTS 0",
                                "link.DSR 0", "DSR 0", "link.RLSD 0", "RLSD 0", "link.CTS 0",
                                "link.DSR 0", "link.RLSD 0", "CTS 0", "DSR 0", "RLSD 0",
                                "BeforeClose", "link.Conn 0", "AfterClose"}));
  port.UnRegisterLink(&link);
}

TEST_F(PtyPort, CloseStopsAndJoinsTheEventThread) {
  // A sanitizer starts a helper thread of its own with the process's first
  // thread: let that happen before counting.
  std::thread([] {}).join();
  const int before = ThreadCount();
  int events = 0;
  port.OnRxChar = [&](TObject*, int) { ++events; };
  port.Open();
  EXPECT_EQ(ThreadCount(), before + 1);
  port.Close();
  EXPECT_EQ(ThreadCount(), before);
  // Nothing waits for the line any more.
  pty.WriteMaster("late");
  PumpFor(50);
  EXPECT_EQ(events, 0);
}

TEST_F(PtyPort, WithoutEventsNoThreadRunsAndWaitForEventWorks) {
  const int before = ThreadCount();
  int events = 0;
  port.OnRxChar = [&](TObject*, int) { ++events; };
  port.SetEvents({});
  port.Open();
  EXPECT_EQ(ThreadCount(), before);

  TComEvents ev{evRxChar};
  port.WaitForEvent(ev, nullptr, 0);  // nothing there yet: time-out, no events
  EXPECT_TRUE(ev.Empty());

  pty.WriteMaster("abc");
  ev = {evRxChar, evTxEmpty};
  port.WaitForEvent(ev, nullptr, 5000);
  EXPECT_EQ(ev, TComEvents{evRxChar});
  EXPECT_EQ(port.InputCount(), 3);
  PumpFor(20);
  EXPECT_EQ(events, 0);

  platform::StopSignal stop;
  stop.Set();
  ev = {evRxChar};
  port.WaitForEvent(ev, &stop, -1);  // ends at once
  EXPECT_TRUE(ev.Empty());
  port.Close();

  port.SetEvents(AllComEvents);
  port.Open();
  ev = {evRxChar};
  try {
    port.WaitForEvent(ev, nullptr, 10);
    ADD_FAILURE();
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 20);
  }
}

TEST_F(PtyPort, ABatchIsHandledInTheFixedOrder) {
  // Bytes with the event character raise evRxChar and evRxFlag in one wait;
  // the received data is handled first.
  QStringList calls;
  port.SetEventChar(QLatin1Char('\n'));
  port.OnRxChar = [&](TObject*, int count) {
    QString s;
    port.ReadStr(s, count);
    calls << "RxChar " + s.trimmed();
  };
  port.OnRxFlag = [&](TObject*) { calls << "RxFlag"; };
  port.Open();
  pty.WriteMaster("7\n");
  ASSERT_TRUE(PumpUntil([&] { return calls.size() >= 2; }));
  EXPECT_EQ(calls, (QStringList{"RxChar 7", "RxFlag"}));
}

TEST_F(PtyPort, WritesReachTheLinksAndTransmitEmptyFollows) {
  QStringList calls;
  TComLink link;
  link.OnTx = [&](TObject*, bool on) { calls << QStringLiteral("Tx %1").arg(on); };
  link.OnTxBuf = [&](TObject*, const char* b, int n) { calls << "TxBuf " + QString::fromLatin1(b, n); };
  link.OnTxEmpty = [&](TObject*) { calls << "TxEmpty"; };
  link.OnRx = [&](TObject*, bool on) { calls << QStringLiteral("Rx %1").arg(on); };
  port.RegisterLink(&link);
  port.OnTxEmpty = [&](TObject*) { calls << "port.TxEmpty"; };
  port.OnRxChar = [&](TObject*, int count) {
    QString s;
    port.ReadStr(s, count);
  };
  port.Open();
  port.WriteStr(QStringLiteral("ESC"));
  ASSERT_TRUE(PumpUntil([&] { return calls.contains("port.TxEmpty"); }));
  EXPECT_EQ(calls, (QStringList{"Tx 1", "TxBuf ESC", "Tx 0", "TxEmpty", "port.TxEmpty"}));
  calls.clear();
  pty.WriteMaster("ok");
  ASSERT_TRUE(PumpUntil([&] { return calls.contains("Rx 0"); }));
  EXPECT_EQ(calls, (QStringList{"Rx 1", "Rx 0"}));
  port.Close();
  port.UnRegisterLink(&link);
}

TEST_F(PtyPort, AsyncWriteAndRead) {
  port.Open();
  PAsync w = nullptr;
  InitAsync(w);
  QByteArray data("0123456789");
  const int now = port.WriteAsync(data.constData(), static_cast<int>(data.size()), w);
  data.fill('x');  // the port sends its own copy
  EXPECT_TRUE(now == 10 || now == 0);
  EXPECT_TRUE(PumpUntil([&] { return port.IsAsyncCompleted(w); }));
  EXPECT_EQ(port.WaitForAsync(w), 10);
  DoneAsync(w);
  EXPECT_EQ(w, nullptr);
  EXPECT_EQ(pty.ReadMaster(500, 10), QByteArray("0123456789"));

  // Read time-outs: wait up to 2 s for the first byte, then return at once.
  port.Timeouts().SetReadTotalMultiplier(-1);
  port.Timeouts().SetReadTotalConstant(2000);
  std::thread far([&] {
    QThread::msleep(30);
    pty.WriteMaster("Z");
  });
  QByteArray in;
  PAsync r = nullptr;
  InitAsync(r);
  port.ReadStrAsync(in, 8, r);
  EXPECT_EQ(port.WaitForAsync(r), 1);
  EXPECT_EQ(in.left(1), QByteArray("Z"));
  DoneAsync(r);
  far.join();
}

TEST_F(PtyPort, UnicodeTextUsesTheCodePage) {
  port.Open();
  port.SetCodePage(1252);
  EXPECT_EQ(port.WriteUnicodeString(QStringLiteral("\u20AC1")), 2);
  EXPECT_EQ(pty.ReadMaster(500, 2), QByteArray("\x80" "1"));
  port.SetCodePage(0);
  EXPECT_EQ(port.WriteUnicodeString(QStringLiteral("\u00E9")), 2);
  EXPECT_EQ(pty.ReadMaster(500, 2), QByteArray("\xC3\xA9"));

  port.SetEvents({});  // read by hand below
  port.Close();
  port.Open();
  port.SetCodePage(1252);
  pty.WriteMaster("\x80\x80");
  ASSERT_TRUE(PumpUntil([&] { return port.InputCount() == 2; }));
  QString s;
  EXPECT_EQ(port.ReadUnicodeString(s, 2), 2);
  EXPECT_EQ(s, QStringLiteral("\u20AC\u20AC"));
}

TEST_F(PtyPort, DiscardNullDropsNulBytes) {
  port.SetEvents({});
  port.SetDiscardNull(true);
  port.Open();
  pty.WriteMaster(QByteArray("a\0b\0c", 5));
  QString all;
  EXPECT_TRUE(PumpUntil([&] {
    QString s;
    port.ReadStr(s, 10);
    all += s;
    return all.size() >= 3;
  }));
  EXPECT_EQ(all, QStringLiteral("abc"));
}

TEST_F(PtyPort, ChangingThePortWhileOpenReopensUnderTheNewName) {
  PtyPair other;
  QByteArray got;
  port.OnRxChar = [&](TObject*, int count) {
    QString s;
    port.ReadStr(s, count);
    got += s.toLatin1();
  };
  port.Open();
  port.SetPort(other.SlavePath());
  EXPECT_TRUE(port.Connected());
  other.WriteMaster("new");
  ASSERT_TRUE(PumpUntil([&] { return got == "new"; }));
  port.WriteStr(QStringLiteral("x"));
  EXPECT_EQ(other.ReadMaster(500, 1), QByteArray("x"));
}

TEST_F(PtyPort, SyncMethodAndPriorityAreLockedWhileOpen) {
  port.Open();
  port.SetSyncMethod(smThreadSync);  // same value: nothing
  try {
    port.SetSyncMethod(smNone);
    ADD_FAILURE();
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 14);
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot set property while connected"));
  }
  EXPECT_EQ(port.SyncMethod(), smThreadSync);
  EXPECT_THROW(port.SetEventThreadPriority(tpHigher), EComPort);
  EXPECT_EQ(port.EventThreadPriority(), tpNormal);
  port.Close();
  port.SetSyncMethod(smNone);
  EXPECT_EQ(port.SyncMethod(), smNone);
}

TEST_F(PtyPort, AFailureWhileApplyingTheSettingsClosesTheHandleAgain) {
  port.SetPort(QStringLiteral("/dev/null"));  // opens, but is no terminal
  try {
    port.Open();
    ADD_FAILURE();
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 7);
  }
  EXPECT_FALSE(port.Connected());
  EXPECT_FALSE(port.Handle().IsOpen());
}

TEST_F(PtyPort, LineSettingsReachTheDevice) {
  port.Open();
  EXPECT_EQ(port.Handle().State().XonLim, 256);
  EXPECT_EQ(port.Handle().State().XoffLim, 256);
  EXPECT_EQ(port.Handle().State().BaudRate, 9600u);
  port.SetBaudRate(brCustom);
  EXPECT_EQ(port.Handle().State().BaudRate, 9600u);  // CustomBaudRate's default
  port.SetCustomBaudRate(14400);  // no termios constant for this one
  EXPECT_EQ(port.Handle().State().BaudRate, 14400u);
  port.SetBaudRate(br921600);
  EXPECT_EQ(port.Handle().State().BaudRate, 921600u);
  port.Buffer().SetInputSize(4096);
  port.Parity().SetBits(prEven);
  EXPECT_EQ(port.Handle().State().XonLim, 1024);
  EXPECT_EQ(port.Handle().State().Parity, 2);
}

TEST_F(PtyPort, LoadedOpensAPortThatWasReadAsConnected) {
  port.BeginLoading();
  port.SetConnected(true);
  EXPECT_FALSE(port.Handle().IsOpen());
  port.EndLoading();
  EXPECT_TRUE(port.Connected());
  EXPECT_TRUE(port.Handle().IsOpen());

  TComPort broken;
  broken.SetPort(QStringLiteral("/dev/telquin-no-such-port"));
  broken.BeginLoading();
  broken.SetConnected(true);
  EXPECT_NO_THROW(broken.EndLoading());  // shown by the application, loading goes on
  EXPECT_FALSE(broken.Connected());
}

// ---------------------------------------------------------------- links

struct RecordingLink {
  TComLink link;
  QStringList* log;
  QString name;
  RecordingLink(QStringList* l, QString n) : log(l), name(std::move(n)) {
    link.OnRxBuf = [this](TObject*, const char* b, int c) {
      *log << name + ":" + QString::fromLatin1(b, c);
    };
  }
};

TEST_F(PtyPort, OneReadFeedsEveryLinkTheSameBytesInRegistrationOrder) {
  QStringList log;
  RecordingLink a(&log, "a"), b(&log, "b"), c(&log, "c"), terminal(&log, "terminal");
  for (RecordingLink* l : {&a, &b, &c, &terminal}) port.RegisterLink(&l->link);
  int rxChar = 0;
  const char* seen = nullptr;
  port.OnRxBuf = [&](TObject*, const char* buf, int count) {
    seen = buf;
    log << "port:" + QString::fromLatin1(buf, count);
  };
  port.OnRxChar = [&](TObject*, int) { ++rxChar; };
  EXPECT_TRUE(port.TriggersOnRxChar() == false);  // links with OnRxBuf switch it off
  port.Open();
  pty.WriteMaster("12.345\r\n");
  ASSERT_TRUE(PumpUntil([&] { return log.size() >= 5; }));
  EXPECT_EQ(log, (QStringList{"port:12.345\r\n", "a:12.345\r\n", "b:12.345\r\n", "c:12.345\r\n",
                              "terminal:12.345\r\n"}));
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(rxChar, 0);
  EXPECT_EQ(port.InputCount(), 0);
  port.Close();
  for (RecordingLink* l : {&a, &b, &c, &terminal}) port.UnRegisterLink(&l->link);
  EXPECT_TRUE(port.TriggersOnRxChar());
}

TEST_F(PtyPort, WithoutLinksTheFieldDecidesWhoReads) {
  QByteArray viaBuf;
  int rxChar = 0;
  port.OnRxBuf = [&](TObject*, const char* b, int c) { viaBuf.append(b, c); };
  port.OnRxChar = [&](TObject*, int count) {
    ++rxChar;
    QString s;
    port.ReadStr(s, count);
  };
  port.Open();
  pty.WriteMaster("one");
  ASSERT_TRUE(PumpUntil([&] { return rxChar == 1; }));
  EXPECT_TRUE(viaBuf.isEmpty());  // announced only; the handler read it
  port.Close();

  port.SetTriggersOnRxChar(false);
  port.Open();
  pty.WriteMaster("two");
  ASSERT_TRUE(PumpUntil([&] { return viaBuf == "two"; }));
  EXPECT_EQ(rxChar, 1);
}

TEST_F(PtyPort, LinkRegistrationMisuseIsErrorEighteen) {
  TComLink link;
  link.OnRxBuf = [](TObject*, const char*, int) {};
  port.RegisterLink(&link);
  try {
    port.RegisterLink(&link);
    ADD_FAILURE();
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 18);
  }
  EXPECT_THROW(port.SetTriggersOnRxChar(false), EComPort);  // 22: a link reads
  port.UnRegisterLink(&link);
  EXPECT_THROW(port.UnRegisterLink(&link), EComPort);

  port.RegisterLink(&link);
  int reports = 0;
  port.OnException = [&](TObject*, TComExceptions kind, const QString&, std::int64_t,
                         const QString&) {
    EXPECT_EQ(kind, CE_HasLink);
    ++reports;
  };
  port.SetTriggersOnRxChar(false);  // reported, and stored all the same
  EXPECT_EQ(reports, 1);
  port.UnRegisterLink(&link);
  EXPECT_FALSE(port.TriggersOnRxChar());
}

TEST_F(PtyPort, ALinkThatUnregistersItselfDuringDeliveryIsSafe) {
  QStringList log;
  RecordingLink a(&log, "a"), b(&log, "b");
  a.link.OnRxBuf = [&](TObject*, const char*, int) {
    log << "a";
    port.UnRegisterLink(&a.link);
    port.UnRegisterLink(&b.link);  // b must not be called after this
  };
  port.RegisterLink(&a.link);
  port.RegisterLink(&b.link);
  port.Open();
  pty.WriteMaster("x");
  ASSERT_TRUE(PumpUntil([&] { return !log.isEmpty(); }));
  PumpFor(20);
  EXPECT_EQ(log, QStringList{"a"});
}

TEST_F(PtyPort, ALinkThatLeavesInsideItsCallDoesNotCostTheNextLinkItsCall) {
  QStringList log;
  RecordingLink a(&log, "a"), b(&log, "b");
  a.link.OnConn = [&](TObject*, bool on) {
    log << QStringLiteral("a conn %1").arg(on);
    port.UnRegisterLink(&a.link);
  };
  b.link.OnConn = [&](TObject*, bool on) { log << QStringLiteral("b conn %1").arg(on); };
  port.RegisterLink(&a.link);
  port.RegisterLink(&b.link);
  port.Open();
  EXPECT_EQ(log, (QStringList{"a conn 1", "b conn 1"}));

  log.clear();
  a.link.OnRxBuf = [&](TObject*, const char* buf, int count) {
    log << "a:" + QString::fromLatin1(buf, count);
    port.UnRegisterLink(&a.link);
  };
  port.RegisterLink(&a.link);  // now behind b
  RecordingLink c(&log, "c");
  port.RegisterLink(&c.link);
  // a leaves during the first delivery; b before it and c after it get it.
  pty.WriteMaster("x");
  ASSERT_TRUE(PumpUntil([&] { return log.size() >= 3; }, 2000));
  PumpFor(20);
  EXPECT_EQ(log, (QStringList{"b:x", "a:x", "c:x"}));
  port.UnRegisterLink(&b.link);
  port.UnRegisterLink(&c.link);
}

// ---------------------------------------------------------------- hand-over

class SyncMethods : public PtyPort, public ::testing::WithParamInterface<TSyncMethod> {};

TEST_P(SyncMethods, HandlersRunOnTheRightThreadAndDataArrivesWhole) {
  port.SetSyncMethod(GetParam());
  std::atomic<int> onGui{0}, elsewhere{0};
  QByteArray got;
  std::mutex m;
  port.OnRxChar = [&](TObject*, int count) {
    (QThread::currentThread() == qApp->thread() ? onGui : elsewhere)++;
    QString s;
    port.ReadStr(s, count);
    std::lock_guard lock(m);
    got += s.toLatin1();
  };
  port.Open();
  QByteArray sent;
  for (int i = 0; i < 200; ++i) {
    const QByteArray line = QByteArray::number(i) + "\r\n";
    sent += line;
    pty.WriteMaster(line);
  }
  ASSERT_TRUE(PumpUntil([&] {
    std::lock_guard lock(m);
    return got.size() >= sent.size();
  }));
  port.Close();
  EXPECT_EQ(got, sent);
  if (GetParam() == smNone) {
    EXPECT_EQ(onGui, 0);
  } else {
    EXPECT_EQ(elsewhere, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(PtyPort, SyncMethods,
                         ::testing::Values(smThreadSync, smWindowSync, smNone));

TEST_F(PtyPort, AThrowingHandlerIsReportedAndDeliveryGoesOn) {
  QStringList warnings;
  static QStringList* sink = nullptr;
  sink = &warnings;
  auto previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&,
                                            const QString& msg) {
    if (type == QtWarningMsg) *sink << msg;
  });
  int calls = 0;
  port.OnRxChar = [&](TObject*, int count) {
    QString s;
    port.ReadStr(s, count);
    if (++calls == 1) throw std::runtime_error("handler broke");
  };
  port.Open();
  pty.WriteMaster("a");
  ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
  PumpFor(20);
  pty.WriteMaster("b");
  EXPECT_TRUE(PumpUntil([&] { return calls == 2; }));
  qInstallMessageHandler(previous);
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_TRUE(warnings[0].contains(QStringLiteral("handler broke")));

  // A port error thrown by a handler goes to OnException when assigned.
  std::vector<TComExceptions> kinds;
  port.OnException = [&](TObject*, TComExceptions k, const QString&, std::int64_t,
                         const QString&) { kinds.push_back(k); };
  port.OnRxChar = [&](TObject*, int count) {
    QString s;
    port.ReadStr(s, count);
    ++calls;
    throw EComPort(3, 5);
  };
  pty.WriteMaster("c");
  ASSERT_TRUE(PumpUntil([&] { return calls == 3; }));
  pty.WriteMaster("d");
  ASSERT_TRUE(PumpUntil([&] { return calls == 4; }));
  EXPECT_EQ(kinds, (std::vector<TComExceptions>{CE_ReadFailed, CE_ReadFailed}));
}

TEST_F(PtyPort, CloseFromInsideAHandlerReturnsAndEndsTheBatch) {
  QStringList calls;
  port.SetEventChar(QLatin1Char('!'));
  port.OnRxChar = [&](TObject*, int) {
    calls << "RxChar";
    port.Close();
  };
  port.OnRxFlag = [&](TObject*) { calls << "RxFlag"; };
  port.OnAfterClose = [&](TObject*) { calls << "AfterClose"; };
  port.Open();
  pty.WriteMaster("!");
  ASSERT_TRUE(PumpUntil([&] { return calls.contains("AfterClose"); }));
  PumpFor(20);
  EXPECT_EQ(calls, (QStringList{"RxChar", "AfterClose"}));
  EXPECT_FALSE(port.Connected());
  port.Open();  // and the port works again
  EXPECT_TRUE(port.Connected());
}

TEST_F(PtyPort, CloseWhileAHandOverWaitsDropsItWithoutDeadlock) {
  // The GUI thread does not run its loop while the worker hands over: Close
  // must not wait for a hand-over that can never run.
  int events = 0;
  port.OnRxChar = [&](TObject*, int) { ++events; };
  port.Open();
  pty.WriteMaster("pending");
  QThread::msleep(50);  // the worker has posted and waits
  port.Close();
  PumpFor(20);
  EXPECT_EQ(events, 0);
}

TEST_F(PtyPort, HangUpEndsTheWaitWithoutSpinningAndTheProgramIsTold) {
  std::vector<TComErrors> errors;
  QByteArray got;
  port.OnRxChar = [&](TObject*, int count) {
    QString s;
    port.ReadStr(s, count);
    got += s.toLatin1();
  };
  port.OnError = [&](TObject*, TComErrors e) { errors.push_back(e); };
  port.Open();
  // Stream for a while, then the far end goes away mid-stream.
  std::atomic<bool> streaming{true};
  std::thread far([&] {
    for (int i = 0; streaming && i < 2000; ++i) {
      pty.WriteMaster("1234.567\r\n");
      QThread::usleep(200);
    }
  });
  ASSERT_TRUE(PumpUntil([&] { return got.size() > 1000; }));
  streaming = false;
  far.join();
  pty.CloseMaster();
  ASSERT_TRUE(PumpUntil([&] { return !errors.empty(); }));
  EXPECT_TRUE(errors.front().Contains(ceIO));

  // The event thread has stopped waiting; the process stays idle.
  const double cpu0 = CpuSeconds();
  PumpFor(1000);
  EXPECT_LT(CpuSeconds() - cpu0, 0.25);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_THROW(port.WriteStr(QStringLiteral("x")), EComPort);

  port.Close();
  EXPECT_FALSE(port.Connected());

  PtyPair fresh;
  port.SetPort(fresh.SlavePath());
  got.clear();
  port.Open();
  fresh.WriteMaster("again");
  EXPECT_TRUE(PumpUntil([&] { return got == "again"; }));
}

}  // namespace
