#include "serial/ComThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <mutex>

#include "platform/SerialDevice.h"
#include "platform/StopSignal.h"
#include "platform/ThreadPriority.h"
#include "serial/ComPort.h"

namespace {

struct MaskPair {
  TComEvent event;
  std::uint32_t mask;
};
constexpr MaskPair kMasks[] = {
    {evRxChar, platform::EvRxChar}, {evTxEmpty, platform::EvTxEmpty},
    {evRxFlag, platform::EvRxFlag}, {evRing, platform::EvRing},
    {evBreak, platform::EvBreak},   {evCTS, platform::EvCts},
    {evDSR, platform::EvDsr},       {evError, platform::EvErr},
    {evRLSD, platform::EvRlsd},     {evRx80Full, platform::EvRx80Full},
};

QEvent::Type HandOverEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace

std::uint32_t EventSetToWinMask(TComEvents Events) {
  std::uint32_t mask = 0;
  for (const MaskPair& p : kMasks)
    if (Events.Contains(p.event)) mask |= p.mask;
  return mask;
}

TComEvents WinMaskToEventSet(std::uint32_t Mask) {
  TComEvents events;
  for (const MaskPair& p : kMasks)
    if (Mask & p.mask) events.Include(p.event);
  return events;
}

// State the worker shares with the GUI side of a hand-over and with the
// thread object. Only one hand-over is outstanding at a time.
struct TComThread::Shared {
  enum class Call { Idle, Pending, Running, Done, Cancelled };

  TCustomComPort* port = nullptr;
  platform::SerialDevice* device = nullptr;
  TSyncMethod sync = smThreadSync;
  bool reportErrors = false;  // evError is among the port's events
  int priority = 0;
  QObject* target = nullptr;  // receiver of hand-over events, or none
  platform::StopSignal stop;

  std::mutex m;
  std::condition_variable cv;
  Call call = Call::Idle;
  bool stopRequested = false;
  bool detached = false;  // the thread object was freed by a handler on this thread
  std::atomic<std::uint32_t> events{0};
};

namespace {

using Shared = TComThread::Shared;

class HandOverEvent : public QEvent {
 public:
  HandOverEvent(std::shared_ptr<Shared> s, bool window, std::uint32_t value)
      : QEvent(HandOverEventType()), shared(std::move(s)), window(window), value(value) {}
  std::shared_ptr<Shared> shared;
  bool window;          // one hidden-window message (mask value) or one batch
  std::uint32_t value;  // mask value or event bits
};

}  // namespace

// Receives hand-overs on the GUI thread (or on the thread owning the hidden
// window).
class TComHandOver : public QObject {
 public:
  static void Fire(TCustomComPort* port, TComEvents events) { port->FireEvents(events); }

  bool event(QEvent* e) override {
    if (e->type() != HandOverEventType()) return QObject::event(e);
    auto* h = static_cast<HandOverEvent*>(e);
    Shared& s = *h->shared;
    if (h->window) {
      // Reply at once so that the worker goes on, then handle the message.
      {
        std::lock_guard lock(s.m);
        if (s.call != Shared::Call::Pending) return true;  // dropped by Close
        s.call = Shared::Call::Done;
      }
      s.cv.notify_all();
      if (s.port->Connected()) s.port->WindowEvent(h->value);
      return true;
    }
    {
      std::lock_guard lock(s.m);
      if (s.call != Shared::Call::Pending) return true;
      s.call = Shared::Call::Running;
    }
    Fire(s.port, TComEvents::FromBits(h->value));
    {
      std::lock_guard lock(s.m);
      s.call = Shared::Call::Done;
    }
    s.cv.notify_all();
    return true;
  }
};

namespace {

// Posts one hand-over and waits until the receiver took it (window message)
// or ran it (batch). False when the thread is to stop.
bool PostAndWait(const std::shared_ptr<Shared>& s, bool window, std::uint32_t value) {
  {
    std::lock_guard lock(s->m);
    if (s->stopRequested) return false;
    s->call = Shared::Call::Pending;
  }
  QCoreApplication::postEvent(s->target, new HandOverEvent(s, window, value));
  std::unique_lock lock(s->m);
  s->cv.wait(lock, [&] { return s->call == Shared::Call::Done || s->stopRequested; });
  if (s->call == Shared::Call::Done) {
    s->call = Shared::Call::Idle;
    return true;
  }
  // Stopping. Not started yet: the receiver drops it. Running: a handler on
  // the GUI thread is closing the port; it finishes on its own.
  if (s->call == Shared::Call::Pending) s->call = Shared::Call::Cancelled;
  return false;
}

bool HandOverEvents(const std::shared_ptr<Shared>& s, TComEvents events) {
  switch (s->sync) {
    case smThreadSync:
      if (!s->target) break;
      return PostAndWait(s, false, events.ToBits());
    case smWindowSync:
      if (!s->target) break;
      for (TComEvent ev : ComEventFireOrder)
        if (events.Contains(ev) && !PostAndWait(s, true, EventSetToWinMask({ev}))) return false;
      return true;
    case smNone:
      break;
  }
  TComHandOver::Fire(s->port, events);
  std::lock_guard lock(s->m);
  return !s->stopRequested;
}

void Execute(std::shared_ptr<Shared> s) {
  platform::SetCurrentThreadPriority(s->priority);
  for (;;) {
    const auto r = s->device->WaitEvent(&s->stop, -1);
    if (r.status == platform::SerialDevice::WaitStatus::Stopped) break;
    if (r.status == platform::SerialDevice::WaitStatus::Failed) {
      // The line is gone (or the wait broke): tell the owner once through
      // OnError, whose LastErrors then holds ceIO, and stop waiting instead
      // of failing again and again.
      if (s->reportErrors) {
        s->events = EventSetToWinMask({evError});
        HandOverEvents(s, {evError});
      }
      break;
    }
    if (r.events == 0) continue;
    s->events = r.events;
    if (!HandOverEvents(s, WinMaskToEventSet(r.events))) break;
  }
  {
    std::lock_guard lock(s->m);
    if (s->detached) return;  // the port may be gone already
  }
  s->device->SetEventMask(0);
  s->device->Purge(platform::PurgeTxClear | platform::PurgeRxClear);
}

}  // namespace

QObject* TComThread::CreatePortWindow() { return new TComHandOver; }

TComThread::TComThread(TCustomComPort* AComPort) : FShared(std::make_shared<Shared>()) {
  Shared& s = *FShared;
  s.port = AComPort;
  s.device = &AComPort->FHandle;
  s.sync = AComPort->SyncMethod();
  s.reportErrors = AComPort->Events().Contains(evError);
  s.priority = platform::ThreadPriorityLevel(AComPort->EventThreadPriority());
  if (s.sync == smWindowSync) {
    s.target = AComPort->FWindow;
  } else if (s.sync == smThreadSync && QCoreApplication::instance()) {
    s.target = new TComHandOver;
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
      s.target->moveToThread(QCoreApplication::instance()->thread());
  }
  s.device->SetEventMask(EventSetToWinMask(AComPort->Events()));
  FThread = std::thread(Execute, FShared);
}

TComThread::~TComThread() {
  SignalStop();
  if (FThread.get_id() == std::this_thread::get_id()) {
    // A handler running on this very thread (smNone) closed the port: the
    // thread cannot wait for itself, so it ends on its own after the handler.
    {
      std::lock_guard lock(FShared->m);
      FShared->detached = true;
    }
    FThread.detach();
  } else if (FThread.joinable()) {
    FThread.join();
  }
  // The receiver may be the object whose event is running right now (a
  // handler closed the port); pending hand-overs die with it.
  if (FShared->sync == smThreadSync && FShared->target) FShared->target->deleteLater();
}

void TComThread::SignalStop() {
  {
    std::lock_guard lock(FShared->m);
    FShared->stopRequested = true;
  }
  FShared->cv.notify_all();
  FShared->stop.Set();
  std::this_thread::yield();
}

TComEvents TComThread::Events() const { return WinMaskToEventSet(FShared->events); }
