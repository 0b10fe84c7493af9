#include "files/sample_load.h"

#include <algorithm>
#include <cstdio>

#include "acquisition/conversion.h"
#include "device/log_colours.h"

namespace trelvan {

int64_t ReadPiece(FileReader& reader, int fd, uint8_t* out, std::size_t size, bool& ended,
                  int& error) {
  std::size_t got = 0;
  while (got < size) {
    const int64_t n = reader.Read(fd, out + got, size - got);
    if (n < 0) {
      error = static_cast<int>(-n);
      break;
    }
    if (n == 0) {
      ended = true;
      break;
    }
    got += static_cast<std::size_t>(std::min<int64_t>(n, static_cast<int64_t>(size - got)));
  }
  return static_cast<int64_t>(got);
}

// The bytes left in the file after `offset`, from its size only: reading on
// to count them might never end. -1 when the size is not known.
int64_t RemainingBytes(FileReader& reader, int fd, uint64_t offset) {
  const int64_t size = reader.Size(fd);
  if (size < 0) return -1;
  return static_cast<uint64_t>(size) > offset ? size - static_cast<int64_t>(offset) : 0;
}

std::string TrailingBytesMessage(uint64_t bytes) {
  if (bytes == 1) return "The last 1 byte of the file is not a whole cycle and was not loaded!";
  return "The last " + std::to_string(bytes) +
         " bytes of the file are not a whole cycle and were not loaded!";
}

std::string RestNotLoadedMessage() { return "The store is full: the rest of the file was not loaded!"; }

std::string CyclesNotLoadedMessage(uint64_t cycles) {
  if (cycles == 1) return "The store is full: 1 cycle of the file was not loaded!";
  return "The store is full: " + std::to_string(cycles) + " cycles of the file were not loaded!";
}

LoadReport LoadSampleFile(AcquisitionState& state, AcquisitionHooks& hooks, FileReader& reader,
                          const std::string& path) {
  LoadReport report;
  SampleStore& store = state.store;
  int fd = -1;
  if (const int error = reader.Open(path, &fd); error != 0) {
    report.error = "Fail to open file " + path + ": " + ErrorText(error) + "!";
  } else {
    uint64_t offset = 0;
    bool ended = false;
    int readError = 0;
    while (!ended && readError == 0 && store.room() > 0) {
      const std::size_t size = std::min<std::size_t>(LoadPieceBytes, std::size_t{store.room()} * CycleBytes);
      uint8_t* rows = reinterpret_cast<uint8_t*>(store.rawRow(store.cycleCount));
      const int64_t got = ReadPiece(reader, fd, rows, size, ended, readError);
      offset += static_cast<uint64_t>(got);
      const uint32_t n = static_cast<uint32_t>(got / CycleBytes);
      if (ended) report.trailingBytes = static_cast<uint64_t>(got) % CycleBytes;
      if (n == 0) continue;
      state.adcConfig.trigCnt += n;
      StoreLoadedCycles(state, rows, n);
      report.cycles += n;
      hooks.ShowNewestRows(n);
      hooks.ShowChannelStats();
      hooks.AppendWaveRows(n);
    }
    if (readError != 0) {
      report.error = "Fail to read file " + path + ": " + ErrorText(readError) + "!";
    } else if (!ended) {
      if (const int64_t rest = RemainingBytes(reader, fd, offset); rest < 0) {
        report.restUnknown = true;
      } else {
        report.cyclesNotLoaded = static_cast<uint64_t>(rest) / CycleBytes;
        report.trailingBytes = static_cast<uint64_t>(rest) % CycleBytes;
      }
    }
    reader.Close(fd);
  }

  LogLoadEnd(state, hooks, report);
  return report;
}

void LogLoadEnd(const AcquisitionState& state, AcquisitionHooks& hooks, const LoadReport& report) {
  if (!report.error.empty()) hooks.LogMessage(report.error, LogRed);
  if (report.restUnknown) hooks.LogMessage(RestNotLoadedMessage(), LogRed);
  if (report.cyclesNotLoaded > 0) hooks.LogMessage(CyclesNotLoadedMessage(report.cyclesNotLoaded), LogRed);
  if (report.trailingBytes > 0) hooks.LogMessage(TrailingBytesMessage(report.trailingBytes), LogRed);
  char line[64];
  std::snprintf(line, sizeof line, "current trigCnt is %d!",
                static_cast<int32_t>(state.adcConfig.trigCnt));
  hooks.LogMessage(line, LogBlue);
}

}  // namespace trelvan
