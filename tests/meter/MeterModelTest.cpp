#include <gtest/gtest.h>

#include <QRegularExpression>

#include "meter/Dorvane.h"
#include "meter/Hexlin.h"
#include "meter/MemoryParamControls.h"
#include "meter/Pavon.h"
#include "meter/Tavri.h"
#include "meter/Zarel.h"

namespace {

std::string ModelName(TDeviceType d) {
  return DeviceText(d).remove(QRegularExpression("[^A-Z]")).toStdString();
}

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

// The factory defaults as the page shows them, and the parts held only in
// the object.
struct StandardCase {
  TDeviceType device;
  const char* page;     // control=text, blank separated, in field order
  const char* hidden;   // code/part=text of the parts without a control
};

std::unique_ptr<TMeterModel> MakeModel(TDeviceType d, TParamControls* page, bool hexlor = false) {
  switch (d) {
    case Pavon: { auto m = std::make_unique<TPavon>(page); m->SetStandard(); return m; }
    case Dorvane: { auto m = std::make_unique<TDorvane>(page); m->SetStandard(); return m; }
    case Hexlin: { auto m = std::make_unique<THexlin>(page); m->SetStandard(hexlor); return m; }
    case Tavri: { auto m = std::make_unique<TTavri>(page); m->SetStandard(); return m; }
    case KESTO_ZAREL: { auto m = std::make_unique<TZAREL>(page); m->SetStandard(); return m; }
  }
  return nullptr;
}

class StandardTest : public ::testing::TestWithParam<StandardCase> {};

TEST_P(StandardTest, SetStandardFillsPageAndObject) {
  const StandardCase& c = GetParam();
  TMemoryParamControls page;
  auto model = MakeModel(c.device, &page);
  QStringList shown;
  for (const QString& name : model->Table().Controls()) shown << name + "=" + page.Text(name);
  EXPECT_EQ(shown.join(' ').toStdString(), c.page);
  for (const QString& h : QString(c.hidden).split(' ', Qt::SkipEmptyParts)) {
    const QString code = h.section('/', 0, 0);
    const int part = h.section('/', 1).section('=', 0, 0).toInt();
    EXPECT_EQ(model->Param(code, part), h.section('=', 1)) << h.toStdString();
  }
  // The page holds what the object holds.
  QStringList before;
  for (const TParamDef& p : model->Table().params)
    for (int i = 0; i < p.PartCount(); ++i) before << model->Param(p.code, i);
  model->CopyDataToPuffer();
  QStringList after;
  for (const TParamDef& p : model->Table().params)
    for (int i = 0; i < p.PartCount(); ++i) after << model->Param(p.code, i);
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Models, StandardTest,
    ::testing::Values(
        StandardCase{Pavon,
                     "cb_st=0 cb_sa=1 cb_td=0 cb_tl=0 cb_tm=0 cb_tml=1 cb_sf=1 cb_of=0 cb_as=dt "
                     "cb_se=2 cb_rmx=0 cb_rmy=0 cb_rmz=0 cb_sd=d cb_rb=0 cb_re=40 cb_ac=2 "
                     "cb_ah=0.1 cb_aw=100000",
                     ""},
        StandardCase{Dorvane,
                     "cb_sa_1=10 cb_td_1=0 cb_tl_1=0 cb_sf_1=1 cb_as_1=dt cb_rb_1=0 cb_re_1=50 "
                     "cb_ac_1=2 cb_ah_1=0.1",
                     ""},
        StandardCase{Hexlin,
                     "cb_sa_2=200 cb_mf_2=2000 cb_td_2=0 cb_tl_2=0 cb_tl_3=1 cb_sf_2=1 cb_of_2=0 "
                     "cb_as_2=dt cb_se_2_1=2 cb_mw_2_1=0 cb_mw_2_2=5000 cb_vp_2=0 cb_he_2_1=4 "
                     "cb_he_2_2=10 cb_sd_2_1=0 cb_sd_2_2=0 cb_te_2=0 cb_qa_2_1=0 cb_qa_2_2=300 "
                     "cb_q1_2_1=2 cb_q1_2_2=5000 cb_q1_2_3=0.1 cb_q1_2_4=1 cb_q2_2_1=4 "
                     "cb_q2_2_2=5000 cb_q2_2_3=0.1 cb_q2_2_4=1 cb_sc_2=0",
                     "SE/1=2"},
        StandardCase{Tavri,
                     "cb_sa_3=1500 cb_mf_3=15000 cb_of_3=0 cb_as_3=dt cb_se_3_1=2 cb_mw_3_1=-270 "
                     "cb_mw_3_2=270 cb_mw_3_3=0 cb_sd_3_1=0 cb_sd_3_2=0 cb_te_3=0 cb_qa_3_1=0 "
                     "cb_qa_3_2=30 cb_q1_3_1=2 cb_q1_3_2=5000 cb_q1_3_3=0.1 cb_q1_3_4=1 "
                     "cb_q2_3_1=4 cb_q2_3_2=5000 cb_q2_3_3=0.1 cb_q2_3_4=1 cb_gn_3=0 cb_ub_3=10",
                     "SE/1=2 SF/0="},
        StandardCase{KESTO_ZAREL,
                     "cb_sa_4=1 cb_mf_4=0 cb_mw_4_1=-5000000 cb_mw_4_2=5000000 cb_of_4=0 "
                     "cb_sf_4=0 cb_mun_4=mm cb_sd_4_1=0 cb_sd_4_2=0 cb_sd_4_3=0 cb_sd_4_4=0 "
                     "cb_sp_4=0x2C cb_se_4=1 cb_as_4=DT cb_qa_4_1=0 cb_qa_4_2=500000 "
                     "cb_q1_4_1=10000 cb_q1_4_2=1000000 cb_q1_4_3=1000 cb_q1_4_4=1 "
                     "cb_q2_4_1=20000 cb_q2_4_2=1000000 cb_q2_4_3=1000 cb_q2_4_4=1 "
                     "cb_q3_4_1=30000 cb_q3_4_2=1000000 cb_q3_4_3=1000 cb_q3_4_4=1 "
                     "cb_tri_4_1=0 cb_tri_4_2=0 cb_tro_4_1=0 cb_tro_4_2=0",
                     "MCT/0=0 TE/0=1"}),
    [](const auto& info) { return ModelName(info.param.device); });

TEST(MeterModel, HexlorDefaultsDifferOnlyInSaAndMf) {
  TMemoryParamControls hexlinPage, hexlorPage;
  auto hexlin = MakeModel(Hexlin, &hexlinPage, false);
  auto hexlor = MakeModel(Hexlin, &hexlorPage, true);
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
    auto model = MakeModel(d, &page);
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

  TTavri tavri;
  tavri.SetP_SE(0, "2");
  tavri.SetP_SE(1, "1");
  EXPECT_EQ(tavri.SendValue(ModelTable(Tavri).sendOrder[5]), "2");
}

}  // namespace
