// Port events, the status bar and the terminal's line counter.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>

#include "MeterRig.h"
#include "platform/SystemError.h"

TEST(PortEvents, OpenAndCloseShowThePortStateOnPanelZero) {
  MeterRig rig(Pavon, false);
  rig.logic.acOpenPortExecute();
  ASSERT_TRUE(rig.logic.ComPort().Connected());
  EXPECT_EQ(rig.view.StatusText(0), " " + rig.pty.SlavePath() + ":9600,8,None,1,None");
  EXPECT_EQ(rig.view.action(TAction::acOpenPort).caption, "Close Port");

  rig.logic.acOpenPortExecute();
  EXPECT_FALSE(rig.logic.ComPort().Connected());
  EXPECT_EQ(rig.view.StatusText(0), " COMx:Offline");
  EXPECT_EQ(rig.view.action(TAction::acOpenPort).caption, "Open Port");
}

// The port also closes while the window is taken down, so the close asks
// whether Open Port is still there. Any other use of an action the window
// lacks is a programming error: it fails loudly, also from inside a handler
// the window runs, instead of being skipped or shown as the user's failure.
TEST(PortEvents, OnlyTheCloseAsksForOpenPortOtherUsesOfAMissingActionFailLoudly) {
  MeterRig rig(Pavon);
  ASSERT_TRUE(rig.logic.ComPort().Connected());
  rig.view.RemoveAction(TAction::acOpenPort);
  EXPECT_FALSE(rig.view.HasAction(TAction::acOpenPort));
  EXPECT_TRUE(rig.view.HasAction(TAction::acStartStopLog));
  rig.logic.ComPort().Close();
  EXPECT_EQ(rig.view.StatusText(0), " COMx:Offline");

  EXPECT_THROW(rig.view.SetActionCaption(TAction::acOpenPort, "Close Port"), EUnknownAction);
  EXPECT_THROW(rig.view.ExecuteAction(TAction::acOpenPort, [] {}), EUnknownAction);
  rig.view.RemoveAction(TAction::acStartStopLog);
  EXPECT_THROW(rig.view.ExecuteAction(TAction::acSettings, [&] { rig.logic.FormClose(); }),
               EUnknownAction);
  EXPECT_EQ(rig.view.errors, QStringList{});
}

TEST(PortEvents, LineCounterCountsLinesOfTheModelAndWraps) {
  MeterRig rig(Dorvane, false);
  for (char ch : QByteArray(" 0012.50\n 0012.51"))
    rig.logic.ComTerminalChar(ch);
  EXPECT_EQ(rig.view.StatusText(1), "0002");  // DORVANE: every blank

  rig.logic.SetDevice(Hexlin);
  rig.logic.SetLFCounter(9998);
  for (char ch : QByteArray("D 5.000\r\n D 5.001\r\n")) rig.logic.ComTerminalChar(ch);
  EXPECT_EQ(rig.view.statusHistory[1].mid(2), (QStringList{"9999", "0000"}));
  for (int before : {99, 1233}) {
    rig.logic.SetLFCounter(before);
    rig.logic.ComTerminalChar('\n');
  }
  EXPECT_EQ(rig.view.statusHistory[1].mid(4), (QStringList{"0100", "1234"}));
}

TEST(PortEvents, DoubleClickClearsTerminalAndBuffers) {
  MeterRig rig(Hexlin, false);
  std::string discarded;
  rig.logic.ComMessPacket().OnDiscard = [&](TObject*, const std::string& s) { discarded = s; };
  rig.logic.ComMessPacket().AddData("012.3");
  rig.view.terminal = "012.3";
  rig.logic.ComTerminalDblClick();  // a closed port has nothing to purge
  EXPECT_EQ(discarded, "012.3");
  EXPECT_TRUE(rig.view.terminal.isEmpty());

  rig.logic.ComPort().Open();
  rig.logic.ComTerminalDblClick();
  EXPECT_EQ(rig.view.terminalClears, 2);
}

TEST(PortEvents, ReceiveBufferFullIsShown) {
  MeterRig rig(Pavon);
  rig.logic.ComPortRx80Full();
  EXPECT_EQ(rig.view.StatusText(2), " Rx Buffer Full");
}

TEST(PortEvents, StatusAndWatchdogTimersStayOffAndSwitchThemselvesOff) {
  MeterRig rig(Pavon);
  rig.logic.acOpenPortExecute();
  rig.logic.acOpenPortExecute();
  EXPECT_FALSE(rig.logic.Timer_Statusbar().isActive());
  EXPECT_FALSE(rig.logic.Timer_Watchdog().isActive());
  EXPECT_EQ(rig.logic.Timer_Statusbar().interval(), 3000);
  EXPECT_EQ(rig.logic.Timer_Watchdog().interval(), 4000);

  // Armed by hand, each fires once: the status text goes, the tag is set.
  rig.logic.SetStatusText(2, " Get Parameter ok");
  rig.logic.Timer_Statusbar().start(1);
  rig.logic.Timer_Watchdog().start(1);
  EXPECT_TRUE(PumpUntil([&] { return rig.logic.Timer_WatchdogTag() == 1; }, 2000));
  EXPECT_TRUE(PumpUntil([&] { return rig.view.StatusText(2).isEmpty(); }, 2000));
  PumpFor(20);
  EXPECT_FALSE(rig.logic.Timer_Statusbar().isActive());
  EXPECT_FALSE(rig.logic.Timer_Watchdog().isActive());
}

// ---------------------------------------------------------------------------
// A lost line (USB adapter pulled, far end closed)

namespace {

QString LostText(const QString& device) {
  return " Connection lost: " + device + ": " + platform::SystemErrorText(EIO) +
         "; check the cable or adapter, then Open Port";
}

// The port is opened by a name that can point at another device later, as
// /dev/serial/by-id/... does when an adapter is plugged in again.
struct LinkedRig {
  explicit LinkedRig(TDeviceType model) : rig(model, false), link(dir.filePath("meter")) {
    EXPECT_TRUE(QFile::link(rig.pty.SlavePath(), link));
    rig.logic.ComPort().SetPort(link);
    rig.logic.ComPort().Open();
  }
  void HangUp() {
    rig.emulator.Release();
    rig.pty.CloseMaster();
  }
  QTemporaryDir dir;
  MeterRig rig;
  QString link;
};

}  // namespace

TEST(LostLine, AHangUpWhileStreamingClosesThePortSaysWhyAndOpenPortStartsAgain) {
  LinkedRig r(Pavon);
  MeterRig& rig = r.rig;
  ASSERT_TRUE(rig.logic.ComPort().Connected());
  rig.logic.acDTExecute();
  ASSERT_TRUE(PumpUntil([&] { return rig.logic.Measurement().LogList().size() >= 5; }));

  r.HangUp();
  ASSERT_TRUE(PumpUntil([&] { return !rig.logic.ComPort().Connected(); }));
  EXPECT_EQ(rig.view.StatusText(0), " COMx:Offline");
  EXPECT_EQ(rig.view.action(TAction::acOpenPort).caption, "Open Port");
  EXPECT_EQ(rig.view.StatusText(2), LostText(r.link));

  // The adapter is back under the same name.
  PtyPair again;
  MeterEmulator meter(Pavon, again.MasterFd());
  ASSERT_TRUE(QFile::remove(r.link));
  ASSERT_TRUE(QFile::link(again.SlavePath(), r.link));
  rig.logic.acOpenPortExecute();
  ASSERT_TRUE(rig.logic.ComPort().Connected());
  EXPECT_EQ(rig.view.StatusText(0), " " + r.link + ":9600,8,None,1,None");
  EXPECT_EQ(rig.view.action(TAction::acOpenPort).caption, "Close Port");
  EXPECT_EQ(rig.view.StatusText(2), "") << "the reason is no longer true";
  rig.logic.acDTExecute();
  EXPECT_TRUE(PumpUntil([&] { return rig.logic.Measurement().LogList().size() >= 3; }));
}

TEST(LostLine, AHangUpWhileAGetWaitsEndsTheReadAndKeepsTheReason) {
  LinkedRig r(Hexlin);
  MeterRig& rig = r.rig;
  rig.emulator.FillDefaultValues();
  rig.emulator.answerOnly = {"SA"};  // the link check is answered, then nothing
  QTimer pull;
  QObject::connect(&pull, &QTimer::timeout, [&] {
    if (rig.emulator.Commands().size() >= 3) {  // ESC, SA, and a query that waits
      pull.stop();
      r.HangUp();
    }
  });
  pull.start(5);
  rig.logic.acGetParameterExecute();
  EXPECT_FALSE(rig.logic.TransferRunning());
  EXPECT_FALSE(rig.logic.ComPort().Connected());
  EXPECT_EQ(rig.view.StatusText(0), " COMx:Offline");
  EXPECT_EQ(rig.view.StatusText(2), LostText(r.link));
}
