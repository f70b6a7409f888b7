// The signal strength window end to end: a meter emulator on a
// pseudo-terminal receives the commands of opening and closing, streams
// signal levels, and the window shows them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/SignalLevelDlg.h"
#include "meter/MeterRig.h"
#include "serial_ui/ComboDriver.h"

namespace {

const QString ESC = QStringLiteral("\x1b");

// The rig with the window installed as the logic's signal strength dialog.
struct SignalRig : MeterRig {
  explicit SignalRig(TDeviceType model) : MeterRig(model), dlg(logic) {
    view.signalLevel = &dlg;
    emulator.intervalMs = 10;
  }
  // Opens the window with `open`, runs `whileOpen` on it and closes it with
  // Cancel; returns what the meter received.
  QStringList Run(const std::function<void()>& open,
                  const std::function<void(TSignalLevelDlg&)>& whileOpen) {
    bool shown = false;
    WhenShown<TSignalLevelDlg>([&](TSignalLevelDlg& d) {
      shown = true;
      EXPECT_TRUE(d.Signal_Strength());
      whileOpen(d);
      d.Button1->click();
    });
    open();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dlg.Signal_Strength());
    PumpFor(50);  // the last command on its way
    return emulator.Commands();
  }
  TSignalLevelDlg dlg;
};

// A HEXLIN/TAVRI line "D" value, blank, signal in 12..16.
std::function<QByteArray(int)> DLine(const int* level) {
  return [level](int) { return "D00005.000 " + QByteArray::number(*level).rightJustified(5, '0'); };
}

bool Shows(const TSignalLevelDlg& d, int bar, const QString& number) {
  return d.ProgressBar1->value() == bar && d.Label1->text() == number;
}

TEST(SignalLevel, HexlinSwitchesToSignalOutputAndRestoresItsFormat) {
  SignalRig rig(Hexlin);
  rig.logic.Model<THexlin>().SetP_SD(0, "2");
  rig.logic.Model<THexlin>().SetP_SD(1, "0");
  rig.logic.Model<THexlin>().SetP_AS("dt");
  int level = 1234;
  rig.emulator.lineMaker = DLine(&level);
  const QStringList sent = rig.Run([&] { rig.logic.acSdExecute(); }, [&](TSignalLevelDlg& d) {
    EXPECT_EQ(d.windowTitle(), "Signal Strength");
    EXPECT_EQ(d.ProgressBar1->maximum(), 7000);
    // The page shows the signal format while the window is open.
    EXPECT_EQ(rig.view.Controls().Text("cb_sd_2_1"), "0");
    EXPECT_EQ(rig.view.Controls().Text("cb_sd_2_2"), "1");
    EXPECT_TRUE(PumpUntil([&] { return Shows(d, 1234, "1234"); }));
    level = 4321;
    EXPECT_TRUE(PumpUntil([&] { return Shows(d, 4321, "4321"); }));
  });
  EXPECT_EQ(sent, QStringList({ESC, "SD0 1", "DT", ESC, "", "SD2 0", "dt"}));
  EXPECT_EQ(rig.view.Controls().Text("cb_sd_2_1"), "2");
  EXPECT_EQ(rig.view.Controls().Text("cb_sd_2_2"), "0");
  EXPECT_EQ(rig.logic.Model<THexlin>().P_SD(0), "2");
  EXPECT_EQ(rig.emulator.values.value("SD"), "2 0");
}

TEST(SignalLevel, TavriRunsTo100AndALevelAboveFillsTheBar) {
  SignalRig rig(Tavri);
  rig.logic.Model<TTavri>().SetP_SD(0, "1");
  rig.logic.Model<TTavri>().SetP_SD(1, "1");
  rig.logic.Model<TTavri>().SetP_AS("d");  // one character: no restart
  int level = 40;
  rig.emulator.lineMaker = DLine(&level);
  const QStringList sent = rig.Run([&] { rig.logic.acSdExecute(); }, [&](TSignalLevelDlg& d) {
    EXPECT_EQ(d.ProgressBar1->maximum(), 100);
    EXPECT_TRUE(PumpUntil([&] { return Shows(d, 40, "40"); }));
    level = 150;
    EXPECT_TRUE(PumpUntil([&] { return Shows(d, 100, "150"); }));
  });
  EXPECT_EQ(sent, QStringList({ESC, "SD0 1", "DT", ESC, "", "SD1 1"}));
  EXPECT_EQ(rig.view.Controls().Text("cb_sd_3_1"), "1");
}

TEST(SignalLevel, KestoZarelSendsItsFormatAsOneCommandWithBlanks) {
  SignalRig rig(KESTO_ZAREL);
  const QStringList parts{"3", "0", "0", "1"};
  for (int i = 0; i < 4; ++i) rig.logic.Model<TZAREL>().SetP_SD(i, parts[i]);
  rig.logic.Model<TZAREL>().SetP_AS("DF;ID");
  int level = 2500;
  rig.emulator.lineMaker = [&level](int) {
    return "d05.000," + QByteArray::number(level).rightJustified(5, '0');
  };
  const QStringList sent = rig.Run([&] { rig.logic.acSdExecute(); }, [&](TSignalLevelDlg& d) {
    // Parts 0 and 1 switch to decimal with signal; 2 and 3 keep theirs.
    EXPECT_EQ(rig.logic.Model<TZAREL>().P_SD(0), "1");
    EXPECT_EQ(rig.logic.Model<TZAREL>().P_SD(1), "1");
    EXPECT_EQ(rig.logic.Model<TZAREL>().P_SD(3), "1");
    EXPECT_TRUE(PumpUntil([&] { return Shows(d, 2500, "2500"); }));
  });
  EXPECT_EQ(sent, QStringList({ESC, "TE 1", "SD 1 1 0 0", "DT", ESC, "", "SD 3 0 0 1", "DF;ID"}));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(rig.logic.Model<TZAREL>().P_SD(i), parts[i]) << i;
}

TEST(SignalLevel, APageValueBeyondTheBoundIsNotSentOnClose) {
  SignalRig rig(KESTO_ZAREL);
  const QString tooLong(TMeterLogic::kMaxValueLength + 1, u'1');
  for (int i = 0; i < 4; ++i)
    rig.logic.Model<TZAREL>().SetP_SD(i, i == 3 ? tooLong : QStringLiteral("0"));
  rig.logic.Model<TZAREL>().SetP_AS(tooLong);
  const QStringList sent = rig.Run([&] { rig.logic.acSdExecute(); }, [](TSignalLevelDlg&) {});
  EXPECT_EQ(sent, QStringList({ESC, "TE 1", "SD 1 1 0 0", "DT", ESC, ""}));
  EXPECT_EQ(rig.logic.Model<TZAREL>().P_SD(3), tooLong) << "kept, only not sent";
}

TEST(SignalLevel, DorvaneIsStoppedOnlyWhileItSendsThenAskedForItsSignal) {
  SignalRig rig(Dorvane);
  rig.logic.Model<TDorvane>().SetP_AS("dt");
  rig.emulator.StartStream();  // measuring: the probe sees it
  int level = 777;
  rig.emulator.lineMaker = [&level](int) { return QByteArray::number(level).rightJustified(8, ' '); };
  const QStringList sent = rig.Run([&] { rig.logic.acDJExecute(); }, [&](TSignalLevelDlg& d) {
    EXPECT_EQ(d.ProgressBar1->maximum(), 7000);
    EXPECT_TRUE(PumpUntil([&] { return Shows(d, 777, "777"); }));
  });
  EXPECT_EQ(sent, QStringList({ESC, "DJ", ESC, "dt"}));

  // A quiet meter gets no ESC; nor does one that stopped before closing.
  rig.emulator.StopStream();
  PumpFor(200);  // lines already on their way
  rig.emulator.ClearReceived();
  rig.logic.Model<TDorvane>().SetP_AS("");
  const QStringList quiet = rig.Run([&] { rig.logic.acDJExecute(); }, [&](TSignalLevelDlg&) {
    ASSERT_TRUE(PumpUntil([&] { return rig.emulator.Streaming(); }));
    rig.emulator.StopStream();
    PumpFor(300);  // lines already on their way
  });
  EXPECT_EQ(quiet, QStringList({"DJ"}));
}

TEST(SignalLevel, PavonGetsNothingEitherWay) {
  SignalRig rig(Pavon);
  const QStringList sent = rig.Run([&] { rig.logic.acDJExecute(); }, [](TSignalLevelDlg&) {});
  EXPECT_TRUE(sent.isEmpty()) << sent.join('|').toStdString();
}

TEST(SignalLevel, TheFirstLevelOfEveryOpeningIsShown) {
  SignalRig rig(Pavon);
  TSignalLevelDlg& dlg = rig.dlg;
  rig.Run([&] { dlg.Enter("", "", Pavon, 0, 7000); }, [](TSignalLevelDlg& d) {
    EXPECT_EQ(d.Label1->text(), "");
    d.SetStrength(0);  // equal to the start value, shown all the same
    EXPECT_TRUE(Shows(d, 0, "0"));
    d.SetStrength(9000);
    EXPECT_TRUE(Shows(d, 7000, "9000"));
  });
  rig.Run([&] { dlg.Enter("", "", Pavon, 0, 7000); }, [](TSignalLevelDlg& d) {
    EXPECT_TRUE(Shows(d, 0, ""));  // cleared by the opening
    d.SetStrength(9000);           // the last level of the previous opening
    EXPECT_TRUE(Shows(d, 7000, "9000"));
    d.ProgressBar1->setValue(5);
    d.SetStrength(9000);  // no change: nothing is drawn again
    EXPECT_EQ(d.ProgressBar1->value(), 5);
  });
}

TEST(SignalLevel, ASecondOpeningOrCancelWhileTheMeterIsWaitedForIsIgnored) {
  SignalRig rig(Hexlin);
  rig.logic.Model<THexlin>().SetP_SD(0, "3");
  rig.logic.Model<THexlin>().SetP_SD(1, "0");
  rig.logic.Model<THexlin>().SetP_AS("");
  // The user starts it again while the first opening waits for the meter;
  // it would save the signal format as the one to restore.
  bool second = false;
  QTimer::singleShot(300, [&] {
    rig.logic.acSdExecute();
    second = true;
  });
  // Should a second window open after all, it is closed here so that the
  // test ends with a failure rather than waiting for ever.
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    if (auto* d = qobject_cast<TSignalLevelDlg*>(QApplication::activeModalWidget())) d->reject();
  });
  watchdog.start(4000);
  // And Cancel again while the closing waits for the meter.
  bool again = false;
  const QStringList sent = rig.Run([&] { rig.logic.acSdExecute(); }, [&](TSignalLevelDlg& d) {
    QTimer::singleShot(300, [&] {
      d.Button1->click();
      again = true;
    });
  });
  EXPECT_TRUE(second);
  EXPECT_TRUE(again);
  EXPECT_EQ(sent, QStringList({ESC, "SD0 1", "DT", ESC, "", "SD3 0"}));
  EXPECT_EQ(rig.logic.Model<THexlin>().P_SD(0), "3");
}

TEST(SignalLevel, WithTheLineClosedTheWindowStillOpensAndCloses) {
  SignalRig rig(Hexlin);
  rig.logic.ComPort().Close();
  rig.logic.Model<THexlin>().SetP_SD(0, "2");
  rig.Run([&] { rig.logic.acSdExecute(); }, [](TSignalLevelDlg&) {});
  EXPECT_TRUE(rig.emulator.received.isEmpty());
  EXPECT_EQ(rig.logic.Model<THexlin>().P_SD(0), "2");
}

}  // namespace
