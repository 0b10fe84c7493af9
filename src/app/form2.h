#pragma once
// The second chart window: made at start-up, never shown, never written.

#include <QWidget>

class QCustomPlot;

namespace trelvan {

class TForm2 : public QWidget {
 public:
  explicit TForm2(QWidget* parent = nullptr);
  QCustomPlot* Chart1;
};

}  // namespace trelvan
