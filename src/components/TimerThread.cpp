#include "components/TimerThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "components/ThreadedTimer.h"
#include "platform/AppException.h"
#include "platform/DebugOut.h"
#include "platform/StopSignal.h"

class TGuiWaker;

// State the worker shares with the GUI thread. The worker keeps its own
// reference, so a detached worker never touches freed memory. Notifications
// are sent under the lock: a handler on the worker may free the thread
// object as soon as the lock is released.
//
// The worker reaches the GUI thread only through `wake` (an event counter
// the GUI thread's waker watches) and this state, never by posting objects
// across: everything handed over is ordered by the lock.
struct TTimerThread::Shared {
  enum class Call { None, Pending, Running, Done, Dropped };

  mutable std::mutex m;
  std::condition_variable cv;
  TThreadedTimer* owner = nullptr;
  std::uint32_t interval = 1000;
  int priority = 0;
  int appliedPriority = 0;
  bool paused = true;
  bool terminated = false;
  // Bumped by every pause: a sleep in progress starts over.
  std::uint64_t generation = 0;
  // A tick is running; the worker is in the owner's code.
  bool busy = false;
  Call call = Call::None;
  std::function<void()> method;  // of the pending hand-over
  std::deque<QString> reports;    // exceptions of ticks on the worker
  bool hasWaker = false;
  bool wakerOrphaned = false;  // the thread object is gone
  platform::StopSignal wake;

  // Drops a hand-over the GUI thread has not started. Lock held.
  void DropPending() {
    if (call == Call::Pending) call = Call::Dropped;
  }
};

// Lives on the GUI thread: runs the pending hand-over and reports the
// worker's exceptions there when the worker sets `wake`.
class TGuiWaker : public QObject {
 public:
  // Made on the GUI thread, it watches at once. Made on another thread, it
  // moves to the GUI thread and watches once that thread gets to the event
  // posted for it: a wake set before is seen then; deleted before, it never
  // starts. Qt's event queue orders the two threads out of sight of the race
  // checker, so a lock of our own spans the hand-over as well.
  static TGuiWaker* Make(std::shared_ptr<TTimerThread::Shared> s, QThread* gui) {
    if (QThread::currentThread() == gui) {
      auto* waker = new TGuiWaker(std::move(s));
      waker->Watch();
      return waker;
    }
    std::lock_guard lock(HandOverLock());
    auto* waker = new TGuiWaker(std::move(s));
    waker->moveToThread(gui);
    QCoreApplication::postEvent(waker, new QEvent(QEvent::User));
    return waker;
  }
  bool Running() const { return FRunning; }

 protected:
  void customEvent(QEvent*) override {
    std::lock_guard lock(HandOverLock());
    Watch();
  }

 private:
  explicit TGuiWaker(std::shared_ptr<TTimerThread::Shared> s) : FShared(std::move(s)) {}

  static std::mutex& HandOverLock() {
    static std::mutex m;
    return m;
  }

  // A notifier belongs to the thread that makes it: the GUI thread here.
  void Watch() {
    FNotifier = new QSocketNotifier(FShared->wake.NativeHandle(), QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] { Run(); });
  }

  void Run() {
    const std::shared_ptr<TTimerThread::Shared> s = FShared;  // the method may free this
    s->wake.Reset();
    std::function<void()> method;
    std::deque<QString> reports;
    {
      std::lock_guard lock(s->m);
      if (s->wakerOrphaned) deleteLater();
      reports.swap(s->reports);
      if (s->call == TTimerThread::Shared::Call::Pending) {
        s->call = TTimerThread::Shared::Call::Running;
        method = s->method;
      }
    }
    for (const QString& r : reports)
      platform::HandleApplicationException(std::runtime_error(r.toStdString()));
    if (!method) return;
    FRunning = true;
    platform::RunHandlingExceptions(method);
    std::lock_guard lock(s->m);
    s->call = TTimerThread::Shared::Call::Done;
    s->cv.notify_all();
    // `this` may be queued for deletion by now, but is still there.
    FRunning = false;
  }

  std::shared_ptr<TTimerThread::Shared> FShared;
  QSocketNotifier* FNotifier = nullptr;
  bool FRunning = false;
};

namespace {

thread_local const TTimerThread::Shared* tCurrent = nullptr;

void Report(TTimerThread::Shared& s, const QString& message) {
  std::lock_guard lock(s.m);
  if (!s.hasWaker) {
    platform::DebugWarning(message);
    return;
  }
  s.reports.push_back(message);
  s.wake.Set();
}

void Execute(std::shared_ptr<TTimerThread::Shared> s) {
  using Clock = std::chrono::steady_clock;
  tCurrent = s.get();
  std::unique_lock lock(s->m);
  for (;;) {
    s->cv.wait(lock, [&] { return s->terminated || !s->paused; });
    if (s->terminated) break;
    if (s->priority != s->appliedPriority) {
      s->appliedPriority = s->priority;
      platform::SetCurrentThreadPriority(s->priority);
    }
    const std::uint64_t generation = s->generation;
    const auto deadline = Clock::now() + std::chrono::milliseconds(s->interval);
    // Woken early by a pause, a new interval or the end: start over.
    if (s->cv.wait_until(lock, deadline,
                         [&] { return s->terminated || s->generation != generation; }))
      continue;
    TThreadedTimer* owner = s->owner;
    if (!owner) continue;
    s->busy = true;
    lock.unlock();
    // An exception of a tick is reported and the ticking goes on; the owner
    // is not touched on that way (its handler may have freed it).
    try {
      owner->ThreadTick();
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
      Report(*s, QString::fromUtf8(e.what()));
    } catch (...) {
      Report(*s, QStringLiteral("Unknown exception in a timer"));
    }
    lock.lock();
    s->busy = false;
    s->cv.notify_all();
  }
}

}  // namespace

TTimerThread::TTimerThread(TThreadedTimer* Timer) : FShared(std::make_shared<Shared>()) {
  FShared->owner = Timer;
  // Hand-overs go to the GUI thread's event loop, also for a timer made on
  // another thread; without an application there is none.
  if (const QCoreApplication* app = QCoreApplication::instance()) {
    FWaker = TGuiWaker::Make(FShared, app->thread());
    FShared->hasWaker = true;
  }
  FThread = std::thread(Execute, FShared);
}

TTimerThread::~TTimerThread() { Stop(); }

void TTimerThread::Stop() {
  if (!FThread.joinable()) return;
  bool waitForWorker = true;
  {
    std::lock_guard lock(FShared->m);
    FShared->terminated = true;
    FShared->owner = nullptr;
    FShared->DropPending();
    // A hand-over running on this thread runs on this very call stack: the
    // worker waits for it, so it cannot be waited for here.
    waitForWorker = !IsCurrentThread() && !HandOverRunsHere();
    FShared->cv.notify_all();
  }
  if (waitForWorker)
    FThread.join();
  else
    FThread.detach();
  if (!FWaker) return;
  if (QThread::currentThread() != FWaker->thread()) {
    // Off the GUI thread: the waker frees itself there.
    std::lock_guard lock(FShared->m);
    FShared->wakerOrphaned = true;
    FShared->wake.Set();
  } else if (FWaker->Running()) {
    FWaker->deleteLater();  // its hand-over is on this call stack
  } else {
    delete FWaker;
  }
  FWaker = nullptr;
}

void TTimerThread::Suspend() {
  std::unique_lock lock(FShared->m);
  FShared->paused = true;
  ++FShared->generation;
  FShared->DropPending();
  FShared->cv.notify_all();
  if (IsCurrentThread()) return;
  FShared->cv.wait(lock, [&] { return !FShared->busy || HandOverRunsHere(); });
}

bool TTimerThread::HandOverRunsHere() const {
  return FShared->call == Shared::Call::Running && QThread::currentThread() == FWaker->thread();
}

void TTimerThread::Resume() {
  std::lock_guard lock(FShared->m);
  if (!FShared->paused) return;
  FShared->paused = false;
  FShared->cv.notify_all();
}

bool TTimerThread::Suspended() const {
  std::lock_guard lock(FShared->m);
  return FShared->paused;
}

std::uint32_t TTimerThread::Interval() const {
  std::lock_guard lock(FShared->m);
  return FShared->interval;
}

void TTimerThread::SetInterval(std::uint32_t ms) {
  std::lock_guard lock(FShared->m);
  FShared->interval = ms;
}

void TTimerThread::SetPriority(TThreadPriority p) {
  std::lock_guard lock(FShared->m);
  FShared->priority = platform::ThreadPriorityLevel(p);
}

bool TTimerThread::HandOverPending() const {
  std::lock_guard lock(FShared->m);
  return FShared->call == Shared::Call::Pending;
}

bool TTimerThread::IsCurrentThread() const { return tCurrent == FShared.get(); }

void TTimerThread::Synchronize(const std::function<void()>& Method) {
  const std::shared_ptr<Shared> s = FShared;
  std::unique_lock lock(s->m);
  if (s->paused || s->terminated || !s->hasWaker) return;
  s->call = Shared::Call::Pending;
  s->method = Method;
  s->wake.Set();
  s->cv.wait(lock, [&] { return s->call == Shared::Call::Done || s->call == Shared::Call::Dropped; });
  s->call = Shared::Call::None;
  const std::function<void()> done = std::move(s->method);
  s->method = nullptr;
  lock.unlock();
}
