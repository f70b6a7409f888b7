// Get Parameter end to end: the real logic and serial port against the meter
// emulator on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QSet>
#include <QTimer>

#include "MeterRig.h"
#include "meter/ModelTables.h"
#include "meter/ParamFile.h"
#include "meter/ParameterReadSteps.h"

namespace {

struct ReadCase {
  const char* name;
  TDeviceType model;
  QHash<QString, QString> values;  // what the meter holds
  QStringList sent;                // what it must receive, in order
  QString page;                    // the page afterwards, as its export text
  double timeUnit;
  QByteArray stop;                 // measurement line end after the read
  QString lastQuery;               // its time-out is the last error
};

const ReadCase kReadCases[] = {
    {"Pavon", Pavon,
     {{"ST", "3"}, {"SA", "4"}, {"TD", "12 1"}, {"TM", "1 0"}, {"SF", "10"}, {"OF", "0.5"},
      {"AS", "dx"}, {"SE", "1"}, {"RM", "2 3 4"}, {"SD", "s"}, {"RB", "5"}, {"RE", "45"},
      {"AC", "6"}, {"AH", "0.2"}, {"AW", "99"}},
     WithEsc({"SA", "ST", "SA", "TD", "TM", "SF", "OF", "AS", "SE", "RM", "SD", "RB", "RE", "AC",
              "AH", "AW", "dx"}),
     "ST=3\r\nSA=4\r\nTD=12 1\r\nTM=1 0\r\nSF=10\r\nOF=0.5\r\nAS=dx\r\nSE=1\r\nRM=2 3 4\r\n"
     "SD=s\r\nRB=5\r\nRE=45\r\nAC=6\r\nAH=0.2\r\nAW=99\r\n",
     4.0, "\r\n", "AW"},
    {"Dorvane", Dorvane,
     {{"SA", "20"}, {"TD", "100 1"}, {"SF", "0.1"}, {"AS", "df"}, {"RB", "1"}, {"RE", "30"},
      {"AC", "3"}, {"AH", "0.5"}},
     // A meter that does not stream gets no ESC.
     {"SA", "SA", "TD", "SF", "AS", "RB", "RE", "AC", "AH", "df"},
     "SA=20\r\nTD=100 1\r\nSF=0.1\r\nAS=df\r\nRB=1\r\nRE=30\r\nAC=3\r\nAH=0.5\r\n", 20.0, "",
     "AH"},
    {"Hexlin", Hexlin,
     {{"SA", "200"}, {"MF", "2000"}, {"TD", "7 1 0"}, {"SF", "2"}, {"OF", "0.25"}, {"AS", "dm"},
      {"SE", "1 2"}, {"MW", "10 4000"}, {"PL", "1"}, {"HE", "5 12"}, {"SD", "1 2"}, {"TE", "8"},
      {"QA", "1 250"}, {"Q1", "3 4000 0.2 0"}, {"Q2", "5 4500 0.3 1"}, {"SC", "1"}},
     WithEsc({"SA", "SA", "MF", "TD", "SF", "OF", "AS", "SE", "MW", "PL", "HE", "SD", "TE", "QA",
              "Q1", "Q2", "SC", "dm"}),
     "SA=200\r\nMF=2000\r\nTD=7 1 0\r\nSF=2\r\nOF=0.25\r\nAS=dm\r\nSE=1\r\nMW=10 4000\r\n"
     "PL=1\r\nHE=5 12\r\nSD=1 2\r\nTE=8\r\nQA=1 250\r\nQ1=3 4000 0.2 0\r\nQ2=5 4500 0.3 1\r\n"
     "SC=1\r\n",
     0.1, ":", "SC"},
    {"Tavri", Tavri,
     {{"SA", "1500"}, {"MF", "15000"}, {"SF", "7"}, {"OF", "0"}, {"AS", "ft"}, {"SE", "2 2"},
      {"MW", "-270 270 1"}, {"GN", "2"}, {"UB", "9"}, {"SD", "0 1"}, {"TE", "5"},
      {"QA", "0 30"}, {"Q1", "2 5000 0.1 1"}, {"Q2", "4 5000 0.1 1"}},
     WithEsc({"SA", "SA", "MF", "OF", "AS", "SE", "MW", "GN", "UB", "SD", "TE", "QA", "Q1", "Q2",
              "ft"}),
     "SA=1500\r\nMF=15000\r\nOF=0\r\nAS=ft\r\nSE=2\r\nMW=-270 270 1\r\nGN=2\r\nSD=0 1\r\n"
     "TE=5\r\nUB=9\r\nQA=0 30\r\nQ1=2 5000 0.1 1\r\nQ2=4 5000 0.1 1\r\n",
     0.1, "\t", "Q2"},
    {"Zarel", KESTO_ZAREL,
     {{"SA", "2"}, {"MF", "10"}, {"MW", "-100 100"}, {"OF", "1"}, {"SF", "-2"}, {"MUN", "cm"},
      {"SD", "1 1 0 0"}, {"SP", "0x3b"}, {"SE", "2"}, {"AS", "dt"}, {"QA", "5, 600"},
      {"Q1", "1, 2, 3, 4"}, {"Q2", "5, 6, 7, 8"}, {"Q3", "9, 10, 11, 12"}, {"TRI", "1, 20"},
      {"TRO", "2, 30"}},
     WithEsc({"SA", "SA", "MF", "SF", "OF", "AS", "SE", "MW", "MW", "SD", "SP", "QA", "Q1", "Q2",
              "Q3", "MUN", "TRI", "TRO", "DT"}),
     "SA=2\r\nMF=10\r\nMW=-100 100\r\nOF=1\r\nSF=-2\r\nMUN=cm\r\nSD=1 1 0 0\r\nSP=0x3B\r\n"
     "SE=2\r\nAS=DT\r\nQA=5 600\r\nQ1=1 2 3 4\r\nQ2=5 6 7 8\r\nQ3=9 10 11 12\r\nTRI=1 20\r\n"
     "TRO=2 30\r\n",
     0.2, "\r\n", "TRO"},
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class GetParameter : public ::testing::TestWithParam<ReadCase> {};

void ExpectPageEmpty(MeterRig& rig, TDeviceType model) {
  for (const QString& c : ModelTable(model).Controls())
    EXPECT_EQ(rig.view.controls.Text(c), QString()) << c.toStdString();
}

void ExpectClosingSteps(MeterRig& rig, int chartClearsBefore) {
  EXPECT_EQ(rig.logic.ComMessPacket().ComPort(), &rig.logic.ComPort());
  EXPECT_EQ(rig.logic.ComDataPacket().ComPort(), nullptr);
  EXPECT_TRUE(rig.view.ActionEnabled(TAction::acGetParameter));
  EXPECT_EQ(rig.view.busyDepth, 0);
  EXPECT_GT(rig.view.busyCalls, 0);
  EXPECT_EQ(rig.view.chartClears, chartClearsBefore + 1);
  EXPECT_FALSE(rig.logic.TransferRunning());
}

}  // namespace

TEST_P(GetParameter, FillsThePageAndRestartsTheMeter) {
  const ReadCase& c = GetParam();
  MeterRig rig(c.model);
  rig.emulator.values = c.values;
  rig.emulator.lineEnd = c.model == Dorvane ? QByteArray() : c.stop;
  // Values the read must keep in the other models' objects.
  rig.logic.Model<TTavri>().SetP_MW(2, "keep");

  // A second start during the read's waits (the shortcut) must be refused.
  int nestedStarts = 0;
  QTimer::singleShot(300, [&] {
    ++nestedStarts;
    rig.logic.acGetParameterExecute();
    rig.logic.acSetParameterExecute();
    rig.logic.acSetStandardExecute();
    rig.logic.acSetProfibusExecute();
  });

  const int clears = rig.view.chartClears;
  rig.logic.acGetParameterExecute();
  EXPECT_EQ(nestedStarts, 1);

  EXPECT_EQ(rig.CommandsAfter(c.sent.size()), c.sent);
  EXPECT_EQ(ExportParamText(rig.view.controls, c.model), c.page);
  EXPECT_EQ(rig.view.StatusText(2), " Get Parameter ok");
  EXPECT_DOUBLE_EQ(rig.logic.Measurement().TimeUnit(), c.timeUnit);
  ExpectClosingSteps(rig, clears);

  // Values shared by code reached the other models' objects.
  switch (c.model) {
    case Pavon:
      EXPECT_EQ(rig.logic.Model<TDorvane>().P_SA(), "4");
      EXPECT_EQ(rig.logic.Model<TZAREL>().P_SA(), "4");
      EXPECT_EQ(rig.logic.Model<THexlin>().P_TD(1), "1");
      EXPECT_EQ(rig.logic.Model<THexlin>().P_OF(), "0.5");
      break;
    case Hexlin:
      EXPECT_EQ(rig.logic.Model<TPavon>().P_TD(0), "7");
      EXPECT_EQ(rig.logic.Model<TDorvane>().P_TD(1), "1");
      EXPECT_EQ(rig.logic.Model<TTavri>().P_MW(1), "4000");
      EXPECT_EQ(rig.logic.Model<TTavri>().P_MW(2), "keep");  // only a TAVRI read fills part 2
      EXPECT_EQ(rig.logic.Model<TZAREL>().P_SF(), "2");
      EXPECT_EQ(rig.logic.Model<TTavri>().P_SE(0), "1");
      break;
    case Tavri:
      EXPECT_EQ(rig.logic.Model<TTavri>().P_SF(), QString());  // blanked, and not asked for
      EXPECT_EQ(rig.logic.Model<THexlin>().P_MW(1), "270");
      break;
    case KESTO_ZAREL:
      EXPECT_EQ(rig.logic.Model<TZAREL>().P_SP(), "0x3B");
      EXPECT_EQ(rig.logic.Model<THexlin>().P_SE(0), "2");
      break;
    case Dorvane:
      EXPECT_EQ(rig.logic.Model<TPavon>().P_AH(), "0.5");
      break;
  }

  // The measurement splitter is back, framed by the meter's terminator: the
  // restarted meter's lines arrive whole.
  EXPECT_EQ(QByteArray::fromStdString(rig.logic.ComMessPacket().StopString()), c.stop);
  QStringList packets;
  rig.logic.ComMessPacket().OnPacket = [&](TObject*, const std::string& p) {
    packets << QString::fromStdString(p);
  };
  if (!rig.emulator.Streaming()) rig.emulator.StartStream();
  ASSERT_TRUE(PumpUntil([&] { return packets.size() >= 3; }, 5000));
  QSet<QString> lines;
  for (int n = 0; n < rig.emulator.LinesSent(); ++n) {
    // DORVANE's packets lose the blank that opens them.
    const QString line = QString::fromLatin1(rig.emulator.lineMaker(n));
    lines.insert(c.model == Dorvane ? line.mid(1) : line);
  }
  EXPECT_TRUE(lines.contains(packets[1])) << packets[1].toStdString();
  EXPECT_TRUE(lines.contains(packets[2])) << packets[2].toStdString();
}

TEST_P(GetParameter, MeterAnsweringOnlyTheLinkCheckLeavesThePageEmpty) {
  const ReadCase& c = GetParam();
  MeterRig rig(c.model);
  rig.emulator.values = c.values;
  rig.emulator.repliesLeft = 1;
  rig.logic.acGetParameterExecute();
  ExpectPageEmpty(rig, c.model);
  EXPECT_EQ(rig.view.StatusText(2), QString(" Error %1=TIMEOUT").arg(c.lastQuery));
  EXPECT_FALSE(rig.emulator.Commands().contains(c.sent.last()));  // no restart
  EXPECT_DOUBLE_EQ(rig.logic.Measurement().TimeUnit(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Models, GetParameter, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GetParameterFailures, SilentMeterIsATimeoutOfTheInterface) {
  MeterRig rig(Hexlin);
  rig.emulator.silent = true;
  rig.logic.Model<THexlin>().SetStandard(false);
  const int clears = rig.view.chartClears;
  rig.logic.acGetParameterExecute();
  EXPECT_EQ(rig.emulator.Commands(), WithEsc({"SA"}));
  EXPECT_EQ(rig.view.StatusText(2), " Timeout Interface");
  ExpectPageEmpty(rig, Hexlin);
  ExpectClosingSteps(rig, clears);
}

TEST(GetParameterFailures, RepliesWithoutEchoAreStoredEmptyAndReported) {
  MeterRig rig(Pavon);
  rig.emulator.FillDefaultValues();
  rig.emulator.rawReplies.insert("RM", "1 2 3\r\n");
  rig.logic.acGetParameterExecute();
  EXPECT_EQ(rig.view.controls.Text("cb_rmx"), QString());
  EXPECT_EQ(rig.view.controls.Text("cb_sd"), "d");  // later queries go on
  EXPECT_EQ(rig.view.StatusText(2), " Error Get RM=1 2 3");
}

TEST(GetParameterFailures, ClosedPortKeepsTheOpenErrorInView) {
  MeterRig rig(Pavon, false);
  rig.logic.ComPort().SetPort("/nonexistent/telquin-tty");
  rig.logic.ApplyInterfaceSetup();
  const QString openError = rig.view.StatusText(2);
  ASSERT_TRUE(openError.startsWith(" Unable to open com port")) << openError.toStdString();

  // The automatic read after the setup.
  rig.logic.ArmAutoGet(true);
  ASSERT_TRUE(PumpUntil(
      [&] { return rig.view.busyCalls > 0 && !rig.logic.Timer_AutoGet().isActive(); }));
  EXPECT_EQ(rig.view.StatusText(2), openError);
  EXPECT_FALSE(rig.view.statusHistory[2].contains(" Get Parameter"));
  EXPECT_EQ(rig.view.busyDepth, 0);

  // Once something else was shown, the read says why it cannot run.
  rig.logic.SetStatusText(2, " Export to Clipboard");
  rig.logic.acGetParameterExecute();
  EXPECT_EQ(rig.view.StatusText(2), " Port Not Open");
}

TEST(GetParameterFailures, ClosedPortWithoutOpenErrorSaysPortNotOpen) {
  MeterRig rig(Tavri, false);
  rig.logic.acGetParameterExecute();
  EXPECT_EQ(rig.view.StatusText(2), " Port Not Open");
  EXPECT_EQ(rig.logic.ComMessPacket().ComPort(), &rig.logic.ComPort());
  EXPECT_TRUE(rig.emulator.received.isEmpty());
}

TEST(ParameterReadSteps, TerminatorSettingsGiveTheMeasurementLineEnd) {
  const std::pair<const char*, QByteArray> cases[] = {
      {"1", "\r"}, {"2", "\n"}, {"3", "\x02"}, {"4", "\x03"}, {"5", "\t"}, {"6", " "},
      {"7", ","},  {"8", ":"},  {"9", ";"},    {"0", "\r\n"}, {"", "\r\n"}, {"10", "\r\n"},
      {" 8", "\r\n"}};
  for (const auto& [te, stop] : cases) EXPECT_EQ(TerminatorStopString(te), stop) << te;
}
