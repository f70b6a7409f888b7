#include "components/ThreadedTimer.h"

#include <QObject>
#include <QTimerEvent>
#include <climits>

#include "components/TimerThread.h"
#include "platform/AppException.h"

// The window variant's tick source: a timer of the event loop of the thread
// that chose that variant.
class TTimerWindow : public QObject {
 public:
  explicit TTimerWindow(TThreadedTimer* owner) : FOwner(owner) {}

 protected:
  void timerEvent(QTimerEvent*) override { FOwner->WindowTick(); }

 private:
  TThreadedTimer* FOwner;
};

TThreadedTimer::TThreadedTimer() : FTimerThread(std::make_unique<TTimerThread>(this)) {}

TThreadedTimer::~TThreadedTimer() {
  FDestroying = true;
  FEnabled = false;
  {
    std::lock_guard lock(FHandlerLock);
    FOnTimer = nullptr;
  }
  // Waits for a tick on the worker and drops one waiting for this thread.
  FTimerThread->Stop();
  FTimerThread.reset();
  ReleaseWindow();
}

void TThreadedTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TThreadedTimer::SetInterval(std::uint32_t value) {
  if (value == FInterval) return;
  FInterval = value;
  UpdateTimer();
}

void TThreadedTimer::SetThreaded(bool value) {
  if (value == FThreaded) return;
  FThreaded = value;
  UpdateTimer();
}

void TThreadedTimer::SetThreadPriority(TThreadPriority value) {
  if (value == FThreadPriority) return;
  FThreadPriority = value;
  if (FThreaded) UpdateTimer();
}

void TThreadedTimer::SetOnTimer(TNotifyEvent value) {
  bool changed;
  {
    std::lock_guard lock(FHandlerLock);
    changed = static_cast<bool>(FOnTimer) != static_cast<bool>(value);
    FOnTimer = std::move(value);
  }
  if (changed) UpdateTimer();
}

bool TThreadedTimer::OnTimerAssigned() const {
  std::lock_guard lock(FHandlerLock);
  return static_cast<bool>(FOnTimer);
}

void TThreadedTimer::ReleaseWindow() {
  if (!FWindowHandle) return;
  if (FWindowTimerId) FWindowHandle->killTimer(FWindowTimerId);
  FWindowTimerId = 0;
  FWindowHandle.reset();
}

void TThreadedTimer::UpdateTimer() {
  const bool ticks = FInterval != 0 && FEnabled && OnTimerAssigned();
  if (!FTimerThread->Suspended()) FTimerThread->Suspend();
  if (FThreaded) {
    ReleaseWindow();
    FTimerThread->SetInterval(FInterval);
    if (ticks) {
      FTimerThread->SetPriority(FThreadPriority);
      FTimerThread->Resume();
    }
    return;
  }
  if (!FWindowHandle) {
    FWindowHandle = std::make_unique<TTimerWindow>(this);
  } else if (FWindowTimerId) {
    FWindowHandle->killTimer(FWindowTimerId);
    FWindowTimerId = 0;
  }
  if (ticks) {
    FWindowTimerId = FWindowHandle->startTimer(static_cast<int>(std::min<std::uint32_t>(FInterval, INT_MAX)));
    if (FWindowTimerId == 0) throw EOutOfResources("Nicht genügend Timer verfügbar");
  }
}

void TThreadedTimer::Synchronize(const std::function<void()>& Method) {
  if (FTimerThread && FTimerThread->IsCurrentThread())
    FTimerThread->Synchronize(Method);
  else
    Method();
}

void TThreadedTimer::Timer() {
  if (!FEnabled || FDestroying) return;
  TNotifyEvent handler;
  {
    std::lock_guard lock(FHandlerLock);
    handler = FOnTimer;
  }
  if (handler) handler(this);
}

void TThreadedTimer::ThreadTick() {
  if (!FEnabled) return;
  if (FSyncEvent) {
    // Nothing of this object may be touched after the hand-over: the
    // handler may have destroyed it.
    FTimerThread->Synchronize([this] { Timer(); });
    return;
  }
  Timer();  // the worker reports what this raises, on the GUI thread
}

void TThreadedTimer::WindowTick() {
  platform::RunHandlingExceptions([this] { Timer(); });
}
