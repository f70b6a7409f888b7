#pragma once
// The serial port component: opens one device, applies line settings,
// time-outs and queue sizes, reads and writes synchronously or
// asynchronously, reads and sets the modem lines, and reports every failed
// system call through one error routine (OnException if assigned, else an
// EComPort exception). While open, an event thread (TComThread) waits for
// line events and hands them to the port, which fires its own events and
// calls every registered TComLink.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/Component.h"
#include "platform/SerialDevice.h"
#include "serial/ComBuffer.h"
#include "serial/ComFlowControl.h"
#include "serial/ComLink.h"
#include "serial/ComParity.h"
#include "serial/ComTimeouts.h"
#include "serial/ComTypes.h"

namespace platform {
class IniFile;
class Registry;
class StopSignal;
}  // namespace platform

class TComThread;

// Error texts by error code (1..24).
QString ComPortErrorText(int Code);

class EComPort : public std::runtime_error {
 public:
  // The text of Code followed by " (Error: WinCode)".
  EComPort(int ACode, int AWinCode);
  // The text of Code alone; WinCode is -1.
  static EComPort CreateNoWinCode(int ACode);

  int Code() const { return FCode; }
  int WinCode() const { return FWinCode; }
  QString Message() const { return QString::fromUtf8(what()); }

 private:
  EComPort(int ACode, int AWinCode, const QString& message);
  int FCode;
  int FWinCode;
};

// The record of one asynchronous read or write.
struct TAsync {
  platform::SerialTransfer Overlapped;
  TOperationKind Kind = okWrite;
  QByteArray Data;  // private copy of the bytes written; empty: none
  int Size = 0;
};
using PAsync = TAsync*;

// A new zero-filled record, and freeing one (the pointer becomes null).
void InitAsync(PAsync& AsyncPtr);
void DoneAsync(PAsync& AsyncPtr);

class TCustomComPort : public TComponent {
 public:
  TCustomComPort();
  ~TCustomComPort() override;

  // --- operations
  void Open();
  void Close();
  void BeginUpdate();
  void EndUpdate();
  virtual void ApplyAllSettings();

  int InputCount();
  int OutputCount();
  TComSignals Signals();
  TComStateFlags StateFlags();
  TComErrors LastErrors();
  void SetDTR(bool OnOff);
  void SetRTS(bool OnOff);
  void SetXonXoff(bool OnOff);
  void SetBreak(bool OnOff);
  void ClearBuffer(bool Input, bool Output);
  void AbortAllAsync();
  void TransmitChar(QChar Ch);

  int WriteAsync(const void* Buffer, int Count, PAsync& AsyncPtr);
  int Write(const void* Buffer, int Count);
  // One byte per character: its low 8 bits, no code-page conversion.
  int WriteStrAsync(const QString& Str, PAsync& AsyncPtr);
  int WriteStr(const QString& Str);
  // Converted in CodePage (0: the system's code page).
  int WriteUnicodeString(const QString& Str);
  int ReadAsync(void* Buffer, int Count, PAsync& AsyncPtr);
  int Read(void* Buffer, int Count);
  // Str must stay untouched until the read is finished.
  int ReadStrAsync(QByteArray& Str, int Count, PAsync& AsyncPtr);
  // One character per byte read (character code = byte value).
  int ReadStr(QString& Str, int Count);
  int ReadUnicodeString(QString& Str, int Count);
  int WaitForAsync(PAsync& AsyncPtr);
  bool IsAsyncCompleted(PAsync AsyncPtr);
  // Only without the event thread. StopEvent may be null; Timeout < 0 waits
  // without limit.
  void WaitForEvent(TComEvents& Events, platform::StopSignal* StopEvent, int Timeout);

  // Opens the port setup dialog through the hook the dialog's library
  // installs; nothing happens without one.
  void ShowSetupDialog();
  static std::function<void(TCustomComPort& Port)> SetupDialogHook;

  // stRegistry: a path like "HKEY_CURRENT_USER\Software\Telquin", the values go
  // to its subkey named after the component. stIniFile: the file's path, the
  // section is the component's name.
  void StoreSettings(TStoreType StoreType, const QString& StoreTo);
  void LoadSettings(TStoreType StoreType, const QString& LoadFrom);

  void RegisterLink(TComLink* AComLink);
  void UnRegisterLink(TComLink* AComLink);

  // --- properties
  bool Connected() const { return FConnected; }
  void SetConnected(bool Value);
  TBaudRate BaudRate() const { return FBaudRate; }
  void SetBaudRate(TBaudRate Value);
  int CustomBaudRate() const { return FCustomBaudRate; }
  void SetCustomBaudRate(int Value);
  const QString& Port() const { return FPort; }
  void SetPort(const QString& Value);
  TComParity& Parity() { return FParity; }
  const TComParity& Parity() const { return FParity; }
  void SetParity(const TComParity& Value);
  TStopBits StopBits() const { return FStopBits; }
  void SetStopBits(TStopBits Value);
  TDataBits DataBits() const { return FDataBits; }
  void SetDataBits(TDataBits Value);
  bool DiscardNull() const { return FDiscardNull; }
  void SetDiscardNull(bool Value);
  QChar EventChar() const { return FEventChar; }
  void SetEventChar(QChar Value);
  // Takes effect at the next Open.
  TComEvents Events() const { return FEvents; }
  void SetEvents(TComEvents Value) { FEvents = Value; }
  TComBuffer& Buffer() { return FBuffer; }
  const TComBuffer& Buffer() const { return FBuffer; }
  void SetBuffer(const TComBuffer& Value);
  TComFlowControl& FlowControl() { return FFlowControl; }
  const TComFlowControl& FlowControl() const { return FFlowControl; }
  void SetFlowControl(const TComFlowControl& Value);
  TComTimeouts& Timeouts() { return FTimeouts; }
  const TComTimeouts& Timeouts() const { return FTimeouts; }
  void SetTimeouts(const TComTimeouts& Value);
  TStoredProps StoredProps() const { return FStoredProps; }
  void SetStoredProps(TStoredProps Value) { FStoredProps = Value; }
  // True only while no registered link has OnRxBuf.
  bool TriggersOnRxChar() const { return FTriggersOnRxChar && !FHasLink; }
  void SetTriggersOnRxChar(bool Value);
  TSyncMethod SyncMethod() const { return FSyncMethod; }
  void SetSyncMethod(TSyncMethod Value);
  TThreadPriority EventThreadPriority() const { return FEventThreadPriority; }
  void SetEventThreadPriority(TThreadPriority Value);
  unsigned CodePage() const { return FCodePage; }
  void SetCodePage(unsigned Value) { FCodePage = Value; }

  // The device behind the port (valid while open).
  const platform::SerialDevice& Handle() const { return FHandle; }

  // --- events
  TRxCharEvent OnRxChar;
  TRxBufEvent OnRxBuf;
  TNotifyEvent OnTxEmpty;
  TNotifyEvent OnBreak;
  TNotifyEvent OnRing;
  TComSignalEvent OnCTSChange;
  TComSignalEvent OnDSRChange;
  TComSignalEvent OnRLSDChange;
  TComErrorEvent OnError;
  TNotifyEvent OnRxFlag;
  TNotifyEvent OnAfterOpen;
  TNotifyEvent OnAfterClose;
  TNotifyEvent OnBeforeOpen;
  TNotifyEvent OnBeforeClose;
  TNotifyEvent OnRx80Full;
  TComExceptionEvent OnException;

 protected:
  void Loaded() override;

  virtual void StoreToRegistry(platform::Registry& Reg);
  virtual void StoreToIniFile(platform::IniFile& Ini);
  virtual void LoadFromRegistry(platform::Registry& Reg);
  virtual void LoadFromIniFile(platform::IniFile& Ini);
  virtual void CreatePortHandle();
  virtual void DestroyPortHandle();

  virtual void DoAfterClose();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoBeforeOpen();
  virtual void DoRxChar(int Count);
  virtual void DoRxBuf(const char* Buffer, int Count);
  virtual void DoTxEmpty();
  virtual void DoBreak();
  virtual void DoRing();
  virtual void DoRxFlag();
  virtual void DoCTSChange(bool OnOff);
  virtual void DoDSRChange(bool OnOff);
  virtual void DoError(TComErrors Errors);
  virtual void DoRLSDChange(bool OnOff);
  virtual void DoRx80Full();
  virtual void ApplyLineSettings();
  virtual void ApplyTimeoutSettings();
  virtual void ApplyBufferSizes();

  // The error routine: OnException when assigned (the operation then goes
  // on), else throws EComPort. WinCode <= 0 means "no system code".
  void CallException(int AnException, std::int64_t WinCode = 0);

  // The line settings as they are given to the device.
  platform::SerialLineState BuildLineState() const;

 private:
  friend class TComThread;
  friend class TComBuffer;
  friend class TComFlowControl;
  friend class TComParity;
  friend class TComTimeouts;
  friend class TComSettingsBase;
  friend class TComHandOver;

  bool CanApply() const;
  // Line settings: a changed value is stored and applied.
  template <typename T>
  void SetLineField(T& field, T value) {
    if (field == value) return;
    field = value;
    ApplyLineSettings();
  }
  template <typename T>
  void SetThreadField(T& field, T value);
  bool HasRxBufLink() const;
  bool IsLinked(const TComLink* Link) const;
  // Calls `call` for every registered link, in registration order. A link
  // may leave (or remove others) inside its call: the walk goes over a copy
  // of the list and skips links that left meanwhile.
  template <typename Call>
  void ForEachLink(Call&& call);
  void SendSignalToLinks(TComSignalEvent TComLink::*Slot, bool OnOff);
  void NotifyLinks(TNotifyEvent TComLink::*Slot);
  void TxNotifyLinks(const char* Buffer, int Count);

  // Event thread hand-over: one batch in the fixed order, or one event of
  // the hidden window. Exceptions of handlers end here (see the .cpp).
  void FireEvents(TComEvents Events);
  void WindowEvent(std::uint32_t Mask);
  void HandOverGuarded(const std::function<void()>& Deliver);
  void CallError();
  void CallRxChar();
  void CallTxEmpty();
  void CallBreak();
  void CallRing();
  void CallCTSChange();
  void CallDSRChange();
  void CallRxFlag();
  void CallRLSDChange();
  void CallRx80Full();

  // Fields in the order of the component's data model.
  TComThread* FEventThread = nullptr;
  bool FThreadCreated = false;
  platform::SerialDevice FHandle;
  QObject* FWindow = nullptr;
  int FUpdateCount = 0;
  std::vector<TComLink*> FLinks;
  bool FTriggersOnRxChar = true;
  TThreadPriority FEventThreadPriority = tpNormal;
  bool FHasLink = false;
  bool FConnected = false;
  TBaudRate FBaudRate = br9600;
  int FCustomBaudRate = 9600;
  QString FPort = QStringLiteral("COM1");
  TStopBits FStopBits = sbOneStopBit;
  TDataBits FDataBits = dbEight;
  bool FDiscardNull = false;
  QChar FEventChar = QChar(0);
  TComEvents FEvents = AllComEvents;
  TComBuffer FBuffer;
  TComParity FParity;
  TComTimeouts FTimeouts;
  TComFlowControl FFlowControl;
  TSyncMethod FSyncMethod = smThreadSync;
  TStoredProps FStoredProps{spBasic};
  unsigned FCodePage = 0;

  // Received bytes of one event, kept between events (no allocation per
  // event); a nested delivery uses a buffer of its own.
  std::vector<char> FRxBuffer;
  bool FRxBufferBusy = false;
};

// Moves a component's link from the port it is bound to (`current`) to
// `next` (either may be null), with the removal notices that let the
// component forget a port that is destroyed.
void RebindLink(TComponent& owner, TComLink* link, TCustomComPort*& current, TCustomComPort* next);

// The component as the program places it: every property and event public.
class TComPort : public TCustomComPort {
 public:
  TComPort() = default;
};
