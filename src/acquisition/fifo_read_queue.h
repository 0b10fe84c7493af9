#pragma once
// The FIFO reads the acquisition engine has taken and the window has not
// stored yet, oldest first, each in a buffer of its own. The engine pushes
// from its thread, the window takes them on its own; buffers come back to a
// small pool so that a steady run allocates nothing.

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "acquisition/fifo_read.h"

namespace trelvan {

class FifoReadQueue {
 public:
  // Bytes of the reads queued at most (about a minute at the top rate): the
  // engine reads no more until the window has taken some.
  static constexpr uint64_t DefaultLimitBytes = uint64_t{1} << 30;
  // Reads queued at most, empty or failed ones too (an hour of reads).
  static constexpr size_t LimitReads = 18'000;
  // Buffers the pool keeps for reuse; more are freed when they come back.
  static constexpr size_t PoolBuffers = 4;

  explicit FifoReadQueue(uint32_t bufferBytes, uint64_t limitBytes = DefaultLimitBytes);

  uint32_t bufferBytes() const { return bufferBytes_; }

  // A buffer for the next read: from the pool, else newly allocated (its
  // pages are committed only as a read writes them).
  std::unique_ptr<uint8_t[]> TakeBuffer();
  void GiveBack(std::unique_ptr<uint8_t[]> buffer);

  void Push(FifoRead read);
  // The oldest read, if any.
  bool Pop(FifoRead& read);
  // No more reads fit.
  bool Full() const;
  bool Empty() const;
  // Whole cycles of the queued reads.
  uint64_t Cycles() const;
  // Forgets every queued read; returns their whole cycles.
  uint64_t Drop();

 private:
  const uint32_t bufferBytes_;
  const uint64_t limitBytes_;
  mutable std::mutex mutex_;
  std::deque<FifoRead> reads_;
  std::deque<std::unique_ptr<uint8_t[]>> pool_;
  uint64_t bytes_ = 0;
  uint64_t cycles_ = 0;
};

}  // namespace trelvan
