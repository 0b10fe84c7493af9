#pragma once
// The readout over the chart: while the mouse pointer is over the plot, a
// small label beside it shows the sample number under the pointer and the
// eight values of that cycle. It reads the store and the chart's X axis and
// changes nothing of the series or axes; the chart's image exports never
// contain it (it is a widget over the chart, not a plot item).

#include <QObject>
#include <QPoint>
#include <functional>

#include "acquisition/sample_store.h"

class QCustomPlot;
class QLabel;

namespace trelvan {

class WaveReadoutLabel : public QObject {
  Q_OBJECT

 public:
  // `waveStart` gives the store row plotted at X = 0.
  WaveReadoutLabel(QCustomPlot* chart1, const SampleStore& store,
                   std::function<uint32_t()> waveStart);

  QLabel* label() const { return label_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowAt(QPoint pointer);
  void Hide();

  QCustomPlot* chart1_;
  const SampleStore& store_;
  std::function<uint32_t()> waveStart_;
  QLabel* label_;
  QPoint pointer_;
  bool over_ = false;
};

}  // namespace trelvan
