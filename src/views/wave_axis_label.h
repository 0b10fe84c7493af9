#pragma once
// A custom label of a chart axis: a position on the axis and the text drawn
// there. Each visible axis of the waveform chart draws exactly 11 of them and
// no labels of its own.

#include <array>
#include <string>

namespace trelvan {

struct AxisLabel {
  double value = 0.0;
  std::string text;

  bool operator==(const AxisLabel&) const = default;
};

constexpr int AxisLabelCount = 11;
using AxisLabels = std::array<AxisLabel, AxisLabelCount>;

}  // namespace trelvan
