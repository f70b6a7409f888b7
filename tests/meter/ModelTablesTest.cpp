// Consistency of the per-model tables: every name the tables refer to must
// be a control on that model's page, or the page, file and spin buttons
// silently drift apart.
#include <gtest/gtest.h>

#include <QSet>

#include "meter/ModelTables.h"
#include "meter/ModelTestSupport.h"

namespace {

class ModelTablesTest : public ::testing::TestWithParam<TDeviceType> {};

TEST_P(ModelTablesTest, KeysCoverEveryPageControlOnceInFieldOrder) {
  const TModelTable& t = ModelTable(GetParam());
  QStringList fromKeys;
  for (const TKeyDef& k : t.keys) {
    EXPECT_FALSE(k.controls.isEmpty()) << k.key.toStdString();
    EXPECT_EQ(k.key, k.key.toUpper());
    EXPECT_FALSE(k.key.contains(' '));
    fromKeys += k.controls;
  }
  QStringList page = t.Controls();
  std::sort(page.begin(), page.end());
  std::sort(fromKeys.begin(), fromKeys.end());
  EXPECT_EQ(fromKeys, page);
}

TEST_P(ModelTablesTest, ListRulesBelongToDropDownLists) {
  const TModelTable& t = ModelTable(GetParam());
  for (const TKeyDef& k : t.keys) {
    const TParamDef* p = t.Param(k.key);
    ASSERT_NE(p, nullptr) << k.key.toStdString();
    EXPECT_EQ(k.readBack == TReadBack::rbList, p->dropDownList) << k.key.toStdString();
    if (p->dropDownList) {
      EXPECT_TRUE(p->parts[0].items.contains(p->parts[0].standard));
    }
    for (const TPartDef& part : p->parts)
      if (!part.control.isEmpty()) {
        EXPECT_FALSE(part.hint.isEmpty()) << part.control.toStdString();
      }
  }
}

TEST_P(ModelTablesTest, SendOrderAndStandardNameExistingParts) {
  const TModelTable& t = ModelTable(GetParam());
  for (const TSendDef& s : t.sendOrder) {
    const TParamDef* p = t.Param(s.code);
    ASSERT_NE(p, nullptr) << s.wireCode.toStdString();
    EXPECT_GE(s.parts, 1);
    EXPECT_LE(s.parts, p->PartCount());
  }
  for (const TStandardStep& s : t.standard) EXPECT_NE(t.Param(s.code), nullptr);
  EXPECT_TRUE(t.Controls().contains(t.autoStartControl));
  EXPECT_TRUE(t.setupRates.contains(t.setupRate));
  for (const QString& a : t.visibleActions) EXPECT_TRUE(ModelActions().contains(a));
}

INSTANTIATE_TEST_SUITE_P(Models, ModelTablesTest, ::testing::ValuesIn(kAllModels),
                         [](const auto& info) { return ModelName(info.param); });

TEST(ModelTables, ControlNamesAreUniqueAcrossPages) {
  QSet<QString> seen;
  int count = 0;
  for (TDeviceType d : kAllModels)
    for (const QString& c : ModelTable(d).Controls()) {
      seen.insert(c);
      ++count;
    }
  EXPECT_EQ(seen.size(), count);
}

TEST(ModelTables, SpinButtonsStepControlsOfThePages) {
  QStringList all;
  for (TDeviceType d : kAllModels) all += ModelTable(d).Controls();
  QSet<QString> names;
  for (const TSpinDef& s : SpinButtons()) {
    names.insert(s.spin);
    EXPECT_TRUE(all.contains(s.control)) << s.control.toStdString();
    EXPECT_LE(s.minimum, s.maximum);
  }
  EXPECT_EQ(SpinButtons().size(), 30);
  EXPECT_EQ(names.size(), 30);
  ASSERT_NE(SpinButton("sp_sf_4"), nullptr);
  EXPECT_EQ(SpinButton("sp_sf_4")->minimum, -10);
  EXPECT_EQ(SpinButton("sp_se_2")->control, "cb_se_2_1");
  EXPECT_TRUE(SpinButton("sp_sf_1")->listRule);
}

TEST(ModelTables, SetParameterLinesWithTheirQuirks) {
  auto wire = [](TDeviceType d) {
    QStringList codes;
    for (const TSendDef& s : ModelTable(d).sendOrder)
      codes << s.wireCode + (s.parts > 1 ? QString::number(s.parts) : QString()) +
                   (s.listPosition ? "#" : "");
    return codes.join('|');
  };
  EXPECT_EQ(wire(Dorvane), "AS |SA|TD2|SF|RB|RE|AC|AH ");
  EXPECT_EQ(wire(Tavri), "SA|MF|SF|OF|AS|SE2|MW3|GN|SD2|TE|UB|QA2|Q14|Q24");
  EXPECT_EQ(wire(KESTO_ZAREL),
            "SA|MF|MW2|OF|SF|MUN|SD4|SP#|SE|AS#|QA2|Q14|Q24|Q34|TRI2|TRO2");
  EXPECT_EQ(wire(Hexlin), "SA|MF|TD3|SF|OF|AS|SE2|MW2|PL|HE2|SD2|TE|QA2|Q14|Q24|SC");
  EXPECT_EQ(ModelTable(Dorvane).sendOrder.front().code, "AS");
}

}  // namespace
