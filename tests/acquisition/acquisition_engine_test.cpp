// The acquisition engine on its own thread against the scripted device: it
// queues every read in order with its own bytes, keeps no buffer for an
// empty or failed read, reads nothing while held or while its queue is full,
// and stops at End once a read under way is queued.
#include "acquisition/acquisition_engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/fake_device_library.h"

namespace trelvan {
namespace {

using testing::SequenceCycles;

constexpr uint32_t EngineTestBufferBytes = 64 * 16;

template <class Done>
bool EventuallyTrue(Done&& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

struct EngineFixture : ::testing::Test {
  testing::FakeDeviceLibrary device;  // touched by the engine's thread only while it runs
  FifoReadQueue reads{EngineTestBufferBytes, 4 * EngineTestBufferBytes};
  std::atomic<int64_t> clockUs{1'000};
  AcquisitionEngine engine{device, reads, [this] { return clockUs.fetch_add(100); }};

  void RunUntilReads(uint64_t n) {
    engine.Run(3, 1);
    ASSERT_TRUE(EventuallyTrue([&] { return engine.readsTaken() >= n; }));
    engine.End();
  }
};

TEST_F(EngineFixture, ReadsAreQueuedInOrderEachWithItsOwnBytes) {
  device.fifoLeft = 7;
  device.fifoChunks.push_back(SequenceCycles(3, 0));
  device.fifoChunks.push_back({});  // an empty read
  device.fifoChunks.push_back(SequenceCycles(2, 3));
  RunUntilReads(3);
  EXPECT_FALSE(engine.running());
  EXPECT_EQ(device.calls[0].op, "GetFIFOLeft");
  EXPECT_EQ(device.calls[0].index, 3);
  EXPECT_EQ(device.calls[1].arg, EngineTestBufferBytes);

  FifoRead first, empty, second;
  ASSERT_TRUE(reads.Pop(first));
  ASSERT_TRUE(reads.Pop(empty));
  ASSERT_TRUE(reads.Pop(second));
  EXPECT_EQ(first.bytes, 48u);
  EXPECT_EQ(first.fifoLeft, 7);
  ASSERT_NE(first.buffer, nullptr);
  EXPECT_EQ(testing::SequenceOf(reinterpret_cast<const int16_t*>(first.buffer.get() + 32)), 2u);
  EXPECT_TRUE(empty.ok);
  EXPECT_EQ(empty.bytes, 0u);
  EXPECT_EQ(empty.buffer, nullptr) << "an empty read keeps no buffer";
  EXPECT_EQ(testing::SequenceOf(reinterpret_cast<const int16_t*>(second.buffer.get())), 3u);
  EXPECT_LT(first.atUs, empty.atUs);
  EXPECT_LT(empty.atUs, second.atUs);
}

TEST_F(EngineFixture, AFailedReadIsQueuedWithoutBytesOrLevel) {
  device.readFifoResult = 0;
  device.fifoLeftResult = 0;
  device.reportedBytes = 4096;  // a failed call's count is never used
  RunUntilReads(1);
  FifoRead read;
  ASSERT_TRUE(reads.Pop(read));
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.bytes, 0u);
  EXPECT_EQ(read.cycles(), 0u);
  EXPECT_FALSE(read.fifoLeft.has_value());
  EXPECT_EQ(read.fifoLeftShown, 0);
  EXPECT_EQ(read.buffer, nullptr);
}

TEST_F(EngineFixture, HeldOrFullItReadsNothingUntilReleased) {
  for (int i = 0; i < 8; ++i) device.fifoChunks.push_back(SequenceCycles(64, 64 * i));  // a whole buffer each
  engine.Hold(true);
  engine.Run(0, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(engine.readsTaken(), 0u);
  engine.Hold(false);
  // Four full buffers fill the queue: no fifth read until one is taken.
  ASSERT_TRUE(EventuallyTrue([&] { return reads.Full(); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(engine.readsTaken(), 4u);
  FifoRead read;
  ASSERT_TRUE(reads.Pop(read));
  reads.GiveBack(std::move(read.buffer));
  ASSERT_TRUE(EventuallyTrue([&] { return engine.readsTaken() == 5; }));
  engine.End();
  EXPECT_EQ(reads.Cycles(), 4u * 64);
  EXPECT_EQ(reads.Drop(), 4u * 64);
  EXPECT_TRUE(reads.Empty());
}

}  // namespace
}  // namespace trelvan
