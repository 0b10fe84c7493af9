#pragma once
// A waveform chart over a small store whose every value tells its row and
// channel, on a recording chart.

#include <gtest/gtest.h>

#include <string>

#include "views/wave_chart.h"
#include "wave_fake_port.h"

namespace trelvan::test {

class WaveChartTest : public ::testing::Test {
 protected:
  static constexpr uint32_t Capacity = 80'000;

  static float Volts(uint32_t row, int ch) { return float(row) + 0.125f * float(ch) - 3.0f; }

  WaveChartTest() : store(Capacity), chart(store, port) {
    for (uint32_t r = 0; r < Capacity; ++r)
      for (int ch = 0; ch < Channels; ++ch) store.voltsRow(r)[ch] = Volts(r, ch);
    chart.ShowDesignState();
  }

  // Every series holds exactly the rows start .. start + count - 1 at X 0, 1, ...
  void ExpectWindowPoints(uint32_t start, uint32_t count) {
    for (int ch = 0; ch < Channels; ++ch) {
      ASSERT_EQ(port.series[ch].size(), count) << "AN" << ch + 1;
      for (uint32_t i = 0; i < count; ++i) {
        ASSERT_EQ(port.series[ch][i], FakeWavePort::Point(i, Volts(start + i, ch)))
            << "AN" << ch + 1 << " point " << i;
      }
    }
  }

  // The window state, its X axis, its labels and the Go box.
  void ExpectWindow(uint32_t start, uint32_t division, uint32_t count) {
    EXPECT_EQ(chart.waveStart(), start);
    EXPECT_EQ(chart.waveDivision(), division);
    EXPECT_EQ(port.x.minimum, 0.0);
    EXPECT_EQ(port.x.maximum, 10.0 * division);
    EXPECT_EQ(port.x.increment, double(division));
    for (int k = 0; k < AxisLabelCount; ++k) {
      std::string text = std::to_string(uint64_t{start} + uint64_t(k) * division);
      if (text.size() < 4) text.insert(0, 4 - text.size(), ' ');
      EXPECT_EQ(port.x.labels[k], (AxisLabel{double(k) * division, text})) << "label " << k;
    }
    EXPECT_EQ(port.edit13, std::to_string(start));
    ExpectWindowPoints(start, count);
  }

  // A read that has just stored `rows` rows.
  void Read(uint32_t rows) {
    store.cycleCount += rows;
    chart.AppendWaveRows(rows);
  }

  void Go(uint32_t start) { chart.Button19Click(std::to_string(start)); }

  SampleStore store;
  FakeWavePort port;
  WaveChart chart;
};

}  // namespace trelvan::test
