// Consistency of the per-model tables: every name the tables refer to must
// be a control on that model's page, or the page, file and spin buttons
// silently drift apart.
#include <gtest/gtest.h>

#include <QSet>

#include "meter/ModelTables.h"
#include "meter/ModelTestSupport.h"
#include "serial/ComTextForms.h"

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
  for (TAction a : t.visibleActions)
    EXPECT_TRUE(ModelActions().contains(a)) << ActionName(a).data();
}

TEST_P(ModelTablesTest, LogicFactsNameWhatTheModelHas) {
  const TModelTable& t = ModelTable(GetParam());
  // A rate text the port cannot read would silently become 9600.
  EXPECT_EQ(BaudRateToText(t.PortRate()), t.setupRate);
  if (!t.errorModeControl.isEmpty()) {
    EXPECT_TRUE(t.Controls().contains(t.errorModeControl));
  }
  if (!t.reply.fixedCode.isEmpty()) {
    EXPECT_NE(t.Param(t.reply.fixedCode), nullptr);
    EXPECT_GT(t.reply.fixedSize, 0);
  }
  // SO stores its reply as OF; the action is shown exactly where it works.
  EXPECT_EQ(t.offsetModels != 0, t.visibleActions.contains(TAction::acSO));
  for (TDeviceType d : kAllModels) {
    if (InDeviceSet(t.offsetModels, d)) {
      EXPECT_NE(ModelTable(d).Param("OF"), nullptr);
    }
  }
  if (t.visibleActions.contains(TAction::acBaudrate)) {
    EXPECT_FALSE(t.baudDialogRates.isEmpty());
  }
  // The signal window is opened with SD's parts (and the separator's position).
  EXPECT_EQ(t.signalEntry != TSignalEntry::seNone, t.visibleActions.contains(TAction::acSd));
  EXPECT_EQ(t.signalMax > 0, t.signalEntry != TSignalEntry::seNone);
  if (t.signalEntry == TSignalEntry::seTwoSdParts) {
    EXPECT_GE(t.Param("SD")->PartCount(), 2);
  }
  if (t.signalEntry == TSignalEntry::seFourSdParts) {
    EXPECT_EQ(t.Param("SD")->PartCount(), 4);
    ASSERT_NE(t.Param("SP"), nullptr);
    EXPECT_TRUE(t.Param("SP")->dropDownList);
  }
  if (t.formattedLines) {
    for (const char* code : {"SD", "SP", "SF", "MUN"}) EXPECT_NE(t.Param(code), nullptr) << code;
  }
}

TEST_P(ModelTablesTest, ButtonRowsShowOnlyActionsTheModelShows) {
  const TModelTable& t = ModelTable(GetParam());
  EXPECT_FALSE(t.deviceButtons.isEmpty());
  EXPECT_EQ(t.grafikPage < 0, t.grafikButtons.isEmpty());
  for (const TRowSlot& b : t.deviceButtons + t.grafikButtons) {
    EXPECT_EQ(b.caption.isEmpty(), !b.action.has_value());
    // A hidden model action in a row would be a button that never works.
    if (b.action && ModelActions().contains(*b.action)) {
      EXPECT_TRUE(t.visibleActions.contains(*b.action)) << ActionName(*b.action).data();
    }
  }
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

TEST(ModelTables, DiagramPagesAreNumberedInModelOrder) {
  int next = 0;
  for (TDeviceType d : kAllModels) {
    if (ModelTable(d).grafikPage >= 0) {
      EXPECT_EQ(ModelTable(d).grafikPage, next++) << ModelName(d);
    }
  }
  EXPECT_EQ(next, 4);  // the notebook's pages
}

TEST(ModelTables, SetParameterLinesWithTheirQuirks) {
  auto wire = [](TDeviceType d) {
    QStringList codes;
    for (const TSendDef& s : ModelTable(d).sendOrder)
      codes << s.wireCode + (s.parts > 1 ? QString::number(s.parts) : QString()) +
                   (s.listPosition ? "#" : "") + (s.withFirstPartOnly ? "+" : "");
    return codes.join('|');
  };
  EXPECT_EQ(wire(Dorvane), "AS |SA|TD2|SF|RB|RE|AC|AH ");
  EXPECT_EQ(wire(Tavri), "SA|MF|SF|OF|AS|SE|MW3|GN|SD2|TE|UB|QA2|Q14|Q24");
  EXPECT_EQ(wire(KESTO_ZAREL),
            "SA|MF|MW2|OF|SF|MUN|SD4|SP#|SE|AS#|QA2|Q14|Q24|Q34|TRI2|TRO2");
  EXPECT_EQ(wire(Hexlin), "SA|MF|TD3|SF|OF|AS|SE2+|MW2|PL|HE2|SD2|TE|QA2|Q14|Q24|SC");
  EXPECT_EQ(ModelTable(Dorvane).sendOrder.front().code, "AS");
}

}  // namespace
