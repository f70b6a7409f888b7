// A streaming meter end to end: the emulator writes each model's lines into a
// pseudo-terminal, the real port and the measurement splitter (framed by the
// model switch) hand them to the measurement path; display, log list and log
// file must agree with what was sent.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>

#include "meter/MeterLogic.h"
#include "support/EventLoop.h"
#include "support/FakeMeterView.h"
#include "support/MeterEmulator.h"
#include "support/PtyPair.h"
#include "support/QtPrinters.h"

namespace {

struct Rig {
  explicit Rig(TDeviceType model) : emulator(model, pty.MasterFd()) {
    logic.ComPort().SetPort(pty.SlavePath());
    if (logic.Device() == model)
      logic.ChangeDevice();
    else
      logic.SetDevice(model);
  }
  PtyPair pty;
  MeterEmulator emulator;
  FakeMeterView view;
  TMeterLogic logic{view};
};

// Current range 0..10 units and one output that is on above 2 units.
void SetOutputs(TMeterLogic& logic) {
  switch (logic.Device()) {
    case Pavon:
    case Dorvane: {
      TMeterModel& m = logic.CurrentModel();
      m.SetParam("RB", "0");
      m.SetParam("RE", "10");
      m.SetParam("AC", "2");
      m.SetParam("AH", "0");
      break;
    }
    case Hexlin:
    case Tavri: {
      TMeterModel& m = logic.CurrentModel();
      m.SetParam("QA", 0, "0");
      m.SetParam("QA", 1, "10");
      m.SetParam("Q1", 0, "2");
      m.SetParam("Q1", 3, "1");
      break;
    }
    case KESTO_ZAREL:
      // Values in millimetres: 0..10000 mm, the output above 2000 mm.
      logic.Model<TZAREL>().SetP_SD(0, "0");
      logic.Model<TZAREL>().SetP_SF("1");
      logic.Model<TZAREL>().SetP_QA(0, "0");
      logic.Model<TZAREL>().SetP_QA(1, "100000");
      logic.Model<TZAREL>().SetP_Q1(0, "20000");
      logic.Model<TZAREL>().SetP_Q1(3, "1");
      break;
  }
}

QList<QByteArray> FileLines(const QString& name) {
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QList<QByteArray> lines = f.readAll().split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

TEST(MeasurementStream, EveryModelsStreamReachesDisplayAndLog) {
  for (TDeviceType model : {Pavon, Dorvane, Hexlin, Tavri, KESTO_ZAREL}) {
    SCOPED_TRACE(int(model));
    QTemporaryDir dir;
    Rig rig(model);
    SetOutputs(rig.logic);
    TMeasurement& m = rig.logic.Measurement();
    const QString logName = dir.filePath("stream.csv");
    rig.view.saveDialogAnswers.push_back(logName);
    m.acStartStopLogExecute();
    ASSERT_EQ(m.LogFileName(), logName);
    rig.logic.ComPort().Open();

    rig.emulator.intervalMs = 2;
    rig.emulator.linesPerWrite = 7;
    rig.emulator.StartStream();
    ASSERT_TRUE(PumpUntil([&] { return rig.emulator.LinesSent() >= 350; }, 20000));
    rig.emulator.StopStream();
    const int sent = rig.emulator.LinesSent();
    ASSERT_TRUE(PumpUntil([&] { return m.LogList().size() >= sent; }, 20000))
        << m.LogList().size() << " of " << sent;
    ASSERT_TRUE(PumpUntil([&] { return !m.Timer_Anzeige().isActive(); }, 5000));

    const QStringList log = m.LogList();
    EXPECT_EQ(log.size(), sent);
    const QList<QByteArray> file = FileLines(logName);
    ASSERT_EQ(file.size(), sent + 1);
    EXPECT_EQ(file.first(), "Time;Value\r");
    for (int i = 0; i < sent; ++i) ASSERT_EQ(file[i + 1], log[i].toUtf8() + "\r") << i;

    // Every line is a value: the default lines run 5.000 .. 5.099 units.
    const QByteArray last = rig.emulator.lineMaker(sent - 1);
    const double unit = model == KESTO_ZAREL ? 1000 : 1;
    double expected = (5000 + (sent - 1) % 100) / 1000.0 * unit;
    if (model == Dorvane) expected = last.trimmed().toDouble();  // two decimals on the line
    for (const QString& line : log) ASSERT_FALSE(line.endsWith(';')) << line.toStdString();
    EXPECT_NEAR(log.last().section(';', 1).toDouble(), expected, 1e-9);

    EXPECT_EQ(rig.view.inputCaption.trimmed(), QString::fromLatin1(last).trimmed());
    EXPECT_NEAR(m.MessValue(), expected, 1e-9);
    ASSERT_FALSE(rig.view.chart.isEmpty());
    EXPECT_NEAR(rig.view.chart.last().y, expected, 1e-9);
    EXPECT_EQ(rig.view.gaugeValue, std::lround((expected / unit * 1.6 + 4) * 1000));
    EXPECT_TRUE(rig.view.led[1]);
  }
}
