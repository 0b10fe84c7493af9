#include "app/form2.h"

#include <qcustomplot.h>

namespace trelvan {

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
  setObjectName("Form2");
  setWindowTitle("Form2");
  resize(1037, 564);
  Chart1 = new QCustomPlot(this);
  Chart1->setObjectName("Chart1");
  Chart1->setGeometry(0, 0, 905, 553);
  for (int i = 0; i < 8; ++i) Chart1->addGraph();
  Chart1->yAxis->setRange(-10, 10);
  Chart1->yAxis->setLabel("Vol");
  Chart1->xAxis2->setVisible(false);
  Chart1->yAxis2->setVisible(false);
}

}  // namespace trelvan
