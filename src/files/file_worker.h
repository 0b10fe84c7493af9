#pragma once
// A thread of its own for file work, so that the thread that owns the
// acquisition never waits on a disk. Jobs run one after another; what a job
// reports goes back through `deliver`, which must run the given function
// later on the owner's thread (the window passes a queued call). A job never
// touches the owner's state: it reads what it was handed and reports.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace trelvan {

using Task = std::function<void()>;
using Deliver = std::function<void(Task)>;

class FileWorker {
 public:
  explicit FileWorker(Deliver deliver);
  // Runs the jobs already queued, then ends the thread.
  ~FileWorker();
  FileWorker(const FileWorker&) = delete;
  FileWorker& operator=(const FileWorker&) = delete;

  // `job` runs on the worker thread.
  void Post(Task job);
  // From inside a job: `task` runs on the owner's thread.
  void Report(Task task) { deliver_(std::move(task)); }
  // Drops `rows` on the worker thread when this is their last reference:
  // handing an array of a hundred megabytes back to the system holds the
  // thread that does it for tens of milliseconds. Called on the owner's
  // thread; an array someone else still holds is only let go of here.
  template <class T>
  void Release(std::shared_ptr<T[]> rows) {
    if (rows && rows.use_count() == 1) Post([rows = std::move(rows)] {});
  }

 private:
  void Run();

  Deliver deliver_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Task> jobs_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace trelvan
