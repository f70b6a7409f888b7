#pragma once
// A timer component whose ticks come from a worker thread of its own (the
// threaded variant, the default) or from a timer of the GUI event loop (the
// window variant). In the threaded variant the handler runs on the GUI
// thread (SyncEvent, the default) or directly on the worker; then it must do
// its own locking.
//
// The worker exists for the timer's whole life and is paused whenever the
// interval is 0, the timer is disabled, no handler is assigned, or the window
// variant is chosen. Destroying the timer waits for a tick running on the
// worker, drops a tick waiting for the GUI thread, and returns at once while
// the worker sleeps; no tick starts after it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/Component.h"
#include "platform/ThreadPriority.h"

class TTimerThread;
class TTimerWindow;

class TThreadedTimer : public TComponent {
 public:
  // Enabled, 1000 ms, synchronised, threaded, normal priority, no handler;
  // the worker starts paused.
  TThreadedTimer();
  ~TThreadedTimer() override;

  // Every setter acts only on a change.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  std::uint32_t Interval() const { return FInterval; }
  void SetInterval(std::uint32_t value);
  // Read at every tick; changing it needs nothing else.
  bool SyncEvent() const { return FSyncEvent; }
  void SetSyncEvent(bool value) { FSyncEvent = value; }
  bool Threaded() const { return FThreaded; }
  // Moves the ticking to the other mechanism at once. Raises
  // EOutOfResources when the GUI event loop has no timer to give (the
  // stored value stays).
  void SetThreaded(bool value);
  TThreadPriority ThreadPriority() const { return FThreadPriority; }
  void SetThreadPriority(TThreadPriority value);
  // The handler may be replaced while a tick runs on the worker: that tick
  // still calls the handler it started with.
  void SetOnTimer(TNotifyEvent value);
  bool OnTimerAssigned() const;

  // Runs Method on the GUI thread when called from the worker while the
  // timer ticks there, and waits until it ran; from the worker of a paused
  // or terminated timer it is dropped. From any other thread Method runs at
  // once on the calling thread.
  void Synchronize(const std::function<void()>& Method);

  TTimerThread& TimerThread() { return *FTimerThread; }

  // The worker's tick: the handler here (its exceptions pass to the
  // worker, which reports them) or through Synchronize. Called by
  // TTimerThread only.
  void ThreadTick();

 protected:
  // The tick trigger: calls OnTimer when enabled, not being destroyed and
  // assigned.
  virtual void Timer();

 private:
  friend class TTimerWindow;
  void UpdateTimer();
  void WindowTick();
  void ReleaseWindow();

  std::atomic<bool> FEnabled{true};
  std::uint32_t FInterval = 1000;
  mutable std::mutex FHandlerLock;  // the worker copies the handler under it
  TNotifyEvent FOnTimer;
  std::unique_ptr<TTimerWindow> FWindowHandle;  // window variant's timer source
  int FWindowTimerId = 0;
  std::atomic<bool> FSyncEvent{true};
  bool FThreaded = true;
  std::unique_ptr<TTimerThread> FTimerThread;
  TThreadPriority FThreadPriority = tpNormal;
  std::atomic<bool> FDestroying{false};
};
