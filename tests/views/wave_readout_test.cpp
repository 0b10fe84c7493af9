// The chart's readout: the row under the pointer and its texts.
#include "views/wave_readout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace trelvan {
namespace {

TEST(WaveReadoutRow, NearestPlottedPointOnly) {
  struct Case {
    double x;
    uint32_t waveStart, plotted, cycleCount;
    std::optional<uint32_t> row;
  } cases[] = {
      {0.0, 0, 500, 500, 0u},
      {0.49, 0, 500, 500, 0u},
      {0.5, 0, 500, 500, 1u},          // halfway rounds up
      {-0.49, 0, 500, 500, 0u},        // left of the first point, still nearest to it
      {-0.51, 0, 500, 500, std::nullopt},
      {499.4, 0, 500, 500, 499u},
      {499.5, 0, 500, 500, std::nullopt},  // past the last point
      {120.2, 1000, 300, 5000, 1120u},     // a window further on
      {300.0, 1000, 300, 5000, std::nullopt},  // room left in the window: no point there
      {10.0, 0, 0, 0, std::nullopt},           // an empty chart
      {10.0, 4990, 500, 5000, std::nullopt},   // points left over from rows the store no longer holds
      {std::numeric_limits<double>::quiet_NaN(), 0, 500, 500, std::nullopt},
      {1e300, 0, 500, 500, std::nullopt},
      {3.0, 0xFFFFFFF0u, 500, 0xFFFFFFFFu, 0xFFFFFFF3u},  // no wrap near the top
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WaveReadoutRow(c.x, c.waveStart, c.plotted, c.cycleCount), c.row) << "x " << c.x;
  }
}

TEST(WaveReadoutText, SampleNumberAndTheEightValuesAsTheTableShowsThem) {
  SampleStore store(10);
  const float volts[8] = {1.899109f, -0.499878f, 0.0f, -10.0f, 9.999695f, -0.0f, 0.000001f, 5.5f};
  for (int ch = 0; ch < Channels; ++ch) store.voltsRow(7)[ch] = volts[ch];
  store.cycleCount = 8;
  EXPECT_EQ(WaveReadoutText(store, 7),
            "Sample 7 (L00000008)\n"
            "AN1  1.899109\n"
            "AN2 -0.499878\n"
            "AN3  0.000000\n"
            "AN4 -10.000000\n"
            "AN5  9.999695\n"
            "AN6 -0.000000\n"
            "AN7  0.000001\n"
            "AN8  5.500000");
}

}  // namespace
}  // namespace trelvan
