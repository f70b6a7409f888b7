#include <gtest/gtest.h>

#include "meter/MemoryParamControls.h"
#include "meter/ParamFile.h"
#include "meter/ModelTestSupport.h"

namespace {

TEST(ParamClipboard, ExportIsTheFileWithoutItsSectionLine) {
  TMemoryParamControls page;
  TZAREL(&page).SetStandard();
  TPavon(&page).SetStandard();
  for (TDeviceType d : kAllModels) {
    const QByteArray file = ParamFileData(page, d);
    EXPECT_EQ(ExportParamText(page, d).toUtf8(), file.mid(file.indexOf('\n') + 1));
  }
}

TEST(ParamClipboard, ReversedLinesGiveTheSamePage) {
  TMemoryParamControls page, imported;
  TPavon pavon(&page);
  pavon.SetStandard();
  pavon.SetP_TD(1, "1");
  const QString text = ExportParamText(page, Pavon);
  EXPECT_TRUE(text.contains("\r\nTD=0 1\r\n"));
  QStringList lines = text.split("\r\n", Qt::SkipEmptyParts);
  std::reverse(lines.begin(), lines.end());
  ImportParamText(lines.join("\n"), imported, Pavon);
  EXPECT_EQ(PageTexts(Pavon, imported), PageTexts(Pavon, page));
}

TEST(ParamClipboard, LinesAreTakenAsTheyStand) {
  TMemoryParamControls page;
  const QString longValue(3000, 'y');
  ImportParamText("sa=10\r\nSA=11\r\nTD =5\r\nAS= \"dt\" \r\nno line\r\nRE=" + longValue +
                      "\r\nAC=1=2\r\n",
                  page, Dorvane);
  EXPECT_EQ(page.Text("cb_sa_1"), "10");  // the first line of a name wins
  EXPECT_EQ(page.Text("cb_td_1"), "");    // "TD " is another name
  EXPECT_EQ(page.Text("cb_as_1"), " \"dt\" ");
  EXPECT_EQ(page.Text("cb_re_1"), longValue);
  EXPECT_EQ(page.Text("cb_ac_1"), "1=2");
}

TEST(ParamClipboard, ZarelListsByItemText) {
  TMemoryParamControls page;
  ImportParamText("AS=dt\r\nSP=0x20", page, KESTO_ZAREL);
  EXPECT_EQ(page.Text("cb_as_4"), "DT");
  EXPECT_EQ(page.Text("cb_sp_4"), "0x20");
  ImportParamText("AS=3", page, KESTO_ZAREL);
  EXPECT_EQ(page.Text("cb_as_4"), "ID");
  page.SetItemIndex("cb_mun_4", -1);
  EXPECT_TRUE(ExportParamText(page, KESTO_ZAREL).contains("\r\nMUN=\r\n"));
}

TEST(ParamClipboard, TextWithoutKeysEmptiesThePage) {
  TMemoryParamControls page;
  TZAREL(&page).SetStandard();
  page.SetItemIndex("cb_sp_4", 4);
  ImportParamText("", page, KESTO_ZAREL);
  for (const QString& c : ModelTable(KESTO_ZAREL).Controls()) {
    if (page.IsDropDownList(c))
      EXPECT_EQ(page.ItemIndex(c), 0) << c.toStdString();
    else
      EXPECT_EQ(page.Text(c), "") << c.toStdString();
  }
}

}  // namespace
