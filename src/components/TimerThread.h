#pragma once
// The worker of a threaded timer: sleeps for its interval, then ticks its
// owner, again and again, until it is paused or terminated.
//
// A pause takes effect between ticks, never in the middle of one: Suspend
// returns once a tick running on the worker has ended. Two ticks wait for the
// GUI thread (a hand-over through Synchronize); Suspend and Stop drop
// such a hand-over while the GUI thread has not started it, so the GUI thread
// never waits for a worker that waits for it.

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "platform/ThreadPriority.h"

class TGuiWaker;
class TThreadedTimer;

class TTimerThread {
 public:
  // Starts the thread paused, with an interval of 1000 ms. `Timer` is ticked
  // through TThreadedTimer::ThreadTick on the worker.
  explicit TTimerThread(TThreadedTimer* Timer);
  // Stop().
  ~TTimerThread();
  TTimerThread(const TTimerThread&) = delete;
  TTimerThread& operator=(const TTimerThread&) = delete;

  // Pauses after the tick in progress (waits for it unless called on the
  // worker); a sleep in progress is abandoned.
  void Suspend();
  // Ends a pause; the next tick comes one full interval later.
  void Resume();
  bool Suspended() const;
  // Terminates the thread, forgets the owner and waits for the thread to
  // end, except when called on the worker itself or from inside a hand-over
  // the GUI thread is running: then the thread ends on its own right after,
  // without touching the owner.
  void Stop();

  // Sleep between ticks, from the next sleep on (the owner pauses first).
  std::uint32_t Interval() const;
  void SetInterval(std::uint32_t ms);
  // Applied by the worker before its next sleep.
  void SetPriority(TThreadPriority p);

  // On the worker: runs Method on the GUI thread and waits until it ran,
  // also for a thread made off the GUI thread. While the thread is paused
  // or terminated, or without an application, the call is dropped: Method
  // does not run at all (never on the worker). An exception Method throws
  // is reported on the GUI thread and does not reach the worker, nor do
  // exceptions of ticks on the worker stop it: they are reported on the GUI
  // thread too (an EAbort is dropped).
  void Synchronize(const std::function<void()>& Method);
  // A hand-over is posted and the GUI thread has not started it yet.
  bool HandOverPending() const;

  // True on this thread's worker.
  bool IsCurrentThread() const;

  struct Shared;

 private:
  // A hand-over runs on the calling thread (so it is on its call stack).
  // Lock held.
  bool HandOverRunsHere() const;

  std::shared_ptr<Shared> FShared;
  std::thread FThread;
  TGuiWaker* FWaker = nullptr;
};
