// Injected failures: the named operation fails the next N times, without
// effect, then works again.
#include "sim_fixture.h"

namespace sim_test {
namespace {

using FailureTest = SimFixture;

TEST_F(FailureTest, ReadFifoFailsTwiceAndLosesNothing) {
  ASSERT_TRUE(KavrelSim_SelectSource(KAVREL_SIM_SEQUENCE));
  Configure(PeriodConfig(kMicroseconds, 10));
  Start();
  ASSERT_TRUE(KavrelSim_FailNext("Kavrel_ReadFIFO", 2));
  KavrelSim_AdvanceClock(100);
  uint8_t buffer[160 * 2];
  for (int i = 0; i < 2; ++i) {
    uint32_t got = 12345;
    EXPECT_FALSE(Kavrel_ReadFIFO(index_, buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 12345u) << "untouched";
  }
  uint32_t got = 0;
  ASSERT_TRUE(Kavrel_ReadFIFO(index_, buffer, sizeof buffer, &got));
  ASSERT_EQ(got, 160u);
  for (uint32_t i = 0; i < 10; ++i) EXPECT_EQ(SequenceNumber(buffer + 16 * i), i);
}

TEST_F(FailureTest, FailuresAreCountedPerOperation) {
  ASSERT_TRUE(KavrelSim_FailNext("Kavrel_ADCStart", 1));
  ASSERT_TRUE(KavrelSim_FailNext("Kavrel_GetVersion", 3));
  Configure(PeriodConfig(kMicroseconds, 10));
  EXPECT_FALSE(Kavrel_ADCStart(index_));
  EXPECT_FALSE(Config().trigBits & 0x80) << "a failed start starts nothing";
  EXPECT_TRUE(Kavrel_ADCStart(index_));
  char version[50];
  for (uint8_t selector = 0; selector < 4; ++selector) {
    EXPECT_EQ(Kavrel_GetVersion(index_, selector, version), selector == 3) << int(selector);
  }
}

TEST_F(FailureTest, OpenFailsWithNoDeviceAndCancelWorks) {
  ASSERT_TRUE(Kavrel_CloseDevice(index_));
  ASSERT_TRUE(KavrelSim_FailNext("Kavrel_OpenDevice", 1));
  EXPECT_EQ(Kavrel_OpenDevice(), KAVREL_NO_DEVICE);
  EXPECT_EQ(Kavrel_OpenDevice(), 0);

  ASSERT_TRUE(KavrelSim_FailNext("Kavrel_ADCStop", 5));
  ASSERT_TRUE(KavrelSim_FailNext("Kavrel_ADCStop", 0));
  EXPECT_TRUE(Kavrel_ADCStop(0));
}

TEST_F(FailureTest, UnknownNamesAreRefusedAndResetClearsPending) {
  EXPECT_FALSE(KavrelSim_FailNext("Kavrel_Nothing", 1));
  EXPECT_FALSE(KavrelSim_FailNext("ReadFIFO", 1));
  EXPECT_FALSE(KavrelSim_FailNext(nullptr, 1));
  ASSERT_TRUE(KavrelSim_FailNext("Kavrel_OpenDevice", 1));
  KavrelSim_Reset();
  EXPECT_EQ(Kavrel_OpenDevice(), 0);
}

}  // namespace
}  // namespace sim_test
