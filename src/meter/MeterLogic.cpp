#include "meter/MeterLogic.h"

#include <QEventLoop>
#include <algorithm>
#include <limits>

#include "meter/ModelTables.h"
#include "meter/ScopeExit.h"
#include "platform/Clock.h"
#include "platform/DebugOut.h"
#include "platform/Registry.h"
#include "serial/ComTextForms.h"
#include "serial/UserErrorText.h"

namespace {
bool gDebugSwitch = false;
}  // namespace

bool DebugSwitch() { return gDebugSwitch; }
void SetDebugSwitch(bool on) { gDebugSwitch = on; }
void DebugTrace(const QString& line) {
  if (gDebugSwitch) platform::DebugOut(line);
}

TMeterLogic::TMeterLogic(IMeterView& view)
    : FView(view),
      FPavon(&view.Controls()),
      FDorvane(&view.Controls()),
      FHexlin(&view.Controls()),
      FTavri(&view.Controls()),
      FZarel(&view.Controls()),
      Measurement(*this),
      Simulator(*this) {
  ComPort.SetName(QStringLiteral("ComPort"));
  ComDataPacket.SetName(QStringLiteral("ComDataPacket"));
  ComMessPacket.SetName(QStringLiteral("ComMessPacket"));
  ComRunPacket.SetName(QStringLiteral("ComRunPacket"));
  ComRunPacket.SetSize(1);

  Timer_AutoGet.setInterval(300);
  Timer_AutoGet.setSingleShot(true);
  QObject::connect(&Timer_AutoGet, &QTimer::timeout, [this] { Timer_AutoGetTimer(); });
  Timer_Statusbar.setInterval(3000);
  QObject::connect(&Timer_Statusbar, &QTimer::timeout, [this] { Timer_StatusbarTimer(); });
  Timer_Watchdog.setInterval(4000);
  QObject::connect(&Timer_Watchdog, &QTimer::timeout, [this] { Timer_WatchdogTimer(); });

  ComDataPacket.OnPacket = [this](TObject* s, const std::string& p) { ComDataPacketPacket(s, p); };
  ComRunPacket.OnPacket = [this](TObject* s, const std::string& p) { ComRunPacketPacket(s, p); };
  ComMessPacket.OnPacket = [this](TObject* s, const std::string& p) {
    Measurement.ComMessPacketPacket(s, p);
  };
  ComPort.OnAfterOpen = [this](TObject*) { ComPortAfterOpen(); };
  ComPort.OnAfterClose = [this](TObject*) { ComPortAfterClose(); };
  ComPort.OnRx80Full = [this](TObject*) { ComPortRx80Full(); };
  ComPort.OnError = [this](TObject*, TComErrors errors) { ComPortError(errors); };
}

TMeterLogic::~TMeterLogic() {
  // The splitters let go of the port before it is destroyed.
  ComDataPacket.SetComPort(nullptr);
  ComMessPacket.SetComPort(nullptr);
  ComRunPacket.SetComPort(nullptr);
  ComPort.OnAfterClose = nullptr;
  ComPort.OnAfterOpen = nullptr;
  ComPort.OnError = nullptr;
}

TMeterModel& TMeterLogic::Model(TDeviceType d) {
  switch (d) {
    case Pavon: return FPavon;
    case Dorvane: return FDorvane;
    case Hexlin: return FHexlin;
    case Tavri: return FTavri;
    case KESTO_ZAREL: return FZarel;
  }
  return FPavon;
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
  if (s.isEmpty() || !ComPort.Connected()) return;
  ComPort.ClearBuffer(true, true);
  SetStatusText(2, QString());
  ComPort.WriteStr(s);
  // Until the output queue has drained (events keep being handled), but no
  // longer than the port's write time-out for these bytes: a line held by
  // flow control must not hold the window.
  const TComTimeouts& t = ComPort.Timeouts();
  const std::uint64_t allowed = std::uint64_t(std::max(t.WriteTotalMultiplier(), 0)) *
                                    std::uint64_t(s.size()) +
                                std::uint64_t(std::max(t.WriteTotalConstant(), 0));
  const std::uint32_t limit = static_cast<std::uint32_t>(
      std::clamp<std::uint64_t>(allowed, kMinDrainMs, std::numeric_limits<std::int32_t>::max()));
  const std::uint32_t start = platform::Clock::GetTickCount();
  while (ComPort.Connected() && ComPort.OutputCount() >= 1 &&
         platform::Clock::GetTickCount() - start < limit)
    Wait(1);
}

bool TMeterLogic::SetCmd(const QString& cmd) {
  if (ComPort.Connected()) {
    SendStr(cmd + CR);
    Wait(50);
  }
  return true;
}

bool TMeterLogic::SetCmd2(const QString& cmd) {
  if (ComPort.Connected()) {
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
  if (!value.trimmed().isEmpty() && ComPort.Connected()) {
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
    ComDataPacket.SetSize(1);
    ComDataPacket.SetComPort(nullptr);
  });
  polls = 0;
  if (!ComPort.Connected()) return QString();
  ComDataPacket.SetComPort(&ComPort);
  ComDataPacket.SetSize(size);
  ComDataPacket.SetStartString(startString);
  ComDataPacket.SetStopString(stopString);
  ComDataPacket.ResetBuffer();
  FDataPacket.clear();
  if (!cmd.isEmpty()) ComPort.WriteStr(cmd + CR);

  QString reply;
  do {
    Wait(10);
    reply = FDataPacket;
    polls++;
  } while (reply.isEmpty() && polls <= ms / 10 && ComPort.Connected());  // a lost line ends it
  return reply;
}

QString TMeterLogic::GetCmd(const QString& cmd, const QString& start, const QString& stop, int ms,
                            int& typ) {
  typ = 0;
  int n = 0;
  const bool connected = ComPort.Connected();
  const TReplyRule& rule = ModelTable(FDevice).reply;
  QString reply = Query(cmd, !rule.fixedCode.isEmpty() && cmd == rule.fixedCode ? rule.fixedSize : 0,
                        std::string(), Latin1(stop), ms, n);
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
  const bool connected = ComPort.Connected();
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
  if (ComPort.Connected()) SendStr(cmd + CR);
  return QString();
}

bool TMeterLogic::Running(int ms) {
  if (!ComPort.Connected()) return false;
  TScopeExit detach([this] { ComRunPacket.SetComPort(nullptr); });
  ComRunPacket.SetComPort(&ComPort);
  ComRunPacket.ResetBuffer();
  FRunPacket.clear();
  QString local;
  int n = 0;
  do {
    Wait(10);
    local = FRunPacket;
    n++;
  } while (local.isEmpty() && n <= ms / 10 && ComPort.Connected());
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
  if (value == FDevice) return;
  FDevice = value;
  ComPort.SetBaudRate(ModelTable(value).PortRate());
  ChangeDevice();
}

void TMeterLogic::ChangeDevice() {
  const TModelTable& table = ModelTable(FDevice);
  Measurement.SetTimeUnit(1.0);
  BlankParameters();
  Measurement.OutputState().ClearComparatorFlags();
  FView.SetOutputVisible(2, false);
  FView.SetOutputVisible(3, false);

  QString caption = table.caption;
  const int page = static_cast<int>(FDevice);
  FView.ShowModelPages(page, page, table.grafikPage);
  for (const QString& action : ModelActions())
    FView.SetActionVisible(action, table.visibleActions.contains(action));
  ComMessPacket.SetComPort(&ComPort);
  ComMessPacket.SetStartString(table.framing.startString.toStdString());
  ComMessPacket.SetStopString(table.framing.stopString.toStdString());
  ComMessPacket.SetSize(table.framing.size);
  ComMessPacket.ResetBuffer();
  if (table.outputs >= 2) FView.SetOutputVisible(2, true);
  if (table.outputs >= 3) FView.SetOutputVisible(3, true);

  SetGaugeRanges();
  if (Simulator.SimuVersion()) caption += QStringLiteral(" Simulation");
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

void TMeterLogic::SetGaugeRanges() { FView.SetGaugeRanges(ModelTable(FDevice).gauge); }

QString TMeterLogic::PortSummary() const {
  return QStringLiteral(" %1:%2,%3,%4,%5,%6")
      .arg(ComPort.Port(), BaudRateToText(ComPort.BaudRate()), DataBitsToText(ComPort.DataBits()),
           ParityToText(ComPort.Parity().Bits()), StopBitsToText(ComPort.StopBits()),
           FlowControlToText(ComPort.FlowControl().FlowControl()));
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void TMeterLogic::FormCreate(const QStringList& arguments) {
  Measurement.SetTimeCount(0);
  FDevice = Pavon;  // directly, without the model switch
  ATimer1.StartTime();
  FView.ChartClear();
  ComDataPacket.SetSize(0);
  ComMessPacket.SetSize(32);
  ComRunPacket.SetSize(1);
  Simulator.InitSimuVersion(false);

  SetDebugSwitch(false);
  for (const QString& arg : arguments)
    if (arg.compare(QLatin1String("debug"), Qt::CaseInsensitive) == 0) SetDebugSwitch(true);

  // Stored port settings, else the first port the system lists. A failure
  // here leaves the port name empty; the interface setup that follows lets
  // the user choose a port.
  bool noPortListed = false;
  try {
    ComPort.LoadSettings(stRegistry, QStringLiteral("HKEY_CURRENT_USER\\Software\\Telquin"));
    if (ComPort.Port().isEmpty()) {
      QStringList ports;
      EnumSerialPorts(ports);
      noPortListed = ports.isEmpty();
      if (noPortListed) throw std::runtime_error("no serial port listed");
      ComPort.SetPort(ports.first());
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
  FView.SetActionChecked(QStringLiteral("acStartStopLog"), false);
  if (ComPort.Connected()) ComPort.Close();
}

void TMeterLogic::ApplyInterfaceSetup() {
  SetStatusText(0, PortSummary());
  try {
    FView.SetActionEnabled(QStringLiteral("acOpenPort"), true);
    if (ComPort.Connected()) ComPort.Close();
    if (Simulator.SimuVersion()) {
      if (ComPort.Connected()) ComPort.Close();
      FView.SetActionEnabled(QStringLiteral("acOpenPort"), false);
    } else if (!ComPort.Connected()) {
      ComPort.Open();
    }
    FOpenErrorText.clear();
    SetStatusText(2, QString());
  } catch (const std::exception& e) {
    FOpenErrorText = QStringLiteral(" ") + UserErrorText(e, &ComPort);
    SetStatusText(2, FOpenErrorText);
  }
}
