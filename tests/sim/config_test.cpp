// The configuration record: power-on values, round trip, refusals.
#include "sim_fixture.h"

namespace sim_test {
namespace {

using ConfigTest = SimFixture;

bool SameBytes(const AdcConfig& a, const AdcConfig& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(ConfigTest, PowerOnRecord) {
  AdcConfig expected{};
  expected.modeBits = 0x30;
  expected.trigBits = 0x01;
  expected.wPeriod = 100;
  EXPECT_TRUE(SameBytes(Config(), expected));
}

TEST_F(ConfigTest, AdoptsEveryByteButTheRunningBit) {
  AdcConfig sent{};
  sent.modeBits = 0xC6;  // uninterpreted bits 6-7 set, oversampling index 6
  sent.trigBits = 0x80 | 0x10 | 0x08 | 0x03;  // running bit sent, below, both edges, voltage
  sent.reserved2[0] = 0xA5;
  sent.reserved2[1] = 0x01;
  sent.mainChannel = 7;
  sent.reserved5[0] = 0xFF;
  sent.reserved5[1] = 0x00;
  sent.reserved5[2] = 0x7E;
  sent.wPeriod = 65535;
  sent.trigVolMv = 4321;
  sent.trigCnt = 123456;
  sent.maxCycles = 0xFFFFFFFF;
  ASSERT_TRUE(Kavrel_ADCSetConfig(index_, &sent));

  AdcConfig expected = sent;
  expected.trigBits &= 0x7F;  // not sampling
  EXPECT_TRUE(SameBytes(Config(), expected));

  // Sampling sets the bit; a record sent meanwhile cannot clear it.
  Configure(PeriodConfig(kMicroseconds, 10));
  Start();
  EXPECT_TRUE(Config().trigBits & 0x80);
  Configure(PeriodConfig(kMicroseconds, 10));
  EXPECT_TRUE(Config().trigBits & 0x80);
  ASSERT_TRUE(Kavrel_ADCStop(index_));
  EXPECT_FALSE(Config().trigBits & 0x80);
}

TEST_F(ConfigTest, TrigCntSentZeroRestartsTheCount) {
  Configure(PeriodConfig(kMicroseconds, 10));
  Start();
  KavrelSim_AdvanceClock(500);
  ASSERT_EQ(Config().trigCnt, 50u);
  AdcConfig c = Config();
  c.trigCnt = 0;
  Configure(c);
  KavrelSim_AdvanceClock(200);
  EXPECT_EQ(Config().trigCnt, 20u);
}

TEST_F(ConfigTest, RefusesRecordsTheModuleCannotRun) {
  AdcConfig kept = PeriodConfig(kMicroseconds, 250);
  kept.reserved5[1] = 0x33;
  Configure(kept);

  struct Case {
    const char* what;
    void (*spoil)(AdcConfig&);
  };
  const Case cases[] = {
      {"period 0", [](AdcConfig& c) { c.wPeriod = 0; }},
      {"period 0 in ms", [](AdcConfig& c) { c.modeBits |= 0x20; c.wPeriod = 0; }},
      {"oversampling index 7", [](AdcConfig& c) { c.modeBits |= 0x07; }},
      {"main channel 8", [](AdcConfig& c) { c.mainChannel = 8; }},
      {"main channel 255", [](AdcConfig& c) { c.mainChannel = 255; }},
      {"IO edge 3", [](AdcConfig& c) { c.trigBits |= 0x0C; }},
      {"trigger bit 5", [](AdcConfig& c) { c.trigBits |= 0x20; }},
      {"trigger bit 6", [](AdcConfig& c) { c.trigBits |= 0x40; }},
  };
  for (const Case& k : cases) {
    AdcConfig bad = PeriodConfig(kMilliseconds, 3);
    k.spoil(bad);
    EXPECT_FALSE(Kavrel_ADCSetConfig(index_, &bad)) << k.what;
    EXPECT_TRUE(SameBytes(Config(), kept)) << k.what;
  }
}

}  // namespace
}  // namespace sim_test
