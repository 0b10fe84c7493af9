// The X zoom ladder and the navigation buttons of the waveform window.

#include <gtest/gtest.h>

#include "device/log_colours.h"
#include "wave_chart_fixture.h"

namespace trelvan::test {
namespace {

TEST_F(WaveChartTest, DesignStateIsTheEmptyWindowOf500) {
  ExpectWindow(0, 50, 0);
  EXPECT_EQ(port.x.labels[0].text, "   0");
  EXPECT_EQ(port.x.labels[10].text, " 500");
  EXPECT_EQ(port.edit13, "0");
}

TEST_F(WaveChartTest, ZoomInWalksDownTheLadderToItsLimit) {
  store.cycleCount = 3000;
  for (uint32_t division : {25u, 10u, 5u}) {
    chart.Button11Click();
    ExpectWindow(0, division, 10 * division);
  }
  EXPECT_TRUE(port.log.empty());
  const int changes = port.changes;
  chart.Button11Click();
  EXPECT_EQ(port.log, (std::vector<LogLine>{{"Zoom in is up to limition!", LogRed}}));
  EXPECT_EQ(port.changes, changes);
  ExpectWindow(0, 5, 50);
}

TEST_F(WaveChartTest, ZoomOutWalksUpTheLadderToItsLimit) {
  store.cycleCount = Capacity;
  while (chart.waveDivision() > 5) chart.Button11Click();
  for (uint32_t division : {10u, 25u, 50u, 100u, 200u, 400u, 800u, 1600u, 3200u, 6400u}) {
    chart.Button12Click();
    ExpectWindow(0, division, 10 * division);
  }
  EXPECT_EQ(chart.windowWidth(), 64'000u);
  EXPECT_TRUE(port.log.empty());
  const int changes = port.changes;
  chart.Button12Click();
  EXPECT_EQ(port.log, (std::vector<LogLine>{{"Zoom out is up to limition!", LogRed}}));
  EXPECT_EQ(port.changes, changes);
}

TEST_F(WaveChartTest, ZoomKeepsTheStart) {
  store.cycleCount = 2000;
  Go(1000);
  chart.Button11Click();
  ExpectWindow(1000, 25, 250);
  EXPECT_EQ(port.x.labels[1].text, "1025");
  EXPECT_EQ(port.x.labels[10].text, "1250");
  chart.Button12Click();
  chart.Button12Click();
  ExpectWindow(1000, 100, 1000);  // rows 1000 .. 1999, all that exist
}

struct MoveCase {
  const char* name;
  uint32_t cycleCount;
  uint32_t start;
  void (WaveChart::*button)();
  const char* refusal;  // nullptr when accepted
  uint32_t newStart;
  uint32_t points;
};

class WaveMoveTest : public WaveChartTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(WaveMoveTest, MovesOrRefuses) {
  const MoveCase& c = GetParam();
  store.cycleCount = c.cycleCount;
  chart.PlotWaveWindow(c.start, 50);
  port.log.clear();
  const int changes = port.changes;
  (chart.*c.button)();
  if (c.refusal) {
    EXPECT_EQ(port.log, (std::vector<LogLine>{{c.refusal, LogRed}}));
    EXPECT_EQ(port.changes, changes);
    EXPECT_EQ(chart.waveStart(), c.start);
  } else {
    EXPECT_TRUE(port.log.empty());
    ExpectWindow(c.newStart, 50, c.points);
  }
}

// W = 500 throughout.
INSTANTIATE_TEST_SUITE_P(
    Buttons, WaveMoveTest,
    ::testing::Values(
        MoveCase{"HomeFromAnywhere", 1234, 700, &WaveChart::Button13Click, nullptr, 0, 500},
        MoveCase{"EndAt1000ShowsTheEmptyPage", 1000, 0, &WaveChart::Button14Click, nullptr, 1000, 0},
        MoveCase{"EndAt1234", 1234, 0, &WaveChart::Button14Click, nullptr, 1000, 234},
        MoveCase{"EndAt501", 501, 0, &WaveChart::Button14Click, nullptr, 500, 1},
        MoveCase{"NextToTheEmptyPage", 500, 0, &WaveChart::Button15Click, nullptr, 500, 0},
        MoveCase{"NextFromAShortPage", 499, 0, &WaveChart::Button15Click, "This is a last page!", 0, 0},
        MoveCase{"NextFromBeyondTheStore", 20, 1500, &WaveChart::Button15Click, "This is a last page!", 0, 0},
        MoveCase{"NextMidStore", 1234, 500, &WaveChart::Button15Click, nullptr, 1000, 234},
        MoveCase{"PrevFromFirstPage", 1234, 499, &WaveChart::Button16Click, "This is a first page!", 0, 0},
        MoveCase{"PrevFrom500", 1234, 500, &WaveChart::Button16Click, nullptr, 0, 500},
        MoveCase{"RightFrom30GoesTo0", 1234, 30, &WaveChart::Button17Click, nullptr, 0, 500},
        MoveCase{"RightFrom50GoesTo0", 1234, 50, &WaveChart::Button17Click, nullptr, 0, 500},
        MoveCase{"RightFrom120", 1234, 120, &WaveChart::Button17Click, nullptr, 70, 500},
        MoveCase{"RightAtStart", 1234, 0, &WaveChart::Button17Click, "has moved to start!", 0, 0},
        MoveCase{"LeftOntoTheLastCycle", 1234, 1184, &WaveChart::Button18Click, nullptr, 1234, 0},
        MoveCase{"LeftPastTheEnd", 1234, 1185, &WaveChart::Button18Click, "has moved to end!", 0, 0},
        MoveCase{"LeftMidStore", 1234, 100, &WaveChart::Button18Click, nullptr, 150, 500}),
    [](const auto& info) { return std::string(info.param.name); });

struct GoCase {
  const char* name;
  std::string text;
  const char* refusal;  // nullptr when accepted
  uint32_t newStart;
  uint32_t points;
};

class WaveGoTest : public WaveChartTest, public ::testing::WithParamInterface<GoCase> {};

TEST_P(WaveGoTest, GoesOrRefuses) {
  const GoCase& c = GetParam();
  store.cycleCount = 1234;
  chart.PlotWaveWindow(700, 50);
  const int changes = port.changes;
  chart.Button19Click(c.text);
  if (c.refusal) {
    EXPECT_EQ(port.log, (std::vector<LogLine>{{c.refusal, LogRed}}));
    EXPECT_EQ(port.changes, changes);
    ExpectWindow(700, 50, 500);
  } else {
    EXPECT_TRUE(port.log.empty());
    ExpectWindow(c.newStart, 50, c.points);
  }
}

// cycleCount 1234, window at 700.
INSTANTIATE_TEST_SUITE_P(
    Edit13, WaveGoTest,
    ::testing::Values(GoCase{"Zero", "0", nullptr, 0, 500},
                      GoCase{"Middle", "1000", nullptr, 1000, 234},
                      GoCase{"LeadingZeros", "0042", nullptr, 42, 500},
                      GoCase{"MinusZero", "-0", nullptr, 0, 500},
                      GoCase{"CycleCountShowsAnEmptyWindow", "1234", nullptr, 1234, 0},
                      GoCase{"CycleCountPlusOne", "1235", "Out of the size!", 0, 0},
                      GoCase{"Empty", "", "Please input a number!", 0, 0},
                      GoCase{"MinusAlone", "-", "Please input a number!", 0, 0},
                      GoCase{"Garbage", "12ab", "Please input a number!", 0, 0},
                      GoCase{"Blank", " 12", "Please input a number!", 0, 0},
                      GoCase{"Plus", "+12", "Please input a number!", 0, 0},
                      GoCase{"Decimal", "12.0", "Please input a number!", 0, 0},
                      GoCase{"Negative", "-5", "Out of the size!", 0, 0},
                      GoCase{"Int32Max", "2147483647", "Out of the size!", 0, 0},
                      GoCase{"AboveInt32", "2147483648", "Out of the size!", 0, 0},
                      GoCase{"AboveUint32", "4294967296", "Out of the size!", 0, 0},
                      GoCase{"Huge", std::string(300, '9'), "Out of the size!", 0, 0},
                      GoCase{"HugeNegative", "-" + std::string(300, '9'), "Out of the size!", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WaveChartTest, EndDoesNothingUpTo500CyclesWhateverTheWidth) {
  store.cycleCount = 500;
  chart.Button11Click();  // W = 250: page 500 would be the empty page
  const int changes = port.changes;
  chart.Button14Click();
  EXPECT_EQ(port.changes, changes);
  EXPECT_TRUE(port.log.empty());
  ExpectWindow(0, 25, 250);
}

TEST_F(WaveChartTest, GoZeroEqualsHome) {
  store.cycleCount = 1234;
  Go(900);
  chart.Button13Click();
  const auto home = port.series;
  Go(900);
  chart.Button19Click("0");
  EXPECT_EQ(port.series, home);
  ExpectWindow(0, 50, 500);
}

}  // namespace
}  // namespace trelvan::test
