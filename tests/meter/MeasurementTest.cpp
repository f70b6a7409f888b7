// The measurement path through the meter logic with a fake window: packets in,
// display, outputs, diagram and log out. No port: packets are handed to the
// handler the way the splitter does.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cmath>

#include "meter/MeterLogic.h"
#include "support/EventLoop.h"
#include "support/FakeMeterView.h"
#include "support/QtPrinters.h"

namespace {

struct Rig {
  explicit Rig(TDeviceType model = Pavon) {
    if (logic.Device() == model)
      logic.ChangeDevice();
    else
      logic.SetDevice(model);
  }
  void Packet(const std::string& s) { m.ComMessPacketPacket(nullptr, s); }
  // What the display timer does when it fires.
  void Display() { m.Timer_AnzeigeTimer(); }
  void PacketShown(const std::string& s) {
    Packet(s);
    Display();
  }
  FakeMeterView view;
  TMeterLogic logic{view};
  TMeasurement& m = logic.Measurement();
};

QByteArray FileBytes(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(Measurement, PavonCurrentAndAlarmLampThroughTheDisplay) {
  Rig rig(Pavon);
  rig.logic.Model<TPavon>().SetP_RB("0");
  rig.logic.Model<TPavon>().SetP_RE("40");
  rig.logic.Model<TPavon>().SetP_AC("2");
  rig.logic.Model<TPavon>().SetP_AH("0.1");

  rig.PacketShown("020.000");
  EXPECT_EQ(rig.view.gaugeValue, 12000);
  EXPECT_TRUE(rig.view.led[1]);
  EXPECT_EQ(rig.view.ledSets, 1);

  rig.PacketShown("030.000");
  EXPECT_EQ(rig.view.gaugeValue, 16000);
  EXPECT_EQ(rig.view.ledSets, 1) << "an unchanged lamp is not set again";

  // The meter's error report: SE empty gives 20 mA on a rising line, the
  // last valid current is kept, the lamp holds.
  rig.PacketShown("E10");
  EXPECT_FALSE(rig.m.MessValueValid());
  EXPECT_EQ(rig.view.gaugeValue, 20000);
  EXPECT_EQ(rig.m.OutputState().FLastAnalogValue, 16000);
  EXPECT_TRUE(rig.view.led[1]);

  rig.PacketShown("001.000");
  EXPECT_EQ(rig.view.gaugeValue, 4400);
  EXPECT_FALSE(rig.view.led[1]);
  EXPECT_EQ(rig.view.ledSets, 2);

  // An empty current range leaves the gauge alone.
  rig.logic.Model<TPavon>().SetP_RE("0");
  rig.PacketShown("039.000");
  EXPECT_EQ(rig.view.gaugeValue, 4400);
}

TEST(Measurement, HexlinErrorCurrentFollowsThePageAndLampsTheModel) {
  Rig rig(Hexlin);
  THexlin& h = rig.logic.Model<THexlin>();
  h.SetP_QA(0, "0");
  h.SetP_QA(1, "10");
  const char* q1[] = {"2", "0", "0.1", "1"};
  const char* q2[] = {"4", "0", "0", "0"};
  for (int i = 0; i < 4; ++i) {
    h.SetP_Q1(i, q1[i]);
    h.SetP_Q2(i, q2[i]);
  }
  h.SetP_SE(0, "2");
  // The page says 1 while the model object still holds 2.
  rig.view.controls.SetText("cb_se_2_1", "1");

  rig.PacketShown("D 0005.000");
  EXPECT_EQ(rig.view.gaugeValue, 12000);
  EXPECT_TRUE(rig.view.led[1]);
  EXPECT_FALSE(rig.view.led[2]);

  rig.PacketShown("DE02   ");
  EXPECT_EQ(rig.view.gaugeValue, 3000) << "error current from the page's control";
  EXPECT_TRUE(rig.view.led[1]) << "mode 2 of the model: outputs take their level";
  EXPECT_FALSE(rig.view.led[2]);
}

TEST(Measurement, ZarelLightsItsThirdLampInTenthsOfTheUnit) {
  Rig rig(KESTO_ZAREL);
  TZAREL& z = rig.logic.Model<TZAREL>();
  z.SetP_SD(0, "0");
  z.SetP_SF("1");
  z.SetP_QA(0, "0");
  z.SetP_QA(1, "1000");  // 0..100 after the division by ten
  z.SetP_Q3(0, "500");   // switch point 50.0
  z.SetP_Q3(3, "1");
  rig.PacketShown("d00050.01");
  EXPECT_DOUBLE_EQ(rig.m.MessValue(), 50.01);
  EXPECT_TRUE(rig.view.led[3]);
  EXPECT_EQ(rig.view.gaugeValue, 12002);
}

TEST(Measurement, SeriesKeepsTheConfiguredNumberPlusOne) {
  Rig rig(Hexlin);
  rig.view.pointNumber = 10;
  for (int i = 1; i <= 20; ++i) rig.PacketShown(QString::asprintf("D %08.3f", i * 1.0).toStdString());
  ASSERT_EQ(rig.view.chart.size(), 11);
  for (int i = 0; i < 11; ++i) {
    EXPECT_DOUBLE_EQ(rig.view.chart[i].x, 10 + i);
    EXPECT_DOUBLE_EQ(rig.view.chart[i].y, 10 + i);
    EXPECT_FALSE(rig.view.chart[i].null);
  }
}

TEST(Measurement, InvalidValueGivesAGapAndAnEmptyLogValue) {
  Rig rig(Hexlin);
  rig.PacketShown("D 0001.500");
  rig.PacketShown("DE02   ");
  ASSERT_EQ(rig.view.chart.size(), 2);
  EXPECT_FALSE(rig.view.chart[0].null);
  EXPECT_TRUE(rig.view.chart[1].null);
  EXPECT_DOUBLE_EQ(rig.view.chart[1].x, 2.0);
  EXPECT_EQ(rig.m.LogList(), (QStringList{"1.000;1.500", "2.000;"}));
}

TEST(Measurement, BurstGivesOneDisplayUpdateWithTheLastPacket) {
  Rig rig(Hexlin);
  // A short packet changes nothing but arms the display.
  rig.Packet("D1");
  EXPECT_TRUE(rig.m.Timer_Anzeige().isActive());
  EXPECT_TRUE(rig.m.LogList().isEmpty());
  EXPECT_EQ(rig.m.MessPacket(), "");

  for (int i = 1; i <= 5; ++i) rig.Packet("D 0000.00" + std::to_string(i));
  ASSERT_TRUE(PumpUntil([&] { return !rig.m.Timer_Anzeige().isActive(); }, 5000));
  PumpFor(50);
  EXPECT_EQ(rig.view.chart.size(), 1);
  EXPECT_EQ(rig.view.inputCaption, "D 0000.005");
  EXPECT_DOUBLE_EQ(rig.view.chart[0].y, 0.005);
  EXPECT_EQ(rig.m.LogList().size(), 5);
}

TEST(Measurement, TimeStamps) {
  Rig rig(Tavri);
  rig.m.SetTimeUnit(0.5);
  rig.Packet("D 0001.000");
  EXPECT_DOUBLE_EQ(rig.m.MessTimeStamp(), 0.5) << "the first packet after a reset is one unit in";
  rig.Packet("D 0001.000");
  EXPECT_DOUBLE_EQ(rig.m.MessTimeStamp(), 1.0);
  rig.logic.SetLFCounter(17);
  rig.m.acClearLogExecute();
  EXPECT_EQ(rig.logic.LFCounter(), 0);
  rig.Packet("D 0001.000");
  EXPECT_DOUBLE_EQ(rig.m.MessTimeStamp(), 0.5);

  Rig pavon(Pavon);
  pavon.logic.ATimer1().StartTime();
  PumpFor(3);
  pavon.Packet("001.000");
  const double ms = pavon.m.MessTimeStamp() * 1000;
  EXPECT_GT(ms, 0);
  EXPECT_NEAR(ms, std::round(ms), 1e-6) << "stopwatch time cut to whole milliseconds";
}

TEST(Measurement, DorvaneSignalStrengthReplacesTheValue) {
  Rig rig(Dorvane);
  FakeSignalLevelDialog signal;
  signal.active = true;
  rig.view.signalLevel = &signal;
  rig.PacketShown("    1503");
  EXPECT_EQ(rig.m.Strength(), 1503);
  EXPECT_EQ(signal.strength, 1503);
  EXPECT_TRUE(rig.m.LogList().isEmpty());
  rig.Packet(" 9999.90");
  EXPECT_EQ(rig.m.Strength(), 0);

  signal.active = false;
  rig.PacketShown("   12.50");
  EXPECT_EQ(signal.strength, 1503) << "a closed dialog gets no strength";
  EXPECT_DOUBLE_EQ(rig.m.MessValue(), 12.5);
  EXPECT_EQ(rig.m.LogList().size(), 1);
}

TEST(Measurement, LogListKeepsAtMost10001Lines) {
  Rig rig;
  for (int i = 1; i <= 10001; ++i) rig.m.AddLogLine(QString::number(i));
  EXPECT_EQ(rig.m.LogList().size(), 10001);
  rig.m.AddLogLine("10002");
  const QStringList list = rig.m.LogList();
  EXPECT_EQ(list.size(), 10001);
  EXPECT_EQ(list.first(), "2");
  EXPECT_EQ(list.last(), "10002");
}

TEST(Measurement, LogLinesUseTheLocaleDecimalSeparator) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  {
    Rig rig(Hexlin);
    rig.Packet("D 0005.250");
    EXPECT_EQ(rig.m.LogList(), QStringList{"1,000;5,250"});
  }
  QLocale::setDefault(before);
}

TEST(Measurement, LogFileStartWriteStop) {
  QTemporaryDir dir;
  const QString name = dir.filePath("run.csv");
  Rig rig(Hexlin);
  rig.view.dirLogFile = dir.path();
  rig.Packet("D 0009.000");  // before the start: dropped with the list
  rig.logic.SetLFCounter(5);
  const int clearsBefore = rig.view.chartClears;

  rig.view.saveDialogAnswers.push_back(name);
  rig.m.acStartStopLogExecute();
  ASSERT_EQ(rig.view.saveDialogCalls.size(), 1);
  const auto& o = rig.view.saveDialogCalls[0];
  EXPECT_EQ(o.initialDir, dir.path());
  EXPECT_EQ(o.defaultExt, "csv");
  EXPECT_EQ(o.filter, "Text File(*.txt)|*.txt|csv File(*.csv)|*.csv");
  EXPECT_EQ(o.filterIndex, 2);
  EXPECT_TRUE(rig.view.ActionChecked(TAction::acStartStopLog));
  EXPECT_EQ(rig.view.action(TAction::acStartStopLog).caption, "Stop Log File");
  EXPECT_EQ(rig.view.status[2], " Log File: " + name);
  EXPECT_EQ(rig.m.LogFileName(), name);
  EXPECT_EQ(rig.view.chartClears, clearsBefore + 1);
  EXPECT_TRUE(rig.m.LogList().isEmpty());
  EXPECT_EQ(rig.logic.LFCounter(), 0);

  rig.Packet("D 0001.000");
  rig.Packet("DE02   ");
  rig.Packet("D 0002.500");
  EXPECT_EQ(FileBytes(name), "Time;Value\r\n1.000;1.000\r\n2.000;\r\n3.000;2.500\r\n");

  rig.m.acStartStopLogExecute();
  EXPECT_FALSE(rig.view.ActionChecked(TAction::acStartStopLog));
  EXPECT_EQ(rig.view.action(TAction::acStartStopLog).caption, "Start Log File");
  EXPECT_EQ(rig.view.status[2], "");
  EXPECT_EQ(rig.m.LogFileName(), "");
  EXPECT_EQ(rig.view.logMemo, rig.m.LogList());
  rig.Packet("D 0003.000");
  EXPECT_EQ(FileBytes(name).count('\n'), 4) << "nothing written after the stop";

  // Started and stopped at once: only the header.
  rig.view.saveDialogAnswers.push_back(name);
  rig.m.acStartStopLogExecute();
  rig.m.acStartStopLogExecute();
  EXPECT_EQ(FileBytes(name), "Time;Value\r\n");

  // Cancelled.
  rig.view.saveDialogAnswers.push_back(std::nullopt);
  rig.m.acStartStopLogExecute();
  EXPECT_FALSE(rig.view.ActionChecked(TAction::acStartStopLog));
  EXPECT_EQ(rig.view.action(TAction::acStartStopLog).caption, "Start Log File");
}

TEST(Measurement, LogFileThatCannotBeCreatedLeavesTheActionStopped) {
  QTemporaryDir dir;
  const QString name = dir.filePath("missing/run.csv");
  Rig rig(Hexlin);
  rig.PacketShown("D 0001.000");
  const int clearsBefore = rig.view.chartClears;
  rig.view.saveDialogAnswers.push_back(name);
  rig.m.acStartStopLogExecute();
  EXPECT_FALSE(rig.view.ActionChecked(TAction::acStartStopLog));
  EXPECT_EQ(rig.view.action(TAction::acStartStopLog).caption, "Start Log File");
  ASSERT_EQ(rig.view.errors.size(), 1);
  EXPECT_TRUE(rig.view.errors[0].contains(name));
  EXPECT_EQ(rig.m.LogFileName(), "");
  EXPECT_EQ(rig.view.chartClears, clearsBefore) << "nothing else of a start happens";
  EXPECT_EQ(rig.m.LogList().size(), 1);
}

TEST(Measurement, LogFileThatStopsBeingWritableIsReported) {
  // The folder of the running file goes away, or a file takes its place.
  for (bool replaceByFile : {false, true}) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("sub");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString name = folder + "/run.csv";
    Rig rig(Hexlin);
    rig.view.saveDialogAnswers.push_back(name);
    rig.m.acStartStopLogExecute();
    rig.Packet("D 0001.000");
    ASSERT_TRUE(QDir(folder).removeRecursively());
    if (replaceByFile) {
      QFile f(folder);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    rig.Packet("D 0002.000");
    EXPECT_FALSE(rig.view.ActionChecked(TAction::acStartStopLog)) << replaceByFile;
    EXPECT_EQ(rig.view.action(TAction::acStartStopLog).caption, "Start Log File");
    EXPECT_TRUE(rig.view.status[2].contains("stopped")) << rig.view.status[2].toStdString();
    EXPECT_TRUE(rig.view.status[2].contains(name));
    EXPECT_EQ(rig.m.LogList().size(), 2) << "the list keeps logging";
    const int statusWrites = rig.view.statusHistory[2].size();
    rig.Packet("D 0003.000");
    EXPECT_EQ(rig.view.statusHistory[2].size(), statusWrites) << "no further attempts";
    EXPECT_FALSE(QFile::exists(name));

    // The next execution starts a new file.
    const QString next = dir.filePath("next.csv");
    rig.view.saveDialogAnswers.push_back(next);
    rig.m.acStartStopLogExecute();
    EXPECT_TRUE(rig.view.ActionChecked(TAction::acStartStopLog));
    EXPECT_EQ(rig.m.LogFileName(), next);
  }
}

TEST(Measurement, SaveLogWindowWritesTheMemo) {
  QTemporaryDir dir;
  Rig rig;
  rig.view.logMemo = QStringList{"1.000;2.000", "edited by hand"};
  const QString name = dir.filePath("memo.csv");
  rig.view.saveDialogAnswers.push_back(name);
  rig.m.acSaveLogExecute();
  EXPECT_EQ(FileBytes(name), "1.000;2.000\r\nedited by hand\r\n");
  EXPECT_EQ(rig.view.saveDialogCalls.last().filterIndex, 2);

  rig.view.saveDialogAnswers.push_back(dir.filePath("missing/memo.csv"));
  rig.m.acSaveLogExecute();
  EXPECT_EQ(rig.view.errors.size(), 1);
}

TEST(Measurement, LogWindowPageAndClearActions) {
  Rig rig(Hexlin);
  rig.PacketShown("D 0001.000");
  rig.Packet("D 0002.000");
  rig.m.ShowLogWindow();
  EXPECT_EQ(rig.view.logMemo, (QStringList{"1.000;1.000", "2.000;2.000"}));
  EXPECT_EQ(rig.view.logMemoFocused, 1);
  EXPECT_EQ(rig.view.busyCalls, 1);
  EXPECT_EQ(rig.view.busyDepth, 0);

  rig.m.acClearGrafikExecute();
  EXPECT_TRUE(rig.view.chart.isEmpty());
  EXPECT_EQ(rig.view.undoZooms, 1);
  EXPECT_EQ(rig.m.LogList().size(), 2) << "the diagram clear keeps the log";
  rig.Packet("D 0001.000");
  EXPECT_DOUBLE_EQ(rig.m.MessTimeStamp(), 1.0);

  rig.m.acClearLogExecute();
  EXPECT_TRUE(rig.m.LogList().isEmpty());
  EXPECT_TRUE(rig.view.logMemo.isEmpty());
}

TEST(Measurement, DiagramPictureThatCannotBeSavedIsReported) {
  Rig rig;
  rig.view.pictureAnswers.push_back(std::nullopt);
  rig.m.acSaveGrafikExecute();
  EXPECT_TRUE(rig.view.savedBitmaps.isEmpty());
  rig.view.pictureAnswers.push_back(QString("/tmp/x.png"));
  rig.m.acSaveGrafikExecute();
  EXPECT_EQ(rig.view.savedBitmaps, QStringList{"/tmp/x.png"});
  EXPECT_TRUE(rig.view.errors.isEmpty());
  rig.view.bitmapSaveResult = false;
  rig.view.pictureAnswers.push_back(QString("/tmp/y.bmp"));
  rig.m.acSaveGrafikExecute();
  ASSERT_EQ(rig.view.errors.size(), 1);
  EXPECT_TRUE(rig.view.errors[0].contains("/tmp/y.bmp"));
}
