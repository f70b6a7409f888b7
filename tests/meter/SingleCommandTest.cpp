// The single meter commands end to end: per model the way each code goes out.
#include <gtest/gtest.h>

#include <QTimer>

#include "MeterRig.h"

namespace {

struct CommandRow {
  TAction action;
  void (TMeterLogic::*handler)();
  const char* code;
  const char* ways;  // PAVON DORVANE HEXLIN TAVRI KESTO ZAREL: A, B, C or - (none)
};

const CommandRow kCommands[] = {
    {TAction::acDT, &TMeterLogic::acDTExecute, "DT", "ABCCC"},
    {TAction::acDS, &TMeterLogic::acDSExecute, "DS", "A----"},
    {TAction::acDW, &TMeterLogic::acDWExecute, "DW", "AAAAA"},
    {TAction::acDX, &TMeterLogic::acDXExecute, "DX", "AAAAA"},
    {TAction::acDF, &TMeterLogic::acDFExecute, "DF", "ABC--"},
    {TAction::acDM, &TMeterLogic::acDMExecute, "DM", "CCCCC"},
    {TAction::acCT, &TMeterLogic::acCTExecute, "CT", "CCCCC"},
    {TAction::acVM, &TMeterLogic::acVMExecute, "VM", "ABC--"},
    {TAction::acVT, &TMeterLogic::acVTExecute, "VT", "ABC--"},
    {TAction::acTP, &TMeterLogic::acTPExecute, "TP", "ABCCC"},
    {TAction::acID, &TMeterLogic::acIDExecute, "ID", "ABCCC"},
    {TAction::acDevice, &TMeterLogic::acDeviceExecute, "ID", "ABCCC"},
    {TAction::acLF, &TMeterLogic::acLFExecute, "LF", "AAAAA"},
    {TAction::acLO, &TMeterLogic::acLOExecute, "LO", "AAAAA"},
};

class CommandWays : public ::testing::TestWithParam<TDeviceType> {};

std::string ModelName(const ::testing::TestParamInfo<TDeviceType>& info) {
  static const char* const names[] = {"Pavon", "Dorvane", "Hexlin", "Tavri", "Zarel"};
  return names[info.param];
}

}  // namespace

// Each command is given to a meter that is streaming: A sends the code at
// once; B and C stop the meter with ESC first, B under the hourglass (it
// probes whether the meter sends), C without; none sends nothing.
TEST_P(CommandWays, EachCodeGoesOutInTheModelsWay) {
  const TDeviceType model = GetParam();
  MeterRig rig(model);
  rig.emulator.intervalMs = 5;
  for (const CommandRow& row : kCommands) {
    const char way = row.ways[model];
    rig.emulator.StartStream();
    PumpUntil([&] { return rig.emulator.LinesSent() > 0; });
    rig.emulator.ClearReceived();
    const int busyCalls = rig.view.busyCalls;
    (rig.logic.*row.handler)();
    const QStringList expected = way == 'A'   ? QStringList{row.code}
                                 : way == '-' ? QStringList{}
                                              : WithEsc({row.code});
    if (expected.isEmpty()) PumpFor(100);
    EXPECT_EQ(rig.CommandsAfter(expected.size()), expected) << ActionName(row.action).data();
    EXPECT_EQ(rig.view.busyCalls - busyCalls, way == 'B' ? 1 : 0) << ActionName(row.action).data();
    EXPECT_EQ(rig.view.busyDepth, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Models, CommandWays,
                         ::testing::Values(Pavon, Dorvane, Hexlin, Tavri, KESTO_ZAREL),
                         ModelName);

// The table is keyed by action: each handler's row carries its code, and an
// action without a row is refused instead of sending nothing.
TEST(SingleCommandsMore, EachCommandActionHasItsRowAndNoOtherActionHasOne) {
  for (const CommandRow& row : kCommands)
    EXPECT_EQ(SingleCommand(row.action).code, row.code) << ActionName(row.action).data();
  EXPECT_EQ(SingleCommands().size(), qsizetype(std::size(kCommands)) + 1);  // and acDisplay
  for (TAction none : {TAction::acStop, TAction::acSO, TAction::acGetParameter, TAction::acExit})
    EXPECT_THROW(SingleCommand(none), std::logic_error) << ActionName(none).data();
}

TEST(SingleCommandsMore, WayBSendsAtOnceToAQuietMeter) {
  MeterRig rig(Dorvane);
  rig.logic.acTPExecute();
  EXPECT_EQ(rig.CommandsAfter(1), QStringList{"TP"});
}

TEST(SingleCommandsMore, DisplayTogglesBetweenDfAndDn) {
  MeterRig rig(KESTO_ZAREL);
  rig.logic.acDisplayExecute();
  rig.logic.acDisplayExecute();
  EXPECT_EQ(rig.CommandsAfter(4), (QStringList{kEscCommand, "DF", kEscCommand, "DN"}));
}

TEST(SingleCommandsMore, StopOfAStreamingDorvaneWaitsUntilItIsQuiet) {
  MeterRig rig(Dorvane);
  rig.logic.acStopExecute();  // quiet meter: nothing to stop
  PumpFor(50);
  EXPECT_TRUE(rig.emulator.received.isEmpty());
  rig.emulator.StartStream();
  rig.logic.acStopExecute();
  EXPECT_EQ(rig.emulator.Commands(), QStringList{kEscCommand});
  EXPECT_FALSE(rig.emulator.Streaming());

  MeterRig pavon(Pavon);
  pavon.logic.acStopExecute();
  EXPECT_EQ(pavon.CommandsAfter(1), QStringList{kEscCommand});
}

TEST(SingleCommandsMore, SetOffsetStoresTheReplyInTheModelsThatShareIt) {
  MeterRig rig(Tavri);
  rig.emulator.values.insert("SO", "0.125");
  rig.logic.acSOExecute();
  EXPECT_EQ(rig.emulator.Commands(), WithEsc({"SO"}));
  EXPECT_EQ(rig.view.controls.Text("cb_of_3"), "0.125");
  EXPECT_EQ(rig.view.controls.Text("cb_of_2"), "0.125");
  EXPECT_EQ(rig.view.controls.Text("cb_of"), QString());

  MeterRig zarel(KESTO_ZAREL);
  zarel.logic.acSOExecute();
  PumpFor(50);
  EXPECT_TRUE(zarel.emulator.received.isEmpty());
}

TEST(SingleCommandsMore, BaudRateGoesToTheMeterAtTheOldRateThenThePortSwitches) {
  MeterRig rig(Hexlin);
  ASSERT_EQ(rig.logic.ComPort().BaudRate(), br115200);
  rig.view.controls.SetText("cb_as_2", "dt");
  rig.view.changeBaud.result = 1;
  rig.view.changeBaud.chosenRate = br38400;
  rig.logic.acBaudrateExecute();
  EXPECT_EQ(rig.view.changeBaud.lastDevice, Hexlin);
  EXPECT_EQ(rig.view.changeBaud.oldRate, br115200);
  EXPECT_EQ(rig.CommandsAfter(3), WithEsc({"BR38400", "dt"}));
  EXPECT_EQ(rig.logic.ComPort().BaudRate(), br38400);
  EXPECT_EQ(rig.view.StatusText(0), " " + rig.pty.SlavePath() + ":38400,8,None,1,None");

  // The rate in use chosen again, or Cancel: nothing happens.
  rig.emulator.ClearReceived();
  rig.logic.acBaudrateExecute();
  rig.view.changeBaud.result = 2;
  rig.view.changeBaud.chosenRate = br9600;
  rig.logic.acBaudrateExecute();
  PumpFor(50);
  EXPECT_TRUE(rig.emulator.received.isEmpty());
  EXPECT_EQ(rig.logic.ComPort().BaudRate(), br38400);
  EXPECT_EQ(rig.view.changeBaud.enterCalls, 3);

  // A rate the PC's port refuses: neither the meter nor the port switch.
  rig.logic.ComPort().SetCustomBaudRate(0);
  rig.view.changeBaud.result = 1;
  rig.view.changeBaud.chosenRate = brCustom;
  rig.logic.acBaudrateExecute();
  ASSERT_EQ(rig.view.errors.size(), 1);
  EXPECT_TRUE(rig.view.errors[0].startsWith("PC COM port do not support baudrate "));
  EXPECT_EQ(rig.logic.ComPort().BaudRate(), br38400);
  EXPECT_EQ(rig.CommandsAfter(2), WithEsc({"dt"}));

  MeterRig dorvane(Dorvane);
  dorvane.view.changeBaud.result = 1;
  dorvane.logic.acBaudrateExecute();
  EXPECT_EQ(dorvane.view.changeBaud.enterCalls, 0);
}

TEST(SingleCommandsMore, SimulatedMeterStartsAndStopsWithTheCommands) {
  MeterRig rig(Pavon, false);
  rig.logic.Simulator().InitSimuVersion(true);
  rig.logic.acDSExecute();
  EXPECT_EQ(rig.logic.Simulator().PavonDMode(), mDS);
  EXPECT_TRUE(rig.logic.Simulator().SimuTimer().isActive());
  rig.logic.acStopExecute();
  EXPECT_FALSE(rig.logic.Simulator().SimuTimer().isActive());

  rig.logic.SetDevice(Tavri);  // other models only start the timer
  rig.logic.acDXExecute();
  EXPECT_EQ(rig.logic.Simulator().PavonDMode(), mDS);
  EXPECT_TRUE(rig.logic.Simulator().SimuTimer().isActive());
  EXPECT_TRUE(rig.emulator.received.isEmpty());
}

TEST(SingleCommandsMore, SignalStrengthDialogsGetTheModelsOutputFormat) {
  MeterRig rig(KESTO_ZAREL, false);
  rig.logic.acSdExecute();  // no dialog yet: nothing happens
  FakeSignalLevelDialog dialog;
  rig.view.signalLevel = &dialog;
  rig.logic.Model<TZAREL>().SetStandard();
  rig.logic.Model<TZAREL>().SetP_SD(1, "1");
  rig.view.controls.SetItemIndex("cb_sp_4", 1);
  rig.logic.acSdExecute();
  rig.logic.SetDevice(Tavri);
  rig.logic.Model<TTavri>().SetP_SD(0, "2");
  rig.logic.Model<TTavri>().SetP_SD(1, "3");
  rig.logic.acSdExecute();
  rig.logic.SetDevice(Dorvane);
  rig.logic.acSdExecute();  // nothing for DORVANE
  rig.logic.acDJExecute();
  ASSERT_EQ(dialog.calls.size(), 3);
  EXPECT_EQ(dialog.calls[0], (QStringList{"Enter2", "0", "1", "0", "0", "2", "4", "0", "7000"}));
  EXPECT_EQ(dialog.calls[1], (QStringList{"Enter", "2", "3", "3", "0", "100"}));
  EXPECT_EQ(dialog.calls[2], (QStringList{"Enter", "", "", "1", "0", "7000"}));
}

TEST(SingleCommandsMore, EnablingRuleFollowsThePortOrSimulation) {
  MeterRig rig(Pavon, false);
  EXPECT_EQ(TMeterLogic::UpdateRuleActions().size(), 22);
  rig.logic.onUpdate();
  for (TAction a : TMeterLogic::UpdateRuleActions()) EXPECT_FALSE(rig.view.ActionEnabled(a));
  EXPECT_TRUE(rig.view.ActionEnabled(TAction::acLF));  // not under the rule
  rig.logic.Simulator().InitSimuVersion(true);
  rig.logic.onUpdate();
  for (TAction a : TMeterLogic::UpdateRuleActions()) EXPECT_TRUE(rig.view.ActionEnabled(a));
  rig.logic.Simulator().InitSimuVersion(false);
  rig.logic.acOpenPortExecute();
  rig.logic.onUpdate();
  EXPECT_TRUE(rig.view.ActionEnabled(TAction::acGetParameter));
}

// ESC and a command's buffer purge would take the replies a read waits for.
TEST(SingleCommandsMore, CommandsAreNotTakenWhileAReadRuns) {
  MeterRig rig(Hexlin);
  rig.emulator.FillDefaultValues();
  rig.view.changeBaud.result = 1;
  rig.view.changeBaud.chosenRate = br19200;
  using enum TAction;
  const TAction guarded[]{acStop, acDT, acDM, acID, acLF, acBaudrate, acSO,
                          acDisplay, acGetParameter, acSetParameter};
  QVector<TAction> enabledDuringRead;
  bool tried = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (tried || !rig.logic.TransferRunning() || rig.emulator.Commands().size() < 4) return;
    tried = true;
    rig.logic.onUpdate();
    for (TAction a : guarded)
      if (rig.view.ActionEnabled(a)) enabledDuringRead << a;
    rig.logic.acStopExecute();
    rig.logic.acDTExecute();
    rig.logic.acLFExecute();
    rig.logic.acDisplayExecute();
    rig.logic.acSOExecute();
    rig.logic.acBaudrateExecute();
  });
  probe.start(5);
  rig.logic.acGetParameterExecute();
  ASSERT_TRUE(tried);
  EXPECT_EQ(enabledDuringRead, QVector<TAction>{});
  const QStringList commands = rig.emulator.Commands();
  EXPECT_EQ(commands.count(kEscCommand), 1);
  for (const char* refused : {"DT", "LF", "DF", "SO", "BR19200"})
    EXPECT_FALSE(commands.contains(refused)) << refused;
  EXPECT_EQ(rig.view.changeBaud.enterCalls, 0);
  EXPECT_EQ(rig.view.StatusText(2), " Get Parameter ok");

  // Afterwards the rule gives them back.
  rig.logic.onUpdate();
  for (TAction a : guarded) EXPECT_TRUE(rig.view.ActionEnabled(a)) << ActionName(a).data();
}
