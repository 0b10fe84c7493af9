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

// The red lines of a load's end (failure, cycles that did not fit, trailing
// bytes) and then "current trigCnt is %d!" in blue.
void LogLoadEnd(const AcquisitionState& state, AcquisitionHooks& hooks, const LoadReport& report);

// Fills `size` bytes unless the file ends (`ended`) or a read fails first
// (`error`); returns the bytes read.
int64_t ReadPiece(FileReader& reader, int fd, uint8_t* out, std::size_t size, bool& ended, int& error);
// The bytes left in the file after `offset`, from its size only (reading
// on might never end); -1 when the size is not known.
int64_t RemainingBytes(FileReader& reader, int fd, uint64_t offset);

std::string TrailingBytesMessage(uint64_t bytes);
std::string CyclesNotLoadedMessage(uint64_t cycles);
std::string RestNotLoadedMessage();

}  // namespace trelvan
