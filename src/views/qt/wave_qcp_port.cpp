#include "views/qt/wave_qcp_port.h"

#include <QEvent>
#include <QLineEdit>
#include <QMap>
#include <QVector>
#include <qcustomplot.h>

namespace trelvan {

// Replots a chart that changed while it was hidden, as it is shown: before
// it is painted, so that it never shows what it held before.
class ReplotWhenShown : public QObject {
 public:
  explicit ReplotWhenShown(QCustomPlot* chart) : QObject(chart), chart_(chart) { chart->installEventFilter(this); }
  bool pending = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == chart_ && event->type() == QEvent::Show && pending) {
      pending = false;
      chart_->replot();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QCustomPlot* chart_;
};

QcpWavePort::QcpWavePort(QCustomPlot* chart1, QLineEdit* edit13, LogFunction log)
    : chart1_(chart1),
      edit13_(edit13),
      log_(std::move(log)),
      xTicker_(qSharedPointerDynamicCast<QCPAxisTickerText>(chart1->xAxis->ticker())),
      yTicker_(qSharedPointerDynamicCast<QCPAxisTickerText>(chart1->yAxis->ticker())),
      whenShown_(new ReplotWhenShown(chart1)) {
  Q_ASSERT(xTicker_ && yTicker_);
  Q_ASSERT(chart1->graphCount() >= Channels);
}

void QcpWavePort::ClearSeries(int series) {
  chart1_->graph(series)->data()->clear();
  QueueReplot();
}

void QcpWavePort::AppendPoints(int series, uint32_t firstX, ChannelColumn ys) {
  if (ys.count == 0) return;
  QVector<QCPGraphData> points;
  points.reserve(static_cast<qsizetype>(ys.count));
  for (uint32_t i = 0; i < ys.count; ++i) points.emplace_back(double(firstX) + i, ys[i]);
  // Keys ascend and follow the points held: the container appends without sorting.
  chart1_->graph(series)->data()->add(points, true);
  QueueReplot();
}

uint32_t QcpWavePort::PointCount(int series) const {
  return static_cast<uint32_t>(chart1_->graph(series)->dataCount());
}

void QcpWavePort::SetSeriesVisible(int series, bool visible) {
  chart1_->graph(series)->setVisible(visible);
  QueueReplot();
}

void QcpWavePort::SetAxisRange(WaveAxis axis, double minimum, double maximum) {
  Axis(axis)->setRange(minimum, maximum);
  QueueReplot();
}

void QcpWavePort::SetAxisIncrement(WaveAxis, double) {
  // The text tickers place ticks at the label items only; the increment is
  // already in their values.
}

void QcpWavePort::SetAxisLabels(WaveAxis axis, const AxisLabels& labels) {
  QMap<double, QString> ticks;
  for (const AxisLabel& label : labels) ticks.insert(label.value, QString::fromStdString(label.text));
  (axis == WaveAxis::X ? xTicker_ : yTicker_)->setTicks(ticks);
  QueueReplot();
}

void QcpWavePort::SetEdit13Text(const std::string& text) {
  edit13_->setText(QString::fromStdString(text));
}

void QcpWavePort::LogMessage(const std::string& text, uint32_t colour) {
  if (log_) log_(text, colour);
}

QCPAxis* QcpWavePort::Axis(WaveAxis axis) const {
  return axis == WaveAxis::X ? chart1_->xAxis : chart1_->yAxis;
}

void QcpWavePort::QueueReplot() {
  // A hidden chart (the other tab is shown) draws once, when it is shown.
  if (!chart1_->isVisible()) {
    whenShown_->pending = true;
    return;
  }
  chart1_->replot(QCustomPlot::rpQueuedReplot);
}

}  // namespace trelvan
