#pragma once
// The waveform chart on its widgets: the window creates Chart1 (with its
// eight graphs), Edit13 and the buttons and check boxes of GroupBox5 and
// hands them over; the adapter styles the chart, connects the controls and
// owns the chart's logic (the window over the store and the volts axis).

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/sample_store.h"

class QCheckBox;
class QCustomPlot;
class QLineEdit;
class QPushButton;

namespace trelvan {

class QcpWavePort;
class WaveReadoutLabel;
class WaveChart;
class WaveYAxis;

struct WaveWidgets {
  QCustomPlot* chart1 = nullptr;
  QLineEdit* edit13 = nullptr;
  QPushButton *button11 = nullptr, *button12 = nullptr, *button13 = nullptr,
              *button14 = nullptr, *button15 = nullptr, *button16 = nullptr,
              *button17 = nullptr, *button18 = nullptr, *button19 = nullptr,
              *button21 = nullptr, *button22 = nullptr, *button23 = nullptr,
              *button24 = nullptr;
  std::array<QCheckBox*, 8> traceChecks{};  // AN1..AN8: CheckBox9,10,11,12,16,15,14,13
};

class WaveChartAdapter : public QObject {
  Q_OBJECT

 public:
  using LogFunction = std::function<void(const std::string&, uint32_t)>;

  // Shows the chart's design state: the empty window 0..500 of division 50,
  // the volts axis -11..11, each trace shown as its check box says.
  WaveChartAdapter(const SampleStore& store, WaveWidgets widgets, LogFunction log,
                   QObject* parent = nullptr);
  ~WaveChartAdapter() override;

  // Operations of the acquisition and the window.
  void AppendWaveRows(uint32_t newCycles);
  void ClearWaveSeries();
  void RefreshWaveLabels();
  void LimitWaveZoom();
  void ResetWaveStart();  // waveStart := 0 (first step of emptying the store)
  void Button13Click();   // Home, called at start-up
  uint32_t waveStart() const;
  uint32_t waveDivision() const;

  // An exception escaping a control's handler is reported here; by default in
  // an error box titled "Trelvan".
  void SetErrorHandler(std::function<void(const std::string&)> handler);

  const WaveChart& chart() const { return *chart_; }
  const WaveYAxis& yAxis() const { return *yAxis_; }
  // The readout shown while the pointer is over the plot.
  const WaveReadoutLabel& readout() const;

 private:
  void Connect();
  template <class Handler>
  void Guarded(Handler handler) noexcept;

  WaveWidgets widgets_;
  std::unique_ptr<QcpWavePort> port_;
  std::unique_ptr<WaveChart> chart_;
  std::unique_ptr<WaveYAxis> yAxis_;
  QPointer<WaveReadoutLabel> readout_;  // a child of the chart, gone with the adapter
  std::function<void(const std::string&)> errorHandler_;
};

}  // namespace trelvan
