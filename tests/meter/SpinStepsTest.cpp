#include <gtest/gtest.h>

#include <climits>

#include "meter/MemoryParamControls.h"
#include "meter/SpinSteps.h"

namespace {

struct NumberCase {
  const char* spin;
  const char* text;
  bool up;
  const char* expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
  *os << c.spin << " '" << c.text << "' " << (c.up ? "up" : "down");
}

class NumberStepTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberStepTest, StepsAndClamps) {
  const NumberCase& c = GetParam();
  TMemoryParamControls page;
  const TSpinDef* spin = SpinButton(c.spin);
  ASSERT_NE(spin, nullptr);
  page.SetText(spin->control, c.text);
  StepSpin(page, *spin, c.up);
  EXPECT_EQ(page.Text(spin->control), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Spins, NumberStepTest,
    ::testing::Values(NumberCase{"sp_st", "25", true, "25"}, NumberCase{"sp_st", "24", true, "25"},
                      NumberCase{"sp_st", "abc", true, "1"}, NumberCase{"sp_st", "abc", false, "0"},
                      NumberCase{"sp_st", "", true, "1"}, NumberCase{"sp_st", "0.5", true, "1"},
                      NumberCase{"sp_st", "99", false, "25"}, NumberCase{"sp_sa", "", false, "1"},
                      NumberCase{"sp_sf_4", "-10", false, "-10"},
                      NumberCase{"sp_sf_4", "-3", false, "-4"},
                      NumberCase{"sp_sa_2", "2147483647", true, "30000"},
                      NumberCase{"sp_sf_4", "-2147483648", false, "-10"},
                      NumberCase{"sp_vp_2", "on", true, "1"}));

TEST(SpinSteps, ListStepHoldsAtBothEnds) {
  TMemoryParamControls page;
  const TSpinDef& spin = *SpinButton("sp_as");
  page.SetText("cb_as", "id");  // last item
  StepSpin(page, spin, true);
  EXPECT_EQ(page.Text("cb_as"), "id");
  StepSpin(page, spin, false);
  EXPECT_EQ(page.Text("cb_as"), "tp");
  page.SetText("cb_as", "dt");  // first item
  StepSpin(page, spin, false);
  EXPECT_EQ(page.Text("cb_as"), "dt");
}

TEST(SpinSteps, ListStepWithoutSelectionSelectsTheFirstItem) {
  for (bool up : {true, false}) {
    TMemoryParamControls page;
    page.SetText("cb_sf", "5");  // no item
    StepComboBox(page, "cb_sf", up);
    EXPECT_EQ(page.Text("cb_sf"), "0.01");
  }
}

TEST(SpinSteps, NumberStepOnAFreeControlWithExplicitLimits) {
  TMemoryParamControls page;
  page.SetText("cb_td", "10");
  StepEditValue(page, "cb_td", 0, true, 9999);
  EXPECT_EQ(page.Text("cb_td"), "11");
}

}  // namespace
