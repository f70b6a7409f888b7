#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "meter/MemoryParamControls.h"
#include "meter/ModelTestSupport.h"
#include "meter/ParamFile.h"
#include "meter/TextFields.h"

namespace {

QByteArray ReadAll(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& name, const QByteArray& data) {
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data);
}

// Every control of the model gets its own text, a list control its own item.
void FillDistinct(TDeviceType d, TMemoryParamControls& page) {
  int n = 0;
  for (const QString& c : ModelTable(d).Controls()) {
    if (page.IsDropDownList(c))
      page.SetItemIndex(c, ++n % page.Items(c).size());
    else
      page.SetText(c, QString("%1,%2").arg(c).arg(++n));
  }
}

TEST(ExtractField, CutsAtTheFirstSeparator) {
  struct Case { const char* text; QStringList fields; };
  for (const Case& c : {Case{"0 5000", {"0", "5000", "", ""}}, Case{" 5", {"", "5", ""}},
                        Case{"a  b", {"a", "", "b", ""}}, Case{"a ", {"a", ""}},
                        Case{"", {"", ""}}, Case{"abc", {"abc", ""}}}) {
    QString text = c.text;
    QStringList got;
    for (int i = 0; i < c.fields.size(); ++i) got << ExtractField(text, ' ');
    EXPECT_EQ(got, c.fields) << c.text;
    EXPECT_EQ(text, "");
  }
  QString rest = "1,2,3";
  EXPECT_EQ(ExtractField(rest, ','), "1");
  EXPECT_EQ(rest, "2,3");
}

class FileBytesTest : public ::testing::TestWithParam<std::pair<TDeviceType, const char*>> {};

TEST_P(FileBytesTest, SavedFileHoldsExactlyTheKeysOfTheModel) {
  const auto& [device, expected] = GetParam();
  QTemporaryDir dir;
  const QString name = dir.filePath("p.txt");
  WriteAll(name, "[Other]\r\nX=1\r\n[Parameter]\r\nZZ=old\r\n");  // replaced as a whole
  TMemoryParamControls page;
  StandardModel(device, &page);
  const TParamSaveResult r = SaveParamFile(name, page, device);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, " Write: " + name);
  EXPECT_EQ(ReadAll(name), QByteArray(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Models, FileBytesTest,
    ::testing::Values(
        std::pair{Pavon,
                  "[Parameter]\r\nST=0\r\nSA=1\r\nTD=0 0\r\nTM=0 1\r\nSF=1\r\nOF=0\r\nAS=dt\r\n"
                  "SE=2\r\nRM=0 0 0\r\nSD=d\r\nRB=0\r\nRE=40\r\nAC=2\r\nAH=0.1\r\nAW=100000\r\n"},
        std::pair{Dorvane,
                  "[Parameter]\r\nSA=10\r\nTD=0 0\r\nSF=1\r\nAS=dt\r\nRB=0\r\nRE=50\r\nAC=2\r\n"
                  "AH=0.1\r\n"},
        std::pair{Hexlin,
                  "[Parameter]\r\nSA=200\r\nMF=2000\r\nTD=0 0 1\r\nSF=1\r\nOF=0\r\nAS=dt\r\n"
                  "SE=2\r\nMW=0 5000\r\nPL=0\r\nHE=4 10\r\nSD=0 0\r\nTE=0\r\nQA=0 300\r\n"
                  "Q1=2 5000 0.1 1\r\nQ2=4 5000 0.1 1\r\nSC=0\r\n"},
        std::pair{Tavri,
                  "[Parameter]\r\nSA=1500\r\nMF=15000\r\nOF=0\r\nAS=dt\r\nSE=2\r\n"
                  "MW=-270 270 0\r\nGN=0\r\nSD=0 0\r\nTE=0\r\nUB=10\r\nQA=0 30\r\n"
                  "Q1=2 5000 0.1 1\r\nQ2=4 5000 0.1 1\r\n"},
        std::pair{KESTO_ZAREL,
                  "[Parameter]\r\nSA=1\r\nMF=0\r\nMW=-5000000 5000000\r\nOF=0\r\nSF=0\r\n"
                  "MUN=mm\r\nSD=0 0 0 0\r\nSP=0x2C\r\nSE=1\r\nAS=DT\r\nQA=0 500000\r\n"
                  "Q1=10000 1000000 1000 1\r\nQ2=20000 1000000 1000 1\r\n"
                  "Q3=30000 1000000 1000 1\r\nTRI=0 0\r\nTRO=0 0\r\n"}),
    [](const auto& info) { return ModelName(info.param.first); });

TEST(ParamFile, EveryPartIsWrittenAndReadBackInPlace) {
  TMemoryParamControls page, reread;
  page.SetText("cb_td", "0");
  page.SetText("cb_tl", "1");
  EXPECT_TRUE(ParamFileData(page, Pavon).contains("\r\nTD=0 1\r\n"));
  page.SetText("cb_td", "");
  EXPECT_TRUE(ParamFileData(page, Pavon).contains("\r\nTD= 1\r\nTM= \r\n"));
  // The leading blank of an empty first part is trimmed away on reading.
  ReadParamFileData(ParamFileData(page, Pavon), reread, Pavon);
  EXPECT_EQ(reread.Text("cb_td"), "1");
  EXPECT_EQ(reread.Text("cb_tl"), "");

  page.SetText("cb_q1_2_1", "2");
  page.SetText("cb_q1_2_3", "0.1");
  page.SetText("cb_q1_2_4", "1");
  EXPECT_TRUE(ParamFileData(page, Hexlin).contains("\r\nQ1=2  0.1 1\r\n"));
  ReadParamFileData(ParamFileData(page, Hexlin), reread, Hexlin);
  EXPECT_EQ(PageTexts(Hexlin, reread).filter("cb_q1_").join(' '),
            "cb_q1_2_1=2 cb_q1_2_2= cb_q1_2_3=0.1 cb_q1_2_4=1");

  page.SetItemIndex("cb_sp_4", 2);
  EXPECT_TRUE(ParamFileData(page, KESTO_ZAREL).contains("\r\nMUN=\r\nSD=   \r\nSP=0x20\r\n"));
}

TEST(ParamFile, SaveThenOpenRestoresEveryControl) {
  QTemporaryDir dir;
  for (TDeviceType d : kAllModels) {
    const QString name = dir.filePath(QString("m%1.txt").arg(int(d)));
    TMemoryParamControls page, reread;
    FillDistinct(d, page);
    ASSERT_TRUE(SaveParamFile(name, page, d).ok);
    EXPECT_EQ(OpenParamFile(name, reread, d), " Read: " + name);
    EXPECT_EQ(PageTexts(d, reread), PageTexts(d, page)) << DeviceText(d).toStdString();
  }
}

TEST(ParamFile, ReadingRules) {
  TMemoryParamControls page;
  const QByteArray longValue(3000, 'x');
  ReadParamFileData("junk\r\n[other]\r\nsa=99\r\n[ parameter ]\r\n"
                    "  sa = 12 \r\nSA=13\r\ntd='0 1'\r\nsf=\"0,5\"\r\nof=\"3'\r\n"
                    "AS\r\nAW=" + longValue + "\r\nSE=2 2\r\n"
                    "[Parameter]\r\nRE=77\r\n",
                    page, Pavon);
  EXPECT_EQ(page.Text("cb_sa"), "12");
  EXPECT_EQ(page.Text("cb_td"), "0");
  EXPECT_EQ(page.Text("cb_tl"), "1");
  EXPECT_EQ(page.Text("cb_sf"), "0,5");
  EXPECT_EQ(page.Text("cb_of"), "\"3'");
  EXPECT_EQ(page.Text("cb_as"), "");
  EXPECT_EQ(page.Text("cb_aw"), QString(2047, 'x'));
  EXPECT_EQ(page.Text("cb_se"), "2 2");
  EXPECT_EQ(page.Text("cb_re"), "");  // only the first section of the name counts
}

TEST(ParamFile, HandEditedFileWithByteOrderMarkLoneCrAndOtherWhiteSpace) {
  TMemoryParamControls page;
  ReadParamFileData("\xEF\xBB\xBF[Parameter]\rSA=\t12\xC2\xA0\rSF\x0B=\x0C" "0,5\r", page, Pavon);
  EXPECT_EQ(page.Text("cb_sa"), "12");
  EXPECT_EQ(page.Text("cb_sf"), "0,5");
}

TEST(ParamFile, SecondGenerationTakesTheFirstSeField) {
  for (TDeviceType d : {Hexlin, Tavri}) {
    TMemoryParamControls page;
    ReadParamFileData("[Parameter]\nSE=2 2\nMW=1 2 3 4\n", page, d);
    const QString se = d == Hexlin ? "cb_se_2_1" : "cb_se_3_1";
    EXPECT_EQ(page.Text(se), "2");
    const QString mw2 = d == Hexlin ? "cb_mw_2_2" : "cb_mw_3_2";
    EXPECT_EQ(page.Text(mw2), "2");
  }
}

TEST(ParamFile, ListControlsSelectByItemTextElseTheFirstItem) {
  TMemoryParamControls page;
  page.SetItemIndex("cb_mun_4", 3);
  ReadParamFileData("[Parameter]\r\nSP=0x3B\r\nAS=dt\r\n", page, KESTO_ZAREL);
  EXPECT_EQ(page.ItemIndex("cb_sp_4"), 1);
  EXPECT_EQ(page.Text("cb_as_4"), "DT");
  EXPECT_EQ(page.Text("cb_mun_4"), "mm");  // missing key
  ReadParamFileData("[Parameter]\r\nSP=3\r\n", page, KESTO_ZAREL);
  EXPECT_EQ(page.Text("cb_sp_4"), "0x2C");
}

TEST(ParamFile, FileOfAnotherModelFillsTheSharedKeys) {
  TMemoryParamControls pavonPage, page;
  StandardModel(Pavon, &pavonPage);
  StandardModel(Hexlin, &page);
  ReadParamFileData(ParamFileData(pavonPage, Pavon), page, Hexlin);
  EXPECT_EQ(page.Text("cb_sa_2"), "1");
  EXPECT_EQ(page.Text("cb_td_2"), "0");
  EXPECT_EQ(page.Text("cb_tl_3"), "");  // PAVON's TD has two parts only
  EXPECT_EQ(page.Text("cb_sd_2_1"), "d");
  EXPECT_EQ(page.Text("cb_mf_2"), "");
  EXPECT_EQ(page.Text("cb_q1_2_4"), "");
}

TEST(ParamFile, MissingFileEmptiesThePage) {
  QTemporaryDir dir;
  TMemoryParamControls page;
  StandardModel(KESTO_ZAREL, &page);
  page.SetItemIndex("cb_as_4", 5);
  const QString name = dir.filePath("none.txt");
  EXPECT_EQ(OpenParamFile(name, page, KESTO_ZAREL), " Read: " + name);
  EXPECT_EQ(page.Text("cb_sa_4"), "");
  EXPECT_EQ(page.Text("cb_as_4"), "ID");
}

TEST(ParamFile, WindowsFileInTheAnsiCodePage) {
  TMemoryParamControls page;
  ReadParamFileData("[Parameter]\r\nSD=bin\xE4r 0\r\n", page, Hexlin);
  EXPECT_EQ(page.Text("cb_sd_2_1"), QString::fromUtf8("binär"));
  page.SetText("cb_sd_2_2", QString::fromUtf8("Distanz"));
  TMemoryParamControls reread;
  ReadParamFileData(ParamFileData(page, Hexlin), reread, Hexlin);
  EXPECT_EQ(reread.Text("cb_sd_2_1"), QString::fromUtf8("binär"));

  // Its last character, without a line end after it, looks like the start of
  // a UTF-8 sequence.
  ReadParamFileData("[Parameter]\r\nSD=bin\xE4", page, Hexlin);
  EXPECT_EQ(page.Text("cb_sd_2_1"), QString::fromUtf8("binä"));
}

TEST(ParamFile, UnwritablePathReportsAndWritesNothing) {
  QTemporaryDir dir;
  const QString notADir = dir.filePath("plain");
  WriteAll(notADir, "x");
  TMemoryParamControls page;
  const QString name = notADir + "/p.txt";
  const TParamSaveResult r = SaveParamFile(name, page, Pavon);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "In " + name + " kann nicht geschrieben werden");
  EXPECT_EQ(ReadAll(notADir), "x");
}

TEST(ParamFile, FailedWriteLeavesTheOldFileIntact) {
  QTemporaryDir dir;
  const QString name = dir.filePath("p.txt");
  const QByteArray old = "[Parameter]\r\nSA=5\r\n";
  WriteAll(name, old);
  TMemoryParamControls page;
  StandardModel(Pavon, &page);
  // A file size limit makes the write fail half way, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 40;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const TParamSaveResult r = SaveParamFile(name, page, Pavon);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "In " + name + " kann nicht geschrieben werden");
  EXPECT_EQ(ReadAll(name), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.txt"});
}

}  // namespace
