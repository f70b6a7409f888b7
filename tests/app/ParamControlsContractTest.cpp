// What every TParamControls promises the meter logic, run against each
// implementation: add one by giving it a holder type below.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include "app/MainForm.h"
#include "meter/MemoryParamControls.h"

namespace {

struct WindowControls {
  TMainForm form;
  TParamControls& Get() { return form.Controls(); }
};

struct MemoryControls {
  TMemoryParamControls controls;
  TParamControls& Get() { return controls; }
};

template <typename Holder>
class ParamControlsContract : public ::testing::Test {
 protected:
  Holder holder;
  TParamControls& c = holder.Get();
};

using Implementations = ::testing::Types<WindowControls, MemoryControls>;
TYPED_TEST_SUITE(ParamControlsContract, Implementations);

// cb_sf: a simple combo with items; cb_st: one without; cb_mun_4: a
// drop-down list.
const QStringList kScale{"0.01", "0.1", "1", "10", "100", "1000"};
const QStringList kUnits{"mm", "cm", "dm", "m", "in/8", "in/16", "in", "ft", "yd"};

TYPED_TEST(ParamControlsContract, EveryControlStartsEmptyWithItsItems) {
  TParamControls& c = this->c;
  EXPECT_TRUE(c.HasControl("cb_sf"));
  EXPECT_TRUE(c.HasControl("cb_as_4"));
  EXPECT_FALSE(c.HasControl("cb_nothing"));
  EXPECT_EQ(c.Items("cb_sf"), kScale);
  EXPECT_EQ(c.Items("cb_mun_4"), kUnits);
  EXPECT_TRUE(c.Items("cb_st").isEmpty());
  for (const char* name : {"cb_sf", "cb_st", "cb_mun_4"}) {
    EXPECT_EQ(c.Text(name), "") << name;
    EXPECT_EQ(c.ItemIndex(name), -1) << name;
  }
}

TYPED_TEST(ParamControlsContract, SimpleComboHoldsAnyTextAndFindsItsItemExactly) {
  TParamControls& c = this->c;
  c.SetText("cb_sf", "0,5");  // no item, kept as typed
  EXPECT_EQ(c.Text("cb_sf"), "0,5");
  EXPECT_EQ(c.ItemIndex("cb_sf"), -1);
  c.SetText("cb_sf", "10");
  EXPECT_EQ(c.ItemIndex("cb_sf"), 3);
  c.SetText("cb_sf", "10 ");  // exact match only
  EXPECT_EQ(c.ItemIndex("cb_sf"), -1);
  c.SetText("cb_st", "25");
  EXPECT_EQ(c.Text("cb_st"), "25");
  EXPECT_EQ(c.ItemIndex("cb_st"), -1);
}

TYPED_TEST(ParamControlsContract, SimpleComboItemIndexPutsTheItemIntoTheEditField) {
  TParamControls& c = this->c;
  c.SetItemIndex("cb_sf", 5);
  EXPECT_EQ(c.Text("cb_sf"), "1000");
  EXPECT_EQ(c.ItemIndex("cb_sf"), 5);
  // Typing over a selected item leaves no item selected.
  c.SetText("cb_sf", "7");
  EXPECT_EQ(c.ItemIndex("cb_sf"), -1);
  c.SetItemIndex("cb_sf", 5);
  EXPECT_EQ(c.Text("cb_sf"), "1000");
  for (int outside : {-1, 6, 100}) {
    c.SetItemIndex("cb_sf", 2);
    c.SetItemIndex("cb_sf", outside);
    EXPECT_EQ(c.Text("cb_sf"), "") << outside;
    EXPECT_EQ(c.ItemIndex("cb_sf"), -1) << outside;
  }
}

TYPED_TEST(ParamControlsContract, DropDownListHoldsOnlyItsItems) {
  TParamControls& c = this->c;
  c.SetText("cb_mun_4", "ft");
  EXPECT_EQ(c.Text("cb_mun_4"), "ft");
  EXPECT_EQ(c.ItemIndex("cb_mun_4"), 7);
  // Not an item (letter case counts here): nothing is selected.
  for (const char* text : {"FT", "km", ""}) {
    c.SetText("cb_mun_4", "ft");
    c.SetText("cb_mun_4", text);
    EXPECT_EQ(c.Text("cb_mun_4"), "") << text;
    EXPECT_EQ(c.ItemIndex("cb_mun_4"), -1) << text;
  }
  c.SetItemIndex("cb_mun_4", 0);
  EXPECT_EQ(c.Text("cb_mun_4"), "mm");
  c.SetItemIndex("cb_mun_4", 9);
  EXPECT_EQ(c.Text("cb_mun_4"), "");
  EXPECT_EQ(c.ItemIndex("cb_mun_4"), -1);
}

TYPED_TEST(ParamControlsContract, ControlsAreIndependentAndUnknownNamesAreIgnored) {
  TParamControls& c = this->c;
  c.SetText("cb_sa", "3");
  c.SetText("cb_sa_1", "4");
  c.SetText("cb_nothing", "5");
  c.SetItemIndex("cb_nothing", 0);
  EXPECT_EQ(c.Text("cb_sa"), "3");
  EXPECT_EQ(c.Text("cb_sa_1"), "4");
  EXPECT_EQ(c.Text("cb_nothing"), "");
  EXPECT_EQ(c.ItemIndex("cb_nothing"), -1);
  EXPECT_TRUE(c.Items("cb_nothing").isEmpty());
}

}  // namespace
