// Paging, clicks, the mode switch and the resets of the data table, on
// in-memory widgets.
#include "views/table_view.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "views/table_fakes.h"

namespace trelvan {
namespace {

using test::LabelsOfRows;

class DataTableTest : public testing::Test {
 protected:
  DataTableTest() { scrollBar.onChange = [this] { table.ScrollBar1Change(); }; }

  // Appends n rows as a read does (row r: AN1 = r / 1000 V, code r) and
  // hands them to the table.
  void Read(uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t r = store.cycleCount++;
      for (int ch = 0; ch < Channels; ++ch) {
        store.voltsRow(r)[ch] = static_cast<float>(r) / 1000.0f + static_cast<float>(ch);
        store.rawRow(r)[ch] = static_cast<int16_t>(r * 8 + ch);
      }
    }
    table.ShowNewestRows(n);
    table.ShowChannelStats();
  }

  // The store is emptied as a clear does it: cycleCount first, then the view.
  void ClearStore() {
    store.cycleCount = 0;
    table.ResetTableView();
    table.ClearStatsDisplay();
  }

  void MoveThumb(uint32_t position) { scrollBar.SetPosition(position); }

  void ExpectHighlightOnLine(uint32_t line) {
    EXPECT_TRUE(box.selected);
    EXPECT_EQ(box.selectionStart, line * 111);
    EXPECT_EQ(box.selectionLength, 111u);
  }

  std::string CurrentOfAn1() const { return stats.at(StatsColumn::Current, 0); }
  static std::string CurrentTextOfRow(uint32_t r) {
    char text[32];
    std::snprintf(text, sizeof text, "% 2.6f   ", static_cast<double>(static_cast<float>(r) / 1000.0f));
    return text;
  }

  SampleStore store{300};
  std::array<ChannelStats, Channels> channelStats{};
  test::FakeTextBox box;
  test::FakeScrollBar scrollBar;
  test::FakeStatsBoxes stats;
  test::FakeSurroundings surroundings;
  DataTable table{store, channelStats, {box, scrollBar, stats, surroundings}};
};

TEST_F(DataTableTest, ReadsOfTenTenTenAndFiveRows) {
  Read(10);
  EXPECT_EQ(box.labels(), LabelsOfRows(0, 9));
  ExpectHighlightOnLine(9);
  Read(10);
  EXPECT_EQ(box.labels(), LabelsOfRows(0, 19));
  EXPECT_EQ(box.clears, 0) << "rows that fit are appended";
  EXPECT_EQ(scrollBar.maximum, 0u);
  ExpectHighlightOnLine(19);

  Read(10);
  EXPECT_EQ(box.labels(), LabelsOfRows(3, 29));
  EXPECT_EQ(box.clears, 1);
  EXPECT_EQ(table.tableFirstRow, 3u);
  EXPECT_EQ(table.tableShownRows, 27u);
  EXPECT_EQ(scrollBar.maximum, 29u);
  EXPECT_EQ(scrollBar.position, 29u);
  EXPECT_EQ(table.tableScrollPos, 29u);
  ExpectHighlightOnLine(26);

  Read(5);
  EXPECT_EQ(box.labels(), LabelsOfRows(8, 34));
  EXPECT_EQ(box.clears, 2) << "the nested scroll change must not render again";
  EXPECT_EQ(scrollBar.position, 34u);
  EXPECT_EQ(CurrentOfAn1(), CurrentTextOfRow(34));
}

TEST_F(DataTableTest, OneReadOfHundredRowsShowsTheLastPage) {
  Read(100);
  EXPECT_EQ(box.labels(), LabelsOfRows(73, 99));
  EXPECT_EQ(box.clears, 1);
  EXPECT_EQ(box.appends, 1) << "a page goes to the box in one piece";
  EXPECT_EQ(scrollBar.maximum, 99u);
  EXPECT_EQ(scrollBar.position, 99u);
  ExpectHighlightOnLine(26);
  EXPECT_EQ(CurrentOfAn1(), CurrentTextOfRow(99));
}

TEST_F(DataTableTest, ScrollRangeStartsAtTwentyEightRows) {
  struct Case {
    uint32_t rows, maximum, position;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{1, 0, 0}, Case{27, 0, 0}, Case{28, 27, 27}}) {
    ClearStore();
    Read(c.rows);
    EXPECT_EQ(scrollBar.maximum, c.maximum) << c.rows << " rows";
    EXPECT_EQ(scrollBar.position, c.position) << c.rows << " rows";
    EXPECT_EQ(table.tableShownRows, std::min(c.rows, 27u));
  }
}

TEST_F(DataTableTest, ThumbMovesThePageByTheSameNumberOfRows) {
  Read(100);
  box.selected = false;
  struct Move {
    uint32_t position, firstShown;
  };
  for (const Move& m : {Move{98, 72}, Move{0, 0}, Move{10, 10}, Move{99, 73}}) {
    MoveThumb(m.position);
    EXPECT_EQ(box.labels(), LabelsOfRows(m.firstShown, m.firstShown + 26)) << "thumb " << m.position;
    EXPECT_EQ(table.tableScrollPos, m.position);
    EXPECT_EQ(table.tableShownRows, 27u);
    EXPECT_EQ(CurrentOfAn1(), CurrentTextOfRow(99)) << "Current shows the newest row";
  }
  EXPECT_FALSE(box.selected) << "scrolling highlights nothing";
}

TEST_F(DataTableTest, ClampingAtAnEndIsNotCarriedBackIntoTheThumb) {
  Read(100);
  MoveThumb(50);  // 73 - 49 = 24
  EXPECT_EQ(table.tableFirstRow, 24u);
  MoveThumb(0);  // 24 - 50 < 0: first page
  EXPECT_EQ(table.tableFirstRow, 0u);
  MoveThumb(5);
  EXPECT_EQ(table.tableFirstRow, 5u);
}

TEST_F(DataTableTest, ANewReadReturnsToTheNewestRows) {
  Read(100);
  MoveThumb(0);
  Read(3);
  EXPECT_EQ(box.labels(), LabelsOfRows(76, 102));
  EXPECT_EQ(scrollBar.position, 102u);
  ExpectHighlightOnLine(26);
}

TEST_F(DataTableTest, ClickOnALineShowsItsRowAndHighlightsIt) {
  Read(100);
  MoveThumb(0);
  box.caretLine = 4;
  table.RichEdit2Click();
  EXPECT_EQ(CurrentOfAn1(), CurrentTextOfRow(4));
  EXPECT_EQ(stats.at(StatsColumn::Current, 7), " 7.004000   ");
  ExpectHighlightOnLine(4);
}

TEST_F(DataTableTest, ClickBelowTheLastLineChangesNothing) {
  Read(10);
  box.selected = false;
  for (uint32_t line : {10u, 11u, 40u}) {
    box.caretLine = line;
    table.RichEdit2Click();
    EXPECT_FALSE(box.selected) << line;
    EXPECT_EQ(CurrentOfAn1(), CurrentTextOfRow(9)) << line;
  }
}

TEST_F(DataTableTest, ToggleWithEmptyStoreChangesOnlyModeAndCaption) {
  table.Button8Click();
  EXPECT_TRUE(table.hexView);
  EXPECT_EQ(surroundings.caption, "Switch to TXT");
  table.Button8Click();
  EXPECT_FALSE(table.hexView);
  EXPECT_EQ(surroundings.caption, "Switch to HEX");
  EXPECT_EQ(box.clears, 0);
  EXPECT_TRUE(box.lines.empty());
  EXPECT_FALSE(box.selected);
  EXPECT_EQ(scrollBar.changes, 0);
}

TEST_F(DataTableTest, ToggleRerendersThePageShownAndHighlightsItsLastLine) {
  Read(100);
  MoveThumb(0);
  MoveThumb(10);
  box.selected = false;
  surroundings.waveformActive = true;  // the mode switch highlights on any page
  table.Button8Click();
  EXPECT_EQ(box.labels(), LabelsOfRows(10, 36));
  EXPECT_EQ(box.lines[0].substr(14, 12), "  0x0050    ");
  ExpectHighlightOnLine(26);
  table.Button8Click();
  EXPECT_EQ(box.lines[0].substr(14, 12), " 0.010000   ");
}

TEST_F(DataTableTest, ResetInHexModeReturnsToVoltsAndNamesHex) {
  Read(100);
  table.Button8Click();
  ASSERT_EQ(surroundings.caption, "Switch to TXT");
  ClearStore();
  EXPECT_FALSE(table.hexView);
  EXPECT_EQ(surroundings.caption, "Switch to HEX");
  EXPECT_TRUE(box.lines.empty());
  EXPECT_EQ(table.tableFirstRow, 0u);
  EXPECT_EQ(table.tableShownRows, 0u);
  EXPECT_EQ(scrollBar.maximum, 0u);
  EXPECT_EQ(scrollBar.position, 0u);
  for (int column = 0; column < 4; ++column) {
    for (int ch = 0; ch < Channels; ++ch) EXPECT_EQ(stats.texts[column][ch], "");
  }
  Read(5);
  EXPECT_EQ(box.lines[0].substr(14, 12), " 0.000000   ");
}

TEST_F(DataTableTest, ResetInVoltsModeLeavesTheCaption) {
  table.Button8Click();
  table.Button8Click();
  surroundings.caption = "Switch to Hex";
  Read(3);
  ClearStore();
  EXPECT_EQ(surroundings.caption, "Switch to Hex");
}

TEST_F(DataTableTest, AutoSaveResetKeepsStatisticsAndPagesAnew) {
  Read(100);
  const std::string max = stats.at(StatsColumn::MaxVol, 0);
  store.cycleCount = 0;
  table.ResetTableView();
  EXPECT_EQ(stats.at(StatsColumn::MaxVol, 0), max);
  EXPECT_EQ(stats.at(StatsColumn::Current, 0), CurrentTextOfRow(99));
  Read(40);
  EXPECT_EQ(box.labels(), LabelsOfRows(13, 39));
  EXPECT_EQ(scrollBar.position, 39u);
}

TEST_F(DataTableTest, WideRowsKeepHighlightsAtElevenPositionsPerLine) {
  Read(5);
  for (uint32_t r = 0; r < 3; ++r) store.voltsRow(store.cycleCount + r)[0] = -10.0f;
  store.cycleCount += 3;
  table.ShowNewestRows(3);
  ASSERT_EQ(box.lines.size(), 8u);
  EXPECT_EQ(box.lines[7].size(), 111u);
  EXPECT_EQ(box.lines[7].substr(14, 13), "-10.000000   ");
  ExpectHighlightOnLine(7);
}

TEST_F(DataTableTest, WaveformPageActiveUpdatesRowsButHighlightsNothing) {
  surroundings.waveformActive = true;
  Read(10);
  Read(30);
  EXPECT_EQ(box.labels(), LabelsOfRows(13, 39));
  EXPECT_FALSE(box.selected);
}

TEST_F(DataTableTest, StatisticsShowMaxMinAndTheirDifferenceInDouble) {
  channelStats[1] = {16777216.0f, -1.0f};  // in float the difference would lose the 1
  channelStats[2] = {2.5f, -0.125f};
  table.ShowChannelStats();
  const struct {
    int ch;
    const char* max;
    const char* min;
    const char* pkpk;
  } want[] = {{0, "-20.000000", " 20.000000", "-40.000000"},
              {1, " 16777216.000000", "-1.000000", " 16777217.000000"},
              {2, " 2.500000", "-0.125000", " 2.625000"}};
  for (const auto& w : want) {
    EXPECT_EQ(stats.at(StatsColumn::MaxVol, w.ch), w.max);
    EXPECT_EQ(stats.at(StatsColumn::MinVol, w.ch), w.min);
    EXPECT_EQ(stats.at(StatsColumn::PkPk, w.ch), w.pkpk);
  }
  table.ClearStatsDisplay();
  EXPECT_EQ(stats.at(StatsColumn::PkPk, 2), "");
}

}  // namespace
}  // namespace trelvan
