#pragma once
// A chart that records what the waveform logic did to it.

#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "views/wave_chart_port.h"

namespace trelvan {
inline std::ostream& operator<<(std::ostream& os, const AxisLabel& l) {
  return os << "{" << l.value << ", \"" << l.text << "\"}";
}
}  // namespace trelvan

namespace trelvan::test {

struct FakeWaveAxis {
  double minimum = 0, maximum = 0, increment = 0;
  AxisLabels labels;
};

struct LogLine {
  std::string text;
  uint32_t colour;
  bool operator==(const LogLine&) const = default;
};

class FakeWavePort : public WaveChartPort {
 public:
  using Point = std::pair<double, double>;

  void ClearSeries(int s) override {
    series[s].clear();
    ++clears;
    ++changes;
  }
  void AppendPoints(int s, uint32_t firstX, ChannelColumn ys) override {
    for (uint32_t i = 0; i < ys.count; ++i) series[s].emplace_back(double(firstX) + i, ys[i]);
    ++changes;
  }
  uint32_t PointCount(int s) const override { return static_cast<uint32_t>(series[s].size()); }
  void SetSeriesVisible(int s, bool v) override {
    visible[s] = v;
    ++changes;
  }
  void SetAxisRange(WaveAxis a, double mn, double mx) override {
    axis(a).minimum = mn;
    axis(a).maximum = mx;
    ++changes;
  }
  void SetAxisIncrement(WaveAxis a, double inc) override {
    axis(a).increment = inc;
    ++changes;
  }
  void SetAxisLabels(WaveAxis a, const AxisLabels& l) override {
    axis(a).labels = l;
    ++changes;
  }
  void SetEdit13Text(const std::string& t) override {
    edit13 = t;
    ++changes;
  }
  void LogMessage(const std::string& t, uint32_t c) override { log.push_back({t, c}); }

  FakeWaveAxis& axis(WaveAxis a) { return a == WaveAxis::X ? x : y; }

  std::array<std::vector<Point>, Channels> series;
  std::array<bool, Channels> visible{true, true, true, true, true, true, true, true};
  FakeWaveAxis x, y;
  std::string edit13;
  std::vector<LogLine> log;
  int clears = 0;
  int changes = 0;  // every call but the log
};

}  // namespace trelvan::test
