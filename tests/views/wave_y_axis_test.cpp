// The volts axis: zoom about 0 V, moves by one increment, both zoom limits,
// each label item treated by itself.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/log_colours.h"
#include "views/wave_y_axis.h"
#include "wave_fake_port.h"

namespace trelvan::test {
namespace {

struct YCase {
  const char* name;
  std::string clicks;  // I zoom in, O zoom out, U move up, D move down
  double minimum, maximum, increment;
  std::vector<double> values;
  std::vector<std::string> texts;  // empty: not checked
};

class WaveYAxisTest : public ::testing::TestWithParam<YCase> {
 protected:
  WaveYAxisTest() : axis(port) { axis.ShowDesignState(); }

  void Click(const std::string& clicks) {
    for (char c : clicks) {
      switch (c) {
        case 'I': axis.Button21Click(); break;
        case 'O': axis.Button22Click(); break;
        case 'U': axis.Button23Click(); break;
        case 'D': axis.Button24Click(); break;
      }
    }
  }

  void ExpectAxis(double minimum, double maximum, double increment) {
    EXPECT_EQ(axis.minimum(), minimum);
    EXPECT_EQ(axis.maximum(), maximum);
    EXPECT_EQ(axis.increment(), increment);
    EXPECT_EQ(port.y.minimum, minimum);
    EXPECT_EQ(port.y.maximum, maximum);
    EXPECT_EQ(port.y.increment, increment);
    EXPECT_EQ(port.y.labels, axis.labels());
  }

  FakeWavePort port;
  WaveYAxis axis;
};

TEST_P(WaveYAxisTest, ClicksGiveRangeAndLabels) {
  const YCase& c = GetParam();
  Click(c.clicks);
  ExpectAxis(c.minimum, c.maximum, c.increment);
  for (int k = 0; k < AxisLabelCount; ++k) {
    EXPECT_EQ(axis.labels()[k].value, c.values[k]) << "item " << k;
    if (!c.texts.empty()) {
      EXPECT_EQ(axis.labels()[k].text, c.texts[k]) << "item " << k;
    }
  }
  EXPECT_TRUE(port.log.empty());
  EXPECT_TRUE(port.x.labels[0].text.empty());  // the X axis is not touched
}

const std::string D20(20, 'D');
const std::string U20(20, 'U');

INSTANTIATE_TEST_SUITE_P(
    Buttons, WaveYAxisTest,
    ::testing::Values(
        YCase{"Design", "", -11, 11, 2, {0, 2, 4, 10, 8, 6, -2, -4, -6, -8, -10},
              {"0", "2", "4", "10", "8", "6", "-2", "-4", "-6", "-8", "-10"}},
        YCase{"ZoomIn", "I", -5.5, 5.5, 1, {0, 1, 2, 5, 4, 3, -1, -2, -3, -4, -5},
              {" 0.000", " 1.000", " 2.000", " 5.000", " 4.000", " 3.000", "-1.000", "-2.000",
               "-3.000", "-4.000", "-5.000"}},
        YCase{"MoveUp", "U", -13, 9, 2, {-2, 0, 2, 8, 6, 4, -4, -6, -8, -10, -12},
              {"-2.000", " 0.000", " 2.000", " 8.000", " 6.000", " 4.000", "-4.000", "-6.000",
               "-8.000", "-10.000", "-12.000"}},
        YCase{"MoveDown", "D", -9, 13, 2, {2, 4, 6, 12, 10, 8, 0, -2, -4, -6, -8},
              {" 2.000", " 4.000", " 6.000", " 12.000", " 10.000", " 8.000", " 0.000",
               "-2.000", "-4.000", "-6.000", "-8.000"}},
        YCase{"TwentyDown", D20, 29, 51, 2, {40, 42, 44, 50, 48, 46, 38, 36, 34, 32, 30}, {}},
        YCase{"TwentyDownZoomOut", D20 + "O", 58, 102, 4,
              {80, 84, 88, 100, 96, 92, 76, 72, 68, 64, 60}, {}},
        YCase{"TwentyDownZoomIn", D20 + "I", 14.5, 25.5, 1,
              {20, 21, 22, 25, 24, 23, 19, 18, 17, 16, 15}, {}},
        YCase{"TwentyUpZoomIn", U20 + "I", -25.5, -14.5, 1,
              {-20, -19, -18, -15, -16, -17, -21, -22, -23, -24, -25},
              {"-20.000", "-19.000", "-18.000", "-15.000", "-16.000", "-17.000", "-21.000",
               "-22.000", "-23.000", "-24.000", "-25.000"}},
        YCase{"SmallestScale", std::string(11, 'I'), -0.00537109375, 0.00537109375,
              0.0009765625,
              {0, 0.0009765625, 0.001953125, 0.0048828125, 0.00390625, 0.0029296875,
               -0.0009765625, -0.001953125, -0.0029296875, -0.00390625, -0.0048828125},
              {" 0.000", " 0.001", " 0.002", " 0.005", " 0.004", " 0.003", "-0.001", "-0.002",
               "-0.003", "-0.004", "-0.005"}},
        YCase{"LargestScale", "OOO", -88, 88, 16, {0, 16, 32, 80, 64, 48, -16, -32, -48, -64, -80},
              {" 0.000", " 16.000", " 32.000", " 80.000", " 64.000", " 48.000", "-16.000",
               "-32.000", "-48.000", "-64.000", "-80.000"}},
        YCase{"ZoomAfterMovesScalesAbout0", "UUI", -7.5, 3.5, 1,
              {-2, -1, 0, 3, 2, 1, -3, -4, -5, -6, -7}, {}},
        YCase{"ZoomBackAndForth", "IIIOOOUD", -11, 11, 2, {0, 2, 4, 10, 8, 6, -2, -4, -6, -8, -10},
              {" 0.000", " 2.000", " 4.000", " 10.000", " 8.000", " 6.000", "-2.000", "-4.000",
               "-6.000", "-8.000", "-10.000"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WaveYAxisTest, ZoomLimitsRefuseWithoutChange) {
  struct Limit {
    std::string toLimit;
    char click;
    const char* message;
  };
  for (const Limit& l : {Limit{std::string(11, 'I'), 'I', "Zoom in is up to limition!"},
                         Limit{"OOO", 'O', "Zoom out is up to limition!"},
                         Limit{"OOO" + D20, 'O', "Zoom out is up to limition!"}}) {
    SCOPED_TRACE(l.message);
    axis.ShowDesignState();
    Click(l.toLimit);
    ASSERT_TRUE(port.log.empty());
    const AxisLabels labels = axis.labels();
    const double minimum = axis.minimum();
    const int changes = port.changes;
    Click(std::string(1, l.click));
    Click(std::string(1, l.click));
    EXPECT_EQ(port.log, (std::vector<LogLine>{{l.message, LogRed}, {l.message, LogRed}}));
    EXPECT_EQ(port.changes, changes);
    EXPECT_EQ(axis.labels(), labels);
    EXPECT_EQ(axis.minimum(), minimum);
    port.log.clear();
  }
}

TEST_F(WaveYAxisTest, MovesHaveNoLimit) {
  Click(std::string(11, 'I') + std::string(1000, 'U'));
  ExpectAxis(-0.00537109375 - 1000 * 0.0009765625, 0.00537109375 - 1000 * 0.0009765625,
             0.0009765625);
  EXPECT_EQ(axis.labels()[0].text, "-0.977");
  EXPECT_TRUE(port.log.empty());
}

}  // namespace
}  // namespace trelvan::test
