#pragma once
// The acquisition state the main window owns: connection, configuration,
// sample store, statistics, factors, and the read buffer of the poll.

#include <array>
#include <cstdint>
#include <memory>

#include "acquisition/fifo_read_queue.h"
#include "acquisition/run_health.h"
#include "acquisition/sample_store.h"
#include "device/adc_config.h"

namespace trelvan {

constexpr int32_t ReadChunkCycles = 1'600'000;
constexpr int PollIntervalMs = 200;  // Timer1 while sampling
constexpr uint32_t ReadBufferBytes = ReadChunkCycles * CycleBytes;  // 25,600,000

struct AcquisitionState {
  explicit AcquisitionState(uint32_t storeCapacity = StoreCapacity);

  uint8_t deviceIndex = NoDevice;
  AdcConfig adcConfig{};
  char serialNo[20]{};
  float fullScaleVolts = 0.0f;
  int32_t readChunkCycles = 0;
  SampleStore store;
  std::array<ChannelStats, Channels> channelStats{};
  std::array<float, Channels> channelFactor{};

  // The poll's read buffer, allocated once. Cycles of a read that could not
  // be stored yet (the store was full and its auto-save failed) wait here:
  // `waitingCycles` cycles from byte `waitingOffset` on.
  std::unique_ptr<uint8_t[]> readBuffer;
  uint32_t waitingOffset = 0;
  uint32_t waitingCycles = 0;
  // The conversion in force when the waiting cycles were read: they are
  // stored with it, whatever the range or the factors are by then.
  float waitingFullScaleVolts = 0.0f;
  std::array<float, Channels> waitingFactors{};

  // Reads the acquisition engine took from the FIFO and the poll has not
  // stored yet (empty when the poll reads the FIFO itself).
  FifoReadQueue reads{ReadBufferBytes};

  // Raised at every emptying of the store (a clear or an auto-save), so that
  // an operation that waited in a dialog sees that the rows it counted left.
  uint64_t storeEmptyings = 0;

  RunHealth health;

  bool paused() const { return waitingCycles > 0; }
};

}  // namespace trelvan
