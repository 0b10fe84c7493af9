#include "views/wave_chart.h"

#include <algorithm>

#include "device/log_colours.h"
#include "views/wave_go_input.h"
#include "views/wave_label_text.h"

namespace trelvan {

WaveChart::WaveChart(const SampleStore& store, WaveChartPort& port) : store_(store), port_(port) {}

void WaveChart::ShowDesignState() {
  waveStart_ = 0;
  waveDivision_ = WaveDivisionInitial;
  ClearWaveSeries();
  port_.SetAxisRange(WaveAxis::X, 0.0, windowWidth());
  port_.SetAxisIncrement(WaveAxis::X, waveDivision_);
  RefreshWaveLabels();
}

void WaveChart::PlotWaveWindow(uint32_t start, uint32_t division) {
  ClearWaveSeries();
  waveStart_ = start;
  waveDivision_ = division;
  const uint32_t width = windowWidth();
  const uint32_t count = start < store_.cycleCount ? std::min(width, store_.cycleCount - start) : 0;
  AppendRows(start, count, 0);
  port_.SetAxisIncrement(WaveAxis::X, division);
  port_.SetAxisRange(WaveAxis::X, 0.0, width);
  RefreshWaveLabels();
}

void WaveChart::AppendWaveRows(uint32_t newCycles) {
  if (newCycles == 0) return;
  const uint32_t held = port_.PointCount(0);
  const uint32_t width = windowWidth();
  const uint32_t cc = store_.cycleCount;
  // The points shown continue the store only when they are the page that
  // ends where the new rows begin; after a move by the user or an emptied
  // store they belong elsewhere, and the newest page is shown instead.
  const bool continuesStore =
      newCycles <= cc && uint64_t{waveStart_} + held == uint64_t{cc} - newCycles;
  if (!continuesStore || uint64_t{held} + newCycles > width) {
    PlotWaveWindow(cc / width * width, waveDivision_);
    return;
  }
  AppendRows(cc - newCycles, newCycles, held);
}

void WaveChart::LimitWaveZoom() {
  if (waveDivision_ > WaveDivisionRunLimit) PlotWaveWindow(waveStart_, WaveDivisionRunLimit);
}

void WaveChart::RefreshWaveLabels() {
  for (uint32_t k = 0; k < AxisLabelCount; ++k) {
    const uint64_t offset = uint64_t{k} * waveDivision_;
    xLabels_[k] = {static_cast<double>(offset), WaveSampleText(offset + waveStart_)};
  }
  port_.SetAxisLabels(WaveAxis::X, xLabels_);
  port_.SetEdit13Text(std::to_string(waveStart_));
}

void WaveChart::ClearWaveSeries() {
  for (int s = 0; s < Channels; ++s) port_.ClearSeries(s);
}

void WaveChart::Button11Click() {
  if (waveDivision_ <= WaveDivisionMin) return Refuse("Zoom in is up to limition!");
  PlotWaveWindow(waveStart_, ZoomInDivision(waveDivision_));
}

void WaveChart::Button12Click() {
  if (waveDivision_ >= WaveDivisionMax) return Refuse("Zoom out is up to limition!");
  PlotWaveWindow(waveStart_, ZoomOutDivision(waveDivision_));
}

void WaveChart::Button13Click() { PlotWaveWindow(0, waveDivision_); }

void WaveChart::Button14Click() {
  const uint32_t cc = store_.cycleCount;
  if (cc <= 500) return;  // a fixed guard, whatever the window width
  const uint32_t width = windowWidth();
  PlotWaveWindow(cc / width * width, waveDivision_);
}

void WaveChart::Button15Click() {
  const uint32_t cc = store_.cycleCount;
  const uint32_t width = windowWidth();
  if (waveStart_ > cc || cc - waveStart_ < width) return Refuse("This is a last page!");
  PlotWaveWindow(waveStart_ + width, waveDivision_);
}

void WaveChart::Button16Click() {
  const uint32_t width = windowWidth();
  if (waveStart_ < width) return Refuse("This is a first page!");
  PlotWaveWindow(waveStart_ - width, waveDivision_);
}

void WaveChart::Button17Click() {
  if (waveStart_ == 0) return Refuse("has moved to start!");
  PlotWaveWindow(waveStart_ > waveDivision_ ? waveStart_ - waveDivision_ : 0, waveDivision_);
}

void WaveChart::Button18Click() {
  if (uint64_t{waveStart_} + waveDivision_ > store_.cycleCount) return Refuse("has moved to end!");
  PlotWaveWindow(waveStart_ + waveDivision_, waveDivision_);
}

void WaveChart::Button19Click(const std::string& edit13Text) {
  const GoInput input = ParseGoInput(edit13Text);
  if (input.kind == GoInputKind::NotANumber) return Refuse("Please input a number!");
  if (input.kind == GoInputKind::OutOfRange || input.value > store_.cycleCount) {
    return Refuse("Out of the size!");
  }
  PlotWaveWindow(input.value, waveDivision_);
}

void WaveChart::SetTraceVisible(int channel, bool visible) {
  if (channel >= 0 && channel < Channels) port_.SetSeriesVisible(channel, visible);
}

void WaveChart::Refuse(const char* message) { port_.LogMessage(message, LogRed); }

void WaveChart::AppendRows(uint32_t firstRow, uint32_t count, uint32_t firstX) {
  if (count == 0) return;
  const float* row = store_.voltsRow(firstRow);
  for (int s = 0; s < Channels; ++s) port_.AppendPoints(s, firstX, ChannelColumn{row + s, count});
}

}  // namespace trelvan
