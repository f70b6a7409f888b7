#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/FrameRequest.h"
#include "support/EventLoop.h"

namespace {

using platform::FrameRequest;

TEST(FrameRequest, RequestsOfOneFrameRunOnceEachInOnePass) {
  std::vector<char> ran;
  bool bDueWhileARan = false;
  FrameRequest b([&] { ran.push_back('b'); });
  FrameRequest a([&] {
    ran.push_back('a');
    bDueWhileARan = b.Pending();
  });
  for (int i = 0; i < 100; ++i) a.Request();
  b.Request();
  a.Request();
  EXPECT_TRUE(a.Pending());
  EXPECT_TRUE(ran.empty()) << "nothing runs before the frame";
  ASSERT_TRUE(PumpUntil([&] { return !a.Pending() && !b.Pending(); }));
  PumpFor(3 * FrameRequest::FrameMs);
  EXPECT_EQ(ran, (std::vector<char>{'a', 'b'}));
  EXPECT_TRUE(bDueWhileARan) << "both belong to the same frame";
}

TEST(FrameRequest, HandlersMayAskAgainWithdrawAndDestroyOthers) {
  int aRuns = 0, bRuns = 0, cRuns = 0;
  auto b = std::make_unique<FrameRequest>([&] { ++bRuns; });
  FrameRequest c([&] { ++cRuns; });
  FrameRequest a([&] {
    // Runs first in its frame; b is still due in the same frame.
    if (++aRuns == 1) {
      b.reset();
      a.Request();
    }
  });
  a.Request();
  b->Request();
  c.Request();
  c.Cancel();
  EXPECT_FALSE(c.Pending());
  ASSERT_TRUE(PumpUntil([&] { return aRuns == 2; }));
  PumpFor(3 * FrameRequest::FrameMs);
  EXPECT_EQ(aRuns, 2) << "asked again inside its handler: one more frame";
  EXPECT_EQ(bRuns, 0) << "destroyed while due";
  EXPECT_EQ(cRuns, 0) << "withdrawn";
  {
    FrameRequest gone([&] { ++cRuns; });
    gone.Request();
  }
  PumpFor(3 * FrameRequest::FrameMs);
  EXPECT_EQ(cRuns, 0) << "destroyed while waiting";
}

}  // namespace
