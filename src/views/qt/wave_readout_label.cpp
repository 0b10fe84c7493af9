#include "views/qt/wave_readout_label.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMouseEvent>
#include <qcustomplot.h>

#include "views/wave_readout.h"

namespace trelvan {

namespace {
constexpr int PointerGap = 14;  // pixels between the pointer and the label
}

WaveReadoutLabel::WaveReadoutLabel(QCustomPlot* chart1, const SampleStore& store,
                                   std::function<uint32_t()> waveStart)
    : QObject(chart1), chart1_(chart1), store_(store), waveStart_(std::move(waveStart)) {
  label_ = new QLabel(chart1_);
  label_->setObjectName("WaveReadout");
  label_->setTextFormat(Qt::PlainText);
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(11);
  label_->setFont(font);
  label_->setStyleSheet(
      "QLabel { background: rgba(255, 255, 225, 230); color: black; border: 1px solid gray; "
      "padding: 2px; }");
  label_->hide();
  chart1_->setMouseTracking(true);
  chart1_->installEventFilter(this);
  // New rows or another window under a still pointer.
  connect(chart1_, &QCustomPlot::afterReplot, this, [this] {
    if (over_) ShowAt(pointer_);
  });
}

bool WaveReadoutLabel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == chart1_) {
    if (event->type() == QEvent::MouseMove) {
      ShowAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (event->type() == QEvent::Leave || event->type() == QEvent::Hide) {
      Hide();
    }
  }
  return QObject::eventFilter(watched, event);
}

void WaveReadoutLabel::ShowAt(QPoint pointer) {
  pointer_ = pointer;
  over_ = true;
  const QCPGraph* graph = chart1_->graphCount() > 0 ? chart1_->graph(0) : nullptr;
  if (!graph || !chart1_->axisRect()->rect().contains(pointer)) return Hide();
  const double x = chart1_->xAxis->pixelToCoord(pointer.x());
  const auto row = WaveReadoutRow(x, waveStart_(), static_cast<uint32_t>(graph->dataCount()),
                                  store_.cycleCount);
  if (!row) {
    label_->hide();
    return;
  }
  label_->setText(QString::fromLatin1(WaveReadoutText(store_, *row)));
  label_->adjustSize();
  // Beside the pointer, turned to the other side where the chart ends.
  QPoint at = pointer + QPoint(PointerGap, PointerGap);
  if (at.x() + label_->width() > chart1_->width()) at.setX(pointer.x() - PointerGap - label_->width());
  if (at.y() + label_->height() > chart1_->height()) at.setY(pointer.y() - PointerGap - label_->height());
  label_->move(at);
  label_->show();
  label_->raise();
}

void WaveReadoutLabel::Hide() {
  over_ = false;
  label_->hide();
}

}  // namespace trelvan
