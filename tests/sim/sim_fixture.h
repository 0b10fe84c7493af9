#pragma once
// A freshly powered simulated module, opened, with the clock in hand.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "device/kavrel.h"
#include "kavrel_sim.h"

namespace sim_test {

constexpr uint8_t kMicroseconds = 0x10;   // modeBits: +/-10 V, period in us
constexpr uint8_t kMilliseconds = 0x30;   // modeBits: +/-10 V, period in ms
constexpr uint8_t kPeriodTrigger = 0x01;  // trigBits

inline AdcConfig PeriodConfig(uint8_t modeBits, uint16_t period, uint32_t maxCycles = 0) {
  AdcConfig c{};
  c.modeBits = modeBits;
  c.trigBits = kPeriodTrigger;
  c.wPeriod = period;
  c.maxCycles = maxCycles;
  return c;
}

inline uint32_t SequenceNumber(const uint8_t* cycle) {
  uint16_t high, low;
  std::memcpy(&high, cycle + 12, 2);
  std::memcpy(&low, cycle + 14, 2);
  return uint32_t{high} << 16 | low;
}

inline int16_t Code(const uint8_t* cycle, int channel) {
  int16_t code;
  std::memcpy(&code, cycle + 2 * channel, 2);
  return code;
}

class SimFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    KavrelSim_Reset();
    KavrelSim_SetManualClock(1);
    index_ = Kavrel_OpenDevice();
    ASSERT_EQ(index_, 0);
  }
  void TearDown() override { KavrelSim_Reset(); }

  void Configure(const AdcConfig& c) { ASSERT_TRUE(Kavrel_ADCSetConfig(index_, &c)); }
  void Start() {
    ASSERT_TRUE(Kavrel_ADCStart(index_));
    ASSERT_TRUE(Kavrel_InitFIFO(index_));
  }
  AdcConfig Config() {
    AdcConfig c{};
    EXPECT_TRUE(Kavrel_ADCGetConfig(index_, &c));
    return c;
  }
  int32_t FifoLeft() {
    int32_t left = -1;
    EXPECT_TRUE(Kavrel_GetFIFOLeft(index_, &left));
    return left;
  }
  // One read into a buffer of `bytes`; returns the bytes delivered.
  std::vector<uint8_t> Read(uint32_t bytes) {
    std::vector<uint8_t> buffer(bytes);
    uint32_t got = 0;
    EXPECT_TRUE(Kavrel_ReadFIFO(index_, buffer.data(), bytes, &got));
    buffer.resize(got);
    return buffer;
  }
  std::vector<uint8_t> ReadAll() { return Read(static_cast<uint32_t>(FifoLeft()) * 16u); }

  uint8_t index_ = KAVREL_NO_DEVICE;
};

}  // namespace sim_test
