#pragma once
// The chart's pop-up menu: "Save image..." writes the chart as it is shown,
// at its size, as a PNG or PDF file (QCustomPlot's own export), and "Copy
// image" puts the same picture on the clipboard. Neither changes the chart.

#include <QObject>
#include <functional>
#include <string>

#include "views/qt/handler_guard.h"

class QCustomPlot;
class QMenu;
class QString;

namespace trelvan {

class Dialogs;

class ChartImageMenu : public QObject {
  Q_OBJECT

 public:
  using LogFunction = std::function<void(const std::string&, uint32_t)>;

  // What escapes a menu entry goes to `onError`.
  ChartImageMenu(QCustomPlot* chart1, Dialogs& dialogs, LogFunction log, ErrorHandler onError);

  QMenu* menu() const { return menu_; }

  void SaveImage();  // "Save image..."
  void CopyImage();  // "Copy image"

  // The chosen name with the chosen format's extension: appended unless the
  // name already ends in it (in any case).
  static QString ImageFileName(const QString& chosen, int filterIndex);

 private:
  QCustomPlot* chart1_;
  Dialogs& dialogs_;
  LogFunction log_;
  ErrorHandler onError_;
  QMenu* menu_;
};

}  // namespace trelvan
