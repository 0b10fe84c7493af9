// The wheel and the paging keys over the data table move the page as the
// scroll bar does, with the bar in step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>
#include <memory>

#include "views/qt/table_view_adapter.h"

namespace trelvan {
namespace {

class TableScrollInputTest : public testing::Test {
 protected:
  TableScrollInputTest() {
    widgets.richEdit2 = new QPlainTextEdit(&window);
    widgets.richEdit2->setGeometry(1, 26, 672, 432);
    widgets.scrollBar1 = new QScrollBar(&window);
    widgets.scrollBar1->setGeometry(679, 26, 17, 431);
    adapter = std::make_unique<TableViewAdapter>(store, stats, widgets);
    window.resize(700, 470);
    window.show();
    for (uint32_t r = 0; r < 100; ++r) {
      for (int ch = 0; ch < Channels; ++ch) store.voltsRow(r)[ch] = 0.0f;
    }
    store.cycleCount = 100;
    adapter->ShowNewestRows(100);  // rows 73..99 shown, the bar at 99
  }

  // The 1-based row number on the first line of the table.
  int FirstRow() const {
    return widgets.richEdit2->document()->firstBlock().text().mid(1, 8).toInt();
  }
  void Wheel(int angle) {
    QWidget* viewport = widgets.richEdit2->viewport();
    const QPointF at(100, 100);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
  }
  void Key(Qt::Key key) { QTest::keyClick(widgets.richEdit2, key); }

  QWidget window;
  TableWidgets widgets;
  SampleStore store{200};
  std::array<ChannelStats, Channels> stats{};
  std::unique_ptr<TableViewAdapter> adapter;
};

TEST_F(TableScrollInputTest, WheelMovesThreeRowsANotchLikeTheBar) {
  ASSERT_EQ(QApplication::wheelScrollLines(), 3);
  ASSERT_EQ(FirstRow(), 74);
  Wheel(120);  // one notch up: earlier rows
  EXPECT_EQ(widgets.scrollBar1->value(), 96);
  EXPECT_EQ(FirstRow(), 71);
  Wheel(2 * 120);
  EXPECT_EQ(widgets.scrollBar1->value(), 90);
  EXPECT_EQ(FirstRow(), 65);
  Wheel(60);  // half a notch of a fine wheel waits for its other half
  EXPECT_EQ(FirstRow(), 65);
  Wheel(60);
  EXPECT_EQ(FirstRow(), 62);
  Wheel(-120);  // down
  EXPECT_EQ(widgets.scrollBar1->value(), 90);
  EXPECT_EQ(FirstRow(), 65);
  Wheel(-100 * 120);  // far past the end: the last page, the bar at its maximum
  EXPECT_EQ(widgets.scrollBar1->value(), 99);
  EXPECT_EQ(FirstRow(), 74);
  EXPECT_EQ(widgets.richEdit2->document()->blockCount(), 28);  // 27 lines and the empty last one
}

TEST_F(TableScrollInputTest, PagingKeysOverTheTable) {
  Key(Qt::Key_PageUp);  // the bar's large change: 16 rows
  EXPECT_EQ(widgets.scrollBar1->value(), 83);
  EXPECT_EQ(FirstRow(), 58);
  Key(Qt::Key_Home);
  EXPECT_EQ(widgets.scrollBar1->value(), 0);
  EXPECT_EQ(FirstRow(), 1);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(widgets.scrollBar1->value(), 16);
  EXPECT_EQ(FirstRow(), 17);
  Key(Qt::Key_End);
  EXPECT_EQ(widgets.scrollBar1->value(), 99);
  EXPECT_EQ(FirstRow(), 74);
}

TEST_F(TableScrollInputTest, NothingToScrollWithOnePage) {
  store.cycleCount = 0;
  adapter->ResetTableView();
  store.cycleCount = 20;
  adapter->ShowNewestRows(20);
  Wheel(120);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(widgets.scrollBar1->value(), 0);
  EXPECT_EQ(FirstRow(), 1);
  EXPECT_EQ(widgets.richEdit2->document()->blockCount(), 21);
}

}  // namespace
}  // namespace trelvan
