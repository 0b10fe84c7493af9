#include "files/background_load.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "acquisition/conversion.h"
#include "device/log_colours.h"

namespace trelvan {

// What the worker and the owner share: how many pieces wait to be stored,
// and whether the reading must stop (cancelled, or the store is full).
struct BackgroundLoad::Shared {
  std::mutex mutex;
  std::condition_variable room;
  int inFlight = 0;
  bool stop = false;
  std::vector<std::shared_ptr<uint8_t[]>> spare;  // piece buffers stored and free again

  void Stop() {
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    room.notify_all();
  }
};

struct BackgroundLoad::Piece {
  std::shared_ptr<uint8_t[]> bytes;
  uint64_t size = 0;
  uint64_t offset = 0;    // bytes of the file read with this piece
  int64_t fileSize = -1;  // -1: not known
};

std::string LoadCancelledMessage(uint32_t cycles) {
  return "Load From was cancelled: " + std::to_string(cycles) + " cycles were loaded!";
}

BackgroundLoad::BackgroundLoad(FileReader& reader, Deliver deliver)
    : reader_(&reader), clock_([] { return Clock::now(); }), worker_(std::move(deliver)) {}

BackgroundLoad::~BackgroundLoad() {
  if (shared_) shared_->Stop();
}

void BackgroundLoad::Cancel() {
  if (!running_) return;
  cancelled_ = true;
  shared_->Stop();
}

void BackgroundLoad::Start(AcquisitionState& state, AcquisitionHooks& hooks, std::string path,
                           std::function<void(int)> progress,
                           std::function<void(const LoadReport&)> done) {
  running_ = true;
  cancelled_ = false;
  state_ = &state;
  hooks_ = &hooks;
  path_ = path;
  progress_ = std::move(progress);
  done_ = std::move(done);
  report_ = LoadReport{};
  unshownRows_ = 0;
  RawRows target = IsRunning(state.adcConfig) ? nullptr : state.store.raw;
  target_ = target.get();
  firstRow_ = state.store.cycleCount;
  uint8_t* const into = target ? reinterpret_cast<uint8_t*>(state.store.rawRow(firstRow_)) : nullptr;
  lastViews_ = clock_();
  shared_ = std::make_shared<Shared>();
  if (state.store.full()) shared_->stop = true;

  FileWorker* worker = &worker_;
  FileReader* reader = reader_;
  auto shared = shared_;
  // Never more is read than the store has room for now (rows the poll adds
  // meanwhile only make the room smaller).
  const uint64_t roomBytes = uint64_t{state.store.room()} * CycleBytes;
  worker_.Post([this, worker, reader, shared, path, roomBytes, target = std::move(target), into]() mutable {
    int fd = -1;
    if (const int error = reader->Open(path, &fd); error != 0) {
      worker->Report([this, error] { Finish(-error, 0, false, 0); });
      return;
    }
    const int64_t fileSize = reader->Size(fd);
    uint64_t offset = 0, lastSize = 0;
    bool ended = false;
    int readError = 0;
    bool stopped = false;
    while (!ended && readError == 0) {
      const std::size_t size = static_cast<std::size_t>(std::min<uint64_t>(LoadPieceBytes, roomBytes - offset));
      {
        std::unique_lock lock(shared->mutex);
        shared->room.wait(lock, [&] { return shared->stop || shared->inFlight < PiecesAhead; });
        stopped = shared->stop || size == 0;
        if (stopped) break;
        ++shared->inFlight;
      }
      Piece piece{nullptr, 0, 0, fileSize};
      uint8_t* out = into ? into + offset : nullptr;
      if (!out) {
        {
          std::lock_guard lock(shared->mutex);
          if (!shared->spare.empty()) {
            piece.bytes = std::move(shared->spare.back());
            shared->spare.pop_back();
          }
        }
        if (!piece.bytes) piece.bytes = std::make_shared_for_overwrite<uint8_t[]>(LoadPieceBytes);
        out = piece.bytes.get();
      }
      const int64_t got = ReadPiece(*reader, fd, out, size, ended, readError);
      offset += static_cast<uint64_t>(got);
      lastSize = static_cast<uint64_t>(got);
      piece.size = lastSize;
      piece.offset = offset;
      worker->Report([this, piece] { Store(piece); });
    }
    // Stopped because the store is full: the rest of the file is only counted.
    const int64_t rest = stopped && !ended && readError == 0 ? RemainingBytes(*reader, fd, offset) : 0;
    reader->Close(fd);
    target.reset();  // the store's own again before the load ends
    worker->Report([this, readError, rest, ended, lastSize] { Finish(readError, rest, ended, lastSize); });
  });
}

void BackgroundLoad::Store(const Piece& piece) {
  // The buffer goes back for the next piece once this one is stored.
  struct Done {
    Shared& shared;
    const Piece& piece;
    ~Done() {
      {
        std::lock_guard lock(shared.mutex);
        --shared.inFlight;
        if (piece.bytes) shared.spare.push_back(piece.bytes);
      }
      shared.room.notify_all();
    }
  } done{*shared_, piece};
  if (cancelled_) return;  // read after the Cancel: not stored

  SampleStore& store = state_->store;
  if (target_ && (store.raw.get() != target_ || store.cycleCount != firstRow_ + report_.cycles)) {
    // The store was emptied (a clear, a new run): the rows read are not its own any more.
    cancelled_ = true;
    shared_->Stop();
    return;
  }
  // Read into the store: every whole cycle read so far, in place. Else this
  // piece's cycles, copied as they are converted.
  const uint32_t n = target_ ? static_cast<uint32_t>(piece.offset / CycleBytes) - report_.cycles
                             : static_cast<uint32_t>(piece.size / CycleBytes);
  const uint32_t take = std::min(n, store.room());
  if (take > 0) {
    state_->adcConfig.trigCnt += take;
    const uint8_t* from = target_ ? reinterpret_cast<const uint8_t*>(store.rawRow(store.cycleCount)) : piece.bytes.get();
    StoreLoadedCycles(*state_, from, take);
    report_.cycles += take;
    unshownRows_ += take;
  }
  report_.cyclesNotLoaded += n - take;
  if (store.full()) shared_->Stop();
  if (unshownRows_ > 0 && clock_() - lastViews_ >= ViewInterval) ShowViews();
  if (progress_ && piece.fileSize > 0) {
    progress_(static_cast<int>(std::min<uint64_t>(100, piece.offset * 100 / static_cast<uint64_t>(piece.fileSize))));
  }
}

void BackgroundLoad::ShowViews() {
  hooks_->ShowNewestRows(unshownRows_);
  hooks_->ShowChannelStats();
  hooks_->AppendWaveRows(unshownRows_);
  unshownRows_ = 0;
  lastViews_ = clock_();
}

void BackgroundLoad::Finish(int error, int64_t restBytes, bool ended, uint64_t lastPieceBytes) {
  running_ = false;
  target_ = nullptr;
  if (unshownRows_ > 0) ShowViews();
  if (error < 0) {
    report_.error = "Fail to open file " + path_ + ": " + ErrorText(-error) + "!";
  } else if (error > 0) {
    report_.error = "Fail to read file " + path_ + ": " + ErrorText(error) + "!";
  }
  if (cancelled_) {
    hooks_->LogMessage(LoadCancelledMessage(report_.cycles), LogBlue);
  } else if (restBytes < 0) {
    report_.restUnknown = true;
  } else {
    const auto rest = static_cast<uint64_t>(restBytes);
    report_.cyclesNotLoaded += rest / CycleBytes;
    report_.trailingBytes = ended ? lastPieceBytes % CycleBytes : rest % CycleBytes;
  }
  LogLoadEnd(*state_, *hooks_, report_);
  shared_.reset();
  if (done_) done_(report_);
}

}  // namespace trelvan
