#pragma once
// The library's notification thread: hands hot-plug notices to the
// registered callback, one at a time, holding no lock while it calls it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "device/kavrel.h"

namespace kavrel_sim {

class Notifier {
 public:
  Notifier() = default;
  Notifier(const Notifier&) = delete;
  Notifier& operator=(const Notifier&) = delete;
  ~Notifier() { Stop(); }

  // Registers the callback (nullptr: none) and starts the thread on first
  // use. The thread is stopped before the process's static objects go away.
  void SetCallback(KavrelNotifyCallback callback);
  // Queues a notice; without a registered callback it is dropped.
  void Post(uint8_t index, uint32_t status);
  // Drops the callback and the notices not yet delivered.
  void Forget();
  // Waits until no notice is queued or being delivered. False on timeout
  // or when called on the notification thread itself.
  bool WaitIdle(std::chrono::milliseconds timeout);
  // Ends and joins the thread; later notices are dropped. Idempotent.
  void Stop();

 private:
  struct Notice {
    uint8_t index;
    uint32_t status;
  };
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Notice> queue_;
  KavrelNotifyCallback callback_ = nullptr;
  bool delivering_ = false;
  bool stopped_ = false;
  std::thread thread_;
};

}  // namespace kavrel_sim
