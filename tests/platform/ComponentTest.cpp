#include <gtest/gtest.h>

#include <memory>
#include <new>

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
  // A second watcher built in the first one's storage was never registered:
  // a stale entry left behind by the first would hand it the notice.
  alignas(Watcher) unsigned char storage[sizeof(Watcher)];
  auto watched = std::make_unique<TComponent>();
  auto* first = new (storage) Watcher;
  first->FreeNotification(watched.get());
  first->~Watcher();
  auto* second = new (storage) Watcher;
  watched.reset();
  EXPECT_EQ(second->removed, nullptr);
  second->~Watcher();
}
