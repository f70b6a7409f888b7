// The threaded timer: when it ticks and on which thread, what a tick's
// exception does, and that destroying it never races with a tick.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <pthread.h>
#include <sched.h>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "components/ThreadedTimer.h"
#include "components/TimerThread.h"
#include "platform/AppException.h"
#include "support/EventLoop.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kHour = 3600 * 1000;

// Collects what reaches the application's exception handler.
struct ReportedExceptions {
  QStringList messages;
  ReportedExceptions() {
    platform::SetApplicationExceptionHandler(
        [this](const std::exception& e) { messages << QString::fromUtf8(e.what()); });
  }
  ~ReportedExceptions() { platform::SetApplicationExceptionHandler(nullptr); }
};

// Starts `t` ticking every `ms` with `handler` run on the worker.
void TickOnWorker(TThreadedTimer& t, std::uint32_t ms, TNotifyEvent handler) {
  t.SetSyncEvent(false);
  t.SetInterval(ms);
  t.SetOnTimer(std::move(handler));
}

TEST(ThreadedTimer, StartsEnabledSynchronisedThreadedAndPaused) {
  TThreadedTimer t;
  EXPECT_TRUE(t.Enabled());
  EXPECT_EQ(t.Interval(), 1000u);
  EXPECT_TRUE(t.SyncEvent());
  EXPECT_TRUE(t.Threaded());
  EXPECT_EQ(t.ThreadPriority(), tpNormal);
  EXPECT_FALSE(t.OnTimerAssigned());
  EXPECT_TRUE(t.TimerThread().Suspended());
}

TEST(ThreadedTimer, NoTickWithoutIntervalEnabledFlagOrHandler) {
  enum Missing { Interval, Enabled, Handler };
  for (bool threaded : {true, false}) {
    for (Missing missing : {Interval, Enabled, Handler}) {
      SCOPED_TRACE(testing::Message() << "threaded " << threaded << " missing " << missing);
      std::atomic<int> ticks{0};
      TThreadedTimer t;
      t.SetSyncEvent(false);
      t.SetThreaded(threaded);
      t.SetInterval(missing == Interval ? 0 : 5);
      t.SetEnabled(missing != Enabled);
      if (missing != Handler) t.SetOnTimer([&](TObject*) { ++ticks; });
      PumpFor(100);
      EXPECT_EQ(ticks, 0);
      EXPECT_TRUE(t.TimerThread().Suspended());
      // The missing setting alone starts the ticking.
      if (missing == Interval) t.SetInterval(5);
      if (missing == Enabled) t.SetEnabled(true);
      if (missing == Handler) t.SetOnTimer([&](TObject*) { ++ticks; });
      EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }));
      EXPECT_EQ(t.TimerThread().Suspended(), !threaded);
    }
  }
}

TEST(ThreadedTimer, HandlerRunsWhereTheVariantSays) {
  const auto gui = std::this_thread::get_id();
  struct Case {
    bool threaded, sync, onGui;
  } cases[] = {{true, true, true}, {true, false, false}, {false, false, true}, {false, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "threaded " << c.threaded << " sync " << c.sync);
    std::mutex m;
    std::vector<std::thread::id> threads;
    TThreadedTimer t;
    t.SetInterval(2);
    t.SetSyncEvent(c.sync);
    t.SetThreaded(c.threaded);
    t.SetOnTimer([&](TObject* sender) {
      EXPECT_EQ(sender, &t);
      std::lock_guard lock(m);
      threads.push_back(std::this_thread::get_id());
    });
    ASSERT_TRUE(PumpUntil([&] {
      std::lock_guard lock(m);
      return threads.size() >= 3;
    }));
    t.SetEnabled(false);
    for (auto id : threads) EXPECT_EQ(id == gui, c.onGui);
  }
}

TEST(ThreadedTimer, SynchronisedTimerMadeOffTheGuiThreadTicksOnTheGuiThread) {
  const auto gui = std::this_thread::get_id();
  std::atomic<int> ticks{0};
  std::atomic<int> offGui{0};
  std::atomic<bool> gone{false};
  std::thread maker([&] {
    {
      TThreadedTimer t;
      t.SetInterval(2);
      t.SetOnTimer([&](TObject*) {
        if (std::this_thread::get_id() != gui) ++offGui;
        ++ticks;
      });
      SpinUntil([&] { return ticks >= 3; }, 20000);
    }  // destroyed here, maybe while the GUI thread runs a tick
    gone = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return gone.load(); }, 40000));
  maker.join();
  PumpFor(20);  // its GUI side frees itself there
  EXPECT_GE(ticks, 3);
  EXPECT_EQ(offGui, 0);
}

// The worker's scheduling class, read in its ticks.
TEST(ThreadedTimer, IdlePriorityThenNormalLeavesTheIdleClass) {
  std::atomic<int> policy{-1};
  TThreadedTimer t;
  t.SetThreadPriority(tpIdle);
  TickOnWorker(t, 1, [&](TObject*) {
    int p = -1;
    sched_param param{};
    pthread_getschedparam(pthread_self(), &p, &param);
    policy = p;
  });
  ASSERT_TRUE(SpinUntil([&] { return policy != -1; }, 20000));
  EXPECT_EQ(policy, SCHED_IDLE);
  t.SetThreadPriority(tpNormal);  // ticks after this run at the new priority
  policy = -1;
  ASSERT_TRUE(SpinUntil([&] { return policy != -1; }, 20000));
  if (policy != SCHED_OTHER) {
    // Only where the system refuses does the worker keep the idle class.
    EXPECT_EQ(policy, SCHED_IDLE);
    std::thread([] {
      sched_param param{};
      ASSERT_EQ(pthread_setschedparam(pthread_self(), SCHED_IDLE, &param), 0);
      EXPECT_NE(pthread_setschedparam(pthread_self(), SCHED_OTHER, &param), 0)
          << "the system lets a thread leave the idle class, yet the worker stayed in it";
    }).join();
  }
}

TEST(ThreadedTimer, SwitchingVariantMovesTheTicking) {
  std::atomic<int> ticks{0};
  TThreadedTimer t;
  TickOnWorker(t, 2, [&](TObject*) { ++ticks; });
  ASSERT_TRUE(PumpUntil([&] { return ticks > 0; }));
  t.SetThreaded(false);
  EXPECT_TRUE(t.TimerThread().Suspended());
  // The window variant ticks only while the event loop runs.
  const int before = ticks;
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(ticks, before);
  EXPECT_TRUE(PumpUntil([&] { return ticks > before + 2; }));
  t.SetThreaded(true);
  EXPECT_FALSE(t.TimerThread().Suspended());
  const int threadedBefore = ticks;
  EXPECT_TRUE(SpinUntil([&] { return ticks > threadedBefore; }));
}

TEST(ThreadedTimer, FirstTickOneIntervalAfterEnablingAndANewIntervalRestartsTheSleep) {
  std::atomic<int> ticks{0};
  TThreadedTimer t;
  TickOnWorker(t, kHour, [&](TObject*) { ++ticks; });
  EXPECT_FALSE(t.TimerThread().Suspended());
  PumpFor(100);
  EXPECT_EQ(ticks, 0);  // not at once
  // The worker sleeps an hour; the new interval starts a new sleep.
  t.SetInterval(5);
  EXPECT_EQ(t.TimerThread().Interval(), 5u);
  EXPECT_TRUE(SpinUntil([&] { return ticks >= 2; }));
}

TEST(ThreadedTimer, DisablingReturnsAfterTheRunningTickAndNoTickFollows) {
  std::atomic<int> ticks{0};
  std::atomic<bool> inTick{false};
  TThreadedTimer t;
  TickOnWorker(t, 1, [&](TObject*) {
    inTick = true;
    std::this_thread::sleep_for(20ms);
    ++ticks;
    inTick = false;
  });
  ASSERT_TRUE(SpinUntil([&] { return inTick.load(); }));
  t.SetEnabled(false);
  EXPECT_FALSE(inTick);
  const int after = ticks;
  std::this_thread::sleep_for(60ms);
  EXPECT_EQ(ticks, after);
}

TEST(ThreadedTimer, SynchronizeRunsAtOnceOffTheWorkerAndNeverRunsOnAPausedWorker) {
  TThreadedTimer t;
  int direct = 0;
  t.Synchronize([&] { ++direct; });  // paused worker, GUI thread
  EXPECT_EQ(direct, 1);

  const auto gui = std::this_thread::get_id();
  std::atomic<int> handedOver{0};
  std::atomic<bool> ranOnWorker{false};
  std::atomic<bool> done{false};
  std::atomic<int> ticks{0};
  TickOnWorker(t, 2, [&](TObject*) {
    if (++ticks == 1) {
      // Running: handed to the GUI thread.
      t.Synchronize([&] {
        EXPECT_EQ(std::this_thread::get_id(), gui);
        ++handedOver;
      });
      return;
    }
    if (ticks != 2) return;
    // Paused from the worker itself: the call is dropped, not run here.
    t.SetEnabled(false);
    t.Synchronize([&] { ranOnWorker = true; });
    done = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
  PumpFor(20);
  EXPECT_EQ(handedOver, 1);
  EXPECT_FALSE(ranOnWorker);
}

TEST(ThreadedTimer, ExceptionsOfTicksAreReportedAndTickingGoesOn) {
  // Each variant: the first tick aborts silently, the second throws, later
  // ones count.
  struct Case {
    bool threaded, sync;
  } cases[] = {{true, false}, {true, true}, {false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "threaded " << c.threaded << " sync " << c.sync);
    ReportedExceptions reported;
    std::atomic<int> ticks{0};
    TThreadedTimer t;
    t.SetInterval(2);
    t.SetSyncEvent(c.sync);
    t.SetThreaded(c.threaded);
    t.SetOnTimer([&](TObject*) {
      const int n = ++ticks;
      if (n == 1) throw EAbort();
      if (n == 2) throw std::runtime_error("tick failed");
    });
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 5 && !reported.messages.isEmpty(); }));
    t.SetEnabled(false);
    PumpFor(10);
    EXPECT_EQ(reported.messages, QStringList{"tick failed"});
  }
}

TEST(ThreadedTimer, WindowVariantWithoutAnEventLoopRaisesAndKeepsTheValue) {
  // A plain thread has no event loop to give a timer.
  bool raised = false;
  bool kept = false;
  std::thread([&] {
    TThreadedTimer t;
    t.SetOnTimer([](TObject*) {});
    try {
      t.SetThreaded(false);
    } catch (const EOutOfResources& e) {
      raised = QString::fromUtf8(e.what()) == QStringLiteral("Nicht genügend Timer verfügbar");
    }
    kept = !t.Threaded();
  }).join();
  EXPECT_TRUE(raised);
  EXPECT_TRUE(kept);
}

// ----------------------------------------------------------- destruction

TEST(ThreadedTimerDestruction, WhileTheWorkerSleepsReturnsAtOnce) {
  std::atomic<int> ticks{0};
  auto t = std::make_unique<TThreadedTimer>();
  TickOnWorker(*t, kHour, [&](TObject*) { ++ticks; });
  ASSERT_FALSE(t->TimerThread().Suspended());
  t.reset();  // an hour's wait would run into the test's time limit
  EXPECT_EQ(ticks, 0);
}

TEST(ThreadedTimerDestruction, WaitsForATickRunningOnTheWorker) {
  std::atomic<bool> entered{false};
  std::atomic<bool> finished{false};
  auto t = std::make_unique<TThreadedTimer>();
  TThreadedTimer* raw = t.get();
  TickOnWorker(*t, 1, [&](TObject*) {
    if (entered.exchange(true)) return;
    // Stay in the tick until the destructor has begun, then a while longer.
    while (raw->Enabled()) std::this_thread::yield();
    std::this_thread::sleep_for(50ms);
    finished = true;
  });
  ASSERT_TRUE(SpinUntil([&] { return entered.load(); }));
  t.reset();
  EXPECT_TRUE(finished);
}

TEST(ThreadedTimerDestruction, DropsASynchronisedTickWaitingForTheGuiThread) {
  int ticks = 0;
  auto t = std::make_unique<TThreadedTimer>();
  t->SetInterval(1);
  t->SetOnTimer([&](TObject*) { ++ticks; });
  // The event loop does not run: the worker's tick waits for this thread.
  ASSERT_TRUE(SpinUntil([&] { return t->TimerThread().HandOverPending(); }));
  t.reset();
  PumpFor(20);  // the posted hand-over finds itself dropped
  EXPECT_EQ(ticks, 0);
}

TEST(ThreadedTimerDestruction, FromInsideASynchronisedHandler) {
  int ticks = 0;
  auto t = std::make_unique<TThreadedTimer>();
  t->SetInterval(1);
  t->SetOnTimer([&](TObject*) {
    ++ticks;
    t.reset();
  });
  ASSERT_TRUE(PumpUntil([&] { return t == nullptr; }));
  PumpFor(20);
  EXPECT_EQ(ticks, 1);
}

TEST(ThreadedTimerDestruction, FromInsideAnUnsynchronisedHandler) {
  std::atomic<int> ticks{0};
  std::atomic<bool> gone{false};
  auto* t = new TThreadedTimer;
  TickOnWorker(*t, 1, [&](TObject*) {
    ++ticks;
    delete t;
    gone = true;
  });
  ASSERT_TRUE(SpinUntil([&] { return gone.load(); }));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ticks, 1);
  PumpFor(20);  // its GUI side frees itself there (the leak check sees it)
}

}  // namespace
