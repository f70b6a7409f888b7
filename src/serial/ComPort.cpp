#include "serial/ComPort.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cerrno>

#include "platform/AppException.h"
#include "platform/CodePage.h"
#include "platform/DebugOut.h"
#include "platform/SystemError.h"
#include "serial/ComTextForms.h"
#include "serial/ComThread.h"

namespace {

const char* const kErrorTexts[] = {
    "",
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
    "Port Not Open",
};

enum ErrorCode {
  kOpenFailed = 1, kWriteFailed, kReadFailed, kInvalidAsync, kPurgeFailed, kAsyncCheck,
  kSetStateFailed, kTimeoutsFailed, kSetupComFailed, kClearComFailed, kModemStatFailed,
  kEscapeComFailed, kTransmitFailed, kConnChangeProp, kEnumPortsFailed, kStoreFailed,
  kLoadFailed, kRegFailed, kLedStateFailed, kThreadCreated, kWaitFailed, kHasLink,
  kRegError, kPortNotOpen
};

}  // namespace

QString ComPortErrorText(int Code) {
  if (Code < 1 || Code > 24) return {};
  return QString::fromLatin1(kErrorTexts[Code]);
}

EComPort::EComPort(int ACode, int AWinCode, const QString& message)
    : std::runtime_error(message.toStdString()), FCode(ACode), FWinCode(AWinCode) {}

EComPort::EComPort(int ACode, int AWinCode)
    : EComPort(ACode, AWinCode,
               ComPortErrorText(ACode) + QStringLiteral(" (Error: %1)").arg(AWinCode)) {}

EComPort EComPort::CreateNoWinCode(int ACode) { return EComPort(ACode, -1, ComPortErrorText(ACode)); }

void InitAsync(PAsync& AsyncPtr) { AsyncPtr = new TAsync; }

void DoneAsync(PAsync& AsyncPtr) {
  delete AsyncPtr;
  AsyncPtr = nullptr;
}

std::function<void(TCustomComPort&)> TCustomComPort::SetupDialogHook;

TCustomComPort::TCustomComPort() {
  FParity.SetComPort(this);
  FFlowControl.SetComPort(this);
  FTimeouts.SetComPort(this);
  FBuffer.SetComPort(this);
}

TCustomComPort::~TCustomComPort() {
  // Closing may fail (a purge error); the component goes away all the same.
  try {
    Close();
  } catch (const std::exception& e) {
    platform::DebugWarning(QString::fromUtf8(e.what()));
  }
  delete FEventThread;
  FEventThread = nullptr;
  delete FWindow;
}

// ---------------------------------------------------------------- errors

void TCustomComPort::CallException(int AnException, std::int64_t WinCode) {
  if (OnException) {
    QString winMessage;
    if (WinCode > 0) winMessage = platform::SystemErrorText(static_cast<int>(WinCode));
    OnException(this, static_cast<TComExceptions>(AnException - 1), ComPortErrorText(AnException),
                WinCode, winMessage);
    return;
  }
  if (WinCode > 0) throw EComPort(AnException, static_cast<int>(WinCode));
  throw EComPort::CreateNoWinCode(AnException);
}

// ---------------------------------------------------------------- open and close

void TCustomComPort::CreatePortHandle() {
  // No name names no device (not the folder /dev).
  if (FPort.isEmpty()) return CallException(kOpenFailed, ENOENT);
  // A name that is no path names a device of /dev.
  const QString path = FPort.startsWith(QLatin1Char('/')) ? FPort : QStringLiteral("/dev/") + FPort;
  if (int e = FHandle.Open(path)) CallException(kOpenFailed, e);
}

void TCustomComPort::DestroyPortHandle() {
  if (FHandle.IsOpen()) FHandle.Close();
}

void TCustomComPort::Open() {
  if (FConnected || IsDesigning()) return;
  DoBeforeOpen();
  CreatePortHandle();
  // With OnException assigned a failed open is reported there; the port
  // stays closed rather than going on without a device.
  if (!FHandle.IsOpen()) return;
  FConnected = true;
  try {
    ApplyAllSettings();
  } catch (...) {
    DestroyPortHandle();
    FConnected = false;
    throw;
  }
  if (FEvents.Empty()) {
    FThreadCreated = false;
  } else {
    if (FSyncMethod == smWindowSync) FWindow = TComThread::CreatePortWindow();
    FEventThread = new TComThread(this);
    FThreadCreated = true;
  }
  SendSignalToLinks(&TComLink::OnConn, true);
  DoAfterOpen();
  CallCTSChange();
  CallDSRChange();
  CallRLSDChange();
}

void TCustomComPort::Close() {
  if (!FConnected || IsDesigning()) return;
  SendSignalToLinks(&TComLink::OnCTSChange, false);
  SendSignalToLinks(&TComLink::OnDSRChange, false);
  SendSignalToLinks(&TComLink::OnRLSDChange, false);
  DoCTSChange(false);
  DoDSRChange(false);
  DoRLSDChange(false);
  DoBeforeClose();
  AbortAllAsync();
  if (FThreadCreated) {
    // Stops the thread and waits for it; a hand-over it is still waiting on
    // is dropped, never run after this point.
    delete FEventThread;
    FEventThread = nullptr;
    FThreadCreated = false;
    if (FWindow) {
      // Close may run inside one of the window's own events.
      FWindow->deleteLater();
      FWindow = nullptr;
    }
  }
  DestroyPortHandle();
  FConnected = false;
  SendSignalToLinks(&TComLink::OnConn, false);
  DoAfterClose();
}

void TCustomComPort::Loaded() {
  TComponent::Loaded();
  if (FConnected && !IsDesigning()) {
    FConnected = false;
    try {
      Open();
    } catch (const std::exception& e) {
      platform::HandleApplicationException(e);
    }
  }
}

// ---------------------------------------------------------------- settings

void TCustomComPort::BeginUpdate() { ++FUpdateCount; }

void TCustomComPort::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) ApplyAllSettings();
}

void TCustomComPort::ApplyAllSettings() {
  ApplyBufferSizes();
  ApplyLineSettings();
  ApplyTimeoutSettings();
}

bool TCustomComPort::CanApply() const {
  return FConnected && FUpdateCount == 0 && !IsLoading() && !IsDesigning();
}

platform::SerialLineState TCustomComPort::BuildLineState() const {
  platform::SerialLineState s;
  s.BaudRate = static_cast<std::uint32_t>(FBaudRate == brCustom ? FCustomBaudRate
                                                                : BaudRateToInt(FBaudRate));
  s.Binary = true;
  s.Null = FDiscardNull;
  s.OutxCtsFlow = FFlowControl.OutCTSFlow();
  s.OutxDsrFlow = FFlowControl.OutDSRFlow();
  s.DtrControl = static_cast<std::uint8_t>(FFlowControl.ControlDTR());
  s.RtsControl = static_cast<std::uint8_t>(FFlowControl.ControlRTS());
  s.OutX = FFlowControl.XonXoffOut();
  s.InX = FFlowControl.XonXoffIn();
  s.DsrSensitivity = FFlowControl.DSRSensitivity();
  s.TxContinueOnXoff = FFlowControl.TxContinueOnXoff();
  s.ParityCheck = FParity.Check();
  s.ErrorCharOn = FParity.Check() && FParity.Replace();
  s.XonLim = FBuffer.InputSize() / 4;
  s.XoffLim = FBuffer.InputSize() / 4;
  s.ByteSize = static_cast<std::uint8_t>(5 + FDataBits);
  s.Parity = static_cast<std::uint8_t>(FParity.Bits());
  s.StopBits = static_cast<std::uint8_t>(FStopBits);
  s.XonChar = static_cast<char>(FFlowControl.XonChar().unicode() & 0xFF);
  s.XoffChar = static_cast<char>(FFlowControl.XoffChar().unicode() & 0xFF);
  s.ErrorChar = s.ErrorCharOn ? static_cast<char>(FParity.ReplaceChar().unicode() & 0xFF) : '\0';
  s.EvtChar = static_cast<char>(FEventChar.unicode() & 0xFF);
  return s;
}

void TCustomComPort::ApplyLineSettings() {
  if (!CanApply()) return;
  if (int e = FHandle.SetState(BuildLineState())) CallException(kSetStateFailed, e);
}

void TCustomComPort::ApplyTimeoutSettings() {
  if (!CanApply()) return;
  platform::SerialTimeouts t;
  t.ReadInterval = static_cast<std::uint32_t>(FTimeouts.ReadInterval());
  t.ReadTotalMultiplier = static_cast<std::uint32_t>(FTimeouts.ReadTotalMultiplier());
  t.ReadTotalConstant = static_cast<std::uint32_t>(FTimeouts.ReadTotalConstant());
  t.WriteTotalMultiplier = static_cast<std::uint32_t>(FTimeouts.WriteTotalMultiplier());
  t.WriteTotalConstant = static_cast<std::uint32_t>(FTimeouts.WriteTotalConstant());
  if (int e = FHandle.SetTimeouts(t)) CallException(kTimeoutsFailed, e);
}

void TCustomComPort::ApplyBufferSizes() {
  if (!CanApply()) return;
  if (int e = FHandle.SetupQueues(FBuffer.InputSize(), FBuffer.OutputSize()))
    CallException(kSetupComFailed, e);
}

void TCustomComPort::SetConnected(bool Value) {
  if (IsLoading() || IsDesigning()) {
    FConnected = Value;
  } else if (Value != FConnected) {
    if (Value)
      Open();
    else
      Close();
  }
}

void TCustomComPort::SetBaudRate(TBaudRate Value) { SetLineField(FBaudRate, Value); }

void TCustomComPort::SetCustomBaudRate(int Value) { SetLineField(FCustomBaudRate, Value); }

void TCustomComPort::SetStopBits(TStopBits Value) { SetLineField(FStopBits, Value); }

void TCustomComPort::SetDataBits(TDataBits Value) { SetLineField(FDataBits, Value); }

void TCustomComPort::SetDiscardNull(bool Value) { SetLineField(FDiscardNull, Value); }

void TCustomComPort::SetEventChar(QChar Value) { SetLineField(FEventChar, Value); }

void TCustomComPort::SetPort(const QString& Value) {
  if (Value == FPort) return;
  FPort = Value;
  if (FConnected && !IsLoading() && !IsDesigning()) {
    Close();
    Open();
  }
}

void TCustomComPort::SetParity(const TComParity& Value) {
  Value.AssignTo(FParity);
  ApplyLineSettings();
}

void TCustomComPort::SetFlowControl(const TComFlowControl& Value) {
  Value.AssignTo(FFlowControl);
  ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(const TComTimeouts& Value) {
  Value.AssignTo(FTimeouts);
  ApplyTimeoutSettings();
}

void TCustomComPort::SetBuffer(const TComBuffer& Value) {
  Value.AssignTo(FBuffer);
  ApplyBufferSizes();
}

// Settings of the event thread cannot change while it runs.
template <typename T>
void TCustomComPort::SetThreadField(T& field, T value) {
  if (value == field) return;
  if (FConnected && !IsLoading() && !IsDesigning())
    CallException(kConnChangeProp);
  else
    field = value;
}

void TCustomComPort::SetSyncMethod(TSyncMethod Value) { SetThreadField(FSyncMethod, Value); }

void TCustomComPort::SetEventThreadPriority(TThreadPriority Value) {
  SetThreadField(FEventThreadPriority, Value);
}

void TCustomComPort::SetTriggersOnRxChar(bool Value) {
  if (FHasLink) {
    CallException(kHasLink);  // returns only when OnException took it
    FTriggersOnRxChar = Value;
  } else {
    FTriggersOnRxChar = Value;
  }
}

// ---------------------------------------------------------------- status and lines

int TCustomComPort::InputCount() {
  platform::SerialStatus st;
  if (int e = FHandle.ClearError(&st, false)) CallException(kClearComFailed, e);
  return st.InQueue;
}

int TCustomComPort::OutputCount() {
  platform::SerialStatus st;
  if (int e = FHandle.ClearError(&st)) CallException(kClearComFailed, e);
  return st.OutQueue;
}

TComSignals TCustomComPort::Signals() {
  std::uint32_t status = 0;
  if (int e = FHandle.GetModemStatus(&status)) CallException(kModemStatFailed, e);
  TComSignals s;
  if (status & platform::ModemCts) s.Include(csCTS);
  if (status & platform::ModemDsr) s.Include(csDSR);
  if (status & platform::ModemRing) s.Include(csRing);
  if (status & platform::ModemRlsd) s.Include(csRLSD);
  return s;
}

TComStateFlags TCustomComPort::StateFlags() {
  platform::SerialStatus st;
  if (int e = FHandle.ClearError(&st)) CallException(kClearComFailed, e);
  return TComStateFlags::FromBits(st.Flags);
}

TComErrors TCustomComPort::LastErrors() {
  platform::SerialStatus st;
  if (int e = FHandle.ClearError(&st)) CallException(kClearComFailed, e);
  TComErrors r;
  if (st.Errors & platform::ErrFrame) r.Include(ceFrame);
  if ((st.Errors & platform::ErrRxParity) && FParity.Check()) r.Include(ceRxParity);
  if (st.Errors & platform::ErrOverrun) r.Include(ceOverrun);
  if (st.Errors & platform::ErrRxOver) r.Include(ceRxOver);
  if (st.Errors & platform::ErrTxFull) r.Include(ceTxFull);
  if (st.Errors & platform::ErrBreak) r.Include(ceBreak);
  if (st.Errors & platform::ErrIO) r.Include(ceIO);
  if (st.Errors & platform::ErrMode) r.Include(ceMode);
  return r;
}

void TCustomComPort::SetDTR(bool OnOff) {
  using platform::SerialEscape;
  if (int e = FHandle.Escape(OnOff ? SerialEscape::SetDtr : SerialEscape::ClrDtr))
    CallException(kEscapeComFailed, e);
}

void TCustomComPort::SetRTS(bool OnOff) {
  using platform::SerialEscape;
  if (int e = FHandle.Escape(OnOff ? SerialEscape::SetRts : SerialEscape::ClrRts))
    CallException(kEscapeComFailed, e);
}

void TCustomComPort::SetXonXoff(bool OnOff) {
  using platform::SerialEscape;
  if (int e = FHandle.Escape(OnOff ? SerialEscape::SetXon : SerialEscape::SetXoff))
    CallException(kEscapeComFailed, e);
}

void TCustomComPort::SetBreak(bool OnOff) {
  using platform::SerialEscape;
  if (int e = FHandle.Escape(OnOff ? SerialEscape::SetBreak : SerialEscape::ClrBreak))
    CallException(kEscapeComFailed, e);
}

void TCustomComPort::ClearBuffer(bool Input, bool Output) {
  std::uint32_t flags = 0;
  if (Input) flags |= platform::PurgeRxClear;
  if (Output) flags |= platform::PurgeTxClear;
  if (int e = FHandle.Purge(flags)) CallException(kPurgeFailed, e);
}

void TCustomComPort::AbortAllAsync() {
  if (int e = FHandle.Purge(platform::PurgeTxAbort | platform::PurgeRxAbort))
    CallException(kPurgeFailed, e);
}

void TCustomComPort::TransmitChar(QChar Ch) {
  if (int e = FHandle.TransmitChar(static_cast<char>(Ch.unicode() & 0xFF)))
    CallException(kTransmitFailed, e);
}

// ---------------------------------------------------------------- reading and writing

int TCustomComPort::WriteAsync(const void* Buffer, int Count, PAsync& AsyncPtr) {
  if (!AsyncPtr) {
    CallException(kInvalidAsync);
    return 0;
  }
  if (!FHandle.IsOpen()) CallException(kPortNotOpen, -kPortNotOpen);
  AsyncPtr->Kind = okWrite;
  AsyncPtr->Data = Count > 0 ? QByteArray(static_cast<const char*>(Buffer), Count) : QByteArray();
  AsyncPtr->Size = Count;
  // The transfer sends the private copy: the caller's buffer may go away
  // before the write is waited for.
  if (int e = FHandle.StartWrite(AsyncPtr->Overlapped, AsyncPtr->Data.constData(), Count))
    CallException(kWriteFailed, e);
  SendSignalToLinks(&TComLink::OnTx, true);
  return AsyncPtr->Overlapped.finished ? AsyncPtr->Overlapped.done : 0;
}

int TCustomComPort::Write(const void* Buffer, int Count) {
  TAsync rec;
  PAsync p = &rec;
  WriteAsync(Buffer, Count, p);
  return WaitForAsync(p);
}

namespace {
QByteArray LowBytes(const QString& Str) {
  QByteArray bytes(Str.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < Str.size(); ++i) bytes[i] = static_cast<char>(Str[i].unicode() & 0xFF);
  return bytes;
}
}  // namespace

int TCustomComPort::WriteStrAsync(const QString& Str, PAsync& AsyncPtr) {
  if (Str.isEmpty()) return 0;
  const QByteArray bytes = LowBytes(Str);
  return WriteAsync(bytes.constData(), static_cast<int>(bytes.size()), AsyncPtr);
}

int TCustomComPort::WriteStr(const QString& Str) {
  TAsync rec;
  PAsync p = &rec;
  WriteStrAsync(Str, p);
  return WaitForAsync(p);
}

int TCustomComPort::WriteUnicodeString(const QString& Str) {
  const QByteArray bytes = platform::CodePage::FromUnicode(FCodePage, Str);
  return Write(bytes.constData(), static_cast<int>(bytes.size()));
}

int TCustomComPort::ReadAsync(void* Buffer, int Count, PAsync& AsyncPtr) {
  if (!AsyncPtr) {
    CallException(kInvalidAsync);
    return 0;
  }
  AsyncPtr->Kind = okRead;
  // A record used for a write before must not report those bytes again.
  AsyncPtr->Data.clear();
  AsyncPtr->Size = 0;
  if (!FHandle.IsOpen()) CallException(kPortNotOpen, -kPortNotOpen);
  if (int e = FHandle.StartRead(AsyncPtr->Overlapped, static_cast<char*>(Buffer), Count))
    CallException(kReadFailed, e);
  return AsyncPtr->Overlapped.finished ? AsyncPtr->Overlapped.done : 0;
}

int TCustomComPort::Read(void* Buffer, int Count) {
  TAsync rec;
  PAsync p = &rec;
  ReadAsync(Buffer, Count, p);
  return WaitForAsync(p);
}

int TCustomComPort::ReadStrAsync(QByteArray& Str, int Count, PAsync& AsyncPtr) {
  if (Count < 1) {
    Str.clear();
    return 0;
  }
  Str.resize(Count);
  return ReadAsync(Str.data(), Count, AsyncPtr);
}

int TCustomComPort::ReadStr(QString& Str, int Count) {
  QByteArray bytes;
  TAsync rec;
  PAsync p = &rec;
  ReadStrAsync(bytes, Count, p);
  const int n = WaitForAsync(p);
  Str = QString::fromLatin1(bytes.constData(), qMin<qsizetype>(n, bytes.size()));
  return n;
}

int TCustomComPort::ReadUnicodeString(QString& Str, int Count) {
  QByteArray bytes(qMax(Count, 0), Qt::Uninitialized);
  const int n = Read(bytes.data(), qMax(Count, 0));
  bytes.truncate(n);
  Str = platform::CodePage::ToUnicode(FCodePage, bytes);
  return static_cast<int>(Str.size());
}

int TCustomComPort::WaitForAsync(PAsync& AsyncPtr) {
  if (!AsyncPtr) {
    CallException(kInvalidAsync);
    return 0;
  }
  platform::SerialTransfer& t = AsyncPtr->Overlapped;
  if (t.kind != platform::SerialTransfer::Kind::None) {
    if (int e = FHandle.FinishTransfer(t, true))
      CallException(AsyncPtr->Kind == okWrite ? kWriteFailed : kReadFailed, e);
  }
  const int transferred = t.kind == platform::SerialTransfer::Kind::None ? 0 : t.done;
  if (AsyncPtr->Kind == okRead && InputCount() == 0)
    SendSignalToLinks(&TComLink::OnRx, false);
  else if (!AsyncPtr->Data.isEmpty())
    TxNotifyLinks(AsyncPtr->Data.constData(), AsyncPtr->Size);
  return transferred;
}

bool TCustomComPort::IsAsyncCompleted(PAsync AsyncPtr) {
  if (!AsyncPtr) {
    CallException(kInvalidAsync);
    return false;
  }
  if (AsyncPtr->Overlapped.kind == platform::SerialTransfer::Kind::None) return true;
  const int e = FHandle.FinishTransfer(AsyncPtr->Overlapped, false);
  if (e == 0) return true;
  if (e != EINPROGRESS) CallException(kAsyncCheck, e);
  return false;
}

void TCustomComPort::WaitForEvent(TComEvents& Events, platform::StopSignal* StopEvent,
                                  int Timeout) {
  if (FThreadCreated) {
    CallException(kThreadCreated);
    return;
  }
  int error = FHandle.SetEventMask(EventSetToWinMask(Events));
  platform::SerialDevice::WaitResult r;
  if (!error) {
    r = FHandle.WaitEvent(StopEvent, Timeout);
    if (r.status == platform::SerialDevice::WaitStatus::Failed) error = r.error;
    FHandle.SetEventMask(0);
  }
  if (error) CallException(kWaitFailed, error);
  Events = r.status == platform::SerialDevice::WaitStatus::Events ? WinMaskToEventSet(r.events)
                                                                   : TComEvents();
}

void TCustomComPort::ShowSetupDialog() {
  if (SetupDialogHook) SetupDialogHook(*this);
}

// ---------------------------------------------------------------- links

void TCustomComPort::RegisterLink(TComLink* AComLink) {
  if (std::find(FLinks.begin(), FLinks.end(), AComLink) != FLinks.end())
    CallException(kRegFailed);
  else
    FLinks.push_back(AComLink);
  FHasLink = HasRxBufLink();
}

void TCustomComPort::UnRegisterLink(TComLink* AComLink) {
  auto it = std::find(FLinks.begin(), FLinks.end(), AComLink);
  if (it == FLinks.end())
    CallException(kRegFailed);
  else
    FLinks.erase(it);
  FHasLink = HasRxBufLink();
}

bool TCustomComPort::HasRxBufLink() const {
  for (const TComLink* l : FLinks)
    if (l->OnRxBuf) return true;
  return false;
}

bool TCustomComPort::IsLinked(const TComLink* Link) const {
  return std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end();
}

template <typename Call>
void TCustomComPort::ForEachLink(Call&& call) {
  // Going by index would skip the link after one that left.
  const QVarLengthArray<TComLink*, 8> links(FLinks.begin(), FLinks.end());
  for (TComLink* l : links)
    if (IsLinked(l)) call(l);
}

void TCustomComPort::SendSignalToLinks(TComSignalEvent TComLink::*Slot, bool OnOff) {
  ForEachLink([&](TComLink* l) {
    if (l->*Slot) (l->*Slot)(this, OnOff);
  });
}

void TCustomComPort::NotifyLinks(TNotifyEvent TComLink::*Slot) {
  ForEachLink([&](TComLink* l) {
    if (l->*Slot) (l->*Slot)(this);
  });
}

void TCustomComPort::TxNotifyLinks(const char* Buffer, int Count) {
  ForEachLink([&](TComLink* l) {
    if (l->OnTxBuf) l->OnTxBuf(this, Buffer, Count);
  });
}

// ---------------------------------------------------------------- event hand-over

// Exceptions from handlers must not unwind into the event loop or end the
// event thread: they are reported through OnException when it is assigned
// (errors of the port itself with their code; any other exception has no
// code of the port and goes to the debug output), else as a warning.
void TCustomComPort::HandOverGuarded(const std::function<void()>& Deliver) {
  auto warn = [&](const QString& what) {
    platform::DebugWarning(QStringLiteral("Serial port %1: event handler failed: %2")
                               .arg(FPort, what));
  };
  try {
    Deliver();
  } catch (const EComPort& e) {
    if (!OnException) return warn(e.Message());
    try {
      CallException(e.Code(), e.WinCode());
    } catch (const std::exception& again) {
      warn(QString::fromUtf8(again.what()));
    } catch (...) {
      warn(QStringLiteral("unknown exception"));
    }
  } catch (const std::exception& e) {
    warn(QString::fromUtf8(e.what()));
  } catch (...) {
    warn(QStringLiteral("unknown exception"));
  }
}

void TCustomComPort::FireEvents(TComEvents Events) {
  HandOverGuarded([&] {
    for (TComEvent ev : ComEventFireOrder) {
      // A handler may close the port; the rest of the batch is then void.
      if (!FConnected) return;
      if (!Events.Contains(ev)) continue;
      switch (ev) {
        case evError: CallError(); break;
        case evRxChar: CallRxChar(); break;
        case evTxEmpty: CallTxEmpty(); break;
        case evBreak: CallBreak(); break;
        case evRing: CallRing(); break;
        case evCTS: CallCTSChange(); break;
        case evDSR: CallDSRChange(); break;
        case evRxFlag: CallRxFlag(); break;
        case evRLSD: CallRLSDChange(); break;
        case evRx80Full: CallRx80Full(); break;
      }
    }
  });
}

void TCustomComPort::WindowEvent(std::uint32_t Mask) {
  FireEvents(WinMaskToEventSet(Mask));
}

void TCustomComPort::CallError() {
  const TComErrors errors = LastErrors();
  if (!errors.Empty()) DoError(errors);
}

void TCustomComPort::CallRxChar() {
  int Count = InputCount();
  if (Count > 0) SendSignalToLinks(&TComLink::OnRx, true);
  if (Count > 0 && !TriggersOnRxChar()) {
    // One read per event into a buffer kept between events; a delivery
    // nested inside a handler (a handler that pumps events) gets its own.
    std::vector<char> nested;
    std::vector<char>& buf = FRxBufferBusy ? nested : FRxBuffer;
    const bool own = !FRxBufferBusy;
    if (buf.size() < static_cast<size_t>(Count)) buf.resize(static_cast<size_t>(Count));
    if (own) FRxBufferBusy = true;
    struct Release {
      bool& busy;
      bool own;
      ~Release() {
        if (own) busy = false;
      }
    } release{FRxBufferBusy, own};
    bool read = false;
    int got = 0;
    ForEachLink([&](TComLink* l) {
      if (!l->OnRxBuf) return;
      if (!read) {
        // Hand on what was read; with our own queue that is all of Count.
        got = Read(buf.data(), Count);
        read = true;
        DoRxBuf(buf.data(), got);
        if (!IsLinked(l) || !l->OnRxBuf) return;  // left meanwhile
      }
      l->OnRxBuf(this, buf.data(), got);
    });
    if (!read && !FTriggersOnRxChar) {
      got = Read(buf.data(), Count);
      read = true;
      DoRxBuf(buf.data(), got);
    }
    if (read) Count = 0;
  }
  if (Count > 0) DoRxChar(Count);
}

void TCustomComPort::CallTxEmpty() {
  SendSignalToLinks(&TComLink::OnTx, false);
  NotifyLinks(&TComLink::OnTxEmpty);
  DoTxEmpty();
}

void TCustomComPort::CallBreak() { DoBreak(); }

void TCustomComPort::CallRing() {
  NotifyLinks(&TComLink::OnRing);
  DoRing();
}

void TCustomComPort::CallCTSChange() {
  const bool OnOff = Signals().Contains(csCTS);
  SendSignalToLinks(&TComLink::OnCTSChange, OnOff);
  DoCTSChange(OnOff);
}

void TCustomComPort::CallDSRChange() {
  const bool OnOff = Signals().Contains(csDSR);
  SendSignalToLinks(&TComLink::OnDSRChange, OnOff);
  DoDSRChange(OnOff);
}

void TCustomComPort::CallRxFlag() {
  NotifyLinks(&TComLink::OnRxFlag);
  DoRxFlag();
}

void TCustomComPort::CallRLSDChange() {
  const bool OnOff = Signals().Contains(csRLSD);
  SendSignalToLinks(&TComLink::OnRLSDChange, OnOff);
  DoRLSDChange(OnOff);
}

void TCustomComPort::CallRx80Full() { DoRx80Full(); }

// ---------------------------------------------------------------- triggers

void TCustomComPort::DoAfterClose() {
  if (OnAfterClose) OnAfterClose(this);
}
void TCustomComPort::DoAfterOpen() {
  if (OnAfterOpen) OnAfterOpen(this);
}
void TCustomComPort::DoBeforeClose() {
  if (OnBeforeClose) OnBeforeClose(this);
}
void TCustomComPort::DoBeforeOpen() {
  if (OnBeforeOpen) OnBeforeOpen(this);
}
void TCustomComPort::DoRxChar(int Count) {
  if (OnRxChar) OnRxChar(this, Count);
}
void TCustomComPort::DoRxBuf(const char* Buffer, int Count) {
  if (OnRxBuf) OnRxBuf(this, Buffer, Count);
}
void TCustomComPort::DoTxEmpty() {
  if (OnTxEmpty) OnTxEmpty(this);
}
void TCustomComPort::DoBreak() {
  if (OnBreak) OnBreak(this);
}
void TCustomComPort::DoRing() {
  if (OnRing) OnRing(this);
}
void TCustomComPort::DoRxFlag() {
  if (OnRxFlag) OnRxFlag(this);
}
void TCustomComPort::DoCTSChange(bool OnOff) {
  if (OnCTSChange) OnCTSChange(this, OnOff);
}
void TCustomComPort::DoDSRChange(bool OnOff) {
  if (OnDSRChange) OnDSRChange(this, OnOff);
}
void TCustomComPort::DoError(TComErrors Errors) {
  if (OnError) OnError(this, Errors);
}
void TCustomComPort::DoRLSDChange(bool OnOff) {
  if (OnRLSDChange) OnRLSDChange(this, OnOff);
}
void TCustomComPort::DoRx80Full() {
  if (OnRx80Full) OnRx80Full(this);
}

void RebindLink(TComponent& owner, TComLink* link, TCustomComPort*& current, TCustomComPort* next) {
  if (next == current) return;
  if (current != nullptr) {
    current->UnRegisterLink(link);
    owner.RemoveFreeNotification(current);
  }
  current = next;
  if (current != nullptr) {
    owner.FreeNotification(current);
    current->RegisterLink(link);
  }
}
