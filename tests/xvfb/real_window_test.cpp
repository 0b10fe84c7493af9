// The real window on the simulated module in a real X server: connect,
// sample for a second at 100 us, stop, then grab the window and check the
// picture. The PNG is kept as a test artefact (not committed).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <qcustomplot.h>
#include <cstdlib>
#include <vector>

#include "app/main_form.h"
#include "app/parts/mnemonics.h"
#include "app/qt_dialogs.h"
#include "device/linked/linked_device_library.h"
#include "kavrel_sim.h"

namespace trelvan {
namespace {

// Pixels of a region within a small distance of one of the colours.
int PixelsNear(const QImage& image, const QRect& region, const std::vector<QColor>& colours) {
  int count = 0;
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) {
      const QColor p = image.pixelColor(x, y);
      for (const QColor& c : colours) {
        if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) +
                std::abs(p.blue() - c.blue()) < 40) {
          ++count;
          break;
        }
      }
    }
  }
  return count;
}

// Share of pixels that differ from the most common colour of a region.
double DrawnShare(const QImage& image, const QRect& region) {
  const QRgb background = image.pixel(region.topLeft());
  int drawn = 0;
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) drawn += image.pixel(x, y) != background;
  }
  return double(drawn) / (region.width() * region.height());
}

TEST(RealWindow, SamplesOnTheSimulatedModuleAndDrawsTheChart) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  KavrelSim_Reset();
  LinkedDeviceLibrary device;
  QtDialogs dialogs;
  TMainForm form(device, dialogs);
  dialogs.SetParent(&form);
  form.FormCreate();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

  form.Button7->click();
  ASSERT_EQ(form.windowTitle().left(8), "Trelvan<");
  form.Edit1->setText("100");
  form.ComboBox6->setCurrentIndex(0);  // "US"
  form.Button2->click();
  form.Button1->click();
  ASSERT_EQ(PlainCaption(form.Button1->text()), "StopSample");
  QTest::qWait(1000);
  form.Button1->click();
  EXPECT_EQ(PlainCaption(form.Button1->text()), "StartSample");
  EXPECT_GT(form.acq.store.cycleCount, 1000u);  // about 8,000 at 10,000 a second

  const QString dir = QDir(QCoreApplication::applicationDirPath()).filePath("artifacts");
  QDir().mkpath(dir);
  // The Data page: the table shows the newest page of rows.
  QTest::qWait(100);
  const QImage data = form.screen()->grabWindow(form.winId()).toImage();
  data.save(dir + "/real_window_data.png");
  EXPECT_GT(DrawnShare(data, QRect(10, 60, 600, 400)), 0.03) << "the table rows are drawn";

  form.PageControl1->setCurrentIndex(1);
  form.Button13->click();  // Home: a full window of 500 cycles, whatever the last page held
  QTest::qWait(300);
  const QImage shot = form.screen()->grabWindow(form.winId()).toImage();
  shot.save(dir + "/real_window.png");
  ASSERT_EQ(shot.size(), QSize(1189, 611));
  EXPECT_GT(DrawnShare(shot, QRect(0, 0, 1189, 611)), 0.05) << "the window is not blank";
  // The traces: every graph holds the window's points, and the plot area
  // shows their colours (eight thin antialiased lines across it: about 1,300
  // pixels keep a pen colour exactly enough; a blank chart has none).
  std::vector<QColor> pens;
  for (int g = 0; g < 8; ++g) {
    EXPECT_GT(form.Chart1->graph(g)->dataCount(), 0) << "graph " << g;
    pens.push_back(form.Chart1->graph(g)->pen().color());
  }
  EXPECT_GT(PixelsNear(shot, QRect(70, 40, 900, 390), pens), 600) << "the traces are drawn";
  form.close();
}


// The chart's additions in the real window: the colour key beside the
// chart, the readout under the pointer and the pop-up menu. The screen
// grabs are kept as test artefacts.
TEST(RealWindow, ChartReadoutMenuAndColourKey) {
  KavrelSim_Reset();
  LinkedDeviceLibrary device;
  QtDialogs dialogs;
  TMainForm form(device, dialogs);
  dialogs.SetParent(&form);
  form.FormCreate();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.Button7->click();
  form.Edit1->setText("5");
  form.ComboBox6->setCurrentIndex(1);  // "MS": the signals read well at 5 ms
  form.Button2->click();
  form.Button1->click();
  QTest::qWait(1500);
  form.Button1->click();
  form.PageControl1->setCurrentIndex(1);
  form.Button13->click();
  QTest::qWait(200);
  ASSERT_GT(form.Chart1->graph(0)->dataCount(), 100);

  const QString dir = QDir(QCoreApplication::applicationDirPath()).filePath("artifacts");
  QDir().mkpath(dir);
  QCustomPlot* chart = form.Chart1;
  const QPoint over(int(chart->xAxis->coordToPixel(60)), chart->height() / 2);
  QTest::mouseMove(chart, over);
  QTest::qWait(200);
  const QLabel* readout = chart->findChild<QLabel*>("WaveReadout");
  ASSERT_NE(readout, nullptr);
  EXPECT_TRUE(readout->isVisible());
  EXPECT_TRUE(readout->text().startsWith("Sample 60 (L00000061)\nAN1 ")) << readout->text().toStdString();
  const QImage hovered = form.screen()->grabWindow(form.winId()).toImage();
  hovered.save(dir + "/chart_readout.png");
  // The key: the middle of each check box's swatch has its trace's colour.
  for (int ch = 0; ch < 8; ++ch) {
    QCheckBox* check = form.traceChecks[ch];
    const QImage box = check->grab().toImage();
    EXPECT_GT(PixelsNear(box, box.rect(), {form.Chart1->graph(ch)->pen().color()}), 30) << "AN" << ch + 1;
  }

  emit chart->customContextMenuRequested(over);
  QTest::qWait(300);
  QMenu* menu = chart->findChild<QMenu*>("ChartMenu");
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  const QImage withMenu = form.screen()->grabWindow(0).toImage();
  withMenu.save(dir + "/chart_menu.png");
  menu->close();
  form.close();
}

}  // namespace
}  // namespace trelvan

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
