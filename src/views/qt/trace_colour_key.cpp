#include "views/qt/trace_colour_key.h"

#include <QPainter>
#include <QPixmap>
#include <qcustomplot.h>

namespace trelvan {

namespace {

constexpr int SwatchPixels = 10;

QIcon Swatch(const QColor& colour) {
  QPixmap pixmap(SwatchPixels, SwatchPixels);
  pixmap.fill(colour);
  QPainter painter(&pixmap);
  painter.setPen(colour.darker(150));
  painter.drawRect(0, 0, SwatchPixels - 1, SwatchPixels - 1);
  return QIcon(pixmap);
}

}  // namespace

void ShowTraceColours(const QCustomPlot& chart1, const std::array<QCheckBox*, Channels>& checks) {
  for (int ch = 0; ch < Channels && ch < chart1.graphCount(); ++ch) {
    QCheckBox* check = checks[ch];
    if (!check) continue;
    const QColor colour = chart1.graph(ch)->pen().color();
    check->setIcon(Swatch(colour));
    check->setIconSize(QSize(SwatchPixels, SwatchPixels));
    QPalette palette = check->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    check->setPalette(palette);
  }
}

}  // namespace trelvan
