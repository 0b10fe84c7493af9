#include "views/wave_y_axis.h"

#include "device/log_colours.h"
#include "views/wave_label_text.h"

namespace trelvan {
namespace {

constexpr double DesignMinimum = -11.0;
constexpr double DesignMaximum = 11.0;
constexpr double DesignIncrement = 2.0;
const AxisLabels DesignLabels = {{{0, "0"},
                                  {2, "2"},
                                  {4, "4"},
                                  {10, "10"},
                                  {8, "8"},
                                  {6, "6"},
                                  {-2, "-2"},
                                  {-4, "-4"},
                                  {-6, "-6"},
                                  {-8, "-8"},
                                  {-10, "-10"}}};
// Zooming in stops once the increment is this small, zooming out once it is this large.
constexpr double SmallestZoomableIncrement = 0.0015;
constexpr double LargestZoomableIncrement = 16.0;

}  // namespace

WaveYAxis::WaveYAxis(WaveChartPort& port)
    : port_(port),
      minimum_(DesignMinimum),
      maximum_(DesignMaximum),
      increment_(DesignIncrement),
      labels_(DesignLabels) {}

void WaveYAxis::ShowDesignState() {
  minimum_ = DesignMinimum;
  maximum_ = DesignMaximum;
  increment_ = DesignIncrement;
  labels_ = DesignLabels;
  Show();
}

void WaveYAxis::Button21Click() {
  if (increment_ <= SmallestZoomableIncrement) {
    port_.LogMessage("Zoom in is up to limition!", LogRed);
    return;
  }
  Scale(0.5);
}

void WaveYAxis::Button22Click() {
  if (increment_ >= LargestZoomableIncrement) {
    port_.LogMessage("Zoom out is up to limition!", LogRed);
    return;
  }
  Scale(2.0);
}

void WaveYAxis::Button23Click() { Shift(-increment_); }

void WaveYAxis::Button24Click() { Shift(increment_); }

void WaveYAxis::Scale(double factor) {
  minimum_ *= factor;
  maximum_ *= factor;
  increment_ *= factor;
  for (AxisLabel& label : labels_) {
    label.value *= factor;
    label.text = WaveVoltsText(label.value);
  }
  Show();
}

void WaveYAxis::Shift(double step) {
  minimum_ += step;
  maximum_ += step;
  for (AxisLabel& label : labels_) {
    label.value += step;
    label.text = WaveVoltsText(label.value);
  }
  Show();
}

void WaveYAxis::Show() {
  port_.SetAxisRange(WaveAxis::Y, minimum_, maximum_);
  port_.SetAxisIncrement(WaveAxis::Y, increment_);
  port_.SetAxisLabels(WaveAxis::Y, labels_);
}

}  // namespace trelvan
