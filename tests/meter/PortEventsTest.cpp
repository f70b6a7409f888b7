// Port events, the status bar and the terminal's line counter.
#include <gtest/gtest.h>

#include "MeterRig.h"

TEST(PortEvents, OpenAndCloseShowThePortStateOnPanelZero) {
  MeterRig rig(Pavon, false);
  rig.logic.acOpenPortExecute();
  ASSERT_TRUE(rig.logic.ComPort.Connected());
  EXPECT_EQ(rig.view.StatusText(0), " " + rig.pty.SlavePath() + ":9600,8,None,1,None");
  EXPECT_EQ(rig.view.actions.value("acOpenPort").caption, "Close Port");

  rig.logic.acOpenPortExecute();
  EXPECT_FALSE(rig.logic.ComPort.Connected());
  EXPECT_EQ(rig.view.StatusText(0), " COMx:Offline");
  EXPECT_EQ(rig.view.actions.value("acOpenPort").caption, "Open Port");
}

TEST(PortEvents, LineCounterCountsLinesOfTheModelAndWraps) {
  MeterRig rig(Dorvane, false);
  for (char ch : QByteArray(" 0012.50\n 0012.51"))
    rig.logic.ComTerminalChar(ch);
  EXPECT_EQ(rig.view.StatusText(1), "0002");  // DORVANE: every blank

  rig.logic.SetDevice(Hexlin);
  rig.logic.FLFCounter = 9998;
  for (char ch : QByteArray("D 5.000\r\n D 5.001\r\n")) rig.logic.ComTerminalChar(ch);
  EXPECT_EQ(rig.view.statusHistory[1].mid(2), (QStringList{"9999", "0000"}));
  for (int before : {99, 1233}) {
    rig.logic.FLFCounter = before;
    rig.logic.ComTerminalChar('\n');
  }
  EXPECT_EQ(rig.view.statusHistory[1].mid(4), (QStringList{"0100", "1234"}));
}

TEST(PortEvents, DoubleClickClearsTerminalAndBuffers) {
  MeterRig rig(Hexlin, false);
  std::string discarded;
  rig.logic.ComMessPacket.OnDiscard = [&](TObject*, const std::string& s) { discarded = s; };
  rig.logic.ComMessPacket.AddData("012.3");
  rig.view.terminal = "012.3";
  rig.logic.ComTerminalDblClick();  // a closed port has nothing to purge
  EXPECT_EQ(discarded, "012.3");
  EXPECT_TRUE(rig.view.terminal.isEmpty());

  rig.logic.ComPort.Open();
  rig.logic.ComTerminalDblClick();
  EXPECT_EQ(rig.view.terminalClears, 2);
}

TEST(PortEvents, ReceiveBufferFullIsShown) {
  MeterRig rig(Pavon);
  rig.logic.ComPortRx80Full();
  EXPECT_EQ(rig.view.StatusText(2), " Rx Buffer Full");
}
