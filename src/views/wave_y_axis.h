#pragma once
// The volts axis of the waveform chart: its range, its increment and its 11
// label items, changed only by the four Y buttons. The range always spans 11
// increments. Zooming scales about 0 V; each label item is treated by itself,
// whatever the order of the items. Nothing here re-plots data.

#include "views/wave_axis_label.h"
#include "views/wave_chart_port.h"

namespace trelvan {

class WaveYAxis {
 public:
  explicit WaveYAxis(WaveChartPort& port);

  // Puts the axis as designed on the chart: -11 .. 11, increment 2, the even
  // volts -10 .. 10 as labels "0", "2", ...
  void ShowDesignState();

  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }
  double increment() const { return increment_; }
  const AxisLabels& labels() const { return labels_; }

  void Button21Click();  // "Zoom In(Y)": halves the scale, down to 0.0009765625
  void Button22Click();  // "Zoom Out (Y)": doubles it, up to 16
  void Button23Click();  // "Move Up": the traces move up
  void Button24Click();  // "Move Down": the traces move down

 private:
  void Scale(double factor);
  void Shift(double step);
  void Show();

  WaveChartPort& port_;
  double minimum_;
  double maximum_;
  double increment_;
  AxisLabels labels_;
};

}  // namespace trelvan
