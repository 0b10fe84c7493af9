#pragma once
// The auto-save of a full store: the rows go to a new .bin file in the
// auto-save folder, and only once that file is complete on the disk is the
// store emptied. A save that cannot be completed keeps the store (the poll
// then pauses) and is tried again at most every 5 s, or at once after the
// folder changed.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "files/file_access.h"

namespace trelvan {

// date text + " " + time text, with "/" and ":" replaced by "-".
std::string AutoSaveBaseName(const std::string& dateText, const std::string& timeText);

class AutoSaver {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration RetryInterval = std::chrono::seconds(5);

  explicit AutoSaver(FileWriter& writer = SystemFileWriter()) : writer_(&writer) {}
  void SetWriter(FileWriter& writer) { writer_ = &writer; }

  // Writes the store's rows to folder + baseName() + ".bin" (a numbered name
  // when that is taken), logs "create file " + the name used and empties the
  // store: wave series, cycleCount 0, table. True when it emptied the store.
  // On failure the store stays full and the failure is logged in red, once
  // for each folder and reason. `baseName` is asked only when a try is due.
  bool Save(AcquisitionState& state, AcquisitionHooks& hooks, const std::string& folder,
            const std::function<std::string()>& baseName, Clock::time_point now);

  // False while a failed save must wait before it is tried again.
  bool Due(const std::string& folder, Clock::time_point now) const;

  // The next Save tries at once (a folder was picked, or Stop).
  void RetryNow() { retryNow_ = true; }
  bool failing() const { return failing_; }
  // The next failure is logged even for the same folder and reason.
  void ForgetReports() { logged_.reset(); }

  // The file (its base name as logged) that the store's emptying number
  // `emptying` went to, when that emptying was an auto-save.
  std::optional<std::string> FileOfEmptying(uint64_t emptying) const;

 private:
  std::string Check(const std::string& folder, uint64_t bytes) const;
  void ReportFailure(AcquisitionHooks& hooks, const std::string& folder, const std::string& name,
                     const std::string& reason);

  FileWriter* writer_;
  bool failing_ = false;
  bool retryNow_ = false;
  std::string failedFolder_;
  Clock::time_point lastTry_{};
  std::optional<std::pair<std::string, std::string>> logged_;  // folder, reason
  std::deque<std::pair<uint64_t, std::string>> files_;         // emptying, name
};

std::string AutoSavePausedMessage(const std::string& folder, const std::string& reason);

}  // namespace trelvan
