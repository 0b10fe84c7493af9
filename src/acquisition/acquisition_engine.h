#pragma once
// The thread that empties the module's FIFO while sampling. It reads at a
// steady pace into a queue of reads, whatever the window is doing; the
// window stores and shows them when it runs. Only the engine and the
// window's own commands reach the device, one call at a time.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "acquisition/fifo_read_queue.h"
#include "device/device_library.h"

namespace trelvan {

class AcquisitionEngine {
 public:
  using Clock = std::function<int64_t()>;  // steady microseconds; called on the engine's thread
  using ReadNotice = std::function<void()>;  // after each read, on the engine's thread

  // `device` must serialise its calls (the window calls it too).
  AcquisitionEngine(DeviceLibrary& device, FifoReadQueue& reads, Clock clock,
                    ReadNotice onRead = {});
  ~AcquisitionEngine();
  AcquisitionEngine(const AcquisitionEngine&) = delete;
  AcquisitionEngine& operator=(const AcquisitionEngine&) = delete;

  // Reads module `index` every `intervalMs` from now on (the first read one
  // interval after), until End. While running it follows a new index.
  void Run(uint8_t index, int intervalMs);
  // No more reads; returns once a read under way has been queued.
  void End();
  // While held, no read begins (the window cannot store more yet).
  void Hold(bool held);
  bool running() const;

  // The longest time between the starts of two reads of one run, in
  // microseconds (on the engine's clock).
  int64_t LongestGapUs() const;
  uint64_t readsTaken() const;

 private:
  void Loop();

  DeviceLibrary& device_;
  FifoReadQueue& reads_;
  const Clock clock_;
  const ReadNotice onRead_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool quit_ = false;
  bool running_ = false;
  bool held_ = false;
  bool reading_ = false;  // a read is under way
  uint8_t index_ = 0;
  int intervalMs_ = 200;
  uint64_t generation_ = 0;  // raised by every Run
  int64_t lastReadUs_ = -1;
  int64_t longestGapUs_ = 0;
  uint64_t readsTaken_ = 0;
  std::condition_variable idle_;
  std::thread thread_;  // last: starts once the members above exist
};

}  // namespace trelvan
