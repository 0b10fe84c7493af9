// Continuous sampling against the hand-driven clock: how many cycles fall
// due, the cycle limit, the FIFO's bound, and the sequence pattern.
#include "sim_fixture.h"

namespace sim_test {
namespace {

class SamplingTest : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    ASSERT_TRUE(KavrelSim_SelectSource(KAVREL_SIM_SEQUENCE));
  }
  // Checks that `cycles` continue the numbering at `next`.
  void ExpectSequence(const std::vector<uint8_t>& bytes, uint32_t& next) {
    ASSERT_EQ(bytes.size() % 16, 0u);
    for (size_t i = 0; i < bytes.size(); i += 16) {
      const uint32_t seq = SequenceNumber(&bytes[i]);
      if (seq != next) FAIL() << "cycle " << next << " expected, " << seq << " found";
      ++next;
    }
  }
};

TEST_F(SamplingTest, CyclesFallDueAtTheEffectivePeriod) {
  struct Case {
    uint8_t modeBits;
    uint16_t period;
    uint64_t elapsedUs;
    int32_t cycles;
  };
  const Case cases[] = {
      {kMicroseconds, 1, 1000, 1000},
      {kMicroseconds, 10, 1005, 100},
      {kMicroseconds, 65535, 1'000'000, 15},
      {kMilliseconds, 1, 1'000'000, 1000},
      {kMilliseconds, 100, 999'999, 9},
      {kMicroseconds | 0x06, 10, 6400, 100},   // ratio 64: 64 us per conversion
      {kMicroseconds | 0x03, 100, 10'000, 100},  // ratio 8 fits in the period
      {kMilliseconds | 0x06, 1, 10'000, 10},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "modeBits " << int(k.modeBits) << " period " << k.period);
    Configure(PeriodConfig(k.modeBits, k.period));
    Start();
    EXPECT_EQ(FifoLeft(), 0);
    KavrelSim_AdvanceClock(k.elapsedUs);
    EXPECT_EQ(FifoLeft(), k.cycles);
    EXPECT_EQ(Config().trigCnt, uint32_t(k.cycles));
    EXPECT_EQ(ReadAll().size(), size_t(k.cycles) * 16);
    ASSERT_TRUE(Kavrel_ADCStop(index_));
  }
}

TEST_F(SamplingTest, SequenceSurvivesManyReadsOfOddSizes) {
  Configure(PeriodConfig(kMicroseconds, 3));
  Start();
  uint32_t next = 0;
  const uint32_t sizes[] = {1, 15, 16, 17, 33, 4001, 160, 7, 100'003, 31};
  for (int round = 0; round < 60; ++round) {
    const uint64_t step = 37 + 1013 * (round % 7);
    KavrelSim_AdvanceClock(step);
    const uint32_t bytes = sizes[round % std::size(sizes)];
    const auto got = Read(bytes);
    EXPECT_EQ(got.size() % 16, 0u);
    EXPECT_LE(got.size(), bytes);
    ExpectSequence(got, next);
  }
  // What is left arrives in one piece, after everything read before.
  ExpectSequence(ReadAll(), next);
  EXPECT_EQ(next, Config().trigCnt);
  EXPECT_EQ(FifoLeft(), 0);
}

TEST_F(SamplingTest, InitFifoDropsWaitingCyclesAndNumbersFromZero) {
  Configure(PeriodConfig(kMicroseconds, 10));
  ASSERT_TRUE(Kavrel_ADCStart(index_));
  KavrelSim_AdvanceClock(500);
  ASSERT_TRUE(Kavrel_InitFIFO(index_));
  EXPECT_EQ(FifoLeft(), 0);
  EXPECT_EQ(Config().trigCnt, 0u);
  KavrelSim_AdvanceClock(100);
  uint32_t next = 0;
  ExpectSequence(ReadAll(), next);
  EXPECT_EQ(next, 10u);
}

TEST_F(SamplingTest, LimitedRunDeliversExactlyMaxCycles) {
  Configure(PeriodConfig(kMicroseconds, 10, 1000));
  ASSERT_TRUE(Kavrel_ADCStart(index_));
  KavrelSim_AdvanceClock(3000);  // 300 cycles emptied by the FIFO initialisation
  ASSERT_TRUE(Kavrel_InitFIFO(index_));
  uint32_t next = 0;
  KavrelSim_AdvanceClock(4000);
  ExpectSequence(Read(16 * 400), next);
  EXPECT_TRUE(Config().trigBits & 0x80);
  KavrelSim_AdvanceClock(1'000'000);
  const AdcConfig done = Config();
  EXPECT_FALSE(done.trigBits & 0x80) << "the module stops by itself";
  EXPECT_EQ(done.trigCnt, 1000u);
  ExpectSequence(ReadAll(), next);
  EXPECT_EQ(next, 1000u);
  KavrelSim_AdvanceClock(1'000'000);
  EXPECT_EQ(FifoLeft(), 0);
}

// A host that reads too slowly: the FIFO fills up to its capacity, later
// cycles are dropped and counted, the numbering counts them too (a drop is a
// gap in the pattern), and dropped cycles do not count toward the limit.
TEST_F(SamplingTest, OverflowDropsCyclesVisibly) {
  constexpr uint32_t kLimit = KAVREL_SIM_FIFO_CYCLES + 100'000;
  Configure(PeriodConfig(kMicroseconds, 1, kLimit));
  Start();
  KavrelSim_AdvanceClock(2'500'000);
  EXPECT_EQ(FifoLeft(), KAVREL_SIM_FIFO_CYCLES);
  EXPECT_EQ(KavrelSim_DroppedCycles(), 500'000u);
  EXPECT_EQ(Config().trigCnt, uint32_t(KAVREL_SIM_FIFO_CYCLES));

  uint32_t next = 0;
  ExpectSequence(Read(25'600'000), next);  // the program's buffer: 1,600,000 cycles
  EXPECT_EQ(FifoLeft(), KAVREL_SIM_FIFO_CYCLES - 1'600'000);
  KavrelSim_AdvanceClock(1'000'000);
  EXPECT_EQ(FifoLeft(), KAVREL_SIM_FIFO_CYCLES - 1'600'000 + 100'000);
  EXPECT_FALSE(Config().trigBits & 0x80);
  const std::vector<uint8_t> rest = ReadAll();
  ASSERT_EQ(rest.size(), (KAVREL_SIM_FIFO_CYCLES - 1'600'000 + 100'000) * 16u);
  const std::vector<uint8_t> beforeGap(rest.begin(), rest.begin() + 400'000 * 16);
  const std::vector<uint8_t> afterGap(rest.begin() + 400'000 * 16, rest.end());
  ExpectSequence(beforeGap, next);
  EXPECT_EQ(next, uint32_t(KAVREL_SIM_FIFO_CYCLES));
  next += 500'000;  // the dropped cycles
  ExpectSequence(afterGap, next);
  EXPECT_EQ(next, kLimit + 500'000);
  EXPECT_EQ(KavrelSim_DroppedCycles(), 500'000u);
}

// Drops in two episodes leave two gaps, each of its episode's size.
TEST_F(SamplingTest, EveryDropEpisodeIsAGapOfItsSize) {
  Configure(PeriodConfig(kMicroseconds, 1));
  Start();
  KavrelSim_AdvanceClock(2'000'300);  // numbers 2,000,000..2,000,299 dropped
  uint32_t next = 0;
  ExpectSequence(Read(16 * 1'999'000), next);
  KavrelSim_AdvanceClock(1'999'050);  // full again: 3,999,300..3,999,349 dropped
  const std::vector<uint8_t> all = ReadAll();
  ASSERT_EQ(all.size(), 16u * KAVREL_SIM_FIFO_CYCLES);
  ExpectSequence({all.begin(), all.begin() + 16 * 1'000}, next);
  EXPECT_EQ(next, 2'000'000u);
  next = 2'000'300;
  ExpectSequence({all.begin() + 16 * 1'000, all.end()}, next);
  EXPECT_EQ(next, 3'999'300u);
  EXPECT_EQ(KavrelSim_DroppedCycles(), 350u);
  KavrelSim_AdvanceClock(10);
  next = 3'999'350;
  ExpectSequence(ReadAll(), next);
  EXPECT_EQ(next, 3'999'360u);
}

TEST_F(SamplingTest, StopKeepsWaitingCyclesAndSamplesNoMore) {
  Configure(PeriodConfig(kMicroseconds, 10));
  Start();
  KavrelSim_AdvanceClock(105);
  ASSERT_TRUE(Kavrel_ADCStop(index_));
  KavrelSim_AdvanceClock(1000);
  EXPECT_EQ(FifoLeft(), 10);
  uint32_t next = 0;
  ExpectSequence(ReadAll(), next);
  EXPECT_EQ(next, 10u);
}

TEST_F(SamplingTest, BufferSmallerThanACycleGetsNothing) {
  Configure(PeriodConfig(kMicroseconds, 10));
  Start();
  KavrelSim_AdvanceClock(100);
  uint8_t buffer[15];
  uint32_t got = 99;
  ASSERT_TRUE(Kavrel_ReadFIFO(index_, buffer, sizeof buffer, &got));
  EXPECT_EQ(got, 0u);
  ASSERT_TRUE(Kavrel_ReadFIFO(index_, nullptr, 0, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(FifoLeft(), 10);
}

TEST_F(SamplingTest, ResetRestartsTheConversionTimingOnly) {
  Configure(PeriodConfig(kMicroseconds, 100));
  Start();
  KavrelSim_AdvanceClock(250);  // cycles at 100 and 200
  ASSERT_TRUE(Kavrel_ADCReset(index_));
  KavrelSim_AdvanceClock(99);
  EXPECT_EQ(FifoLeft(), 2);
  KavrelSim_AdvanceClock(1);  // one period after the reset
  EXPECT_EQ(FifoLeft(), 3);
  EXPECT_TRUE(Config().trigBits & 0x80);
}

}  // namespace
}  // namespace sim_test
