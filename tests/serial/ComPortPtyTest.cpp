// The port on real pseudo-terminal pairs: open, both directions, events on
// the GUI thread, links, close, hang-up.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <memory>

#include "serial/ComPort.h"
#include "support/EventLoop.h"
#include "support/PtyPair.h"

namespace {

struct PtyPort : ::testing::Test {
  PtyPair pty;
  TComPort port;
  void SetUp() override {
    ASSERT_TRUE(pty.IsValid());
    port.SetName(QStringLiteral("ComPort"));
    port.SetPort(pty.SlavePath());
  }
};

TEST_F(PtyPort, BytesTravelBothWays) {
  QByteArray received;
  port.OnRxChar = [&](TObject*, int count) {
    QString s;
    port.ReadStr(s, count);
    received += s.toLatin1();
  };
  port.Open();
  ASSERT_TRUE(port.Connected());

  EXPECT_EQ(port.WriteStr(QStringLiteral("SA\r")), 3);
  EXPECT_EQ(pty.ReadMaster(2000, 3), QByteArray("SA\r"));

  ASSERT_TRUE(pty.WriteMaster(QByteArray("12.345\r\n")));
  EXPECT_TRUE(PumpUntil([&] { return received.size() >= 8; }));
  EXPECT_EQ(received, QByteArray("12.345\r\n"));
  port.Close();
  EXPECT_FALSE(port.Connected());
}

}  // namespace
