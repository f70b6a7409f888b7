#include <gtest/gtest.h>


#include "meter/MemoryParamControls.h"
#include "meter/ModelTestSupport.h"

namespace {


// Remembers every text written to a control, in order.
class RecordingControls : public TMemoryParamControls {
 public:
  void SetText(const QString& name, const QString& text) override {
    writes << name + "=" + text;
    TMemoryParamControls::SetText(name, text);
  }
  QStringList writes;
};

TEST(MeterModel, SetterTurnsCommaIntoPointAndShowsIt) {
  TMemoryParamControls page;
  TPavon pavon(&page);
  pavon.SetP_AH("0,1");
  EXPECT_EQ(pavon.P_AH(), "0.1");
  EXPECT_EQ(page.Text("cb_ah"), "0.1");
  pavon.SetP_OF("1,2,3");
  EXPECT_EQ(page.Text("cb_of"), "1.2.3");
}

TEST(MeterModel, IndexedSetterChangesOnlyItsPart) {
  TMemoryParamControls page;
  TPavon pavon(&page);
  page.SetText("cb_td", "7");
  pavon.SetP_TD(1, "1");
  EXPECT_EQ(page.Text("cb_tl"), "1");
  EXPECT_EQ(page.Text("cb_td"), "7");
  EXPECT_EQ(pavon.P_TD(0), "");
  // Parts out of range and unknown codes are neither read nor written.
  pavon.SetP_TD(2, "9");
  pavon.SetParam("XX", 0, "9");
  EXPECT_EQ(pavon.P_TD(2), "");
  EXPECT_EQ(pavon.Param("XX"), "");
  EXPECT_EQ(pavon.PartCount("RM"), 3);
}

TEST(MeterModel, CopyDataToPufferTakesTheTextUnchanged) {
  TMemoryParamControls page;
  TPavon pavon(&page);
  pavon.SetStandard();
  page.SetText("cb_ah", "0,5");
  page.SetText("cb_rmy", " 3 ");
  pavon.CopyDataToPuffer();
  EXPECT_EQ(pavon.P_AH(), "0,5");
  EXPECT_EQ(pavon.P_RM(1), " 3 ");
  EXPECT_EQ(pavon.P_AW(), "100000");
}

TEST(MeterModel, WithoutControlsOnlyStores) {
  TDorvane dorvane(nullptr);
  dorvane.SetStandard();
  dorvane.SetP_SA("2,5");
  dorvane.CopyDataToPuffer();  // nothing to copy from
  EXPECT_EQ(dorvane.P_SA(), "2.5");
  EXPECT_EQ(dorvane.P_TD(1), "0");
  dorvane.BlankParameter();
  EXPECT_EQ(dorvane.P_RE(), "");
}

QStringList Values(const TMeterModel& m) {
  QStringList values;
  for (const TParamDef& p : m.Table().params)
    for (int i = 0; i < p.PartCount(); ++i) values << p.code + QString::number(i) + "=" + m.Param(p.code, i);
  return values;
}

// The page side of the factory defaults is pinned by the saved-file bytes;
// here the object side: the parts without a control, and a page copied back
// changes nothing.
TEST(MeterModel, SetStandardObjectAgreesWithThePage) {
  const QStringList hidden{"SE1=2", "SF0=", "MCT0=0", "TE0=1"};
  for (TDeviceType d : kAllModels) {
    TMemoryParamControls page;
    auto model = StandardModel(d, &page);
    const QStringList before = Values(*model);
    model->CopyDataToPuffer();
    EXPECT_EQ(Values(*model), before);
    for (const TParamDef& p : model->Table().params)
      for (int i = 0; i < p.PartCount(); ++i)
        if (p.parts[i].control.isEmpty()) {
          EXPECT_TRUE(hidden.contains(p.code + QString::number(i) + "=" + model->Param(p.code, i)))
              << p.code.toStdString();
        }
  }
}

TEST(MeterModel, HexlorDefaultsDifferOnlyInSaAndMf) {
  TMemoryParamControls hexlinPage, hexlorPage;
  auto hexlin = StandardModel(Hexlin, &hexlinPage, false);
  auto hexlor = StandardModel(Hexlin, &hexlorPage, true);
  const auto* h = static_cast<THexlin*>(hexlor.get());
  EXPECT_EQ(h->P_SA(), "10");
  EXPECT_EQ(h->P_MF(), "100");
  EXPECT_EQ(hexlorPage.Text("cb_mf_2"), "100");
  for (const QString& c : ModelTable(Hexlin).Controls())
    if (c != "cb_sa_2" && c != "cb_mf_2") {
      EXPECT_EQ(hexlorPage.Text(c), hexlinPage.Text(c));
    }
}

TEST(MeterModel, TavriSetStandardLeavesSf) {
  TTavri tavri;
  tavri.SetP_SF("3");
  tavri.SetStandard();
  EXPECT_EQ(tavri.P_SF(), "3");
  tavri.BlankParameter();
  EXPECT_EQ(tavri.P_SF(), "");
  EXPECT_EQ(tavri.P_SE(1), "");
}

TEST(MeterModel, StoreOnlyPartsSurviveCopyDataToPuffer) {
  TMemoryParamControls page;
  TTavri tavri(&page);
  tavri.SetP_SF("3");
  tavri.SetP_SE(1, "1");
  THexlin hexlin(&page);
  hexlin.SetP_SE(1, "0");
  page.SetText("cb_se_3_1", "2");
  tavri.CopyDataToPuffer();
  hexlin.CopyDataToPuffer();
  EXPECT_EQ(tavri.P_SF(), "3");
  EXPECT_EQ(tavri.P_SE(1), "1");
  EXPECT_EQ(tavri.P_SE(0), "2");
  EXPECT_EQ(hexlin.P_SE(1), "0");
}

TEST(MeterModel, ZarelListRule) {
  TMemoryParamControls page;
  TZAREL zarel(&page);
  zarel.SetP_AS("df;dt");
  EXPECT_EQ(zarel.P_AS(), "DF;DT");
  EXPECT_EQ(page.ItemIndex("cb_as_4"), 10);
  zarel.SetP_AS("ft");
  EXPECT_EQ(zarel.P_AS(), "");
  EXPECT_EQ(page.ItemIndex("cb_as_4"), -1);
  EXPECT_EQ(page.Text("cb_as_4"), "");
  zarel.SetP_SP("0x2c");
  EXPECT_EQ(zarel.P_SP(), "0x2C");
  zarel.SetP_MUN("IN/16");
  EXPECT_EQ(zarel.P_MUN(), "in/16");
  EXPECT_EQ(page.Text("cb_mun_4"), "in/16");
  // No ',' conversion on a list: "0,1" is no item.
  zarel.SetP_MUN("0,1");
  EXPECT_EQ(zarel.P_MUN(), "");
}

TEST(MeterModel, ZarelBlankKeepsTe) {
  TMemoryParamControls page;
  TZAREL zarel(&page);
  zarel.SetStandard();
  zarel.BlankParameter();
  EXPECT_EQ(zarel.P_TE(), "1");
  for (const TParamDef& p : zarel.Table().params)
    for (int i = 0; i < p.PartCount(); ++i)
      if (p.code != "TE") {
        EXPECT_EQ(zarel.Param(p.code, i), "") << p.code.toStdString();
      }
  for (const QString& c : zarel.Table().Controls()) {
    EXPECT_EQ(page.Text(c), "") << c.toStdString();
    EXPECT_EQ(page.ItemIndex(c), -1) << c.toStdString();
  }
}

TEST(MeterModel, ZarelSePassesThroughTwoOnItsWayToOne) {
  RecordingControls page;
  TZAREL zarel(&page);
  zarel.SetStandard();
  EXPECT_EQ(page.writes.filter("cb_se_4=").join(','), "cb_se_4=2,cb_se_4=1");
  EXPECT_EQ(zarel.P_SE(), "1");
}

TEST(MeterModel, BlankParameterEmptiesThePage) {
  TMemoryParamControls page;
  for (TDeviceType d : {Pavon, Dorvane, Hexlin, Tavri}) {
    auto model = StandardModel(d, &page);
    model->BlankParameter();
    for (const QString& c : model->Table().Controls()) EXPECT_EQ(page.Text(c), "") << c.toStdString();
  }
}

TEST(MeterModel, SendValues) {
  TMemoryParamControls page;
  TPavon pavon(&page);
  pavon.SetP_TD(0, "0");
  pavon.SetP_TD(1, "1");
  EXPECT_EQ(pavon.SendValue(ModelTable(Pavon).sendOrder[2]), "0 1");

  TZAREL zarel(&page);
  zarel.SetStandard();
  page.SetItemIndex("cb_sp_4", 2);
  zarel.CopyDataToPuffer();
  const TSendDef& sp = ModelTable(KESTO_ZAREL).sendOrder[7];
  ASSERT_EQ(sp.code, "SP");
  EXPECT_EQ(zarel.SendValue(sp), "3");
  page.SetItemIndex("cb_sp_4", -1);
  zarel.CopyDataToPuffer();
  EXPECT_EQ(zarel.SendValue(sp), "");  // skipped like every empty value

  // TAVRI sends SE's first part only; HEXLIN sends its kept second part,
  // but never without a first one.
  TTavri tavri;
  tavri.SetP_SE(0, "2");
  tavri.SetP_SE(1, "1");
  EXPECT_EQ(tavri.SendValue(ModelTable(Tavri).sendOrder[5]), "2");
  THexlin hexlin;
  const TSendDef& se = ModelTable(Hexlin).sendOrder[6];
  ASSERT_EQ(se.code, "SE");
  hexlin.SetP_SE(0, "1");
  hexlin.SetP_SE(1, "0");
  EXPECT_EQ(hexlin.SendValue(se), "1 0");
  hexlin.SetP_SE(0, " ");
  EXPECT_EQ(hexlin.SendValue(se), "");
}

}  // namespace
