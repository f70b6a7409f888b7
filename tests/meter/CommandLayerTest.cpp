// The command layer against the meter emulator over a real pseudo-terminal.
#include <gtest/gtest.h>

#include "meter/MeterLogic.h"
#include "support/EventLoop.h"
#include "support/FakeMeterView.h"
#include "support/MeterEmulator.h"
#include "support/PtyPair.h"

namespace {

struct Rig {
  explicit Rig(TDeviceType model) : emulator(model, pty.MasterFd()), logic(view) {
    logic.ComPort.SetPort(pty.SlavePath());
    logic.SetDevice(model);
    logic.ComPort.Open();
  }
  PtyPair pty;
  MeterEmulator emulator;
  FakeMeterView view;
  TMeterLogic logic;
};

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
      {Dorvane, "   12\r\n", "12", 1},
  };
  for (const Case& c : cases) {
    Rig rig(c.model);
    rig.emulator.rawReplies.insert("SA", c.raw);
    int typ = 99;
    const QString reply = rig.logic.GetCmd("SA", "SA", "\r\n", 1000, typ);
    EXPECT_EQ(reply, c.value) << int(c.model) << " " << c.raw.constData();
    EXPECT_EQ(typ, c.typ) << int(c.model);
    EXPECT_EQ(rig.emulator.Commands(), QStringList{"SA"});
    EXPECT_EQ(rig.logic.ComDataPacket.ComPort(), nullptr);
    EXPECT_EQ(rig.logic.ComDataPacket.Size(), 1);
  }
}

TEST(CommandLayer, SilentMeterTimesOutAndSetCmdValueWritesTheDecimalPoint) {
  Rig rig(Pavon);
  rig.emulator.silent = true;
  int typ = 99;
  EXPECT_EQ(rig.logic.GetCmd("SA", "SA", "\r\n", 200, typ), QString());
  EXPECT_EQ(typ, 0);

  rig.emulator.ClearReceived();
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
  EXPECT_EQ(rig.logic.ComRunPacket.ComPort(), nullptr);
}
