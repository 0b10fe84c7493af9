#pragma once
// The auto-save of a full store. The store's raw rows are handed over to a
// writer and the store goes on at once from row 0 in another raw array; the
// writer puts the rows into a new .bin file in the auto-save folder (temp
// file, flush, rename) on a thread of its own and reports back on the
// owner's thread. A write that fails keeps its rows and is tried again at
// most every 5 s, or at once after the folder changed. Only a store that
// fills while earlier rows are still unwritten is refused (the poll then
// pauses), so nothing is ever dropped unwritten.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "files/file_access.h"
#include "files/file_worker.h"

namespace trelvan {

// date text + " " + time text, with "/" and ":" replaced by "-".
std::string AutoSaveBaseName(const std::string& dateText, const std::string& timeText);

// What one auto-save write did: the name used (as logged), or the reason.
struct AutoSaveOutcome {
  std::string name;
  std::string reason;
};

// Writes `cycles` raw rows to folder + base + ".bin" (a numbered name when
// that is taken) after checking the free space. Runs on the writer thread.
AutoSaveOutcome WriteAutoSaveFile(FileWriter& writer, const int16_t* rows, uint32_t cycles,
                                  const std::string& folder, const std::string& base);

class AutoSaver {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration RetryInterval = std::chrono::seconds(5);

  explicit AutoSaver(FileWriter& writer = SystemFileWriter()) : writer_(&writer) {}
  ~AutoSaver();
  AutoSaver(const AutoSaver&) = delete;
  AutoSaver& operator=(const AutoSaver&) = delete;

  // Set only while nothing is being written.
  void SetWriter(FileWriter& writer) { writer_ = &writer; }
  // Writes then run on a thread of their own and report through `deliver`;
  // without it they run at once on the calling thread.
  void SetDeliver(Deliver deliver);

  // Hands the full store's rows over to be written to folder + baseName() +
  // ".bin" and empties the store (wave series, cycleCount 0, table). False,
  // with the store left as it is, while rows handed over earlier are still
  // unwritten; a failed write is then tried again when due.
  bool Save(AcquisitionState& state, AcquisitionHooks& hooks, const std::string& folder,
            const std::function<std::string()>& baseName, Clock::time_point now);

  // Writes the rows of a failed write again, when due. True when it began.
  bool Retry(AcquisitionHooks& hooks, const std::string& folder,
             const std::function<std::string()>& baseName, Clock::time_point now);

  // False while a failed write must wait before it is tried again.
  bool Due(const std::string& folder, Clock::time_point now) const;
  // The next try is made at once (a folder was picked, or Stop).
  void RetryNow() { retryNow_ = true; }
  // The next failure is logged even for the same folder and reason.
  void ForgetReports() { logged_.reset(); }

  bool failing() const { return failing_; }
  bool writing() const { return writing_; }
  // Cycles handed over and not yet safely in a file.
  uint32_t unwrittenCycles() const { return pending_ ? pending_->cycles : 0; }
  // The reason the last write failed, and where it went.
  const std::string& failedFolder() const { return failedFolder_; }
  const std::string& failure() const { return failure_; }

  // Drops the rows of a failed write (the user agreed); returns how many.
  uint32_t DiscardUnwritten();

  // Called on the owner's thread after each write ended, with its success.
  std::function<void(bool)> onWritten;

 private:
  struct Pending {
    RawRows rows;
    uint32_t cycles = 0;
  };
  void Begin(AcquisitionHooks& hooks, const std::string& folder, const std::string& base,
             Clock::time_point now);
  void Finish(const AutoSaveOutcome& outcome, const std::string& folder, const std::string& base);
  void ReportFailure(const std::string& folder, const std::string& name, const std::string& reason);

  FileWriter* writer_;
  SampleStore* store_ = nullptr;        // where a written array goes back as the spare
  AcquisitionHooks* hooks_ = nullptr;   // the log of the last try
  std::optional<Pending> pending_;
  bool writing_ = false;
  bool failing_ = false;
  bool retryNow_ = false;
  std::string failedFolder_;
  std::string failure_;
  Clock::time_point lastTry_{};
  std::optional<std::pair<std::string, std::string>> logged_;  // folder, reason
  std::unique_ptr<FileWorker> worker_;  // last: joined before the rest goes
};

std::string AutoSavePausedMessage(const std::string& folder, const std::string& reason);

}  // namespace trelvan
