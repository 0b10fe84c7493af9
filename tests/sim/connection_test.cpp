// Opening and closing the module, its identity, and calls with a wrong index.
#include <functional>
#include <string>

#include "sim_fixture.h"

namespace sim_test {
namespace {

using ConnectionTest = SimFixture;

TEST_F(ConnectionTest, OpenGivesIndexZeroOnceUntilClosed) {
  EXPECT_EQ(Kavrel_OpenDevice(), KAVREL_NO_DEVICE) << "already open";
  EXPECT_TRUE(Kavrel_CloseDevice(index_));
  EXPECT_FALSE(Kavrel_CloseDevice(index_)) << "closed index is invalid";
  char serial[20] = {};
  EXPECT_FALSE(Kavrel_GetSerialNo(0, serial));
  EXPECT_EQ(Kavrel_OpenDevice(), 0);
}

TEST_F(ConnectionTest, CloseStopsSamplingAndEmptiesFifo) {
  Configure(PeriodConfig(kMicroseconds, 10));
  Start();
  KavrelSim_AdvanceClock(1000);
  ASSERT_EQ(FifoLeft(), 100);
  ASSERT_TRUE(Kavrel_CloseDevice(index_));
  ASSERT_EQ(Kavrel_OpenDevice(), 0);
  KavrelSim_AdvanceClock(1000);
  EXPECT_EQ(FifoLeft(), 0);
  EXPECT_FALSE(Config().trigBits & 0x80);
}

TEST_F(ConnectionTest, SerialAndFourVersionEntries) {
  char serial[20];
  std::memset(serial, 'x', sizeof serial);
  ASSERT_TRUE(Kavrel_GetSerialNo(index_, serial));
  const size_t length = strnlen(serial, sizeof serial);
  EXPECT_LT(length, sizeof serial) << "NUL-terminated within 20 bytes";
  EXPECT_GT(length, 0u);

  for (uint8_t selector = 0; selector < 4; ++selector) {
    char version[50] = {};
    ASSERT_TRUE(Kavrel_GetVersion(index_, selector, version)) << int(selector);
    const std::string text(version, strnlen(version, sizeof version));
    const size_t semicolon = text.find(';');
    ASSERT_NE(semicolon, std::string::npos) << text;
    EXPECT_GT(semicolon, 0u) << text;
    EXPECT_LT(text.size() - semicolon - 1, 30u) << text;
  }
  char version[50] = {};
  EXPECT_FALSE(Kavrel_GetVersion(index_, 4, version));
  EXPECT_FALSE(Kavrel_GetVersion(index_, 255, version));
}

TEST_F(ConnectionTest, DfuPinKeepsItsState) {
  uint8_t pin = 7;
  ASSERT_TRUE(Kavrel_DFUPinGet(index_, &pin));
  EXPECT_EQ(pin, 0);
  ASSERT_TRUE(Kavrel_DFUPinSet(index_, 1));
  ASSERT_TRUE(Kavrel_DFUPinGet(index_, &pin));
  EXPECT_NE(pin, 0);
  ASSERT_TRUE(Kavrel_DFUPinSet(index_, 0));
  ASSERT_TRUE(Kavrel_DFUPinGet(index_, &pin));
  EXPECT_EQ(pin, 0);
}

// Every operation with an index that is not the open module's fails and
// changes nothing: the module stays open, idle, configured as before, and
// keeps its FIFO.
TEST_F(ConnectionTest, WrongIndexFailsWithoutEffect) {
  AdcConfig before = PeriodConfig(kMicroseconds, 10);
  before.reserved2[0] = 0x5A;
  Configure(before);
  Start();
  KavrelSim_AdvanceClock(100);
  ASSERT_TRUE(Kavrel_ADCStop(index_));
  const AdcConfig configured = Config();
  ASSERT_EQ(FifoLeft(), 10);

  AdcConfig other = PeriodConfig(kMilliseconds, 7);
  const std::function<uint8_t(uint8_t)> calls[] = {
      [](uint8_t i) { return Kavrel_CloseDevice(i); },
      [](uint8_t i) { char s[20]; return Kavrel_GetSerialNo(i, s); },
      [](uint8_t i) { AdcConfig c; return Kavrel_ADCGetConfig(i, &c); },
      [&](uint8_t i) { return Kavrel_ADCSetConfig(i, &other); },
      [](uint8_t i) { uint8_t p; return Kavrel_DFUPinGet(i, &p); },
      [](uint8_t i) { return Kavrel_DFUPinSet(i, 1); },
      [](uint8_t i) { return Kavrel_DFUMode(i); },
      [](uint8_t i) { return Kavrel_ADCReset(i); },
      [](uint8_t i) { return Kavrel_ADCStart(i); },
      [](uint8_t i) { return Kavrel_InitFIFO(i); },
      [](uint8_t i) { int32_t l; return Kavrel_GetFIFOLeft(i, &l); },
      [](uint8_t i) { uint8_t b[64]; uint32_t n = 99; return Kavrel_ReadFIFO(i, b, 64, &n); },
      [](uint8_t i) { return Kavrel_ADCStop(i); },
      [](uint8_t i) { uint8_t b[16]; return Kavrel_ADCRead(i, b); },
      [](uint8_t i) { char v[50]; return Kavrel_GetVersion(i, 0, v); },
  };
  for (uint8_t wrong : {uint8_t{1}, uint8_t{254}, uint8_t{KAVREL_NO_DEVICE}}) {
    for (size_t k = 0; k < std::size(calls); ++k) {
      EXPECT_EQ(calls[k](wrong), 0) << "index " << int(wrong) << ", call " << k;
    }
  }
  KavrelSim_AdvanceClock(1000);
  const AdcConfig after = Config();
  EXPECT_EQ(std::memcmp(&after, &configured, sizeof after), 0);
  uint8_t pin = 1;
  ASSERT_TRUE(Kavrel_DFUPinGet(index_, &pin));
  EXPECT_EQ(pin, 0);
  EXPECT_EQ(FifoLeft(), 10);
}

TEST(ConnectionClosed, EveryOperationFailsBeforeOpen) {
  KavrelSim_Reset();
  AdcConfig c{};
  int32_t left = 0;
  uint8_t buffer[16];
  uint32_t got = 0;
  EXPECT_FALSE(Kavrel_ADCGetConfig(0, &c));
  EXPECT_FALSE(Kavrel_ADCStart(0));
  EXPECT_FALSE(Kavrel_GetFIFOLeft(0, &left));
  EXPECT_FALSE(Kavrel_ReadFIFO(0, buffer, sizeof buffer, &got));
  EXPECT_FALSE(Kavrel_ADCRead(0, buffer));
  EXPECT_FALSE(Kavrel_CloseDevice(0));
}

}  // namespace
}  // namespace sim_test
