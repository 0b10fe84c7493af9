#include "app/chart_image_menu.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <qcustomplot.h>

#include "app/parts/dialogs.h"
#include "device/log_colours.h"

namespace trelvan {

namespace {
const QStringList ImageFilters = {"PNG image (*.png)", "PDF document (*.pdf)"};
const char* const ImageExtensions[] = {".png", ".pdf"};
}  // namespace

ChartImageMenu::ChartImageMenu(QCustomPlot* chart1, Dialogs& dialogs, LogFunction log,
                               ErrorHandler onError)
    : QObject(chart1),
      chart1_(chart1),
      dialogs_(dialogs),
      log_(std::move(log)),
      onError_(std::move(onError)) {
  menu_ = new QMenu(chart1_);
  menu_->setObjectName("ChartMenu");
  QAction* save = menu_->addAction("&Save image...");
  save->setObjectName("ChartSaveImage");
  QAction* copy = menu_->addAction("&Copy image");
  copy->setObjectName("ChartCopyImage");
  connect(save, &QAction::triggered, this, [this] { RunGuarded(onError_, [this] { SaveImage(); }); });
  connect(copy, &QAction::triggered, this, [this] { RunGuarded(onError_, [this] { CopyImage(); }); });
  chart1_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(chart1_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu_->popup(chart1_->mapToGlobal(at)); });
}

QString ChartImageMenu::ImageFileName(const QString& chosen, int filterIndex) {
  const QString extension = QString::fromLatin1(ImageExtensions[filterIndex == 1 ? 1 : 0]);
  return chosen.endsWith(extension, Qt::CaseInsensitive) ? chosen : chosen + extension;
}

void ChartImageMenu::SaveImage() {
  const FileChoice choice = dialogs_.SaveFile("Save image", ImageFilters, 0, true);
  if (choice.path.isEmpty()) return;
  const QString path = ImageFileName(choice.path, choice.filterIndex);
  if (path != choice.path && QFileInfo::exists(path) &&
      !dialogs_.Confirm(path + " already exists.\nDo you want to replace it?")) {
    return;
  }
  // Width and height 0: the chart's size on the screen.
  const bool saved = choice.filterIndex == 1 ? chart1_->savePdf(path, 0, 0)
                                             : chart1_->savePng(path, 0, 0);
  const std::string name = path.toStdString();
  if (saved) {
    log_("Image saved to " + name, LogBlue);
  } else {
    log_("Fail to save image to " + name, LogRed);
  }
}

void ChartImageMenu::CopyImage() { QGuiApplication::clipboard()->setPixmap(chart1_->toPixmap()); }

}  // namespace trelvan
