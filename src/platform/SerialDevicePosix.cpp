// POSIX backend of the serial device: termios for the line settings, poll for
// the event wait, ioctl for queues and modem lines. A receive queue of our own
// sits between the kernel and the reader so that "new bytes arrived", the
// event character, NUL dropping and the 80 % mark behave like a serial
// driver's, and so that unread bytes never make the event wait spin.
#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/SerialDevice.h"
#include "platform/SerialInputFilter.h"
#include "platform/StopSignal.h"

namespace platform {

namespace detail {
int ApplyLineState(int fd, const SerialLineState& s);
bool HasRtsCtsFlow(const SerialLineState& s);
}  // namespace detail

namespace {

constexpr int kMinQueue = 64 * 1024;  // never less than this, whatever the set-up asks
constexpr int kLineTickMs = 20;       // modem lines and error counters are polled
constexpr int kTxTickMs = 5;          // transmit queue checked while it drains
constexpr int kBurstUs = 1000;        // after a quiet line: wait for more bytes after the first
constexpr int kBurstBytes = 128;      // ... unless this many are there already
constexpr int kStreamGatherUs = 3000; // while a stream flows: gather up to this long
constexpr int kStreamGapUs = 20000;   // bytes reported this recently: a stream flows
constexpr int kMinPauseUs = 100;      // a shorter pause is not worth a wake-up
constexpr int kReadSliceMs = 10;      // a reader also sees bytes the event wait queued
constexpr std::uint32_t kForever = 0xFFFFFFFFu;
constexpr std::uint32_t kRxEvents = EvRxChar | EvRxFlag | EvRx80Full;
constexpr std::uint32_t kModemEvents = EvCts | EvDsr | EvRlsd | EvRing;
constexpr std::uint32_t kCounterEvents = EvBreak | EvErr;

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::int64_t NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Sleeps `us` microseconds unless `stop` (may be null) is set first; true
// when it was.
bool SleepUnlessStopped(const StopSignal* stop, std::int64_t us) {
  const timespec t{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000};
  if (!stop) {
    nanosleep(&t, nullptr);
    return false;
  }
  pollfd p{stop->NativeHandle(), POLLIN, 0};
  return ppoll(&p, 1, &t, nullptr) == 1;
}

int Remaining(std::int64_t deadline) {
  if (deadline < 0) return -1;
  return static_cast<int>(std::max<std::int64_t>(0, deadline - NowMs()));
}

int MinTimeout(int a, int b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return std::min(a, b);
}

// The device has no such line or function (a pseudo-terminal has no modem
// lines, break or error counters).
bool NoSuchFunction(int e) { return e == ENOTTY || e == EINVAL || e == ENOSYS; }
// The far end went away (pty master closed, USB adapter pulled).
bool HangUpError(int e) { return e == EIO || e == ENXIO || e == ENODEV; }

std::uint32_t ModemBits(int tiocm) {
  std::uint32_t r = 0;
  if (tiocm & TIOCM_CTS) r |= ModemCts;
  if (tiocm & TIOCM_DSR) r |= ModemDsr;
  if (tiocm & TIOCM_RNG) r |= ModemRing;
  if (tiocm & TIOCM_CAR) r |= ModemRlsd;
  return r;
}

}  // namespace

struct SerialDevice::Impl {
  int fd = -1;
  int wakeFd = -1;  // makes a running event wait look at its state again
  bool hasModem = false;
  bool hasCounters = false;
  SerialLineState state;
  SerialTimeouts timeouts;

  std::atomic<std::uint32_t> mask{0};
  std::atomic<std::uint32_t> maskGeneration{0};
  std::atomic<std::uint32_t> abortGeneration{0};
  std::atomic<std::uint32_t> errors{0};
  std::atomic<bool> txWatch{false};
  std::atomic<bool> hungUp{false};

  // Receive queue, filter and the events found while filling it.
  std::mutex m;
  std::vector<char> q;
  size_t head = 0;
  size_t tail = 0;
  int capacity = kMinQueue;
  int inputSize = 0;
  bool rx80Reported = false;
  std::uint32_t pending = 0;
  std::int64_t pulledTotal = 0;  // bytes ever taken from the kernel
  SerialInputFilter filter;

  // Only the waiting thread (and SetEventMask before it waits) touches these.
  std::uint32_t lastModem = 0;
  serial_icounter_struct lastCount{};
  std::int64_t lastRxUs = -1;     // when the wait last moved received bytes into the queue
  std::int64_t gatherUs = -1;     // when the last gathering began
  std::int64_t gatherTotal = 0;   // bytes arrived by then

  int Size() const { return static_cast<int>(tail - head); }

  void Kick() {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd, &one, sizeof one);
  }

  void SetHungUp() {
    hungUp = true;
    errors |= ErrIO;
  }

  // The 80 % mark of the input size says that the reader falls behind.
  // `fresh` bytes were just moved in by the event wait and not announced yet:
  // while the reader has taken everything it was told about, it is not
  // behind on them, however long the wait gathered (or was kept from running
  // by a busy machine). Once it leaves announced bytes unread, everything
  // queued counts, as in a driver's buffer.
  void CheckRx80Locked(int fresh = 0) {
    const int threshold = inputSize * 8 / 10;
    if (inputSize <= 0) return;
    if (Size() < threshold) {
      rx80Reported = false;
    } else if (Size() > fresh) {
      if (!rx80Reported) pending |= EvRx80Full;
      rx80Reported = true;
    }
  }

  // Moves up to `limit` bytes the kernel holds into the queue (one read).
  // Returns the bytes added or -errno; a hang-up adds nothing and is
  // remembered. Only the event wait moves bytes nobody asked for: those it
  // announces. A reader takes no more than it needs, so nothing lands in the
  // queue unannounced.
  int PullLocked(bool byWaiter, int limit) {
    if (fd < 0) return -EBADF;
    if (hungUp) return 0;
    const int space = std::min(capacity - Size(), limit);
    if (space <= 0) return 0;
    if (q.size() - tail < static_cast<size_t>(space)) {
      if (head > 0) {
        std::memmove(q.data(), q.data() + head, tail - head);
        tail -= head;
        head = 0;
      }
      if (q.size() < static_cast<size_t>(capacity)) q.resize(static_cast<size_t>(capacity));
    }
    ssize_t r;
    do {
      r = read(fd, q.data() + tail, static_cast<size_t>(space));
    } while (r < 0 && errno == EINTR);
    if (r < 0) {
      if (errno == EAGAIN) return 0;
      if (HangUpError(errno)) {
        SetHungUp();
        return 0;
      }
      return -errno;
    }
    if (r == 0) {  // with VMIN 1 a non-blocking read only gives 0 at hang-up
      SetHungUp();
      return 0;
    }
    pulledTotal += r;
    bool sawEventChar = false;
    const int n = filter.Filter(q.data() + tail, static_cast<int>(r), &sawEventChar);
    tail += static_cast<size_t>(n);
    if (n > 0 && byWaiter) pending |= EvRxChar;
    if (sawEventChar) pending |= EvRxFlag;
    CheckRx80Locked(byWaiter ? n : 0);
    return n;
  }

  int TakeLocked(char* dst, int n) {
    const bool wasFull = Size() >= capacity;
    const int k = std::min(n, Size());
    if (k <= 0) return 0;
    std::memcpy(dst, q.data() + head, static_cast<size_t>(k));
    head += static_cast<size_t>(k);
    if (head == tail) head = tail = 0;
    CheckRx80Locked();
    if (wasFull) Kick();  // the event wait stopped reading while the queue was full
    return k;
  }

  void ResetQueueLocked() {
    head = tail = 0;
    pending &= ~kRxEvents;
    rx80Reported = false;
    filter.Configure(state.ParityCheck && state.ErrorCharOn, state.ErrorChar, state.Null,
                     state.EvtChar);
  }

  // Line and counter changes since the last look (waiting thread only).
  std::uint32_t PollLines(std::uint32_t msk) {
    std::uint32_t ev = 0;
    if (hasModem && (msk & kModemEvents)) {
      int bits = 0;
      if (ioctl(fd, TIOCMGET, &bits) == 0) {
        const std::uint32_t now = ModemBits(bits);
        const std::uint32_t changed = now ^ lastModem;
        if (changed & ModemCts) ev |= EvCts;
        if (changed & ModemDsr) ev |= EvDsr;
        if (changed & ModemRlsd) ev |= EvRlsd;
        if ((changed & ModemRing) && (now & ModemRing)) ev |= EvRing;
        lastModem = now;
      }
    }
    if (hasCounters && (msk & kCounterEvents)) {
      serial_icounter_struct c{};
      if (ioctl(fd, TIOCGICOUNT, &c) == 0) {
        std::uint32_t err = 0;
        if (c.brk != lastCount.brk) err |= ErrBreak;
        if (c.frame != lastCount.frame) err |= ErrFrame;
        if (c.parity != lastCount.parity) err |= ErrRxParity;
        if (c.overrun != lastCount.overrun) err |= ErrOverrun;
        if (c.buf_overrun != lastCount.buf_overrun) err |= ErrRxOver;
        lastCount = c;
        if (err & ErrBreak) ev |= EvBreak;
        if (err & ~ErrBreak) ev |= EvErr;
        errors |= err;
      }
    }
    return ev & msk;
  }

  // Received bytes nobody has read yet (in the kernel and in the queue),
  // every byte that ever arrived, and the input size the queue stands for;
  // false when the device cannot tell.
  bool Arrived(int& waiting, std::int64_t& total, int& size) {
    int kernel = 0;
    if (ioctl(fd, FIONREAD, &kernel) != 0) return false;
    std::lock_guard lock(m);
    waiting = kernel + Size();
    total = pulledTotal + kernel;
    size = inputSize > 0 ? inputSize : capacity;
    return true;
  }

  // Serial data comes in bursts, and a streaming meter sends them back to
  // back: wait for more before reporting, so that the reader takes one batch
  // per wake-up instead of one per line. After a quiet line the first bytes
  // wait about a millisecond (a reply is complete by then). While a stream
  // flows the batch gathers for a few milliseconds, at the stream's pace up
  // to half the input size, so that batches stay as a driver's buffer would
  // hold them. False when `stop` came.
  bool GatherBurst(const StopSignal* stop) {
    const std::int64_t now = NowUs();
    int waiting = 0, size = 0;
    std::int64_t total = 0;
    if (!Arrived(waiting, total, size)) return true;
    const bool stream = lastRxUs >= 0 && now - lastRxUs < kStreamGapUs && gatherUs >= 0;
    // Arrival pace since the last gathering, bytes per microsecond.
    double pace = 0;
    if (stream && now > gatherUs && total > gatherTotal)
      pace = static_cast<double>(total - gatherTotal) / static_cast<double>(now - gatherUs);
    gatherUs = now;
    gatherTotal = total;
    std::int64_t pause = 0;
    if (!stream) {
      if (waiting < kBurstBytes) pause = kBurstUs;
    } else {
      const int cap = size / 2;
      if (waiting < cap) pause = kStreamGatherUs;
      if (waiting < cap && pace > 0)
        pause = std::min(pause, static_cast<std::int64_t>((cap - waiting) / pace));
    }
    if (pause < kMinPauseUs) return true;
    return !SleepUnlessStopped(stop, pause);
  }

  void TakeLineBaseline() {
    int bits = 0;
    lastModem = 0;
    if (hasModem && ioctl(fd, TIOCMGET, &bits) == 0)
      lastModem = ModemBits(bits);
    if (hasCounters) ioctl(fd, TIOCGICOUNT, &lastCount);
  }
};

SerialDevice::SerialDevice() : d(std::make_unique<Impl>()) {
  d->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

SerialDevice::~SerialDevice() {
  Close();
  if (d->wakeFd >= 0) close(d->wakeFd);
}

int SerialDevice::Open(const QString& path) {
  if (d->fd >= 0) return EBUSY;
  const QByteArray native = path.toLocal8Bit();
  const int fd = open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  // Nobody else may use the line while we hold it: the advisory lock keeps out
  // other programs of this kind (also when run as root), TIOCEXCL the rest.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int e = errno == EWOULDBLOCK ? EBUSY : errno;
    close(fd);
    return e;
  }
  ioctl(fd, TIOCEXCL);
  termios t{};
  if (tcgetattr(fd, &t) == 0) {
    cfmakeraw(&t);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &t);
  }
  int bits = 0;
  d->hasModem = ioctl(fd, TIOCMGET, &bits) == 0;
  serial_icounter_struct c{};
  d->hasCounters = ioctl(fd, TIOCGICOUNT, &c) == 0;
  std::lock_guard lock(d->m);
  d->fd = fd;
  d->hungUp = false;
  d->lastRxUs = -1;
  d->gatherUs = -1;
  d->errors = 0;
  d->txWatch = false;
  d->mask = 0;
  d->q.assign(static_cast<size_t>(d->capacity), '\0');
  d->ResetQueueLocked();
  d->pending = 0;
  return 0;
}

int SerialDevice::Close() {
  std::lock_guard lock(d->m);
  if (d->fd < 0) return EBADF;
  ioctl(d->fd, TIOCNXCL);
  const int r = close(d->fd);
  d->fd = -1;
  d->head = d->tail = 0;
  d->pending = 0;
  d->mask = 0;
  return r == 0 || errno == EINTR ? 0 : errno;
}

bool SerialDevice::IsOpen() const { return d->fd >= 0; }

int SerialDevice::SetState(const SerialLineState& s) {
  if (d->fd < 0) return EBADF;
  if (s.BaudRate == 0 || s.ByteSize < 5 || s.ByteSize > 8 || s.Parity > 4 || s.StopBits > 2 ||
      s.DtrControl > 2 || s.RtsControl > 3)
    return EINVAL;
  if (int e = detail::ApplyLineState(d->fd, s)) return e;
  // DTR/RTS follow the control setting; handshake modes the driver cannot do
  // keep the line raised. Without modem lines there is nothing to set.
  auto line = [&](int bit, bool on) -> int {
    if (ioctl(d->fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0) return 0;
    return NoSuchFunction(errno) ? 0 : errno;
  };
  if (int e = line(TIOCM_DTR, s.DtrControl != 0)) return e;
  if (!detail::HasRtsCtsFlow(s)) {
    if (int e = line(TIOCM_RTS, s.RtsControl == 1)) return e;
  }
  std::lock_guard lock(d->m);
  d->state = s;
  d->filter.Configure(s.ParityCheck && s.ErrorCharOn, s.ErrorChar, s.Null, s.EvtChar);
  return 0;
}

const SerialLineState& SerialDevice::State() const { return d->state; }

int SerialDevice::SetTimeouts(const SerialTimeouts& timeouts) {
  if (d->fd < 0) return EBADF;
  d->timeouts = timeouts;
  return 0;
}

int SerialDevice::SetupQueues(int inputSize, int outputSize) {
  if (d->fd < 0) return EBADF;
  if (inputSize < 0 || outputSize < 0) return EINVAL;
  std::lock_guard lock(d->m);
  d->inputSize = inputSize;
  d->capacity = std::max(inputSize, kMinQueue);
  if (d->q.size() < static_cast<size_t>(d->capacity)) d->q.resize(static_cast<size_t>(d->capacity));
  d->CheckRx80Locked();
  return 0;
}

int SerialDevice::ClearError(SerialStatus* status, bool withOutQueue) {
  if (d->fd < 0) return EBADF;
  SerialStatus st;
  int kernel = 0;
  // Bytes still in the kernel count as received (a hung-up line has none).
  if (d->hungUp || ioctl(d->fd, FIONREAD, &kernel) != 0) kernel = 0;
  {
    std::lock_guard lock(d->m);
    st.InQueue = d->Size() + kernel;
  }
  int out = 0;
  if (withOutQueue && !d->hungUp && ioctl(d->fd, TIOCOUTQ, &out) == 0) st.OutQueue = out;
  // A line whose far end is gone keeps saying so.
  st.Errors = d->errors.exchange(0) | (d->hungUp ? ErrIO : 0u);
  *status = st;
  return 0;
}

int SerialDevice::GetModemStatus(std::uint32_t* status) {
  if (d->fd < 0) return EBADF;
  int bits = 0;
  *status = 0;
  if (ioctl(d->fd, TIOCMGET, &bits) != 0) return NoSuchFunction(errno) ? 0 : errno;
  *status = ModemBits(bits);
  return 0;
}

int SerialDevice::Escape(SerialEscape function) {
  if (d->fd < 0) return EBADF;
  int r = 0;
  int bit = 0;
  switch (function) {
    case SerialEscape::SetXon: r = tcflow(d->fd, TCOON); break;
    case SerialEscape::SetXoff: r = tcflow(d->fd, TCOOFF); break;
    case SerialEscape::SetBreak: r = ioctl(d->fd, TIOCSBRK); break;
    case SerialEscape::ClrBreak: r = ioctl(d->fd, TIOCCBRK); break;
    case SerialEscape::SetRts: bit = TIOCM_RTS; r = ioctl(d->fd, TIOCMBIS, &bit); break;
    case SerialEscape::ClrRts: bit = TIOCM_RTS; r = ioctl(d->fd, TIOCMBIC, &bit); break;
    case SerialEscape::SetDtr: bit = TIOCM_DTR; r = ioctl(d->fd, TIOCMBIS, &bit); break;
    case SerialEscape::ClrDtr: bit = TIOCM_DTR; r = ioctl(d->fd, TIOCMBIC, &bit); break;
  }
  if (r == 0 || NoSuchFunction(errno)) return 0;
  return errno;
}

int SerialDevice::Purge(std::uint32_t flags) {
  if (d->fd < 0) return EBADF;
  if (flags & (PurgeTxAbort | PurgeRxAbort)) ++d->abortGeneration;
  auto flush = [&](int which) -> int {
    if (tcflush(d->fd, which) == 0) return 0;
    // A line whose far end is gone has nothing left to discard.
    return HangUpError(errno) ? 0 : errno;
  };
  if (flags & PurgeRxClear) {
    if (int e = flush(TCIFLUSH)) return e;
    std::lock_guard lock(d->m);
    d->ResetQueueLocked();
  }
  if (flags & PurgeTxClear) {
    if (int e = flush(TCOFLUSH)) return e;
  }
  return 0;
}

int SerialDevice::TransmitChar(char ch) {
  if (d->fd < 0) return EBADF;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const ssize_t w = write(d->fd, &ch, 1);
    if (w == 1) {
      d->txWatch = true;
      if (d->mask & EvTxEmpty) d->Kick();
      return 0;
    }
    if (w < 0 && errno != EAGAIN && errno != EINTR) return errno;
    pollfd p{d->fd, POLLOUT, 0};
    poll(&p, 1, 1000);
  }
  return EAGAIN;
}

int SerialDevice::SetEventMask(std::uint32_t mask) {
  if (d->fd < 0) return EBADF;
  {
    std::lock_guard lock(d->m);
    d->pending = 0;
  }
  // Line changes count from here on (the waiter is not running yet, or its
  // wait is about to end because of the new generation).
  d->TakeLineBaseline();
  d->mask = mask;
  ++d->maskGeneration;
  d->Kick();
  return 0;
}

std::uint32_t SerialDevice::EventMask() const { return d->mask; }

SerialDevice::WaitResult SerialDevice::WaitEvent(const StopSignal* stop, int timeoutMs) {
  WaitResult res;
  Impl& s = *d;
  if (s.fd < 0) {
    res.error = EBADF;
    return res;
  }
  const std::uint32_t generation = s.maskGeneration;
  const std::int64_t deadline = timeoutMs < 0 ? -1 : NowMs() + timeoutMs;
  for (;;) {
    const std::uint32_t msk = s.mask;
    if (s.maskGeneration != generation) {
      res.status = WaitStatus::Events;  // the mask changed: the wait ends empty
      return res;
    }
    std::uint32_t ev = 0;
    {
      std::lock_guard lock(s.m);
      ev = s.pending & msk;
      s.pending = 0;
    }
    if ((msk & EvTxEmpty) && s.txWatch && !s.hungUp) {
      int out = 0;
      if (ioctl(s.fd, TIOCOUTQ, &out) != 0 || out == 0) {
        s.txWatch = false;
        ev |= EvTxEmpty;
      }
    }
    ev |= s.PollLines(msk);
    if (ev) {
      res.status = WaitStatus::Events;
      res.events = ev;
      return res;
    }
    if (s.hungUp) {
      res.error = EIO;
      return res;
    }

    bool wantRx = false;
    if (msk & kRxEvents) {
      std::lock_guard lock(s.m);
      wantRx = s.Size() < s.capacity;
    }
    pollfd fds[3];
    int n = 0;
    const int stopIndex = stop ? n++ : -1;
    if (stop) fds[stopIndex] = {stop->NativeHandle(), POLLIN, 0};
    const int wakeIndex = n++;
    fds[wakeIndex] = {s.wakeFd, POLLIN, 0};
    const int devIndex = n++;
    fds[devIndex] = {s.fd, static_cast<short>(wantRx ? POLLIN : 0), 0};
    int timeout = Remaining(deadline);
    if ((s.hasModem && (msk & kModemEvents)) || (s.hasCounters && (msk & kCounterEvents)))
      timeout = MinTimeout(timeout, kLineTickMs);
    if ((msk & EvTxEmpty) && s.txWatch) timeout = MinTimeout(timeout, kTxTickMs);

    const int r = poll(fds, static_cast<nfds_t>(n), timeout);
    if (r < 0) {
      if (errno == EINTR) continue;
      res.error = errno;
      return res;
    }
    if (stop && (fds[stopIndex].revents & POLLIN)) {
      res.status = WaitStatus::Stopped;
      return res;
    }
    if (fds[wakeIndex].revents & POLLIN) {
      std::uint64_t v;
      [[maybe_unused]] ssize_t k = read(s.wakeFd, &v, sizeof v);
    }
    const short rev = fds[devIndex].revents;
    if (rev & POLLNVAL) {
      res.error = EBADF;
      return res;
    }
    if (rev & (POLLIN | POLLHUP | POLLERR)) {
      if ((rev & POLLIN) && !(rev & POLLHUP) && !s.GatherBurst(stop)) {
        res.status = WaitStatus::Stopped;
        return res;
      }
      int added = 0;
      {
        std::lock_guard lock(s.m);
        added = s.PullLocked(true, s.capacity);
      }
      if (added < 0) {
        res.error = -added;
        return res;
      }
      if (added > 0) s.lastRxUs = NowUs();
      // An error or hang-up condition that yields no bytes must not be
      // polled again and again.
      if (added == 0 && (rev & (POLLHUP | POLLERR))) s.SetHungUp();
    }
    if (deadline >= 0 && NowMs() >= deadline) {
      res.status = WaitStatus::TimedOut;
      return res;
    }
  }
}

namespace {
void BeginTransfer(SerialTransfer& t, SerialTransfer::Kind kind, int count, std::uint32_t abortGen) {
  t = SerialTransfer{};
  t.kind = kind;
  t.count = std::max(count, 0);
  t.finished = false;
  t.abortGeneration = abortGen;
}
}  // namespace

int SerialDevice::StartWrite(SerialTransfer& t, const char* data, int count) {
  if (d->fd < 0) return EBADF;
  BeginTransfer(t, SerialTransfer::Kind::Write, count, d->abortGeneration);
  t.writeData = data;
  const std::uint64_t total =
      std::uint64_t{d->timeouts.WriteTotalMultiplier} * static_cast<std::uint64_t>(t.count) +
      d->timeouts.WriteTotalConstant;
  if (d->timeouts.WriteTotalMultiplier || d->timeouts.WriteTotalConstant)
    t.totalDeadline = NowMs() + static_cast<std::int64_t>(total);
  const int e = FinishTransfer(t, false);
  return e == EINPROGRESS ? 0 : e;
}

int SerialDevice::StartRead(SerialTransfer& t, char* data, int count) {
  if (d->fd < 0) return EBADF;
  BeginTransfer(t, SerialTransfer::Kind::Read, count, d->abortGeneration);
  t.readData = data;
  const SerialTimeouts& to = d->timeouts;
  const std::int64_t now = NowMs();
  if (to.ReadInterval == kForever && to.ReadTotalMultiplier == 0 && to.ReadTotalConstant == 0) {
    t.totalDeadline = now;  // return at once with what is queued
  } else if (to.ReadInterval == kForever && to.ReadTotalMultiplier == kForever &&
             to.ReadTotalConstant > 0 && to.ReadTotalConstant < kForever) {
    t.returnOnFirstByte = true;
    t.totalDeadline = now + to.ReadTotalConstant;
  } else {
    if (to.ReadTotalMultiplier || to.ReadTotalConstant)
      t.totalDeadline = now + static_cast<std::int64_t>(std::uint64_t{to.ReadTotalMultiplier} *
                                                            static_cast<std::uint64_t>(t.count) +
                                                        to.ReadTotalConstant);
    if (to.ReadInterval != 0) t.interval = to.ReadInterval;
  }
  const int e = FinishTransfer(t, false);
  return e == EINPROGRESS ? 0 : e;
}

int SerialDevice::FinishTransfer(SerialTransfer& t, bool wait) {
  Impl& s = *d;
  for (;;) {
    if (t.finished) return t.error;
    auto finish = [&](int error) {
      t.finished = true;
      t.error = error;
      return error;
    };
    if (s.fd < 0) return finish(EBADF);
    if (t.abortGeneration != s.abortGeneration) return finish(ECANCELED);
    const std::int64_t now = NowMs();
    short waitFor = 0;
    if (t.kind == SerialTransfer::Kind::Write) {
      while (t.done < t.count) {
        const ssize_t w = write(s.fd, t.writeData + t.done, static_cast<size_t>(t.count - t.done));
        if (w > 0) {
          t.done += static_cast<int>(w);
          s.txWatch = true;
          if (s.mask & EvTxEmpty) s.Kick();
          continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN) {
          if (HangUpError(errno)) s.SetHungUp();
          return finish(errno);
        }
        break;
      }
      // A write time-out ends the transfer with what was sent.
      if (t.done == t.count || (t.totalDeadline >= 0 && now >= t.totalDeadline)) return finish(0);
      waitFor = POLLOUT;
    } else {
      int got = 0;
      {
        std::lock_guard lock(s.m);
        int r = s.TakeLocked(t.readData + t.done, t.count - t.done);
        while (t.done + r < t.count) {
          const int pulled = s.PullLocked(false, t.count - t.done - r);
          if (pulled < 0) return finish(-pulled);
          if (pulled == 0) break;
          r += s.TakeLocked(t.readData + t.done + r, t.count - t.done - r);
        }
        got = r;
      }
      if (got > 0) {
        t.done += got;
        t.lastByteTime = now;
      }
      if (t.done == t.count) return finish(0);
      if (t.returnOnFirstByte && t.done > 0) return finish(0);
      if (t.totalDeadline >= 0 && now >= t.totalDeadline) return finish(0);
      if (t.done > 0 && t.interval != kForever && now - t.lastByteTime >= t.interval)
        return finish(0);
      if (s.hungUp) return finish(t.done > 0 ? 0 : EIO);
      waitFor = POLLIN;
    }
    if (!wait) return EINPROGRESS;
    int timeout = Remaining(t.totalDeadline);
    if (t.kind == SerialTransfer::Kind::Read) {
      timeout = MinTimeout(timeout, kReadSliceMs);
      if (t.done > 0 && t.interval != kForever)
        timeout = MinTimeout(timeout, static_cast<int>(std::max<std::int64_t>(
                                          0, t.lastByteTime + t.interval - now)));
    }
    pollfd p{s.fd, waitFor, 0};
    const int r = poll(&p, 1, timeout);
    if (r < 0 && errno != EINTR) return finish(errno);
    if (r > 0 && (p.revents & POLLNVAL)) return finish(EBADF);
    if (r > 0 && (p.revents & (POLLHUP | POLLERR)) && t.kind == SerialTransfer::Kind::Write) {
      s.SetHungUp();
      return finish(EIO);
    }
  }
}

}  // namespace platform
