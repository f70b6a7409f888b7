// The parameter pages: every control of the model tables on its model's
// page, and the spin buttons stepping their controls.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QComboBox>
#include <QStackedWidget>
#include <QToolButton>

#include "app/MainForm.h"
#include "app/SpinButton.h"
#include "meter/ModelTables.h"

namespace {

// The page of the left notebook that holds `w`.
int PageOf(TMainForm& form, QWidget* w) {
  for (int i = 0; i < form.Notebook_Left->count(); ++i)
    if (form.Notebook_Left->widget(i)->isAncestorOf(w)) return i;
  return -1;
}

TEST(ParamPages, EveryTableControlIsAComboOnItsModelsPage) {
  TMainForm form;
  int total = 0;
  for (int d = 0; d < DeviceTypeCount; ++d) {
    for (const TParamDef& p : ModelTable(static_cast<TDeviceType>(d)).params) {
      for (const TPartDef& part : p.parts) {
        if (part.control.isEmpty()) continue;
        SCOPED_TRACE(part.control.toStdString());
        auto* c = form.findChild<QComboBox*>(part.control);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(PageOf(form, c), d);
        EXPECT_EQ(c->isEditable(), !p.dropDownList);
        EXPECT_EQ(form.Controls().Items(part.control), part.items);
        EXPECT_EQ(c->toolTip(), part.hint.join('\n'));
        ++total;
      }
    }
  }
  EXPECT_EQ(form.Notebook_Left->count(), DeviceTypeCount);
  // No control beyond the tables' own.
  EXPECT_EQ(form.Notebook_Left->findChildren<QComboBox*>().size(), total);
}

class SpinStep : public ::testing::TestWithParam<TSpinDef> {};

// Clicks one arrow of a spin button `times` times.
void Click(TSpinButton* spin, bool up, int times = 1) {
  for (int i = 0; i < times; ++i) (up ? spin->UpButton() : spin->DownButton())->click();
}

TEST_P(SpinStep, StepsItsControlAndStopsAtTheRangeEnds) {
  const TSpinDef& def = GetParam();
  TMainForm form;
  TParamControls& c = form.Controls();
  auto* spin = form.findChild<TSpinButton*>(def.spin);
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(PageOf(form, spin), PageOf(form, form.findChild<QComboBox*>(def.control)));

  if (def.listRule) {
    const int last = static_cast<int>(c.Items(def.control).size()) - 1;
    ASSERT_GT(last, 0);
    Click(spin, true);  // nothing selected: the first item
    EXPECT_EQ(c.ItemIndex(def.control), 0);
    Click(spin, false);
    EXPECT_EQ(c.ItemIndex(def.control), 0);
    Click(spin, true, 2);
    EXPECT_EQ(c.Text(def.control), c.Items(def.control).at(2));
    c.SetItemIndex(def.control, last);
    Click(spin, true);
    EXPECT_EQ(c.ItemIndex(def.control), last);
    Click(spin, false);
    EXPECT_EQ(c.ItemIndex(def.control), last - 1);
  } else {
    c.SetText(def.control, QString::number(def.maximum));
    Click(spin, true);
    EXPECT_EQ(c.Text(def.control), QString::number(def.maximum));
    Click(spin, false);
    EXPECT_EQ(c.Text(def.control), QString::number(def.maximum - 1));
    c.SetText(def.control, QString::number(def.minimum));
    Click(spin, false);
    EXPECT_EQ(c.Text(def.control), QString::number(def.minimum));
    c.SetText(def.control, "abc");  // counts as 0
    Click(spin, true);
    EXPECT_EQ(c.Text(def.control), QString::number(std::clamp(1, def.minimum, def.maximum)));
  }
}

INSTANTIATE_TEST_SUITE_P(AllSpinButtons, SpinStep, ::testing::ValuesIn(SpinButtons()),
                         [](const auto& info) { return info.param.spin.toStdString(); });

TEST(ParamPages, ThirtySpinButtonsAndNoOthers) {
  TMainForm form;
  EXPECT_EQ(form.findChildren<TSpinButton*>().size(), 30);
  EXPECT_EQ(SpinButtons().size(), 30);
}

}  // namespace
