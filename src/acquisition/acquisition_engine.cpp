#include "acquisition/acquisition_engine.h"

#include <algorithm>
#include <chrono>

namespace trelvan {

AcquisitionEngine::AcquisitionEngine(DeviceLibrary& device, FifoReadQueue& reads, Clock clock,
                                     ReadNotice onRead)
    : device_(device),
      reads_(reads),
      clock_(std::move(clock)),
      onRead_(std::move(onRead)),
      thread_([this] { Loop(); }) {}

AcquisitionEngine::~AcquisitionEngine() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void AcquisitionEngine::Run(uint8_t index, int intervalMs) {
  {
    std::lock_guard lock(mutex_);
    index_ = index;
    intervalMs_ = std::max(1, intervalMs);
    if (!running_) {
      running_ = true;
      ++generation_;
      lastReadUs_ = -1;
      longestGapUs_ = 0;
    }
  }
  wake_.notify_all();
}

void AcquisitionEngine::End() {
  std::unique_lock lock(mutex_);
  running_ = false;
  wake_.notify_all();
  idle_.wait(lock, [this] { return !reading_; });
}

void AcquisitionEngine::Hold(bool held) {
  {
    std::lock_guard lock(mutex_);
    if (held_ == held) return;
    held_ = held;
  }
  wake_.notify_all();
}

bool AcquisitionEngine::running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

int64_t AcquisitionEngine::LongestGapUs() const {
  std::lock_guard lock(mutex_);
  return longestGapUs_;
}

uint64_t AcquisitionEngine::readsTaken() const {
  std::lock_guard lock(mutex_);
  return readsTaken_;
}

void AcquisitionEngine::Loop() {
  using std::chrono::steady_clock;
  std::unique_lock lock(mutex_);
  uint64_t generation = 0;
  steady_clock::time_point due{};
  while (!quit_) {
    if (!running_) {
      wake_.wait(lock, [this] { return quit_ || running_; });
      continue;
    }
    if (generation != generation_) {  // a new run: its first read one interval on
      generation = generation_;
      due = steady_clock::now() + std::chrono::milliseconds(intervalMs_);
    }
    const auto interval = std::chrono::milliseconds(intervalMs_);
    if (held_) {
      const bool held = held_;
      wake_.wait(lock, [&] { return quit_ || !running_ || generation != generation_ || held_ != held; });
      continue;
    }
    if (reads_.Full()) {  // looked at again soon: the window takes reads without telling
      wake_.wait_for(lock, std::min<std::chrono::milliseconds>(interval, std::chrono::milliseconds(20)));
      continue;
    }
    if (steady_clock::now() < due) {
      wake_.wait_until(lock, due, [&] {
        return quit_ || !running_ || generation != generation_ || held_;
      });
      continue;
    }
    reading_ = true;
    const uint8_t index = index_;
    lock.unlock();

    auto buffer = reads_.TakeBuffer();
    const int64_t nowUs = clock_();
    FifoRead read = ReadFifoOnce(device_, index, buffer.get(), reads_.bufferBytes(), nowUs);
    if (read.bytes > 0) {
      read.buffer = std::move(buffer);
    } else {
      reads_.GiveBack(std::move(buffer));  // an empty or failed read keeps no buffer
    }
    reads_.Push(std::move(read));

    lock.lock();
    reading_ = false;
    ++readsTaken_;
    if (lastReadUs_ >= 0) longestGapUs_ = std::max(longestGapUs_, nowUs - lastReadUs_);
    lastReadUs_ = nowUs;
    // The next read one interval after this one was due; after a long delay
    // (the machine was busy) one interval from now.
    due += interval;
    if (due < steady_clock::now()) due = steady_clock::now();
    idle_.notify_all();
    if (onRead_) {
      lock.unlock();
      onRead_();
      lock.lock();
    }
  }
}

}  // namespace trelvan
