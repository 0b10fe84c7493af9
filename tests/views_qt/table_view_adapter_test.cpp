// The data table on real widgets, offscreen.
#include "views/qt/table_view_adapter.h"

#include <gtest/gtest.h>

#include <QIntValidator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <memory>

#include "views/table_row_text.h"

namespace trelvan {
namespace {

class TableAdapterTest : public testing::Test {
 protected:
  TableAdapterTest() {
    pages = new QTabWidget(&window);
    auto* dataPage = new QWidget;
    waveformPage = new QWidget;
    pages->addTab(dataPage, "Data");
    pages->addTab(waveformPage, "WaveForm");
    pages->setGeometry(0, 0, 760, 560);
    widgets.pageControl1 = pages;
    widgets.waveformPage = waveformPage;
    widgets.richEdit2 = new QPlainTextEdit(dataPage);
    widgets.richEdit2->setGeometry(1, 26, 672, 432);
    widgets.scrollBar1 = new QScrollBar(dataPage);
    widgets.scrollBar1->setGeometry(679, 26, 17, 431);
    widgets.button8 = new QPushButton("Switch to Hex", &window);
    for (auto* column : {&widgets.current, &widgets.maxVol, &widgets.minVol, &widgets.pkpk}) {
      for (QLineEdit*& box : *column) {
        box = new QLineEdit(&window);
        box->setMaxLength(9);  // as a typed box would have it
        box->setValidator(new QIntValidator(box));
      }
    }
    adapter = std::make_unique<TableViewAdapter>(store, channelStats, widgets);
    window.resize(800, 600);
    window.show();
  }

  void Read(uint32_t n, float an1 = 0.0f) {
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t r = store.cycleCount++;
      for (int ch = 0; ch < Channels; ++ch) {
        store.voltsRow(r)[ch] = static_cast<float>(r) / 1000.0f + static_cast<float>(ch);
        store.rawRow(r)[ch] = static_cast<int16_t>(r);
      }
      if (an1 != 0.0f) store.voltsRow(r)[0] = an1;
    }
    adapter->ShowNewestRows(n);
    adapter->ShowChannelStats();
  }

  QTextDocument* document() const { return widgets.richEdit2->document(); }
  QString Line(int k) const { return document()->findBlockByNumber(k).text(); }
  QString FirstLabel() const { return Line(0).left(9); }
  QString RowText(uint32_t r, bool hex = false) const {
    return QString::fromStdString(TableRowText(store, r, hex));
  }

  // Clicks the left button at the middle of line k of the table.
  void ClickLine(int k) {
    QTextCursor at(document()->findBlockByNumber(k));
    const QRect rect = widgets.richEdit2->cursorRect(at);
    QTest::mouseClick(widgets.richEdit2->viewport(), Qt::LeftButton, {}, QPoint(40, rect.center().y()));
  }

  void ExpectHighlightOnLine(int k) {
    const QTextCursor cursor = widgets.richEdit2->textCursor();
    EXPECT_EQ(cursor.selectionStart(), k * 111);
    EXPECT_EQ(cursor.selectionEnd(), (k + 1) * 111);
    EXPECT_EQ(cursor.selectedText(), Line(k) + QChar(QChar::ParagraphSeparator));
  }

  QWidget window;
  QTabWidget* pages;
  QWidget* waveformPage;
  TableWidgets widgets;
  SampleStore store{300};
  std::array<ChannelStats, Channels> channelStats{};
  std::unique_ptr<TableViewAdapter> adapter;
};

TEST_F(TableAdapterTest, ConfiguresTheWidgets) {
  QPlainTextEdit* edit = widgets.richEdit2;
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(edit->font().pixelSize(), 10);  // a cell height of 11 px
  EXPECT_TRUE(QFontInfo(edit->font()).fixedPitch());
  EXPECT_EQ(widgets.scrollBar1->minimum(), 0);
  EXPECT_EQ(widgets.scrollBar1->maximum(), 0);
  EXPECT_EQ(widgets.scrollBar1->pageStep(), 16);
  EXPECT_EQ(widgets.scrollBar1->singleStep(), 1);
}

TEST_F(TableAdapterTest, ProgramsOwnPositionChangeRaisesAHarmlessScrollChange) {
  QSignalSpy changes(widgets.scrollBar1, &QScrollBar::valueChanged);
  Read(10);
  Read(10);
  Read(10);
  ASSERT_EQ(changes.count(), 1) << "the program's move to 29 raised ScrollBar1Change";
  EXPECT_EQ(document()->blockCount(), 28) << "27 lines and the empty one after the last break";
  EXPECT_EQ(FirstLabel(), "L00000004");
  EXPECT_EQ(Line(26), RowText(29));
  Read(5);
  EXPECT_EQ(FirstLabel(), "L00000009");
  EXPECT_EQ(widgets.scrollBar1->value(), 34);
  EXPECT_EQ(adapter->table().tableScrollPos, 34u);

  // The user's moves: an arrow (1 row) and the track (16 rows).
  widgets.scrollBar1->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(FirstLabel(), "L00000008");
  widgets.scrollBar1->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(FirstLabel(), "L00000001");  // 7 - 16 clamps at the first row
  EXPECT_EQ(document()->blockCount(), 28);
}

TEST_F(TableAdapterTest, ResetLowersTheMaximumWithoutRenderingAgain) {
  Read(100);
  widgets.button8->click();
  ASSERT_EQ(widgets.button8->text(), "Switch to TXT");
  QSignalSpy changes(widgets.scrollBar1, &QScrollBar::valueChanged);
  store.cycleCount = 0;
  adapter->ResetTableView();
  adapter->ClearStatsDisplay();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_TRUE(document()->isEmpty());
  EXPECT_EQ(widgets.scrollBar1->maximum(), 0);
  EXPECT_EQ(widgets.button8->text(), "Switch to HEX");
  EXPECT_EQ(widgets.current[0]->text(), "");
}

TEST_F(TableAdapterTest, ClickOnALineShowsItsRowAndHighlightsIt) {
  Read(100);
  widgets.scrollBar1->setValue(0);  // rows 0..26
  ClickLine(5);
  EXPECT_EQ(widgets.current[0]->text(), " 0.005000   ");
  EXPECT_EQ(widgets.current[7]->text(), " 7.005000   ");
  ExpectHighlightOnLine(5);
}

TEST_F(TableAdapterTest, ClickBelowTheLastLineChangesNothing) {
  Read(10);
  const QString current = widgets.current[0]->text();
  QTest::mouseClick(widgets.richEdit2->viewport(), Qt::LeftButton, {},
                    QPoint(40, widgets.richEdit2->viewport()->height() - 4));
  EXPECT_EQ(widgets.richEdit2->textCursor().blockNumber(), 10) << "the caret is on the empty last line";
  EXPECT_EQ(widgets.current[0]->text(), current);
  EXPECT_FALSE(widgets.richEdit2->textCursor().hasSelection());
}

TEST_F(TableAdapterTest, HighlightOfTheLastLineStaysInsideTheDocument) {
  Read(27);
  ExpectHighlightOnLine(26);
  EXPECT_EQ(document()->characterCount(), 27 * 111 + 1);
  widgets.button8->click();  // hex rows, re-rendered and highlighted again
  EXPECT_EQ(Line(26), RowText(26, true));
  ExpectHighlightOnLine(26);
}

TEST_F(TableAdapterTest, WideRowsKeepElevenPositionsPerLineForHighlights) {
  Read(26);
  Read(1, -10.0f);
  ASSERT_EQ(Line(26).size(), 111);
  const QTextCursor cursor = widgets.richEdit2->textCursor();
  EXPECT_EQ(cursor.selectionStart(), 26 * 111);
  EXPECT_EQ(cursor.selectionEnd(), 27 * 111);
  EXPECT_EQ(widgets.current[0]->text(), "-10.000000   ");
  EXPECT_EQ(widgets.current[0]->cursorPosition(), 0) << "the sign stays in view";
}

TEST_F(TableAdapterTest, WaveformPageActiveUpdatesRowsButHighlightsNothing) {
  pages->setCurrentWidget(waveformPage);
  Read(40);
  EXPECT_EQ(FirstLabel(), "L00000014");
  EXPECT_FALSE(widgets.richEdit2->textCursor().hasSelection());
}

TEST_F(TableAdapterTest, StatisticsBoxesShowWholeTextsFromTheirStart) {
  channelStats[2] = {12.5f, -10.0f};
  Read(1);
  EXPECT_EQ(widgets.maxVol[0]->text(), "-20.000000");
  EXPECT_EQ(widgets.minVol[0]->text(), " 20.000000");
  EXPECT_EQ(widgets.pkpk[0]->text(), "-40.000000");
  EXPECT_EQ(widgets.pkpk[2]->text(), " 22.500000");
  for (QLineEdit* box : {widgets.pkpk[0], widgets.current[3]}) {
    EXPECT_EQ(box->cursorPosition(), 0);
    EXPECT_TRUE(box->isReadOnly());
  }
}

}  // namespace
}  // namespace trelvan
