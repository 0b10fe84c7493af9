// The waveform chart through the real QCustomPlot, offscreen: what the axes
// draw, what the graphs hold, the controls wired to the logic.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QWidget>
#include <clocale>
#include <qcustomplot.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "device/log_colours.h"
#include "views/qt/wave_chart_adapter.h"

namespace trelvan::test {
namespace {

struct Logged {
  std::string text;
  uint32_t colour;
  bool operator==(const Logged&) const = default;
};

class WaveChartAdapterTest : public ::testing::Test {
 protected:
  static constexpr uint32_t Capacity = 20'000;
  static float Volts(uint32_t row, int ch) { return float(row % 1000) * 0.01f - float(ch); }

  WaveChartAdapterTest() : store(Capacity) {
    for (uint32_t r = 0; r < Capacity; ++r)
      for (int ch = 0; ch < Channels; ++ch) store.voltsRow(r)[ch] = Volts(r, ch);
    chart1 = new QCustomPlot(&window);
    chart1->resize(1017, 463);
    for (int i = 0; i < Channels; ++i) chart1->addGraph();
    WaveWidgets w;
    w.chart1 = chart1;
    w.edit13 = edit13 = new QLineEdit(QStringLiteral("0"), &window);
    QPushButton** buttons[] = {&w.button11, &w.button12, &w.button13, &w.button14, &w.button15,
                               &w.button16, &w.button17, &w.button18, &w.button19, &w.button21,
                               &w.button22, &w.button23, &w.button24};
    for (QPushButton** b : buttons) *b = new QPushButton(&window);
    for (auto& check : w.traceChecks) {
      check = new QCheckBox(&window);
      check->setChecked(true);
    }
    widgets = w;
    adapter = std::make_unique<WaveChartAdapter>(
        store, w, [this](const std::string& t, uint32_t c) { log.push_back({t, c}); });
  }

  // The labels the axis draws after a replot, in the order of their values.
  static std::vector<std::string> Drawn(QCPAxis* axis) {
    std::vector<std::string> texts;
    for (const QString& t : axis->tickVectorLabels()) texts.push_back(t.toStdString());
    return texts;
  }

  // Every graph holds exactly the rows start .. start + count - 1 at X 0, 1, ...
  void ExpectGraphsHold(uint32_t start, uint32_t count) {
    for (int ch = 0; ch < Channels; ++ch) {
      const auto data = chart1->graph(ch)->data();
      ASSERT_EQ(data->size(), int(count)) << "AN" << ch + 1;
      uint32_t i = 0;
      for (auto it = data->constBegin(); it != data->constEnd(); ++it, ++i) {
        ASSERT_EQ(it->key, double(i));
        ASSERT_EQ(it->value, double(Volts(start + i, ch))) << "AN" << ch + 1 << " point " << i;
      }
    }
  }

  void Read(uint32_t rows) {
    store.cycleCount += rows;
    adapter->AppendWaveRows(rows);
  }

  SampleStore store;
  QWidget window;
  QCustomPlot* chart1;
  QLineEdit* edit13;
  WaveWidgets widgets;
  std::vector<Logged> log;
  std::unique_ptr<WaveChartAdapter> adapter;
};

TEST_F(WaveChartAdapterTest, ChartIsStyledAsDesigned) {
  std::set<QRgb> colours;
  for (int ch = 0; ch < Channels; ++ch) {
    QCPGraph* g = chart1->graph(ch);
    EXPECT_EQ(g->name(), QStringLiteral("AN%1").arg(ch + 1));
    EXPECT_EQ(g->scatterStyle().shape(), QCPScatterStyle::ssNone);
    EXPECT_EQ(g->lineStyle(), QCPGraph::lsLine);
    EXPECT_TRUE(g->adaptiveSampling());
    colours.insert(g->pen().color().rgb());
  }
  EXPECT_EQ(colours.size(), 8u);
  EXPECT_EQ(chart1->xAxis->tickLabelRotation(), -90.0);
  EXPECT_EQ(chart1->xAxis->label(), "Samples");
  EXPECT_EQ(chart1->yAxis->label(), "Volts");
  EXPECT_EQ(chart1->xAxis->labelFont().pixelSize(), 16);
  EXPECT_EQ(chart1->yAxis->labelFont().pixelSize(), 16);
  EXPECT_EQ(chart1->yAxis->tickLengthIn() + chart1->yAxis->tickLengthOut(), 0);
  EXPECT_EQ(chart1->yAxis->subTickLengthIn() + chart1->yAxis->subTickLengthOut(), 1);
  EXPECT_GT(qSharedPointerDynamicCast<QCPAxisTickerText>(chart1->yAxis->ticker())->subTickCount(), 0);
  EXPECT_FALSE(chart1->xAxis2->visible());
  EXPECT_FALSE(chart1->yAxis2->visible());
  EXPECT_FALSE(chart1->interactions().testFlag(QCP::iRangeDrag));
  EXPECT_FALSE(chart1->interactions().testFlag(QCP::iRangeZoom));
}

TEST_F(WaveChartAdapterTest, AxesDrawExactlyTheElevenLabelItems) {
  chart1->replot();
  EXPECT_EQ(Drawn(chart1->xAxis), (std::vector<std::string>{"   0", "  50", " 100", " 150", " 200",
                                                             " 250", " 300", " 350", " 400",
                                                             " 450", " 500"}));
  EXPECT_EQ(Drawn(chart1->yAxis), (std::vector<std::string>{"-10", "-8", "-6", "-4", "-2", "0",
                                                             "2", "4", "6", "8", "10"}));
  EXPECT_EQ(chart1->yAxis->range(), QCPRange(-11, 11));

  store.cycleCount = 5000;
  edit13->setText("1200");
  widgets.button19->click();  // Go
  widgets.button11->click();  // Zoom In(X)
  widgets.button23->click();  // Move Up
  widgets.button21->click();  // Zoom In(Y)
  chart1->replot();
  EXPECT_EQ(Drawn(chart1->xAxis), (std::vector<std::string>{"1200", "1225", "1250", "1275", "1300",
                                                             "1325", "1350", "1375", "1400",
                                                             "1425", "1450"}));
  EXPECT_EQ(Drawn(chart1->yAxis),
            (std::vector<std::string>{"-6.000", "-5.000", "-4.000", "-3.000", "-2.000", "-1.000",
                                      " 0.000", " 1.000", " 2.000", " 3.000", " 4.000"}));
  EXPECT_EQ(chart1->xAxis->range(), QCPRange(0, 250));
  EXPECT_EQ(chart1->yAxis->range(), QCPRange(-6.5, 4.5));
  EXPECT_EQ(edit13->text(), "1200");
  EXPECT_TRUE(log.empty());
}

TEST_F(WaveChartAdapterTest, AxisTextsKeepThePointUnderACommaLocale) {
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  widgets.button21->click();
  widgets.button21->click();
  chart1->replot();
  QLocale::setDefault(before);
  std::setlocale(LC_ALL, "C");
  const auto drawn = Drawn(chart1->yAxis);
  ASSERT_EQ(drawn.size(), 11u);
  EXPECT_EQ(drawn.front(), "-2.500");
  EXPECT_EQ(drawn.back(), " 2.500");
}

TEST_F(WaveChartAdapterTest, GraphsHoldExactlyTheWindowsPoints) {
  Read(480);
  ExpectGraphsHold(0, 480);
  Read(30);  // overflows the 500-cycle window: page 500
  ExpectGraphsHold(500, 10);
  store.cycleCount = 1234;
  widgets.button14->click();  // End
  ExpectGraphsHold(1000, 234);
  widgets.button13->click();  // Home
  ExpectGraphsHold(0, 500);
  EXPECT_EQ(adapter->waveStart(), 0u);
  EXPECT_EQ(edit13->text(), "0");
}

TEST_F(WaveChartAdapterTest, AHiddenGraphKeepsReceivingPoints) {
  Read(100);
  widgets.traceChecks[4]->click();  // CheckBox16, AN5
  for (int ch = 0; ch < Channels; ++ch) EXPECT_EQ(chart1->graph(ch)->visible(), ch != 4);
  Read(250);
  EXPECT_EQ(chart1->graph(4)->dataCount(), 350);
  widgets.traceChecks[0]->click();  // AN1 hidden: its count still leads the appends
  Read(50);
  ExpectGraphsHold(0, 400);
  widgets.traceChecks[4]->click();
  widgets.traceChecks[0]->click();
  for (int ch = 0; ch < Channels; ++ch) EXPECT_TRUE(chart1->graph(ch)->visible());
}

TEST_F(WaveChartAdapterTest, RefusalsAreRedLinesAndGoReadsEdit13) {
  store.cycleCount = 1000;
  widgets.button16->click();  // Prev Page at 0
  edit13->setText("12x");
  widgets.button19->click();
  edit13->setText("-5");
  widgets.button19->click();
  edit13->setText("1001");
  widgets.button19->click();
  edit13->clear();
  widgets.button19->click();
  EXPECT_EQ(log, (std::vector<Logged>{{"This is a first page!", LogRed},
                                      {"Please input a number!", LogRed},
                                      {"Out of the size!", LogRed},
                                      {"Out of the size!", LogRed},
                                      {"Please input a number!", LogRed}}));
  EXPECT_EQ(adapter->waveStart(), 0u);
  EXPECT_EQ(edit13->text(), "");  // a refusal leaves the box as typed
}

TEST_F(WaveChartAdapterTest, ManyChangesDrawOnce) {
  window.show();
  QCoreApplication::processEvents();
  QSignalSpy replots(chart1, &QCustomPlot::afterReplot);
  for (int piece = 0; piece < 60; ++piece) Read(100);  // a load: 60 appends, many re-plots
  widgets.button24->click();
  EXPECT_EQ(replots.count(), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(replots.count(), 1);
  ExpectGraphsHold(5500, 500);
}

// While the chart is hidden (the other tab is shown) nothing is drawn; it
// draws once as it is shown, before it is painted.
TEST_F(WaveChartAdapterTest, AHiddenChartDrawsWhenShown) {
  window.show();
  chart1->hide();
  QCoreApplication::processEvents();
  QSignalSpy replots(chart1, &QCustomPlot::afterReplot);
  for (int piece = 0; piece < 60; ++piece) Read(100);
  QCoreApplication::processEvents();
  EXPECT_EQ(replots.count(), 0);
  chart1->show();
  EXPECT_EQ(replots.count(), 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(replots.count(), 1);
  ExpectGraphsHold(5500, 500);
}

}  // namespace
}  // namespace trelvan::test
