#include "acquisition/fifo_read_queue.h"

namespace trelvan {

FifoReadQueue::FifoReadQueue(uint32_t bufferBytes, uint64_t limitBytes)
    : bufferBytes_(bufferBytes), limitBytes_(limitBytes) {}

std::unique_ptr<uint8_t[]> FifoReadQueue::TakeBuffer() {
  {
    std::lock_guard lock(mutex_);
    if (!pool_.empty()) {
      auto buffer = std::move(pool_.back());
      pool_.pop_back();
      return buffer;
    }
  }
  return std::make_unique_for_overwrite<uint8_t[]>(bufferBytes_);
}

void FifoReadQueue::GiveBack(std::unique_ptr<uint8_t[]> buffer) {
  if (!buffer) return;
  std::unique_lock lock(mutex_);
  if (pool_.size() < PoolBuffers) {
    pool_.push_back(std::move(buffer));
    return;
  }
  lock.unlock();  // the buffer is freed outside the lock
}

void FifoReadQueue::Push(FifoRead read) {
  std::lock_guard lock(mutex_);
  bytes_ += read.bytes;
  cycles_ += read.cycles();
  reads_.push_back(std::move(read));
}

bool FifoReadQueue::Pop(FifoRead& read) {
  std::lock_guard lock(mutex_);
  if (reads_.empty()) return false;
  read = std::move(reads_.front());
  reads_.pop_front();
  bytes_ -= read.bytes;
  cycles_ -= read.cycles();
  return true;
}

bool FifoReadQueue::Full() const {
  std::lock_guard lock(mutex_);
  return bytes_ >= limitBytes_ || reads_.size() >= LimitReads;
}

bool FifoReadQueue::Empty() const {
  std::lock_guard lock(mutex_);
  return reads_.empty();
}

uint64_t FifoReadQueue::Cycles() const {
  std::lock_guard lock(mutex_);
  return cycles_;
}

uint64_t FifoReadQueue::Drop() {
  std::deque<FifoRead> dropped;
  uint64_t cycles = 0;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(reads_);
    cycles = cycles_;
    bytes_ = cycles_ = 0;
  }
  for (FifoRead& read : dropped) GiveBack(std::move(read.buffer));
  return cycles;
}

}  // namespace trelvan
