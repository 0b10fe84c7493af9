// Axis label texts: the bytes of "%4.0f" and "% 4.3f" in the "C" locale,
// under a comma-decimal process locale too.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "views/wave_label_text.h"

namespace trelvan::test {
namespace {

std::string Printf(const char* format, double value) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

class WaveLabelTextTest : public ::testing::Test {
 protected:
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(WaveLabelTextTest, MatchPrintfWhateverTheLocale) {
  const std::vector<double> volts = {0.0,      -0.0,    1.0,        -10.0,        0.0009765625,
                                     -0.0048828125, 0.0005, 0.0015,  -0.0025,      2.5e-4,
                                     -1e-4,    9.9995,  -99.9995,   1234567.8125, 88.0,
                                     -0.00537109375, 1e300, -3.4e38};
  const std::vector<uint64_t> cycles = {0, 5, 50, 999, 1000, 5'984'000, 6'064'000, 4'294'967'296};
  std::vector<std::string> expectedVolts, expectedCycles;
  std::setlocale(LC_ALL, "C");
  for (double v : volts) expectedVolts.push_back(Printf("% 4.3f", v));
  for (uint64_t c : cycles) expectedCycles.push_back(Printf("%4.0f", double(c)));

  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "no comma-decimal locale";
  ASSERT_EQ(Printf("%.1f", 0.5), "0,5");
  for (size_t i = 0; i < volts.size(); ++i) EXPECT_EQ(WaveVoltsText(volts[i]), expectedVolts[i]);
  for (size_t i = 0; i < cycles.size(); ++i)
    EXPECT_EQ(WaveSampleText(cycles[i]), expectedCycles[i]);
  EXPECT_EQ(WaveSampleText(50), "  50");
  EXPECT_EQ(WaveVoltsText(1.0), " 1.000");
}

}  // namespace
}  // namespace trelvan::test
