#include "files/background_save.h"

#include "device/log_colours.h"
#include "files/safe_write.h"
#include "files/sample_save.h"

#include <sys/resource.h>
#include <unistd.h>

namespace trelvan {

namespace {

// A Save As yields to the window: a little less of the cores when they are
// all busy, all of a free one.
constexpr int SaveNice = 5;

}  // namespace

std::string SaveCancelledMessage(const std::string& path) {
  return "Save to " + path + " was cancelled: nothing was written!";
}

BackgroundSave::BackgroundSave(FileWriter& writer, Deliver deliver)
    : writer_(&writer), worker_(std::move(deliver)) {}

BackgroundSave::~BackgroundSave() {
  if (cancel_) cancel_->store(true);
}

void BackgroundSave::Cancel() {
  if (cancel_) cancel_->store(true);
}

void BackgroundSave::Start(SaveRows rows, SampleFormat format, std::string path,
                           AcquisitionHooks& hooks, std::function<void(int)> progress,
                           std::function<void(bool)> done) {
  running_ = true;
  path_ = path;
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  const bool bin = format == SampleFormat::Bin;
  const int16_t* raw = rows.raw.get();
  const float* volts = rows.volts.get();
  const uint32_t count = rows.count;
  FileWorker* worker = &worker_;
  FileWriter* writer = writer_;
  AcquisitionHooks* log = &hooks;
  auto cancel = cancel_;
  // The arrays stay with the owner's side (in the end report) so that they
  // are released on the owner's thread; the job reads them by address.
  auto keep = std::make_shared<SaveRows>(std::move(rows));
  worker_.Post([=, this]() mutable {
    // The window's thread goes first when the cores are busy; the .txt
    // formatting threads started from here take this priority with them.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), SaveNice);
    int shown = -1;
    const auto written = [&](uint32_t rowsDone) {
      const int percent = count == 0 ? 100 : static_cast<int>(uint64_t{rowsDone} * 100 / count);
      if (percent != shown) {
        shown = percent;
        worker->Report([progress, percent] { if (progress) progress(percent); });
      }
      return !cancel->load();
    };
    const WriteOutcome outcome = WriteFileSafely(*writer, path, NameRule::Replace, [&](FileSink& sink) {
      worker->Report([log, bin] {
        log->LogMessage(bin ? "Start saving to bin ..." : "Start saving to txt ...", LogBlue);
      });
      return bin ? WriteBinRows(raw, count, sink, written)
                 : WriteTextRows(volts, count, sink, 0, written);
    });
    const bool cancelled = !outcome.ok && cancel->load();
    // The last reference to the arrays goes with the report.
    worker->Report([this, log, held = std::move(keep), outcome, cancelled, path, done]() mutable {
      running_ = false;
      // Arrays nobody else holds any more are let go of on the worker.
      worker_.Release(std::move(held->raw));
      worker_.Release(std::move(held->volts));
      held.reset();
      if (outcome.ok) {
        log->LogMessage("Save completed!", LogBlue);
      } else if (cancelled) {
        log->LogMessage(SaveCancelledMessage(path), LogBlue);
      } else {
        log->LogMessage(SaveFailedMessage(path, outcome.reason), LogRed);
      }
      if (done) done(outcome.ok);
    });
  });
}

}  // namespace trelvan
