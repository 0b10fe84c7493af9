#include "notifier.h"

#include <cstdlib>

namespace kavrel_sim {

void Notifier::SetCallback(KavrelNotifyCallback callback) {
  std::lock_guard lock(mutex_);
  callback_ = callback;
  if (callback == nullptr || stopped_ || thread_.joinable()) return;
  thread_ = std::thread(&Notifier::Run, this);
}

void Notifier::Post(uint8_t index, uint32_t status) {
  std::lock_guard lock(mutex_);
  if (callback_ == nullptr || stopped_) return;
  queue_.push_back({index, status});
  wake_.notify_one();
}

void Notifier::Forget() {
  std::lock_guard lock(mutex_);
  callback_ = nullptr;
  queue_.clear();
  if (!delivering_) idle_.notify_all();
}

bool Notifier::WaitIdle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (thread_.joinable() && std::this_thread::get_id() == thread_.get_id()) return false;
  return idle_.wait_for(lock, timeout, [this] { return queue_.empty() && !delivering_; });
}

void Notifier::Stop() {
  std::thread thread;
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    queue_.clear();
    wake_.notify_all();
    thread.swap(thread_);
  }
  if (!thread.joinable()) return;
  // A callback that ends the process runs on the thread itself.
  if (std::this_thread::get_id() == thread.get_id()) {
    thread.detach();
  } else {
    thread.join();
  }
}

void Notifier::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopped_ || !queue_.empty(); });
    if (stopped_) break;
    const Notice notice = queue_.front();
    queue_.pop_front();
    const KavrelNotifyCallback callback = callback_;
    delivering_ = true;
    lock.unlock();
    if (callback != nullptr) callback(notice.index, notice.status);
    lock.lock();
    delivering_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
  delivering_ = false;
  idle_.notify_all();
}

}  // namespace kavrel_sim
