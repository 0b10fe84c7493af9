// The chart following the store: appends, re-plots, the run limit of the
// zoom, emptying the store and hidden traces.

#include <gtest/gtest.h>

#include "wave_chart_fixture.h"

namespace trelvan::test {
namespace {

TEST_F(WaveChartTest, ReadsFillTheWindowThenJumpToTheNewestPage) {
  struct Step {
    uint32_t rows;
    uint32_t start, points;
    bool replotted;
  };
  const Step steps[] = {
      {1, 0, 1, false},        {99, 0, 100, false},   {300, 0, 400, false},
      {100, 0, 500, false},    // exactly full: no re-plot
      {1, 500, 1, true},       {479, 500, 480, false},
      {30, 1000, 10, true},    // 480 + 30: rows 1000 .. 1009 under labels 1000 .. 1500
      {490, 1000, 500, false}, {7, 1500, 7, true},
      {1600, 3000, 107, true}, {393, 3000, 500, false},
      {500, 4000, 0, true},    // cycleCount 4000: the still empty page
  };
  for (const Step& s : steps) {
    const int clears = port.clears;
    Read(s.rows);
    SCOPED_TRACE(store.cycleCount);
    ExpectWindow(s.start, 50, s.points);
    EXPECT_EQ(port.clears > clears, s.replotted);
  }
  EXPECT_TRUE(port.log.empty());
}

TEST_F(WaveChartTest, ReadOf30BehindA480PointPageShowsPage1000) {
  store.cycleCount = 980;
  chart.PlotWaveWindow(500, 50);
  Read(30);
  ExpectWindow(1000, 50, 10);
  const char* texts[] = {"1000", "1050", "1100", "1150", "1200", "1250",
                         "1300", "1350", "1400", "1450", "1500"};
  for (int k = 0; k < AxisLabelCount; ++k) EXPECT_EQ(port.x.labels[k].text, texts[k]);
}

TEST_F(WaveChartTest, AppendAfterTheUserMovedShowsTheNewestPage) {
  Read(1200);  // page 1000, 200 points
  ExpectWindow(1000, 50, 200);
  chart.Button13Click();             // the user looks at the start
  Read(10);
  ExpectWindow(1000, 50, 210);

  chart.Button17Click();             // one division back: 950 .. 1209, 260 points
  ExpectWindow(950, 50, 260);
  Read(5);                           // it still ends at the store's end: it follows
  ExpectWindow(950, 50, 265);
}

TEST_F(WaveChartTest, EmptyReadLeavesTheUsersWindow) {
  Read(1200);
  chart.Button13Click();
  const int changes = port.changes;
  chart.AppendWaveRows(0);
  EXPECT_EQ(port.changes, changes);
  ExpectWindow(0, 50, 500);
}

TEST_F(WaveChartTest, AppendAfterAnAutoSaveResetStartsAgainFromPage0) {
  store.cycleCount = 2000;
  chart.PlotWaveWindow(1500, 50);
  // The reset after an auto-save: series emptied and the store with them,
  // waveStart and the labels kept.
  chart.ClearWaveSeries();
  store.cycleCount = 0;
  EXPECT_EQ(chart.waveStart(), 1500u);
  EXPECT_EQ(port.x.labels[0].text, "1500");

  Read(20);
  ExpectWindow(0, 50, 20);
  Read(20);
  ExpectWindow(0, 50, 40);
}

TEST_F(WaveChartTest, EmptyingTheStoreShowsTheEmptyWindowAt0) {
  store.cycleCount = 3000;
  chart.PlotWaveWindow(2000, 100);
  chart.ResetWaveStart();
  store.cycleCount = 0;
  chart.ClearWaveSeries();
  chart.RefreshWaveLabels();
  ExpectWindow(0, 100, 0);  // the zoom survives
  Read(10);
  ExpectWindow(0, 100, 10);
}

TEST_F(WaveChartTest, LimitWaveZoomCutsWideWindowsTo1600) {
  store.cycleCount = 70'000;
  chart.PlotWaveWindow(3000, 3200);
  chart.LimitWaveZoom();
  ExpectWindow(3000, 1600, 16'000);

  const int changes = port.changes;
  chart.LimitWaveZoom();  // 1600 stays
  EXPECT_EQ(port.changes, changes);
}

TEST_F(WaveChartTest, AHiddenTraceKeepsReceivingPoints) {
  chart.SetTraceVisible(4, false);  // AN5
  EXPECT_EQ(port.visible, (std::array<bool, 8>{true, true, true, true, false, true, true, true}));
  Read(300);
  Read(100);
  chart.SetTraceVisible(4, true);
  EXPECT_EQ(port.visible, (std::array<bool, 8>{true, true, true, true, true, true, true, true}));
  ExpectWindow(0, 50, 400);
}

}  // namespace
}  // namespace trelvan::test
