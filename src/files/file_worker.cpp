#include "files/file_worker.h"

namespace trelvan {

FileWorker::FileWorker(Deliver deliver) : deliver_(std::move(deliver)), thread_([this] { Run(); }) {}

FileWorker::~FileWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void FileWorker::Post(Task job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void FileWorker::Run() {
  for (;;) {
    Task job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

}  // namespace trelvan
