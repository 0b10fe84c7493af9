// Hot-plug notices: delivered on the library's own thread, never under the
// module's lock; unplugging and DFU mode take the module off the bus.
#include <mutex>
#include <thread>

#include "sim_fixture.h"

namespace sim_test {
namespace {

struct Notice {
  uint8_t index;
  uint32_t status;
  std::thread::id thread;
  uint8_t openedInCallback;
};

std::mutex noticesMutex;
std::vector<Notice> notices;

int32_t Record(uint8_t index, uint32_t status) {
  std::lock_guard lock(noticesMutex);
  notices.push_back({index, status, std::this_thread::get_id(), 0});
  return 1;
}

// Calls back into the library, as a program's handler might.
int32_t RecordAndOpen(uint8_t index, uint32_t status) {
  const uint8_t opened = Kavrel_OpenDevice();
  std::lock_guard lock(noticesMutex);
  notices.push_back({index, status, std::this_thread::get_id(), opened});
  return 1;
}

class HotPlugTest : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    TakeNotices();
    ASSERT_TRUE(Kavrel_SetUSBNotify(1, Record));
  }
  std::vector<Notice> TakeNotices() {
    EXPECT_TRUE(KavrelSim_WaitNotifications(10'000));
    std::lock_guard lock(noticesMutex);
    return std::exchange(notices, {});
  }
};

TEST_F(HotPlugTest, UnplugAndPlugAreNoticedFromTheLibrarysThread) {
  ASSERT_TRUE(KavrelSim_Unplug());
  auto got = TakeNotices();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].index, index_);
  EXPECT_EQ(got[0].status & 0x80, 0u) << "removal";
  EXPECT_NE(got[0].thread, std::this_thread::get_id());

  AdcConfig c;
  EXPECT_FALSE(Kavrel_ADCGetConfig(index_, &c)) << "unplugging closed the module";
  EXPECT_EQ(Kavrel_OpenDevice(), KAVREL_NO_DEVICE);
  EXPECT_FALSE(KavrelSim_Unplug()) << "already off the bus";
  EXPECT_TRUE(TakeNotices().empty());

  ASSERT_TRUE(KavrelSim_Plug());
  got = TakeNotices();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].index, 0);
  EXPECT_NE(got[0].status & 0x80, 0u) << "arrival";
  EXPECT_NE(got[0].thread, std::this_thread::get_id());
  EXPECT_EQ(Kavrel_OpenDevice(), 0);
}

TEST_F(HotPlugTest, UnplugWhileSamplingEndsTheRun) {
  Configure(PeriodConfig(kMicroseconds, 10));
  Start();
  KavrelSim_AdvanceClock(100);
  ASSERT_TRUE(KavrelSim_Unplug());
  int32_t left = 0;
  EXPECT_FALSE(Kavrel_GetFIFOLeft(KAVREL_NO_DEVICE, &left));
  ASSERT_TRUE(KavrelSim_Plug());
  ASSERT_EQ(Kavrel_OpenDevice(), 0);
  KavrelSim_AdvanceClock(100);
  EXPECT_EQ(FifoLeft(), 0);
  const AdcConfig c = Config();
  EXPECT_EQ(c.trigBits, 0x01) << "powered on afresh, not running";
  EXPECT_EQ(c.wPeriod, 100);
}

TEST_F(HotPlugTest, DfuModeLeavesTheBusUntilPluggedAgain) {
  ASSERT_TRUE(Kavrel_DFUMode(index_));
  auto got = TakeNotices();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].status & 0x80, 0u);
  EXPECT_EQ(Kavrel_OpenDevice(), KAVREL_NO_DEVICE);
  EXPECT_FALSE(Kavrel_DFUMode(index_));

  ASSERT_TRUE(KavrelSim_Plug());
  got = TakeNotices();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_NE(got[0].status & 0x80, 0u);
  EXPECT_EQ(Kavrel_OpenDevice(), 0);
}

TEST_F(HotPlugTest, CallbackMayCallTheLibrary) {
  ASSERT_TRUE(Kavrel_SetUSBNotify(1, RecordAndOpen));
  ASSERT_TRUE(KavrelSim_Unplug());
  auto got = TakeNotices();
  ASSERT_TRUE(KavrelSim_Plug());
  const auto arrival = TakeNotices();
  got.insert(got.end(), arrival.begin(), arrival.end());
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].openedInCallback, KAVREL_NO_DEVICE) << "off the bus at the removal";
  EXPECT_EQ(got[1].openedInCallback, 0) << "opened on arrival";
}

TEST_F(HotPlugTest, NoticesNeedARegisteredCallback) {
  ASSERT_TRUE(Kavrel_SetUSBNotify(1, nullptr));
  ASSERT_TRUE(KavrelSim_Unplug());
  ASSERT_TRUE(Kavrel_SetUSBNotify(1, Record));
  ASSERT_TRUE(KavrelSim_Plug());
  const auto got = TakeNotices();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_NE(got[0].status & 0x80, 0u);
}

}  // namespace
}  // namespace sim_test
