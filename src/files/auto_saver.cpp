#include "files/auto_saver.h"

#include <algorithm>

#include "device/log_colours.h"
#include "files/safe_write.h"
#include "files/sample_formats.h"

namespace trelvan {

namespace {

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

// "folder/name (2).bin" -> "name (2)".
std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".bin") == 0) name.resize(name.size() - 4);
  return name;
}

std::string FreeSpaceProblem(FileWriter& writer, const std::string& folder, uint64_t bytes) {
  if (folder.empty()) return "no auto-save folder";
  uint64_t free = 0;
  if (const int error = writer.FreeBytes(folder, &free); error != 0) return ErrorText(error);
  // The same words at every retry, so that the failure is logged once.
  if (free < bytes) return "less than " + std::to_string(bytes) + " bytes free";
  return {};
}

}  // namespace

std::string AutoSaveBaseName(const std::string& dateText, const std::string& timeText) {
  return Replaced(dateText, '/', '-') + " " + Replaced(timeText, ':', '-');
}

std::string AutoSavePausedMessage(const std::string& folder, const std::string& reason) {
  return "Auto-save to " + folder + " failed (" + reason +
         "): its cycles are kept and tried again; acquisition is paused when the store fills "
         "before an auto-save succeeds, and the module drops cycles once its FIFO is full!";
}

AutoSaveOutcome WriteAutoSaveFile(FileWriter& writer, const int16_t* rows, uint32_t cycles,
                                  const std::string& folder, const std::string& base) {
  AutoSaveOutcome outcome;
  outcome.reason = FreeSpaceProblem(writer, folder, uint64_t{cycles} * CycleBytes);
  if (!outcome.reason.empty()) return outcome;
  const WriteOutcome written =
      WriteFileSafely(writer, folder + base + ".bin", NameRule::Unique, [&](FileSink& sink) {
        return WriteBinRows(rows, cycles, sink);
      });
  if (written.ok) {
    outcome.name = BaseOf(written.path);
  } else {
    outcome.reason = written.reason;
  }
  return outcome;
}

AutoSaver::~AutoSaver() { worker_.reset(); }

void AutoSaver::SetDeliver(Deliver deliver) { worker_ = std::make_unique<FileWorker>(std::move(deliver)); }

bool AutoSaver::Due(const std::string& folder, Clock::time_point now) const {
  return !failing_ || retryNow_ || folder != failedFolder_ || now - lastTry_ >= RetryInterval ||
         now < lastTry_;
}

bool AutoSaver::Save(AcquisitionState& state, AcquisitionHooks& hooks, const std::string& folder,
                     const std::function<std::string()>& baseName, Clock::time_point now) {
  if (pending_) {
    Retry(hooks, folder, baseName, now);
    if (pending_) return false;  // still unwritten (written at once only without a thread)
  }
  store_ = &state.store;
  const uint32_t cycles = state.store.cycleCount;
  hooks.ClearWaveSeries();
  pending_ = Pending{state.store.TakeRaw(), cycles};
  ++state.storeEmptyings;
  hooks.ResetTableView();
  Begin(hooks, folder, baseName(), now);
  return true;
}

bool AutoSaver::Retry(AcquisitionHooks& hooks, const std::string& folder,
                      const std::function<std::string()>& baseName, Clock::time_point now) {
  if (!pending_ || writing_ || !failing_ || !Due(folder, now)) return false;
  Begin(hooks, folder, baseName(), now);
  return true;
}

void AutoSaver::Begin(AcquisitionHooks& hooks, const std::string& folder, const std::string& base,
                      Clock::time_point now) {
  hooks_ = &hooks;
  writing_ = true;
  retryNow_ = false;
  lastTry_ = now;
  // The worker gets the rows' address only: the array itself stays here, and
  // is neither released nor written until the write has reported.
  const int16_t* rows = pending_->rows.get();
  const uint32_t cycles = pending_->cycles;
  if (!worker_) {
    Finish(WriteAutoSaveFile(*writer_, rows, cycles, folder, base), folder, base);
    return;
  }
  FileWorker* worker = worker_.get();
  FileWriter* writer = writer_;
  worker->Post([this, worker, writer, rows, cycles, folder, base] {
    const AutoSaveOutcome outcome = WriteAutoSaveFile(*writer, rows, cycles, folder, base);
    worker->Report([this, outcome, folder, base] { Finish(outcome, folder, base); });
  });
}

void AutoSaver::Finish(const AutoSaveOutcome& outcome, const std::string& folder,
                       const std::string& base) {
  writing_ = false;
  const bool ok = outcome.reason.empty();
  if (ok) {
    failing_ = false;
    failure_.clear();
    logged_.reset();
    hooks_->LogMessage("create file " + outcome.name, LogBlue);
    // The store keeps one spare; another written array is let go of on
    // the writer.
    if (store_ && !store_->hasSpare()) {
      store_->GiveBack(std::move(pending_->rows));
    } else if (worker_) {
      worker_->Release(std::move(pending_->rows));
    }
    pending_.reset();
  } else {
    ReportFailure(folder, base, outcome.reason);
  }
  if (onWritten) onWritten(ok);
}

void AutoSaver::ReportFailure(const std::string& folder, const std::string& name,
                              const std::string& reason) {
  failing_ = true;
  failedFolder_ = folder;
  failure_ = reason;
  if (logged_ && logged_->first == folder && logged_->second == reason) return;
  logged_.emplace(folder, reason);
  hooks_->LogMessage("Fail to create file " + name, LogRed);
  hooks_->LogMessage(AutoSavePausedMessage(folder, reason), LogRed);
}

uint32_t AutoSaver::DiscardUnwritten() {
  if (!pending_ || writing_) return 0;
  const uint32_t cycles = pending_->cycles;
  pending_.reset();
  failing_ = false;
  logged_.reset();
  return cycles;
}

}  // namespace trelvan
