#pragma once
// Load From on a thread of its own: the file is read in pieces of at most
// 1,600,000 bytes; each piece is stored on the owner's thread as it arrives
// (codes to volts without the factors, counted in trigCnt), and the views
// are refreshed at most every 100 ms and once at the end. A few pieces at
// most are read ahead of the store, and never more than it has room for.
//
// While no acquisition runs, nothing else adds rows to the store, so the
// pieces are read straight into its raw rows past the stored ones and
// converted there (one copy less). The load holds that raw array: a clear
// or a new run meanwhile gives the store fresh arrays, and the load stops
// at its next piece. Adding a row (Read Once) must wait for the load's end.
// While an acquisition runs, the poll stores its rows between the pieces,
// so each piece is read into a buffer of its own.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "files/file_access.h"
#include "files/file_worker.h"
#include "files/sample_load.h"

namespace trelvan {

class BackgroundLoad {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration ViewInterval = std::chrono::milliseconds(100);
  static constexpr int PiecesAhead = 4;

  BackgroundLoad(FileReader& reader, Deliver deliver);
  ~BackgroundLoad();

  void SetReader(FileReader& reader) { reader_ = &reader; }
  void SetClock(std::function<Clock::time_point()> clock) { clock_ = std::move(clock); }

  // Loads `path` after the rows the store holds; logs as LoadSampleFile
  // does. `progress` gets the percent read (when the size is known); `done`
  // comes last, with the report.
  void Start(AcquisitionState& state, AcquisitionHooks& hooks, std::string path,
             std::function<void(int)> progress, std::function<void(const LoadReport&)> done);
  // Stops reading; what was stored stays, and the log says how much.
  void Cancel();
  bool running() const { return running_; }
  // The pieces go straight into the store's rows (see above).
  bool intoStore() const { return running_ && target_ != nullptr; }

 private:
  struct Shared;
  struct Piece;
  void Store(const Piece& piece);
  void ShowViews();
  void Finish(int error, int64_t restBytes, bool ended, uint64_t lastPieceBytes);

  FileReader* reader_;
  std::function<Clock::time_point()> clock_;
  bool running_ = false;
  bool cancelled_ = false;
  AcquisitionState* state_ = nullptr;
  AcquisitionHooks* hooks_ = nullptr;
  std::string path_;
  std::function<void(int)> progress_;
  std::function<void(const LoadReport&)> done_;
  LoadReport report_;
  uint32_t unshownRows_ = 0;
  const int16_t* target_ = nullptr;  // the raw array read into; null: buffers of its own
  uint32_t firstRow_ = 0;            // its row the file's first cycle went to
  Clock::time_point lastViews_{};
  std::shared_ptr<Shared> shared_;
  FileWorker worker_;  // last: joined before the rest goes
};

std::string LoadCancelledMessage(uint32_t cycles);

}  // namespace trelvan
