#include "components/TimerThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "components/ThreadedTimer.h"
#include "platform/AppException.h"

// State the worker shares with the GUI thread. The worker keeps its own
// reference, so a detached worker never touches freed memory. Notifications
// are sent under the lock: a handler on the worker may free the thread
// object as soon as the lock is released.
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

  // Drops a hand-over the GUI thread has not started. Lock held.
  void DropPending() {
    if (call == Call::Pending) call = Call::Dropped;
  }
};

namespace {

thread_local const TTimerThread::Shared* tCurrent = nullptr;

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
    owner->ThreadTick();
    lock.lock();
    s->busy = false;
    s->cv.notify_all();
  }
}

}  // namespace

TTimerThread::TTimerThread(TThreadedTimer* Timer) : FShared(std::make_shared<Shared>()) {
  FShared->owner = Timer;
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
    // A hand-over running now runs on this very call stack: the worker
    // waits for it, so it cannot be waited for here.
    waitForWorker = !IsCurrentThread() && FShared->call != Shared::Call::Running;
    FShared->cv.notify_all();
  }
  if (waitForWorker)
    FThread.join();
  else
    FThread.detach();
}

void TTimerThread::Suspend() {
  std::unique_lock lock(FShared->m);
  FShared->paused = true;
  ++FShared->generation;
  FShared->DropPending();
  FShared->cv.notify_all();
  if (IsCurrentThread()) return;
  FShared->cv.wait(lock,
                   [&] { return !FShared->busy || FShared->call == Shared::Call::Running; });
}

void TTimerThread::Resume() {
  {
    std::lock_guard lock(FShared->m);
    if (!FShared->paused) return;
    FShared->paused = false;
    FShared->cv.notify_all();
  }
}

bool TTimerThread::Suspended() const {
  std::lock_guard lock(FShared->m);
  return FShared->paused;
}

void TTimerThread::Terminate() {
  {
    std::lock_guard lock(FShared->m);
    FShared->terminated = true;
    FShared->DropPending();
    FShared->cv.notify_all();
  }
}

bool TTimerThread::Terminated() const {
  std::lock_guard lock(FShared->m);
  return FShared->terminated;
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
  QCoreApplication* app = QCoreApplication::instance();
  const std::shared_ptr<Shared> s = FShared;
  {
    std::lock_guard lock(s->m);
    if (s->paused || s->terminated || !app) return;
    s->call = Shared::Call::Pending;
  }
  QMetaObject::invokeMethod(
      app,
      [s, Method] {
        {
          std::lock_guard lock(s->m);
          if (s->call != Shared::Call::Pending) return;  // dropped
          s->call = Shared::Call::Running;
        }
        try {
          Method();
        } catch (const std::exception& e) {
          platform::HandleApplicationException(e);
        } catch (...) {
          platform::HandleApplicationException(std::runtime_error("Unknown exception in a timer"));
        }
        {
          std::lock_guard lock(s->m);
          s->call = Shared::Call::Done;
        }
        s->cv.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(s->m);
  s->cv.wait(lock, [&] { return s->call == Shared::Call::Done || s->call == Shared::Call::Dropped; });
  s->call = Shared::Call::None;
}
