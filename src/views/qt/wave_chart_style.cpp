#include "views/qt/wave_chart_style.h"

#include <QColor>
#include <QFont>
#include <QLocale>
#include <QPen>
#include <array>
#include <qcustomplot.h>

#include "acquisition/sample_store.h"

namespace trelvan {
namespace {

const std::array<QColor, Channels> TraceColours = {
    QColor(255, 0, 0),   QColor(0, 128, 0),   QColor(255, 128, 0),   QColor(0, 0, 255),
    QColor(255, 0, 255), QColor(0, 128, 128), QColor(128, 128, 128), QColor(128, 128, 0)};

constexpr int TitlePixels = 16;
constexpr int SubTicksPerLabel = 3;

void StyleAxis(QCPAxis& axis, const QString& title) {
  auto ticker = QSharedPointer<QCPAxisTickerText>::create();
  ticker->setSubTickCount(SubTicksPerLabel);
  axis.setTicker(ticker);
  axis.setLabel(title);
  QFont font = axis.labelFont();
  font.setPixelSize(TitlePixels);
  axis.setLabelFont(font);
}

}  // namespace

void StyleWaveChart(QCustomPlot& chart1) {
  chart1.setLocale(QLocale::c());
  chart1.setInteractions(QCP::Interactions());
  while (chart1.graphCount() < Channels) chart1.addGraph();
  for (int ch = 0; ch < Channels; ++ch) {
    QCPGraph* graph = chart1.graph(ch);
    graph->setName(QStringLiteral("AN%1").arg(ch + 1));
    graph->setLineStyle(QCPGraph::lsLine);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    graph->setPen(QPen(TraceColours[ch]));
    graph->setAdaptiveSampling(true);
  }

  StyleAxis(*chart1.xAxis, QStringLiteral("Samples"));
  chart1.xAxis->setTickLabelRotation(-90);  // positive turns clockwise: -90 reads upwards

  StyleAxis(*chart1.yAxis, QStringLiteral("Volts"));
  chart1.yAxis->setTickLength(0, 0);
  chart1.yAxis->setSubTickLength(1, 0);

  chart1.xAxis2->setVisible(false);
  chart1.yAxis2->setVisible(false);
}

}  // namespace trelvan
