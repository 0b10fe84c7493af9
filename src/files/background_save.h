#pragma once
// Save As on a thread of its own: the rows counted at the press are written
// from the arrays they were in (the store takes fresh arrays should it start
// again at row 0 meanwhile), while the poll, auto-saves and clears go on.
// Progress, the end and the log lines reach the owner's thread only.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/sample_store.h"
#include "files/file_access.h"
#include "files/file_worker.h"
#include "files/sample_formats.h"

namespace trelvan {

// The rows of one save: the arrays are held until the save has reported.
struct SaveRows {
  RawRows raw;
  VoltsRows volts;
  uint32_t count = 0;
};

class BackgroundSave {
 public:
  BackgroundSave(FileWriter& writer, Deliver deliver);
  ~BackgroundSave();

  void SetWriter(FileWriter& writer) { writer_ = &writer; }

  // Logs "Start saving to bin ..." (or txt) once the file is created, then
  // "Save completed!", or one red line with the reason, or a blue line when
  // cancelled (nothing written then). `progress` gets the percent written;
  // `done` comes last, with true when the file is complete.
  void Start(SaveRows rows, SampleFormat format, std::string path, AcquisitionHooks& hooks,
             std::function<void(int)> progress, std::function<void(bool)> done);
  void Cancel();
  bool running() const { return running_; }
  const std::string& path() const { return path_; }

 private:
  FileWriter* writer_;
  bool running_ = false;
  std::string path_;
  std::shared_ptr<std::atomic<bool>> cancel_;
  FileWorker worker_;  // last: joined before the rest goes
};

std::string SaveCancelledMessage(const std::string& path);

}  // namespace trelvan
