#pragma once
// The sample store: up to `capacity` cycles of eight channels, held as volts
// and as the module's raw 16-bit codes. The arrays are shared, reference-
// counted buffers allocated uninitialised (on a 64-byte boundary), so that
// the operating system commits pages only as rows are written. A file
// worker may hold them while it reads rows it was given; the store then never
// writes those rows again: when it starts again at row 0 it takes fresh
// arrays (or its spare raw one).

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

using RawRows = std::shared_ptr<int16_t[]>;
using VoltsRows = std::shared_ptr<float[]>;

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

  // Empties the store (cycleCount 0). An array someone else still holds is
  // left to them: the store goes on in its spare raw array or a fresh one.
  // Every holder releases its reference on the store's own thread.
  void Restart();

  // Gives the raw array away (an auto-save writes it) and empties the store.
  RawRows TakeRaw();

  // A raw array that is free again; kept as the spare unless there is one.
  void GiveBack(RawRows rows);
  bool hasSpare() const { return spare_ != nullptr; }

  VoltsRows volts;         // [capacity][8]
  RawRows raw;             // [capacity][8], as the module delivered them
  uint32_t cycleCount = 0; // rows in use

 private:
  RawRows FreeRaw();

  uint32_t capacity_;
  RawRows spare_;
};

}  // namespace trelvan
