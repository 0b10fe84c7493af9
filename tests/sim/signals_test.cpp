// The sampled codes: waveforms as functions of time, input range,
// oversampling, and the trigger modes.
#include <algorithm>
#include <cmath>
#include <set>

#include "sim_fixture.h"

namespace sim_test {
namespace {

class SignalsTest : public SimFixture {
 protected:
  std::vector<uint8_t> SingleRead() {
    std::vector<uint8_t> cycle(16);
    EXPECT_TRUE(Kavrel_ADCRead(index_, cycle.data()));
    return cycle;
  }
  // Runs with `c` for `elapsedUs` and returns the cycles delivered.
  std::vector<uint8_t> Run(const AdcConfig& c, uint64_t elapsedUs) {
    Configure(c);
    Start();
    KavrelSim_AdvanceClock(elapsedUs);
    auto cycles = ReadAll();
    EXPECT_TRUE(Kavrel_ADCStop(index_));
    return cycles;
  }
};

TEST_F(SignalsTest, FifoCyclesAndSingleReadsAreTheSameFunctionOfTime) {
  for (uint8_t modeBits : {kMicroseconds, uint8_t(kMicroseconds & ~0x10)}) {
    Configure(PeriodConfig(modeBits, 100));
    Start();
    KavrelSim_AdvanceClock(100);  // the first cycle's sample time
    const auto single = SingleRead();
    EXPECT_EQ(SingleRead(), single) << "time stands still";
    EXPECT_EQ(Read(16), single);
    ASSERT_TRUE(Kavrel_ADCStop(index_));
  }
}

TEST_F(SignalsTest, EightDistinctWaveformsOverTime) {
  const auto cycles = Run(PeriodConfig(kMilliseconds, 20), 10'000'000);  // 500 cycles, 10 s
  ASSERT_EQ(cycles.size(), 500u * 16);
  std::set<std::vector<int16_t>> traces;
  for (int ch = 0; ch < 8; ++ch) {
    std::vector<int16_t> trace;
    for (size_t i = 0; i < cycles.size(); i += 16) trace.push_back(Code(&cycles[i], ch));
    const auto [lo, hi] = std::minmax_element(trace.begin(), trace.end());
    EXPECT_GT(*hi - *lo, 10) << "AN" << ch + 1 << " carries noise at least";
    traces.insert(trace);
  }
  EXPECT_EQ(traces.size(), 8u);
}

TEST_F(SignalsTest, RangeScalesCodesAndClips) {
  // At the same instants, +/-5 V doubles the codes of +/-10 V up to the
  // clipping limits.
  const AdcConfig ten = PeriodConfig(kMilliseconds, 50);
  const AdcConfig five = PeriodConfig(kMilliseconds & ~0x10, 50);
  bool clipped = false;
  for (int i = 0; i < 500; ++i) {
    KavrelSim_AdvanceClock(20'000);  // 10 s in all
    Configure(ten);
    const auto wide = SingleRead();
    Configure(five);
    const auto narrow = SingleRead();
    for (int ch = 0; ch < 8; ++ch) {
      const int expected = std::clamp(2 * Code(wide.data(), ch), -32768, 32767);
      ASSERT_EQ(Code(narrow.data(), ch), expected) << "read " << i << " AN" << ch + 1;
      clipped |= Code(narrow.data(), ch) == 32767 || Code(narrow.data(), ch) == -32768;
    }
  }
  EXPECT_TRUE(clipped) << "some waveform exceeds +/-5 V";
}

TEST_F(SignalsTest, OversamplingLowersTheNoise) {
  auto spread = [](const std::vector<uint8_t>& cycles, int ch) {
    double sum = 0, squares = 0;
    const double n = double(cycles.size() / 16);
    for (size_t i = 0; i < cycles.size(); i += 16) {
      sum += Code(&cycles[i], ch);
      squares += double(Code(&cycles[i], ch)) * Code(&cycles[i], ch);
    }
    return std::sqrt(squares / n - (sum / n) * (sum / n));
  };
  const int noisy = 7;  // AN8
  const double plain = spread(Run(PeriodConfig(kMicroseconds, 100), 200'000), noisy);
  const double ratio64 = spread(Run(PeriodConfig(kMicroseconds | 0x06, 100), 200'000), noisy);
  EXPECT_GT(plain, 4 * ratio64);
}

TEST_F(SignalsTest, IoEdgesClockTheCycles) {
  struct Case {
    uint8_t trigBits;
    uint32_t externalUs;
    int32_t cycles;  // in 10 ms
  };
  const Case cases[] = {
      {0x00, 1000, 10},  // falling edges
      {0x04, 1000, 10},  // rising edges
      {0x08, 1000, 20},  // both
      {0x04, 200, 50},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "trigBits " << int(k.trigBits) << " every "
                                    << k.externalUs);
    ASSERT_TRUE(KavrelSim_SetExternalClock(k.externalUs));
    AdcConfig c = PeriodConfig(kMicroseconds, 10);
    c.trigBits = k.trigBits;
    EXPECT_EQ(Run(c, 10'000).size(), size_t(k.cycles) * 16);
  }
}

TEST_F(SignalsTest, IoAndPeriodWaitsForAnEdgeThenFollowsThePeriod) {
  AdcConfig c = PeriodConfig(kMicroseconds, 10);
  c.trigBits = 0x02 | 0x04;  // IO and Period, rising edge
  Configure(c);
  Start();
  int waited = 0;
  while (FifoLeft() == 0 && waited < 1000) {
    KavrelSim_AdvanceClock(1);
    ++waited;
  }
  ASSERT_EQ(FifoLeft(), 1) << "no edge within one external period";
  KavrelSim_AdvanceClock(1000);
  EXPECT_EQ(FifoLeft(), 101);
}

TEST_F(SignalsTest, VoltageTriggerWatchesTheMainChannel) {
  struct Case {
    uint16_t millivolts;
    bool below;
    int32_t cycles;
  };
  // AN7 holds a steady 2.5 V.
  const Case cases[] = {{2000, false, 100}, {3000, false, 0}, {3000, true, 100}, {2000, true, 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.millivolts << (k.below ? " below" : " above"));
    AdcConfig c = PeriodConfig(kMicroseconds, 10);
    c.trigBits = 0x03 | (k.below ? 0x10 : 0);
    c.mainChannel = 6;
    c.trigVolMv = k.millivolts;
    EXPECT_EQ(Run(c, 1000).size(), size_t(k.cycles) * 16);
  }
}

}  // namespace
}  // namespace sim_test
