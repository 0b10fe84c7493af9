#pragma once
// The waveform chart's needs met by a QCustomPlot: graphs 0..7 are the traces
// AN1..AN8, the bottom and left axes carry text tickers with the 11 label
// items. Every change queues one replot, so that the many changes of a poll
// or of a load draw once when the event loop next runs; while the chart is
// hidden, it draws once when it is shown.

#include <QSharedPointer>
#include <cstdint>
#include <functional>
#include <string>

#include "views/wave_chart_port.h"

class QCPAxis;
class QCPAxisTickerText;
class QCustomPlot;
class QLineEdit;

namespace trelvan {

class ReplotWhenShown;

class QcpWavePort : public WaveChartPort {
 public:
  using LogFunction = std::function<void(const std::string&, uint32_t)>;

  // The chart must have been styled (StyleWaveChart) and hold eight graphs.
  QcpWavePort(QCustomPlot* chart1, QLineEdit* edit13, LogFunction log);

  void ClearSeries(int series) override;
  void AppendPoints(int series, uint32_t firstX, ChannelColumn ys) override;
  uint32_t PointCount(int series) const override;
  void SetSeriesVisible(int series, bool visible) override;
  void SetAxisRange(WaveAxis axis, double minimum, double maximum) override;
  void SetAxisIncrement(WaveAxis axis, double increment) override;
  void SetAxisLabels(WaveAxis axis, const AxisLabels& labels) override;
  void SetEdit13Text(const std::string& text) override;
  void LogMessage(const std::string& text, uint32_t colour) override;

 private:
  QCPAxis* Axis(WaveAxis axis) const;
  void QueueReplot();

  QCustomPlot* chart1_;
  QLineEdit* edit13_;
  LogFunction log_;
  QSharedPointer<QCPAxisTickerText> xTicker_, yTicker_;
  ReplotWhenShown* whenShown_;  // the chart's child
};

}  // namespace trelvan
