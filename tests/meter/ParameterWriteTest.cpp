// Set Parameter, Set Standard and Set Profibus end to end over a
// pseudo-terminal: the exact lines on the wire, then the read-back.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "MeterRig.h"
#include "meter/ModelTables.h"

namespace {

struct WriteCase {
  const char* name;
  TDeviceType model;
  std::function<void(MeterRig&)> preparePage;  // after the factory defaults
  QStringList lines;                           // the set lines, in order
};

const WriteCase kWriteCases[] = {
    {"Pavon", Pavon,
     [](MeterRig& r) {
       r.view.controls.SetText("cb_td", "5");
       r.view.controls.SetText("cb_tl", "1");
       r.view.controls.SetText("cb_of", "");  // skipped
       r.view.controls.SetText("cb_ah", "0,3");
       r.view.controls.SetText("cb_aw", " ");  // skipped
     },
     {"ST0", "SA1", "TD5 1", "TM0 1", "SF1", "ASdt", "SE2", "RM0 0 0", "SDd", "RB0", "RE40",
      "AC2", "AH0.3"}},
    {"Dorvane", Dorvane, [](MeterRig& r) { r.view.controls.SetText("cb_as_1", "vt"); },
     {"AS vt", "SA10", "TD0 0", "SF1", "RB0", "RE50", "AC2", "AH 0.1"}},
    {"Hexlin", Hexlin, [](MeterRig& r) { r.view.controls.SetText("cb_mw_2_2", ""); },
     // The second SE part has no control and goes out as the object holds it.
     {"SA200", "MF2000", "TD0 0 1", "SF1", "OF0", "ASdt", "SE2 2", "MW0 ", "PL0", "HE4 10",
      "SD0 0", "TE0", "QA0 300", "Q12 5000 0.1 1", "Q24 5000 0.1 1", "SC0"}},
    {"Tavri", Tavri, [](MeterRig& r) { r.logic.Model<TTavri>().SetP_SF("3"); },
     // Its SE goes out with the first part only.
     {"SA1500", "MF15000", "SF3", "OF0", "ASdt", "SE2", "MW-270 270 0", "GN0", "SD0 0", "TE0",
      "UB10", "QA0 30", "Q12 5000 0.1 1", "Q24 5000 0.1 1"}},
    {"Zarel", KESTO_ZAREL,
     [](MeterRig& r) {
       r.view.controls.SetItemIndex("cb_sp_4", 2);   // "0x20"
       r.view.controls.SetItemIndex("cb_as_4", 10);  // "DF;DT"
     },
     {"SA1", "MF0", "MW-5000000 5000000", "OF0", "SF0", "MUNmm", "SD0 0 0 0", "SP3", "SE1",
      "AS11", "QA0 500000", "Q110000 1000000 1000 1", "Q220000 1000000 1000 1",
      "Q330000 1000000 1000 1", "TRI0 0", "TRO0 0"}},
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class SetParameter : public ::testing::TestWithParam<WriteCase> {};

}  // namespace

TEST_P(SetParameter, SendsThePageThenReadsItBack) {
  const WriteCase& c = GetParam();
  MeterRig rig(c.model);
  rig.emulator.FillDefaultValues();
  rig.logic.Model(c.model).ApplyStandard(false);
  c.preparePage(rig);
  const int clears = rig.view.chartClears;

  rig.logic.acSetParameterExecute();

  // A meter that is not streaming: DORVANE gets no ESC, the others one.
  const QStringList expected = c.model == Dorvane ? c.lines : WithEsc(c.lines);
  const QStringList commands = rig.CommandsAfter(expected.size() + 2);
  EXPECT_EQ(commands.mid(0, expected.size()), expected);
  // The read-back follows: its link check, and the status of a read.
  EXPECT_EQ(commands.value(expected.size() + (c.model == Dorvane ? 0 : 1)), "SA");
  EXPECT_TRUE(rig.view.statusHistory[2].contains(" Set Parameter ok"));
  EXPECT_EQ(rig.view.StatusText(2), " Get Parameter ok");
  EXPECT_EQ(rig.logic.ComMessPacket().ComPort(), &rig.logic.ComPort());
  EXPECT_TRUE(rig.view.ActionEnabled(TAction::acSetParameter));
  EXPECT_EQ(rig.view.busyDepth, 0);
  EXPECT_EQ(rig.view.chartClears, clears + 2);  // the write's and the read's
  EXPECT_FALSE(rig.logic.TransferRunning());
}

INSTANTIATE_TEST_SUITE_P(Models, SetParameter, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SetParameterFailures, ClosedPortReportsItAndDoesNotReadBack) {
  MeterRig rig(Pavon, false);
  rig.logic.Model<TPavon>().SetStandard();
  rig.view.controls.SetText("cb_sa", "7");
  rig.logic.acSetParameterExecute();
  EXPECT_EQ(rig.view.StatusText(2), " Port Not Open");
  EXPECT_FALSE(rig.view.statusHistory[2].contains(" Set Parameter ok"));
  EXPECT_FALSE(rig.view.statusHistory[2].contains(" Get Parameter"));
  EXPECT_EQ(rig.view.controls.Text("cb_sa"), "7");  // no read-back blanked the page
  EXPECT_EQ(rig.logic.Model<TPavon>().P_SA(), "7");
}

class SetStandardHexlin : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(SetStandardHexlin, IdentificationChoosesTheDefaults) {
  const auto [id, sa] = GetParam();
  MeterRig rig(Hexlin);
  rig.emulator.FillDefaultValues();
  rig.emulator.values.insert("ID", id);
  rig.logic.acSetStandardExecute();
  const QStringList commands = rig.CommandsAfter(8);
  ASSERT_GE(commands.size(), 5);
  EXPECT_EQ(commands.mid(0, 5), WithEsc({"ID", kEscCommand, QString("SA") + sa,
                                         QString("MF") + (QString(sa) == "10" ? "100" : "2000")}));
  EXPECT_EQ(rig.view.StatusText(2), " Get Parameter ok");
  EXPECT_EQ(rig.view.controls.Text("cb_sa_2"), sa);  // as the meter took it
}

INSTANTIATE_TEST_SUITE_P(Ids, SetStandardHexlin,
                         ::testing::Values(std::make_pair("hexlor 2.1", "10"),
                                           std::make_pair("HEXLIN V2.0", "200")));

TEST(SetStandard, SilentTavriBlanksThePageAndWritesNothing) {
  MeterRig rig(Tavri);
  rig.emulator.silent = true;
  rig.logic.acSetStandardExecute();
  EXPECT_EQ(rig.emulator.Commands(), WithEsc({"ID"}));
  EXPECT_EQ(rig.view.StatusText(2), " Timeout Interface");
  for (const QString& c : ModelTable(Tavri).Controls())
    EXPECT_EQ(rig.view.controls.Text(c), QString()) << c.toStdString();
  // Measurement lines are taken again after the failed link check.
  EXPECT_EQ(rig.logic.ComMessPacket().ComPort(), &rig.logic.ComPort());
  EXPECT_FALSE(rig.logic.TransferRunning());
}

TEST(SetStandard, SimulationFillsThePageAndSendsNothing) {
  MeterRig rig(Pavon, false);
  rig.logic.Simulator().InitSimuVersion(true);
  rig.logic.acGetParameterExecute();  // in simulation a read gives the defaults
  EXPECT_EQ(rig.view.controls.Text("cb_re"), "40");
  EXPECT_EQ(rig.logic.Simulator().PavonDMode(), mDT);
  EXPECT_EQ(rig.logic.Simulator().TI4x(), 160u);

  // Set Parameter takes the page into the object and the simulated rate.
  rig.view.controls.SetText("cb_st", "25");
  rig.logic.acSetParameterExecute();
  EXPECT_EQ(rig.logic.Model<TPavon>().P_ST(), "25");
  EXPECT_EQ(rig.logic.Simulator().TI4x(), 6000u);

  rig.logic.SetDevice(Hexlin);
  rig.logic.acSetStandardExecute();
  EXPECT_EQ(rig.view.controls.Text("cb_sa_2"), "200");
  PumpFor(50);
  EXPECT_TRUE(rig.emulator.received.isEmpty());
  EXPECT_FALSE(rig.view.statusHistory[2].contains(" Port Not Open"));
}

TEST(SetProfibus, PresetReachesPavonAndHexlinThenTheCurrentModelIsWritten) {
  MeterRig rig(Dorvane);
  rig.emulator.FillDefaultValues();
  rig.logic.Model<TDorvane>().SetStandard();
  rig.logic.acSetProfibusExecute();
  EXPECT_EQ(rig.logic.Model<TPavon>().P_AS(), "dt");
  EXPECT_EQ(rig.view.controls.Text("cb_sd"), "h");
  EXPECT_EQ(rig.view.controls.Text("cb_sa_2"), "10");
  EXPECT_EQ(rig.view.controls.Text("cb_mf_2"), "100");
  const QStringList commands = rig.CommandsAfter(8);
  EXPECT_EQ(commands.mid(0, 2), (QStringList{"AS dt", "SA10"}));
}

namespace {

// Meter settings that differ from the factory defaults where the page's
// lists allow it, and parts without a control that differ from part 0.
struct RoundTripCase {
  const char* name;
  TDeviceType model;
  QHash<QString, QString> values;
};

const RoundTripCase kRoundTrips[] = {
    {"Pavon", Pavon, {{"TD", "12 1"}, {"RM", "3 0.5 7"}, {"SD", "s"}, {"AS", "dw"}}},
    {"Dorvane", Dorvane, {{"TD", "8 1"}, {"AS", "vt"}, {"AH", "0.3"}}},
    {"Hexlin", Hexlin, {{"SE", "1 0"}, {"TD", "5 1 0"}, {"HE", "-3 12"}, {"AS", "vm"}}},
    {"Tavri", Tavri, {{"SE", "0 1"}, {"MW", "-100 100 1"}, {"AS", "ft"}, {"UB", "3"}}},
    {"Zarel", KESTO_ZAREL,
     {{"SP", "0x3B"}, {"AS", "DF;DT"}, {"MUN", "cm"}, {"QA", "5, 400000"},
      {"TRI", "2, 15"}, {"MW", "-20 300"}}},
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class GetThenSet : public ::testing::TestWithParam<RoundTripCase> {};

}  // namespace

TEST_P(GetThenSet, LeavesTheMeterAsItWas) {
  const RoundTripCase& c = GetParam();
  MeterRig rig(c.model);
  rig.emulator.values = c.values;
  rig.emulator.FillDefaultValues();
  const QHash<QString, QString> before = rig.emulator.values;

  rig.logic.acGetParameterExecute();
  ASSERT_EQ(rig.view.StatusText(2), " Get Parameter ok");
  rig.logic.acSetParameterExecute();
  ASSERT_EQ(rig.view.StatusText(2), " Get Parameter ok");

  for (auto it = before.begin(); it != before.end(); ++it)
    EXPECT_EQ(rig.emulator.values.value(it.key()), it.value()) << it.key().toStdString();
  EXPECT_EQ(rig.emulator.values.size(), before.size());
}

INSTANTIATE_TEST_SUITE_P(Models, GetThenSet, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SetParameterBound, AValueOverTheBoundIsNotSentAndNamed) {
  MeterRig rig(Pavon);
  rig.emulator.FillDefaultValues();
  // Pasted through the clipboard, which does not cut values.
  const QString atBound(255, u'1');
  const QString pasted(256, u'2');
  rig.view.clipboard = "SA=5\r\nAH=" + atBound + "\r\nAW=" + pasted + "\r\n";
  rig.logic.acImportExecute();
  ASSERT_EQ(rig.view.controls.Text("cb_aw"), pasted);

  rig.logic.acSetParameterExecute();
  const QStringList commands = rig.CommandsAfter(4);
  EXPECT_TRUE(commands.contains("SA5"));
  EXPECT_TRUE(commands.contains("AH" + atBound));
  for (const QString& c : commands) EXPECT_FALSE(c.startsWith("AW2")) << c.left(20).toStdString();
  const QString note = "; not sent, value longer than 255 characters: AW";
  EXPECT_TRUE(rig.view.statusHistory[2].contains(" Set Parameter ok" + note));
  EXPECT_EQ(rig.view.StatusText(2), " Get Parameter ok" + note);
}

namespace {

// A page whose SE control was left blank by a clipboard text or a file
// without SE.
struct BlankSeCase {
  const char* name;
  TDeviceType model;
  bool fromFile;
};

const BlankSeCase kBlankSe[] = {
    {"HexlinClipboard", Hexlin, false},
    {"HexlinFile", Hexlin, true},
    {"TavriClipboard", Tavri, false},
    {"TavriFile", Tavri, true},
};

void PrintTo(const BlankSeCase& c, std::ostream* os) { *os << c.name; }

class BlankSe : public ::testing::TestWithParam<BlankSeCase> {};

}  // namespace

TEST_P(BlankSe, SetSendsNoSeAndTheMeterKeepsIt) {
  const BlankSeCase& c = GetParam();
  MeterRig rig(c.model);
  rig.emulator.values = {{"SE", "1 2"}};
  rig.emulator.FillDefaultValues();
  rig.logic.acGetParameterExecute();
  ASSERT_EQ(rig.view.StatusText(2), " Get Parameter ok");

  const QByteArray text = "SA=10\r\nMF=100\r\n";
  QTemporaryDir dir;
  if (c.fromFile) {
    const QString file = dir.filePath("set.txt");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Parameter]\r\n" + text);
    f.close();
    rig.view.openDialogAnswers.push_back(file);
    rig.logic.acOpenExecute();
  } else {
    rig.view.clipboard = QString::fromLatin1(text);
    rig.logic.acImportExecute();
  }
  const QString seControl = c.model == Hexlin ? "cb_se_2_1" : "cb_se_3_1";
  ASSERT_EQ(rig.view.controls.Text(seControl), "");

  rig.emulator.ClearReceived();
  rig.logic.acSetParameterExecute();
  ASSERT_EQ(rig.view.StatusText(2), " Get Parameter ok");
  const QStringList commands = rig.emulator.Commands();
  EXPECT_TRUE(commands.contains("SA10"));
  EXPECT_TRUE(commands.contains("MF100"));
  for (const QString& command : commands)
    EXPECT_FALSE(command.startsWith("SE") && command.size() > 2) << command.toStdString();
  EXPECT_EQ(rig.emulator.values.value("SE"), "1 2");
}

INSTANTIATE_TEST_SUITE_P(Pages, BlankSe, ::testing::ValuesIn(kBlankSe),
                         [](const auto& info) { return std::string(info.param.name); });
