// The event wait of the serial device on a pseudo-terminal: what it reports
// when received bytes reach the 80 % mark of the input size, and that a reply
// still arrives after the wait has been gathering a stream.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/SerialDevice.h"
#include "platform/StopSignal.h"
#include "support/PtyPair.h"

namespace {

using platform::SerialDevice;

struct Line : ::testing::Test {
  PtyPair pty;
  SerialDevice dev;
  platform::StopSignal stop;

  void SetUp() override {
    ASSERT_TRUE(pty.IsValid());
    ASSERT_EQ(dev.Open(pty.SlavePath()), 0);
    ASSERT_EQ(dev.SetupQueues(1024, 1024), 0);  // the mark: 819 bytes
    ASSERT_EQ(dev.SetEventMask(platform::EvRxChar | platform::EvRx80Full), 0);
    dev.WaitEvent(&stop, 0);  // the mask change ends the first wait empty
  }

  std::uint32_t Wait() {
    const SerialDevice::WaitResult r = dev.WaitEvent(&stop, 2000);
    EXPECT_EQ(r.status, SerialDevice::WaitStatus::Events);
    return r.events;
  }

  // Writes on the far end and waits until the bytes reached this end (the
  // pseudo-terminal hands them over on its own schedule): `unread` is what
  // is then waiting here in all.
  void Send(const QByteArray& bytes, int unread) {
    ASSERT_TRUE(pty.WriteMaster(bytes));
    platform::SerialStatus st;
    for (int i = 0; i < 2000 && st.InQueue < unread; ++i) {
      ASSERT_EQ(dev.ClearError(&st), 0);
      if (st.InQueue < unread) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(st.InQueue, unread);
  }

  // Reads what is queued now (the time-outs' default: at once).
  QByteArray ReadAll(int count) {
    QByteArray buf(count, '\0');
    platform::SerialTransfer t;
    EXPECT_EQ(dev.StartRead(t, buf.data(), count), 0);
    EXPECT_EQ(dev.FinishTransfer(t, true), 0);
    buf.resize(t.done);
    return buf;
  }
};

TEST_F(Line, EightyPercentMeansTheReaderFellBehind) {
  // A whole burst past the mark while the reader had read everything: the
  // reader is not behind on bytes nobody had told it about yet (the wait was
  // gathering, or the machine kept it from running).
  Send(QByteArray(1000, 'a'), 1000);
  EXPECT_EQ(Wait(), std::uint32_t{platform::EvRxChar});
  EXPECT_EQ(ReadAll(1000).size(), 1000);

  // Announced bytes left unread, and more arrive: the queue reaches the mark.
  Send(QByteArray(500, 'b'), 500);
  EXPECT_EQ(Wait(), std::uint32_t{platform::EvRxChar});
  Send(QByteArray(500, 'c'), 1000);
  EXPECT_EQ(Wait(), std::uint32_t{platform::EvRxChar | platform::EvRx80Full});
  EXPECT_EQ(ReadAll(1000), QByteArray(500, 'b') + QByteArray(500, 'c'));

  // The reader comes late: meanwhile more than the mark piled up behind the
  // bytes it was told about, and its read finds them.
  Send(QByteArray(100, 'd'), 100);
  EXPECT_EQ(Wait(), std::uint32_t{platform::EvRxChar});
  Send(QByteArray(900, 'e'), 1000);
  EXPECT_EQ(ReadAll(1000), QByteArray(100, 'd') + QByteArray(900, 'e'));
  EXPECT_EQ(Wait(), std::uint32_t{platform::EvRx80Full});
}

TEST_F(Line, AReplyAfterAStreamIsDelivered) {
  // A meter streams short lines, the wait gathers them into batches.
  std::thread meter([&] {
    for (int i = 0; i < 200; ++i) {
      pty.WriteMaster("D 0005.123\r\n");
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  QByteArray stream;
  while (stream.size() < 200 * 12 && !HasFailure())
    if (Wait() & platform::EvRxChar) stream += ReadAll(4096);
  meter.join();
  EXPECT_EQ(stream.size(), 200 * 12);
  EXPECT_EQ(stream.count("D 0005.123\r\n"), 200);

  // Then a lone reply, no more bytes behind it: it comes in one piece.
  Send("5\r\n", 3);
  EXPECT_EQ(Wait(), std::uint32_t{platform::EvRxChar});
  EXPECT_EQ(ReadAll(4096), "5\r\n");
}

}  // namespace
