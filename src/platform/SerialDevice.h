#pragma once
// A serial device as the port sees it: one device handle with line settings,
// time-outs, queue sizes, an event mask with an event wait, asynchronous reads
// and writes, purge, line status and modem lines. The values and bit masks are
// those the serial port component works with; the backend (termios, poll,
// ioctl) lives in its own file.
//
// Every operation that can fail returns 0 on success or the system error
// code (errno).

#include <QString>
#include <cstdint>
#include <memory>

namespace platform {

class StopSignal;

// Event mask bits.
enum SerialEvent : std::uint32_t {
  EvRxChar = 0x0001,
  EvRxFlag = 0x0002,
  EvTxEmpty = 0x0004,
  EvCts = 0x0008,
  EvDsr = 0x0010,
  EvRlsd = 0x0020,
  EvBreak = 0x0040,
  EvErr = 0x0080,
  EvRing = 0x0100,
  EvRx80Full = 0x0400,
};

// Line error bits of the status query.
enum SerialError : std::uint32_t {
  ErrRxOver = 0x0001,
  ErrOverrun = 0x0002,
  ErrRxParity = 0x0004,
  ErrFrame = 0x0008,
  ErrBreak = 0x0010,
  ErrTxFull = 0x0100,
  ErrIO = 0x0400,
  ErrMode = 0x8000,
};

// Modem status bits.
enum SerialModem : std::uint32_t {
  ModemCts = 0x0010,
  ModemDsr = 0x0020,
  ModemRing = 0x0040,
  ModemRlsd = 0x0080,
};

// Hold and state flags of the status query (bit positions of the status
// record's flag word).
enum SerialStatusFlag : std::uint32_t {
  StCtsHold = 0x01,
  StDsrHold = 0x02,
  StRlsdHold = 0x04,
  StXoffHold = 0x08,
  StXoffSent = 0x10,
  StEof = 0x20,
  StTxim = 0x40,
};

enum class SerialEscape { SetXoff, SetXon, SetRts, ClrRts, SetDtr, ClrDtr, SetBreak, ClrBreak };

enum SerialPurge : std::uint32_t {
  PurgeTxAbort = 0x0001,
  PurgeRxAbort = 0x0002,
  PurgeTxClear = 0x0004,
  PurgeRxClear = 0x0008,
};

// The device control block: line settings applied in one call.
struct SerialLineState {
  std::uint32_t BaudRate = 9600;
  bool Binary = true;
  bool ParityCheck = false;
  bool OutxCtsFlow = false;
  bool OutxDsrFlow = false;
  std::uint8_t DtrControl = 0;  // 0 off, 1 on, 2 handshake
  bool DsrSensitivity = false;
  bool TxContinueOnXoff = false;
  bool OutX = false;
  bool InX = false;
  bool ErrorCharOn = false;
  bool Null = false;
  std::uint8_t RtsControl = 0;  // 0 off, 1 on, 2 handshake, 3 toggle
  int XonLim = 0;
  int XoffLim = 0;
  std::uint8_t ByteSize = 8;  // 5..8
  std::uint8_t Parity = 0;    // none, odd, even, mark, space
  std::uint8_t StopBits = 0;  // 1, 1.5, 2
  char XonChar = 17;
  char XoffChar = 19;
  char ErrorChar = 0;
  char EvtChar = 0;
};

// Time-outs in milliseconds; 0xFFFFFFFF in ReadInterval with both read
// totals 0 means "a read returns at once with what is queued".
struct SerialTimeouts {
  std::uint32_t ReadInterval = 0xFFFFFFFFu;
  std::uint32_t ReadTotalMultiplier = 0;
  std::uint32_t ReadTotalConstant = 0;
  std::uint32_t WriteTotalMultiplier = 0;
  std::uint32_t WriteTotalConstant = 0;
};

struct SerialStatus {
  std::uint32_t Errors = 0;  // SerialError bits collected since the last query
  std::uint32_t Flags = 0;   // SerialStatusFlag bits; the tty layer tells none of them: 0
  int InQueue = 0;           // bytes received and not yet read
  int OutQueue = 0;          // bytes not yet sent
};

// The record of one asynchronous read or write. A transfer keeps pointing
// at the caller's buffer until it is finished.
struct SerialTransfer {
  enum class Kind : std::uint8_t { None, Read, Write };
  Kind kind = Kind::None;
  const char* writeData = nullptr;
  char* readData = nullptr;
  int count = 0;
  int done = 0;
  bool finished = true;
  int error = 0;
  // Deadlines in ms of the monotonic clock; < 0: none.
  std::int64_t totalDeadline = -1;
  std::int64_t lastByteTime = -1;
  std::uint32_t interval = 0xFFFFFFFFu;
  bool returnOnFirstByte = false;
  std::uint32_t abortGeneration = 0;
};

class SerialDevice {
 public:
  SerialDevice();
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  // Opens `path` for exclusive reading and writing.
  int Open(const QString& path);
  int Close();
  bool IsOpen() const;

  int SetState(const SerialLineState& state);
  const SerialLineState& State() const;  // the last state applied successfully
  int SetTimeouts(const SerialTimeouts& timeouts);
  int SetupQueues(int inputSize, int outputSize);

  // Without `withOutQueue` the transmit queue is not looked at (OutQueue 0).
  int ClearError(SerialStatus* status, bool withOutQueue = true);
  // Modem lines; a device without modem lines reports all lines off.
  int GetModemStatus(std::uint32_t* status);
  int Escape(SerialEscape function);
  int Purge(std::uint32_t flags);
  int TransmitChar(char ch);

  // Events the next waits report. Changing the mask ends a running wait with
  // no events.
  int SetEventMask(std::uint32_t mask);
  std::uint32_t EventMask() const;

  enum class WaitStatus { Events, Stopped, TimedOut, Failed };
  struct WaitResult {
    WaitStatus status = WaitStatus::Failed;
    std::uint32_t events = 0;
    int error = 0;
  };
  // Waits for one of the masked events, for `stop` (may be null) or for
  // `timeoutMs` (negative: no limit). A hang-up of the far end ends the wait
  // with Failed (EIO) and adds ErrIO to the collected errors.
  WaitResult WaitEvent(const StopSignal* stop, int timeoutMs);

  // Starts a transfer; on success `t.finished` tells whether it completed
  // at once (then `t.done` holds the bytes moved).
  int StartWrite(SerialTransfer& t, const char* data, int count);
  int StartRead(SerialTransfer& t, char* data, int count);
  // Moves a started transfer on. With `wait` it returns when the transfer is
  // finished; without, it returns EINPROGRESS while the transfer runs.
  int FinishTransfer(SerialTransfer& t, bool wait);

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace platform
