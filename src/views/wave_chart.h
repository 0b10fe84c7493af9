#pragma once
// The waveform window over the sample store: eight traces AN1..AN8 over
// WaveDivisions x waveDivision consecutive cycles starting at waveStart, the X
// axis with its 11 labels, the navigation buttons and trace visibility.
// Refusals are red log lines that change nothing.

#include <cstdint>
#include <string>

#include "acquisition/sample_store.h"
#include "views/wave_axis_label.h"
#include "views/wave_chart_port.h"
#include "views/wave_ladder.h"

namespace trelvan {

class WaveChart {
 public:
  WaveChart(const SampleStore& store, WaveChartPort& port);

  // Puts the design state on the chart: window 0..500, division 50, no
  // points, labels 0..500 and "0" in the Go box.
  void ShowDesignState();

  uint32_t waveStart() const { return waveStart_; }
  uint32_t waveDivision() const { return waveDivision_; }
  uint32_t windowWidth() const { return WaveWindowWidth(waveDivision_); }
  const AxisLabels& xLabels() const { return xLabels_; }

  // Re-plots the whole window: the rows start .. start + W - 1 that exist.
  void PlotWaveWindow(uint32_t start, uint32_t division);
  // newCycles rows have just been appended to the store. They are appended
  // behind the points shown when those are the page ending at the previous
  // cycleCount and the window has room; otherwise the page holding the
  // newest cycle is re-plotted. Nothing happens for 0 rows.
  void AppendWaveRows(uint32_t newCycles);
  // A division above 1600 is cut to 1600 and the window re-plotted.
  void LimitWaveZoom();
  // Rewrites the 11 X labels from waveStart and waveDivision, and Edit13.
  void RefreshWaveLabels();
  void ClearWaveSeries();
  // waveStart := 0, the first step of emptying the store.
  void ResetWaveStart() { waveStart_ = 0; }

  void Button11Click();  // "Zoom In(X)"
  void Button12Click();  // "Zoom Out (X)"
  void Button13Click();  // "Home"
  void Button14Click();  // "End"
  void Button15Click();  // "Next Page"
  void Button16Click();  // "Prev Page"
  void Button17Click();  // "Move Right": towards earlier cycles
  void Button18Click();  // "Move Left": towards later cycles
  void Button19Click(const std::string& edit13Text);  // "Go"

  // A hidden trace keeps its points and keeps receiving new ones.
  void SetTraceVisible(int channel, bool visible);

 private:
  void Refuse(const char* message);
  void AppendRows(uint32_t firstRow, uint32_t count, uint32_t firstX);

  const SampleStore& store_;
  WaveChartPort& port_;
  uint32_t waveStart_ = 0;
  uint32_t waveDivision_ = WaveDivisionInitial;
  AxisLabels xLabels_;
};

}  // namespace trelvan
