#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "acquisition/channel_factors.h"
#include "device/input_error.h"

namespace trelvan {
namespace {

TEST(ParseDecimal, AcceptsDecimalNumbersWithAPointOrACommaOnly) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"1.00", true, 1.0},   {"1,00", true, 1.0},  {"2,5", true, 2.5},    {"-0.5", true, -0.5},
      {"+3", true, 3.0},     {"1e3", true, 1000.0}, {"2,5E-1", true, 0.25}, {".5", true, 0.5},
      {",5", true, 0.5},     {"5.", true, 5.0},     {"0", true, 0.0},       {"1e39", true, 1e39},
      {"", false, 0},        {" 1", false, 0},      {"1 ", false, 0},       {"0x10", false, 0},
      {"nan", false, 0},     {"inf", false, 0},     {"-", false, 0},        {".", false, 0},
      {",", false, 0},       {"1.2.3", false, 0},   {"1,2.3", false, 0},    {"1.000,5", false, 0},
      {"1e", false, 0},      {"1e+", false, 0},     {"--1", false, 0},      {"1e999", false, 0},
      {"abc", false, 0},     {"1;5", false, 0},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseDecimal(c.text);
    EXPECT_EQ(parsed.has_value(), c.ok) << c.text;
    if (c.ok && parsed) {
      EXPECT_DOUBLE_EQ(*parsed, c.value) << c.text;
    }
  }
}

TEST(ReadChannelFactors, StopsAtTheFirstBadBoxWithTheExactMessage) {
  AcquisitionState state(1);
  state.channelFactor.fill(7.0f);
  FactorTexts texts = {"1.5", "-2", "2;5", "4", "5", "6", "7", "8"};
  try {
    ReadChannelFactors(state, texts);
    FAIL() << "no error";
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "'2;5' is not a valid floating point value");
  }
  EXPECT_EQ(state.channelFactor[0], 1.5f);
  EXPECT_EQ(state.channelFactor[1], -2.0f);
  EXPECT_EQ(state.channelFactor[2], 7.0f);
  EXPECT_EQ(state.channelFactor[7], 7.0f);

  // The check changes nothing and names the same box.
  state.channelFactor.fill(7.0f);
  EXPECT_THROW(CheckChannelFactors(texts), InputError);
  EXPECT_EQ(state.channelFactor[0], 7.0f);
}

TEST(ReadChannelFactors, DoesNotDependOnTheCLibraryLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 must be installed";
  AcquisitionState state(1);
  // The boxes' own "1.00" and a comma typed by the user, side by side.
  ReadChannelFactors(state, {"2,5", "1.00", "1,00", "1", "1", "1", "1", "1e2"});
  EXPECT_EQ(state.channelFactor[0], 2.5f);
  EXPECT_EQ(state.channelFactor[1], 1.0f);
  EXPECT_EQ(state.channelFactor[2], 1.0f);
  EXPECT_EQ(state.channelFactor[7], 100.0f);
  ReadChannelFactors(state, {"0.25", "1", "1", "1", "1", "1", "1", "1"});
  EXPECT_EQ(state.channelFactor[0], 0.25f);
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(ReadChannelFactors, TakesHugeValuesAsFloatInfinity) {
  AcquisitionState state(1);
  ReadChannelFactors(state, {"1e39", "-1e39", "1e30", "0", "1", "1", "1", "1"});
  EXPECT_TRUE(std::isinf(state.channelFactor[0]) && state.channelFactor[0] > 0);
  EXPECT_TRUE(std::isinf(state.channelFactor[1]) && state.channelFactor[1] < 0);
  EXPECT_EQ(state.channelFactor[2], 1e30f);
}

}  // namespace
}  // namespace trelvan
