#pragma once
// Loading a .bin sample file into the store: read in pieces of at most
// 1,600,000 bytes straight into `raw` at row cycleCount, converted to volts
// without the channel factors, counted in trigCnt and shown piece by piece.

#include <cstdint>
#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "files/file_access.h"

namespace trelvan {

constexpr uint32_t LoadPieceBytes = 1'600'000;

struct LoadReport {
  uint32_t cycles = 0;            // whole cycles loaded
  uint64_t trailingBytes = 0;     // bytes at the file's end that are no whole cycle
  uint64_t cyclesNotLoaded = 0;   // whole cycles beyond the room of the store
  bool restUnknown = false;       // the store filled and the file's size is not known
  std::string error;              // open or read failure, empty when none
};

// Loads every whole cycle of the file that fits; after each piece calls
// ShowNewestRows(n), ShowChannelStats(), AppendWaveRows(n). Reports in red a
// failure to open or read (with the reason), trailing bytes and cycles that
// did not fit (counted from the file's size, never by reading past the
// store's room), then logs "current trigCnt is %d!" in blue.
LoadReport LoadSampleFile(AcquisitionState& state, AcquisitionHooks& hooks, FileReader& reader,
                          const std::string& path);

std::string TrailingBytesMessage(uint64_t bytes);
std::string CyclesNotLoadedMessage(uint64_t cycles);
std::string RestNotLoadedMessage();

}  // namespace trelvan
