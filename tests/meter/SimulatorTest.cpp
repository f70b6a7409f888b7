// The simulated meter through the meter logic: switching, ticks, the lines it
// hands to the measurement path, and the PAVON line period.
#include <gtest/gtest.h>

#include <QLocale>

#include "meter/MeterLogic.h"
#include "support/EventLoop.h"
#include "support/FakeMeterView.h"
#include "support/PtyPair.h"
#include "support/QtPrinters.h"

namespace {

using enum TAction;
const TAction kTenActions[]{acDF, acTP, acID, acDM, acVM, acVT, acSO, acLF, acBaudrate, acDevice};

struct Rig {
  explicit Rig(TDeviceType model = Pavon) {
    if (logic.Device() != model) logic.SetDevice(model);
  }
  // Simulation on (the model switch it runs blanks the parameters), factory
  // defaults in the model object, ticks driven by the test.
  void SimulateByHand() {
    logic.Simulator().SetSimuVersion(true);
    logic.Simulator().StopMeasuring();
    logic.CurrentModel().ApplyStandard(false);
  }
  // The value of the newest log line.
  double LastLogged() {
    const QString line = m.LogList().last();
    return line.section(';', 1).toDouble();
  }
  FakeMeterView view;
  TMeterLogic logic{view};
  TMeasurement& m = logic.Measurement();
  TSimulator& s = logic.Simulator();
};

}  // namespace

TEST(Simulator, SwitchingOnRunsTheWholeDisplayAndOffStopsIt) {
  PtyPair pty;
  Rig rig(Pavon);
  rig.logic.ComPort().SetPort(pty.SlavePath());
  rig.logic.ComPort().Open();
  rig.view.notebookPage = 2;
  rig.view.inputCaption = "-";

  rig.s.SetSimuVersion(true);
  EXPECT_TRUE(rig.logic.ComPort().Connected()) << "closing the port is the interface setup's job";
  EXPECT_TRUE(rig.s.SimuVersion());
  EXPECT_TRUE(rig.view.inputRed);
  EXPECT_EQ(rig.view.notebookPage, 0);
  EXPECT_EQ(rig.view.inputCaption, "");
  EXPECT_TRUE(rig.view.caption.contains(" Simulation"));
  EXPECT_TRUE(rig.s.SimuTimer().isActive());
  EXPECT_EQ(rig.s.SimuTimer().interval(), 500);
  for (TAction a : kTenActions) EXPECT_FALSE(rig.view.ActionEnabled(a)) << ActionName(a).data();

  rig.logic.ComPort().Close();
  ASSERT_TRUE(PumpUntil([&] { return rig.m.LogList().size() >= 2 && !rig.view.chart.isEmpty(); },
                        10000));
  EXPECT_FALSE(rig.view.inputCaption.isEmpty());
  EXPECT_TRUE(rig.view.terminal.startsWith(rig.view.inputCaption.left(3).toLatin1()));
  EXPECT_EQ(rig.view.terminal.count("\r\n"), rig.m.LogList().size());
  EXPECT_FALSE(rig.view.chart[0].null);

  rig.view.notebookPage = 2;
  rig.s.SetSimuVersion(false);
  EXPECT_FALSE(rig.view.inputRed);
  EXPECT_EQ(rig.view.notebookPage, 2);
  EXPECT_FALSE(rig.s.SimuTimer().isActive());
  EXPECT_FALSE(rig.view.caption.contains(" Simulation"));
  for (TAction a : kTenActions) EXPECT_TRUE(rig.view.ActionEnabled(a)) << ActionName(a).data();
  // A meter's own lines reach the terminal through the port: not echoed again.
  const QByteArray shown = rig.view.terminal;
  rig.m.ComMessPacketPacket(nullptr, "005.000");
  EXPECT_EQ(rig.view.terminal, shown);
  // Simulation set at start-up echoes like a switched one.
  rig.s.InitSimuVersion(true);
  rig.m.ComMessPacketPacket(nullptr, "005.000");
  EXPECT_TRUE(rig.view.terminal.endsWith("005.000\r\n"));
}

TEST(Simulator, EveryModelsLinesDecodeToTheSetDistance) {
  struct Case {
    TDeviceType model;
    double low, high;  // the decoded value with the noise of 0..9 thousandths
  } cases[] = {
      {Pavon, 5.000, 5.009},   {Dorvane, 5.00, 5.01},    {Hexlin, 5.000, 5.009},
      {Tavri, 5.000, 5.009},   {KESTO_ZAREL, 5000, 5009},
  };
  for (const Case& c : cases) {
    Rig rig(c.model);
    rig.SimulateByHand();
    for (int i = 0; i < 5; ++i) rig.s.SimuTimerTimer();
    const QStringList log = rig.m.LogList();
    ASSERT_EQ(log.size(), 5) << int(c.model) << " " << rig.view.terminal.constData();
    for (const QString& line : log) {
      const double v = line.section(';', 1).toDouble();
      EXPECT_GE(v, c.low - 1e-9) << int(c.model) << " " << line.toStdString();
      EXPECT_LE(v, c.high + 1e-9) << int(c.model) << " " << line.toStdString();
    }
    EXPECT_EQ(rig.view.terminal.count("\r\n"), 5);
  }
}

TEST(Simulator, SetupDistanceAndLocaleCommas) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  {
    Rig rig(Hexlin);
    rig.view.simuSetup.simuDist = 12.5;
    rig.s.acSimulationExecute();
    EXPECT_EQ(rig.view.simuSetup.shown, 1);
    rig.SimulateByHand();
    rig.s.SimuTimerTimer();
    // The line carries '.', the log the locale's ','.
    EXPECT_TRUE(rig.view.terminal.startsWith("D 0012.50")) << rig.view.terminal.constData();
    EXPECT_TRUE(rig.m.MessValueValid());
    EXPECT_TRUE(rig.m.LogList().last().contains(";12,50"));
  }
  QLocale::setDefault(before);
}

TEST(Simulator, RampContinuesAcrossStopAndStart) {
  Rig rig(Pavon);
  rig.view.simuSetup.autoDist = true;
  rig.SimulateByHand();
  for (int i = 1; i <= 5; ++i) {
    rig.s.SimuTimerTimer();
    EXPECT_EQ(rig.s.TickCount(), i);
    EXPECT_NEAR(rig.LastLogged(), 5.000 + 0.040 * i + 0.0045, 0.0046);
  }
  rig.s.SetSimuVersion(false);
  rig.SimulateByHand();
  rig.s.SimuTimerTimer();
  EXPECT_EQ(rig.s.TickCount(), 6);
  EXPECT_NEAR(rig.LastLogged(), 5.240 + 0.0045, 0.0046);

  // Peak, then the error lines of the pattern.
  while (rig.s.TickCount() != 50) rig.s.SimuTimerTimer();
  EXPECT_NEAR(rig.LastLogged(), 7.000 + 0.0045, 0.0046);
  while (rig.s.TickCount() != 90) rig.s.SimuTimerTimer();
  EXPECT_TRUE(rig.view.terminal.endsWith("E10\r\n"));
  EXPECT_FALSE(rig.m.MessValueValid());
  EXPECT_TRUE(rig.m.LogList().last().endsWith(';'));
}

TEST(Simulator, PavonLinePeriodAndTimeUnitsFromTheModelObjects) {
  Rig rig(Pavon);
  TSimulator& s = rig.s;
  EXPECT_EQ(s.PavonDMode(), mNoMode);
  rig.logic.Model<TPavon>().SetP_ST("25");
  s.SetPavonDMode(mDT);
  EXPECT_EQ(s.TI4x(), 6000u);
  rig.logic.Model<TPavon>().SetP_ST("2");
  s.SetPavonDMode(mDT);
  EXPECT_EQ(s.TI4x(), 6000u) << "an equal mode changes nothing";
  s.UpdateTI4x();
  EXPECT_EQ(s.TI4x(), 480u);
  s.SetPavonDMode(mDX);
  rig.SimulateByHand();
  s.SimuTimerTimer();
  EXPECT_DOUBLE_EQ(rig.m.TimeUnit(), 0.02);

  // The counted time base of the other models.
  struct Case {
    TDeviceType model;
    QString sa, mf;
    double unit;
  } cases[] = {{Hexlin, "200", "2000", 0.1}, {Dorvane, "10", "", 0.1}, {Tavri, "x", "4", 0.25}};
  for (const Case& c : cases) {
    Rig r(c.model);
    r.SimulateByHand();
    TMeterModel& model = r.logic.CurrentModel();
    model.SetParam("SA", c.sa);
    model.SetParam("MF", c.mf);
    r.s.SimuTimerTimer();
    r.s.SimuTimerTimer();
    EXPECT_DOUBLE_EQ(r.m.TimeUnit(), c.unit) << int(c.model);
    EXPECT_DOUBLE_EQ(r.m.MessTimeStamp(), 2 * c.unit) << "stamped by the counted time base";
  }
}
