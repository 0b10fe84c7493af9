#pragma once
// What the waveform logic needs from a charting component and from the
// controls around it. The Qt adapter implements it on the chart widget; tests
// record the calls.

#include <cstdint>
#include <string>

#include "acquisition/sample_store.h"
#include "views/wave_axis_label.h"

namespace trelvan {

enum class WaveAxis { X, Y };

// One channel's values in consecutive store rows: element i is
// first[i * Channels], a float widened to double when plotted.
struct ChannelColumn {
  const float* first = nullptr;
  uint32_t count = 0;

  double operator[](uint32_t i) const { return first[std::size_t{i} * Channels]; }
};

class WaveChartPort {
 public:
  virtual ~WaveChartPort() = default;

  // Series 0..7 are the traces AN1..AN8.
  virtual void ClearSeries(int series) = 0;
  // Appends ys.count points in one batch behind the points held:
  // X = firstX + i, Y = ys[i], in ascending X.
  virtual void AppendPoints(int series, uint32_t firstX, ChannelColumn ys) = 0;
  // Points held, whether the series is shown or not.
  virtual uint32_t PointCount(int series) const = 0;
  virtual void SetSeriesVisible(int series, bool visible) = 0;

  // The range is set as one pair.
  virtual void SetAxisRange(WaveAxis axis, double minimum, double maximum) = 0;
  virtual void SetAxisIncrement(WaveAxis axis, double increment) = 0;
  virtual void SetAxisLabels(WaveAxis axis, const AxisLabels& labels) = 0;

  // The "Go" box, which shows the window's first cycle.
  virtual void SetEdit13Text(const std::string& text) = 0;
  virtual void LogMessage(const std::string& text, uint32_t colour) = 0;
};

}  // namespace trelvan
