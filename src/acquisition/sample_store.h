#pragma once
// The sample store: up to `capacity` cycles of eight channels, held as volts
// and as the module's raw 16-bit codes. Both arrays are allocated once,
// uninitialised, so that the operating system commits pages only as rows are
// written; they never grow, shrink or move.

#include <array>
#include <cstdint>
#include <memory>

namespace trelvan {

constexpr uint32_t StoreCapacity = 6'000'000;
constexpr int Channels = 8;
constexpr uint32_t CycleBytes = 16;

struct ChannelStats {
  float maxVolts = -20.0f;
  float minVolts = 20.0f;
};

class SampleStore {
 public:
  explicit SampleStore(uint32_t capacity = StoreCapacity);

  uint32_t capacity() const { return capacity_; }
  bool full() const { return cycleCount >= capacity_; }
  uint32_t room() const { return capacity_ - cycleCount; }

  float* voltsRow(uint32_t row) { return volts.get() + std::size_t{row} * Channels; }
  const float* voltsRow(uint32_t row) const { return volts.get() + std::size_t{row} * Channels; }
  int16_t* rawRow(uint32_t row) { return raw.get() + std::size_t{row} * Channels; }
  const int16_t* rawRow(uint32_t row) const { return raw.get() + std::size_t{row} * Channels; }

  std::unique_ptr<float[]> volts;  // [capacity][8]
  std::unique_ptr<int16_t[]> raw;  // [capacity][8], as the module delivered them
  uint32_t cycleCount = 0;         // rows in use

 private:
  uint32_t capacity_;
};

}  // namespace trelvan
