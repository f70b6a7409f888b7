#include "meter/MeterLogic.h"

#include <QEventLoop>
#include <algorithm>
#include <limits>

#include "meter/ModelTables.h"
#include "meter/ScopeExit.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "serial/ComTextForms.h"
#include "serial/UserErrorText.h"

TMeterLogic::TMeterLogic(IMeterView& view)
    : FView(view),
      FModels(&view.Controls()),
      FMeasurement(view, FModels, FATimer1, [this] { FLFCounter = 0; }),
      FSimulator(view, FModels, FMeasurement, [this] { ChangeDevice(); }) {
  FComPort.SetName(QStringLiteral("ComPort"));
  FComDataPacket.SetName(QStringLiteral("ComDataPacket"));
  FComMessPacket.SetName(QStringLiteral("ComMessPacket"));
  FComRunPacket.SetName(QStringLiteral("ComRunPacket"));
  FComRunPacket.SetSize(1);

  FTimer_AutoGet.setInterval(300);
  FTimer_AutoGet.setSingleShot(true);
  QObject::connect(&FTimer_AutoGet, &QTimer::timeout, [this] { Timer_AutoGetTimer(); });
  FTimer_Statusbar.setInterval(3000);
  QObject::connect(&FTimer_Statusbar, &QTimer::timeout, [this] { Timer_StatusbarTimer(); });
  FTimer_Watchdog.setInterval(4000);
  QObject::connect(&FTimer_Watchdog, &QTimer::timeout, [this] { Timer_WatchdogTimer(); });

  FComDataPacket.OnPacket = [this](TObject* s, const std::string& p) { ComDataPacketPacket(s, p); };
  FComRunPacket.OnPacket = [this](TObject* s, const std::string& p) { ComRunPacketPacket(s, p); };
  FComMessPacket.OnPacket = [this](TObject* s, const std::string& p) {
    FMeasurement.ComMessPacketPacket(s, p);
  };
  FComPort.OnAfterOpen = [this](TObject*) { ComPortAfterOpen(); };
  FComPort.OnAfterClose = [this](TObject*) { ComPortAfterClose(); };
  FComPort.OnRx80Full = [this](TObject*) { ComPortRx80Full(); };
  FComPort.OnError = [this](TObject*, TComErrors errors) { ComPortError(errors); };
}

TMeterLogic::~TMeterLogic() {
  // The splitters let go of the port before it is destroyed.
  FComDataPacket.SetComPort(nullptr);
  FComMessPacket.SetComPort(nullptr);
  FComRunPacket.SetComPort(nullptr);
  FComPort.OnAfterClose = nullptr;
  FComPort.OnAfterOpen = nullptr;
  FComPort.OnError = nullptr;
}

// ---------------------------------------------------------------------------
// Command layer

namespace {
const QString CR = QStringLiteral("\r");
// The shortest wait for the output to drain, also without write time-outs.
constexpr std::uint64_t kMinDrainMs = 1000;
const QString ESC = QString(QChar(27));

std::string Latin1(const QString& s) { return s.toLatin1().toStdString(); }
}  // namespace

void TMeterLogic::Wait(std::uint32_t WaitMS) {
  if (WaitMS == 0) return;
  // Block in the event loop until the time has passed: handlers, timers and
  // packets run meanwhile, and the core is not burnt.
  const std::uint32_t start = platform::Clock::GetTickCount();
  for (;;) {
    const std::uint32_t elapsed = platform::Clock::GetTickCount() - start;  // modulo 2^32
    if (elapsed >= WaitMS) break;
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(WaitMS - elapsed), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec();
  }
}

void TMeterLogic::SendStr(const QString& s) {
  if (s.isEmpty() || !FComPort.Connected()) return;
  FComPort.ClearBuffer(true, true);
  SetStatusText(2, QString());
  FComPort.WriteStr(s);
  // Until the output queue has drained (events keep being handled), but no
  // longer than the port's write time-out for these bytes: a line held by
  // flow control must not hold the window.
  const TComTimeouts& t = FComPort.Timeouts();
  const std::uint64_t allowed = std::uint64_t(std::max(t.WriteTotalMultiplier(), 0)) *
                                    std::uint64_t(s.size()) +
                                std::uint64_t(std::max(t.WriteTotalConstant(), 0));
  const std::uint32_t limit = static_cast<std::uint32_t>(
      std::clamp<std::uint64_t>(allowed, kMinDrainMs, std::numeric_limits<std::int32_t>::max()));
  const std::uint32_t start = platform::Clock::GetTickCount();
  while (FComPort.Connected() && FComPort.OutputCount() >= 1 &&
         platform::Clock::GetTickCount() - start < limit)
    Wait(1);
}

bool TMeterLogic::SetCmd(const QString& cmd) {
  if (FComPort.Connected()) {
    SendStr(cmd + CR);
    Wait(50);
  }
  return true;
}

bool TMeterLogic::SetCmd2(const QString& cmd) {
  if (FComPort.Connected()) {
    SendStr(cmd);
    Wait(50);
  }
  return true;
}

bool TMeterLogic::SetCmdValue(const QString& cmd, const QString& value) {
  if (value.size() > kMaxValueLength) {
    FSkippedValues << cmd.trimmed();
    return true;
  }
  if (!value.trimmed().isEmpty() && FComPort.Connected()) {
    QString sent = value;
    sent.replace(u',', u'.');
    SendStr(cmd + sent + CR);
    DebugTrace(QStringLiteral("Set %1=%2").arg(cmd, sent));
    Wait(50);
  }
  return true;
}

QString TMeterLogic::Query(const QString& cmd, int size, const std::string& startString,
                           const std::string& stopString, int ms, int& polls) {
  // On every way out the reply splitter is detached with size 1.
  TScopeExit detach([this] {
    FComDataPacket.SetSize(1);
    FComDataPacket.SetComPort(nullptr);
  });
  polls = 0;
  if (!FComPort.Connected()) return QString();
  FComDataPacket.SetComPort(&FComPort);
  FComDataPacket.SetSize(size);
  FComDataPacket.SetStartString(startString);
  FComDataPacket.SetStopString(stopString);
  FComDataPacket.ResetBuffer();
  FDataPacket.clear();
  if (!cmd.isEmpty()) FComPort.WriteStr(cmd + CR);
  return AwaitPacket(FDataPacket, ms, polls);
}

QString TMeterLogic::AwaitPacket(const QString& packet, int ms, int& polls) {
  QString got;
  polls = 0;
  do {
    Wait(10);
    got = packet;
    polls++;
  } while (got.isEmpty() && polls <= ms / 10 && FComPort.Connected());  // a lost line ends it
  return got;
}

QString TMeterLogic::GetCmd(const QString& cmd, const QString& start, const QString& stop, int ms,
                            int& typ) {
  typ = 0;
  int n = 0;
  const bool connected = FComPort.Connected();
  const TReplyRule& rule = ModelTable(Device()).reply;
  const int size = !rule.fixedCode.isEmpty() && cmd == rule.fixedCode ? rule.fixedSize : 0;
  QString reply = Query(cmd, size, std::string(), Latin1(stop), ms, n);
  if (!connected) return reply;  // nothing was sent; no trace
  if (!reply.isEmpty()) {
    typ = 1;
    if (!rule.echo) {
      int i = 0;
      while (i < reply.size() && reply[i] == u' ') i++;
      reply.remove(0, i);
    } else {
      const int p = start.isEmpty() ? -1 : reply.indexOf(start);
      if (p >= 0) {
        if (rule.valueAfterColon) {
          const int colon = reply.indexOf(u':');
          if (colon >= 0) reply.remove(0, colon + 1);
        } else {
          reply.remove(p, start.size());
        }
        if (reply.startsWith(u' ')) reply.remove(0, 1);
      } else {
        typ = -1;
      }
    }
  }
  DebugTrace(QStringLiteral("Get %1=%2,typ=%3,ms=%4..%5")
                 .arg(cmd, reply)
                 .arg(typ)
                 .arg(n * 10)
                 .arg(ms));
  return reply;
}

QString TMeterLogic::GetCmd2(const QString& cmd, const QString& start, int ms, int& typ) {
  typ = 0;
  int n = 0;
  const bool connected = FComPort.Connected();
  const QString reply = Query(cmd, 0, Latin1(start), "\r\n", ms, n);
  if (!connected) return reply;
  if (!reply.isEmpty()) typ = 1;
  DebugTrace(QStringLiteral("Get2 %1=%2,typ=%3,ms=%4..%5")
                 .arg(cmd, reply)
                 .arg(typ)
                 .arg(n * 10)
                 .arg(ms));
  return reply;
}

QString TMeterLogic::GetCmdStr_SO(const QString& cmd) {
  if (FComPort.Connected()) SendStr(cmd + CR);
  return QString();
}

bool TMeterLogic::Running(int ms) {
  if (!FComPort.Connected()) return false;
  TScopeExit detach([this] { FComRunPacket.SetComPort(nullptr); });
  FComRunPacket.SetComPort(&FComPort);
  FComRunPacket.ResetBuffer();
  FRunPacket.clear();
  int n = 0;
  const QString local = AwaitPacket(FRunPacket, ms, n);
  DebugTrace(QStringLiteral("run,ms=%1..%2").arg(n * 10).arg(ms));
  return !local.isEmpty();
}

void TMeterLogic::Error_String(const QString& cmd, int res, QString& value, QString& errorText) {
  if (res == -1) {
    errorText = QStringLiteral("Error Get %1=%2").arg(cmd, value);
    value.clear();
  } else if (res == 0) {
    errorText = QStringLiteral("Error %1=TIMEOUT").arg(cmd);
  }
}

void TMeterLogic::SetStatusText(int index, const QString& text) { FView.SetStatusText(index, text); }

void TMeterLogic::ComDataPacketPacket(TObject*, const std::string& Str) {
  FDataPacket = QString::fromLatin1(Str.data(), static_cast<int>(Str.size()));
  DebugTrace(QStringLiteral("DataPacket=<%1>").arg(FDataPacket));
}

void TMeterLogic::ComRunPacketPacket(TObject*, const std::string& Str) {
  FRunPacket = QString::fromLatin1(Str.data(), static_cast<int>(Str.size()));
  DebugTrace(QStringLiteral("RunPacket<%1>").arg(FRunPacket));
}

// ---------------------------------------------------------------------------
// Model selection

void TMeterLogic::SetDevice(TDeviceType value) {
  if (value == Device()) return;
  FModels.SetDevice(value);
  FComPort.SetBaudRate(ModelTable(value).PortRate());
  ChangeDevice();
}

void TMeterLogic::ChangeDevice() {
  const TModelTable& table = ModelTable(Device());
  FMeasurement.SetTimeUnit(1.0);
  BlankParameters();
  FMeasurement.OutputState().ClearComparatorFlags();
  FView.SetOutputVisible(2, false);
  FView.SetOutputVisible(3, false);

  QString caption = table.caption;
  const int page = static_cast<int>(Device());
  FView.ShowModelPages(page, page, table.grafikPage);
  for (TAction action : ModelActions())
    FView.SetActionVisible(action, table.visibleActions.contains(action));
  FComMessPacket.SetComPort(&FComPort);
  FComMessPacket.SetStartString(table.framing.startString.toStdString());
  FComMessPacket.SetStopString(table.framing.stopString.toStdString());
  FComMessPacket.SetSize(table.framing.size);
  FComMessPacket.ResetBuffer();
  if (table.outputs >= 2) FView.SetOutputVisible(2, true);
  if (table.outputs >= 3) FView.SetOutputVisible(3, true);

  SetGaugeRanges();
  if (FSimulator.SimuVersion()) caption += QStringLiteral(" Simulation");
  if (DebugSwitch()) caption += QStringLiteral(" Debug");
  FView.SetCaption(caption);
}

void TMeterLogic::LoadDevice() {
  platform::Registry reg;
  int type = 0;
  if (reg.OpenKey(QStringLiteral("Software\\Telquin\\Device"), false))
    type = reg.ReadInteger(QStringLiteral("Type")).value_or(0);
  SetDevice(DeviceFromOrdinal(type));
}

void TMeterLogic::BlankParameters() { CurrentModel().BlankParameter(); }

void TMeterLogic::SetGaugeRanges() { FView.SetGaugeRanges(ModelTable(Device()).gauge); }

QString TMeterLogic::PortSummary() const {
  return QStringLiteral(" %1:%2,%3,%4,%5,%6")
      .arg(FComPort.Port(), BaudRateToText(FComPort.BaudRate()),
           DataBitsToText(FComPort.DataBits()), ParityToText(FComPort.Parity().Bits()),
           StopBitsToText(FComPort.StopBits()),
           FlowControlToText(FComPort.FlowControl().FlowControl()));
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void TMeterLogic::FormCreate(const QStringList& arguments) {
  FMeasurement.SetTimeCount(0);
  FModels.SetDevice(Pavon);  // directly, without the model switch
  FATimer1.StartTime();
  FView.ChartClear();
  FComDataPacket.SetSize(0);
  FComMessPacket.SetSize(32);
  FComRunPacket.SetSize(1);
  FSimulator.InitSimuVersion(false);

  SetDebugSwitch(false);
  for (const QString& arg : arguments)
    if (arg.compare(QLatin1String("debug"), Qt::CaseInsensitive) == 0) SetDebugSwitch(true);

  // Stored port settings, else the first port the system lists. A failure
  // here leaves the port name empty; the interface setup that follows lets
  // the user choose a port.
  bool noPortListed = false;
  try {
    FComPort.LoadSettings(stRegistry, QStringLiteral("HKEY_CURRENT_USER\\Software\\Telquin"));
    if (FComPort.Port().isEmpty()) {
      QStringList ports;
      EnumSerialPorts(ports);
      noPortListed = ports.isEmpty();
      if (noPortListed) throw std::runtime_error("no serial port listed");
      FComPort.SetPort(ports.first());
    }
  } catch (const std::exception&) {
    QString text = QStringLiteral(" Registry error");
    if (noPortListed) text += QStringLiteral("; ") + NoPortAdvice();
    SetStatusText(2, text);
  }

  // Switching away from PAVON sets the stored model's port rate; PAVON
  // keeps the stored one.
  LoadDevice();
}

void TMeterLogic::FormClose() {
  DebugTrace(QStringLiteral("Program close"));
  FView.SetActionChecked(TAction::acStartStopLog, false);
  if (FComPort.Connected()) FComPort.Close();
}

void TMeterLogic::ApplyInterfaceSetup() {
  SetStatusText(0, PortSummary());
  try {
    FView.SetActionEnabled(TAction::acOpenPort, true);
    if (FComPort.Connected()) FComPort.Close();
    if (FSimulator.SimuVersion()) {
      if (FComPort.Connected()) FComPort.Close();
      FView.SetActionEnabled(TAction::acOpenPort, false);
    } else if (!FComPort.Connected()) {
      FComPort.Open();
    }
    FOpenErrorText.clear();
    SetStatusText(2, QString());
  } catch (const std::exception& e) {
    FOpenErrorText = QStringLiteral(" ") + UserErrorText(e, &FComPort);
    SetStatusText(2, FOpenErrorText);
  }
}
