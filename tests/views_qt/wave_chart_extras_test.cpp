// The chart's colour key and its readout, on the real QCustomPlot offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <memory>
#include <qcustomplot.h>

#include "views/qt/wave_chart_adapter.h"
#include "views/qt/wave_readout_label.h"

namespace trelvan {
namespace {

class WaveChartExtrasTest : public testing::Test {
 protected:
  WaveChartExtrasTest() {
    chart1 = new QCustomPlot(&window);
    chart1->resize(1017, 463);
    for (int i = 0; i < Channels; ++i) chart1->addGraph();
    WaveWidgets w;
    w.chart1 = chart1;
    w.edit13 = new QLineEdit("0", &window);
    for (QPushButton** b : {&w.button11, &w.button12, &w.button13, &w.button14, &w.button15,
                            &w.button16, &w.button17, &w.button18, &w.button19, &w.button21,
                            &w.button22, &w.button23, &w.button24}) {
      *b = new QPushButton(&window);
    }
    for (auto& check : w.traceChecks) {
      check = new QCheckBox("AN", &window);
      check->setChecked(true);
    }
    widgets = w;
    adapter = std::make_unique<WaveChartAdapter>(store, w, [](const std::string&, uint32_t) {});
    window.resize(1100, 500);
    window.show();  // the chart takes its size when it is shown
  }

  void Fill(uint32_t rows) {
    for (uint32_t r = 0; r < rows; ++r) {
      for (int ch = 0; ch < Channels; ++ch) store.voltsRow(r)[ch] = float(r) * 0.25f - float(ch);
    }
    store.cycleCount = rows;
    adapter->AppendWaveRows(rows);
    chart1->replot();
  }
  // The pointer over the plot at window position x (one per cycle), mid-height.
  void MoveTo(double x) {
    const QPointF at(chart1->xAxis->coordToPixel(x), chart1->yAxis->coordToPixel(0.0));
    QMouseEvent move(QEvent::MouseMove, at, chart1->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart1, &move);
  }
  QLabel* Readout() const { return adapter->readout().label(); }

  QWidget window;
  SampleStore store{5000};
  QCustomPlot* chart1;
  WaveWidgets widgets;
  std::unique_ptr<WaveChartAdapter> adapter;
};

TEST_F(WaveChartExtrasTest, ColourKeyShowsEachTracesOwnColour) {
  for (int ch = 0; ch < Channels; ++ch) {
    const QColor trace = chart1->graph(ch)->pen().color();
    QCheckBox* check = widgets.traceChecks[ch];
    const QImage swatch = check->icon().pixmap(check->iconSize()).toImage();
    ASSERT_FALSE(swatch.isNull()) << "AN" << ch + 1;
    EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), trace) << "AN" << ch + 1;
    EXPECT_EQ(check->palette().color(QPalette::WindowText), trace) << "AN" << ch + 1;
  }
}

TEST_F(WaveChartExtrasTest, ReadoutNamesTheCycleUnderThePointer) {
  Fill(2990);  // the chart shows the page from 2500 of division 50: rows 2500..2989
  ASSERT_EQ(adapter->waveStart(), 2500u);
  const auto before = chart1->graph(0)->data()->size();
  const QCPRange xRange = chart1->xAxis->range(), yRange = chart1->yAxis->range();

  MoveTo(40.0);
  ASSERT_TRUE(Readout()->isVisibleTo(chart1));
  EXPECT_EQ(Readout()->text(),
            "Sample 2540 (L00002541)\nAN1  635.000000\nAN2  634.000000\nAN3  633.000000\n"
            "AN4  632.000000\nAN5  631.000000\nAN6  630.000000\nAN7  629.000000\n"
            "AN8  628.000000");
  MoveTo(489.2);
  EXPECT_TRUE(Readout()->text().startsWith("Sample 2989 (L00002990)\nAN1  747.250000\n"));

  // Only a label: series and axes as they were.
  EXPECT_EQ(chart1->graph(0)->data()->size(), before);
  EXPECT_EQ(chart1->xAxis->range(), xRange);
  EXPECT_EQ(chart1->yAxis->range(), yRange);

  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(chart1, &leave);
  EXPECT_FALSE(Readout()->isVisibleTo(chart1));
}

TEST_F(WaveChartExtrasTest, NoReadoutWhereNoCycleIsPlotted) {
  Fill(100);  // points 0..99 of a window of 500
  MoveTo(99.0);
  EXPECT_TRUE(Readout()->isVisibleTo(chart1));
  MoveTo(300.0);
  EXPECT_FALSE(Readout()->isVisibleTo(chart1));
  // Outside the plot (on the axis titles) neither.
  QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), chart1->mapToGlobal(QPointF(2, 2)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(chart1, &move);
  EXPECT_FALSE(Readout()->isVisibleTo(chart1));
}

}  // namespace
}  // namespace trelvan
