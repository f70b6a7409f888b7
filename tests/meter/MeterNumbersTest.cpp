#include "meter/MeterNumbers.h"

#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

struct NumberCase {
  const char* text;
  bool ok;
  double value;
};

TEST(MeterNumbers, ReadNumberTakesOnlyAWholeNumber) {
  const NumberCase cases[] = {
      {"12.5", true, 12.5},   {"   -0.25", true, -0.25}, {"+3", true, 3},
      {"5.", true, 5},        {".5", true, 0.5},         {"1e3", true, 1000},
      {"2E-2", true, 0.02},   {"007.000", true, 7},      {"12.5 ", false, 0},
      {"12,5", false, 0},     {"?", false, 0},           {"E10", false, 0},
      {"", false, 0},         {"   ", false, 0},         {"inf", false, 0},
      {"nan", false, 0},      {"0x10", false, 0},        {"1e", false, 0},
      {"1e999", false, 0},    {"-", false, 0},           {".", false, 0},
      {"1.5.2", false, 0},    {"\t5", false, 0},
  };
  for (const auto& c : cases) {
    double v = -99;
    EXPECT_EQ(ReadNumber(std::string_view(c.text), v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
  }
  EXPECT_EQ(ReadNumberDef(QStringLiteral("x"), 7), 7);
}

TEST(MeterNumbers, TextToFloatTakesCommaAndGivesZeroForNoNumber) {
  const NumberCase cases[] = {
      {"0,5", true, 0.5}, {" 12.5 ", true, 12.5}, {"-1,5e1", true, -15},
      {"abc", true, 0},   {"", true, 0},          {"1.5.2", true, 0},
      {"100000", true, 100000},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(TextToFloat(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(MeterNumbers, ReadIntegerDecimalAndHexadecimal) {
  struct Case {
    const char* text;
    bool ok;
    std::int32_t value;
  };
  const Case cases[] = {
      {"42", true, 42},
      {"  -7", true, -7},
      {"$FFFFFFFF", true, -1},  // 32-bit two's complement as the meters send it
      {"$ff", true, 255},
      {"0x10", true, 16},
      {"-$10", true, -16},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
      {"2147483648", false, 0},
      {"$100000000", false, 0},
      {"42 ", false, 0},
      {"1.5", false, 0},
      {"$", false, 0},
      {"", false, 0},
      {"$-1", false, 0},
      {"12abc", false, 0},
  };
  for (const auto& c : cases) {
    std::int32_t v = -99;
    EXPECT_EQ(ReadInteger(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
  EXPECT_EQ(StrToIntDef(QStringLiteral("x"), 10), 10);
}

TEST(MeterNumbers, HexDigitValue) {
  EXPECT_EQ(HexDigitValue('f') + HexDigitValue('A') + HexDigitValue('9'), 15 + 10 + 9);
  for (char c : {'G', 'g', '/', ':', '@', '`', ' ', '\xff'}) EXPECT_EQ(HexDigitValue(c), 0) << c;
}


TEST(MeterNumbers, RoundingHalvesToEvenAndSaturates) {
  const std::pair<double, std::int64_t> cases[] = {
      {0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},  {-1.5, -2},
      {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {1e15 + 0.5, 1000000000000000}};
  for (auto [x, r] : cases) EXPECT_EQ(RoundHalfEven(x), r) << x;
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(TruncToInt64(-2.9), -2);
  EXPECT_EQ(TruncToInt64(2.9), 2);
  EXPECT_EQ(ClampToInt32(std::int64_t(1) << 40), std::numeric_limits<std::int32_t>::max());
}

// Log lines, simulated lines and outputs all go through FormatFixed: its
// text must stay what the program has always written (the formatted-string
// function), digit for digit, halfway values and extremes included.
TEST(MeterNumbers, FormatFixedKeepsItsTextWhileCheaper) {
  std::vector<double> values = {0.0,    -0.0,    0.0005,  -0.0004, 0.0625,    -0.0625, 0.3125,
                                2.5,    -2.5,    1.0625,  5.123,   -5.1234,   1234.5678, 0.1 + 0.2,
                                9999.9995, 4503599627370495.5, 1e15, -1e21,   1e300,
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(), std::nan("")};
  std::mt19937 random(17);
  std::uniform_int_distribution<int> counts(-2000000, 2000000);
  for (int i = 0; i < 2000; ++i) {
    values.push_back(counts(random) / 1000.0);          // measurement values and time stamps
    values.push_back(counts(random) * 0.0625);          // halfway values at three decimals
    values.push_back(std::ldexp(counts(random), -12));  // exact binary fractions
  }
  const std::pair<int, int> formats[] = {{0, 3}, {0, 0}, {8, 2}, {7, 3}, {-9, 1}, {0, 1}};
  for (double v : values)
    for (auto [width, decimals] : formats)
      ASSERT_EQ(FormatFixed(v, width, decimals, u'.'), QString::asprintf("%*.*f", width, decimals, v))
          << v << " as %" << width << "." << decimals << "f";
  EXPECT_EQ(FormatFixed(-5.1234, 9, 3, u','), "   -5,123");
}

}  // namespace
