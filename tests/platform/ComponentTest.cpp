#include <gtest/gtest.h>

#include <memory>

#include "platform/Component.h"

namespace {
struct Watcher : TComponent {
  TComponent* removed = nullptr;
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove) removed = c;
  }
};
}  // namespace

TEST(Component, RemovalNoticeReachesTheWatcherOnlyWhileRegistered) {
  Watcher w;
  auto a = std::make_unique<TComponent>();
  TComponent* raw = a.get();
  w.FreeNotification(raw);
  a.reset();
  EXPECT_EQ(w.removed, raw);

  w.removed = nullptr;
  auto b = std::make_unique<TComponent>();
  w.FreeNotification(b.get());
  w.RemoveFreeNotification(b.get());
  b.reset();
  EXPECT_EQ(w.removed, nullptr);
}

TEST(Component, WatcherDestroyedFirstLeavesNoDanglingEntry) {
  auto watched = std::make_unique<TComponent>();
  {
    Watcher w;
    w.FreeNotification(watched.get());
  }
  watched.reset();  // must not call into the destroyed watcher (ASan checks)
  SUCCEED();
}
