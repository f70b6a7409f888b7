// The command layer against the meter emulator over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QElapsedTimer>

#include "MeterRig.h"

namespace {
using Rig = MeterRig;

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
}  // namespace

TEST(CommandLayer, GetCmdReplyFormsOfTheModels) {
  struct Case {
    TDeviceType model;
    QByteArray raw;  // what the meter answers to "SA"
    QString value;
    int typ;
  } cases[] = {
      {Pavon, "SA 10\r\n", "10", 1},
      {Pavon, "10\r\n", "10", -1},
      {Hexlin, "SA  10\r\n", " 10", 1},
      {KESTO_ZAREL, "SA:5\r\n", "5", 1},
      {KESTO_ZAREL, "SA 5\r\n", "SA 5", 1},
      {KESTO_ZAREL, "5\r\n", "5", -1},
      {KESTO_ZAREL, "SA: 5\r\n", "5", 1},
      {Dorvane, "   12\r\n", "12", 1},
      {Tavri, "SA 1500\r\n", "1500", 1},
      {Tavri, "SA1500\r\n", "1500", 1},
      {Hexlin, "XX 10\r\n", "XX 10", -1},
  };
  for (const Case& c : cases) {
    Rig rig(c.model);
    rig.emulator.rawReplies.insert("SA", c.raw);
    int typ = 99;
    const QString reply = rig.logic.GetCmd("SA", "SA", "\r\n", 1000, typ);
    EXPECT_EQ(reply, c.value) << int(c.model) << " " << c.raw.constData();
    EXPECT_EQ(typ, c.typ) << int(c.model);
    EXPECT_EQ(rig.emulator.Commands(), QStringList{"SA"});
    EXPECT_EQ(rig.logic.ComDataPacket().ComPort(), nullptr);
    EXPECT_EQ(rig.logic.ComDataPacket().Size(), 1);
  }
}

TEST(CommandLayer, DorvaneAutoStartReplyIsTwoCharactersWithoutLineEnd) {
  Rig rig(Dorvane);
  rig.emulator.values.insert("AS", "df");
  int typ = 99;
  EXPECT_EQ(rig.logic.GetCmd("AS", "", "", 1000, typ), "df");
  EXPECT_EQ(typ, 1);
}

TEST(CommandLayer, SilentMeterTimesOutWithoutBurningACore) {
  Rig rig(Pavon);
  rig.emulator.silent = true;
  int typ = 99;
  QElapsedTimer clock;
  clock.start();
  const double cpuBefore = CpuSeconds();
  EXPECT_EQ(rig.logic.GetCmd("SA", "SA", "\r\n", 1000, typ), QString());
  const double cpu = CpuSeconds() - cpuBefore;
  const qint64 elapsed = clock.elapsed();
  EXPECT_EQ(typ, 0);
  EXPECT_EQ(rig.emulator.Commands(), QStringList{"SA"});
  // At least the time-out (101 polls of 10 ms), and not forever.
  EXPECT_GE(elapsed, 1000);
  EXPECT_LT(elapsed, 10000);
  // The wait blocks in the event loop (bench_wait measures the real share).
  EXPECT_LT(cpu, 0.5 * elapsed / 1000.0);
}

TEST(CommandLayer, ClosedPortSendsNothingAndAnswersAtOnce) {
  Rig rig(Pavon, false);
  int typ = 99;
  EXPECT_EQ(rig.logic.GetCmd("SA", "SA", "\r\n", 1000, typ), QString());
  EXPECT_EQ(typ, 0);
  EXPECT_FALSE(rig.logic.Running(1000));
  EXPECT_TRUE(rig.logic.SetCmd("DT"));
  PumpFor(50);
  EXPECT_TRUE(rig.emulator.received.isEmpty());
}

TEST(CommandLayer, SetCmdValueWritesTheDecimalPoint) {
  Rig rig(Pavon);
  rig.emulator.silent = true;
  EXPECT_TRUE(rig.logic.SetCmdValue("AH", "0,1"));
  EXPECT_TRUE(rig.logic.SetCmdValue("AH", "  "));
  PumpUntil([&] { return rig.emulator.received.size() >= 5; }, 2000);
  EXPECT_EQ(rig.emulator.received, QByteArray("AH0.1\r"));
}

TEST(CommandLayer, RunningSeesAStreamingMeterUntilEsc) {
  Rig rig(Hexlin);
  rig.emulator.StartStream();
  EXPECT_TRUE(rig.logic.Running(1000));
  rig.logic.SendStr(QString(QChar(27)));
  PumpUntil([&] { return !rig.emulator.Streaming(); }, 2000);
  PumpFor(100);  // lines already on their way
  EXPECT_FALSE(rig.logic.Running(300));
  EXPECT_EQ(rig.logic.ComRunPacket().ComPort(), nullptr);
}
