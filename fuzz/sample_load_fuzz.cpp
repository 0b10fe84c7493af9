// Load From over any bytes: the file's contents come from the input after a
// few bytes that choose the store's room, how the reader behaves (pieces of
// any length, a size it reports truly, not at all or wrongly, a read that
// fails part-way). Whatever happens, every whole cycle that fits is stored
// byte for byte after the rows already there, nothing is written past the
// store, the counts add up and trigCnt grows by the cycles loaded.

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "files/file_access.h"
#include "files/sample_load.h"
#include "fuzz_bytes.h"
#include "fuzz_check.h"

namespace {

using namespace trelvan;

enum class SizeMode : uint8_t { True, Unknown, Larger, Smaller };

class MemoryReader : public FileReader {
 public:
  MemoryReader(const uint8_t* data, std::size_t size, std::size_t pieceLimit, SizeMode sizeMode,
               int failAtRead, bool refuseOpen)
      : data_(data),
        size_(size),
        pieceLimit_(pieceLimit),
        sizeMode_(sizeMode),
        failAtRead_(failAtRead),
        refuseOpen_(refuseOpen) {}

  int Open(const std::string&, int* fd) override {
    FUZZ_EXPECT(!open_);
    if (refuseOpen_) return ENOENT;
    open_ = true;
    *fd = 7;
    return 0;
  }
  int64_t Read(int fd, void* buffer, std::size_t size) override {
    FUZZ_EXPECT(open_ && fd == 7);
    if (++reads_ == failAtRead_) {
      failed_ = true;
      return -EIO;
    }
    std::size_t n = std::min(size, size_ - offset_);
    if (pieceLimit_ > 0) n = std::min(n, pieceLimit_);
    std::memcpy(buffer, data_ + offset_, n);
    offset_ += n;
    return static_cast<int64_t>(n);
  }
  int64_t Size(int fd) override {
    FUZZ_EXPECT(open_ && fd == 7);
    switch (sizeMode_) {
      case SizeMode::True: return static_cast<int64_t>(size_);
      case SizeMode::Unknown: return -1;
      case SizeMode::Larger: return static_cast<int64_t>(size_) + 1'000'000'007;
      case SizeMode::Smaller: return static_cast<int64_t>(size_ / 3);
    }
    return -1;
  }
  void Close(int fd) override {
    FUZZ_EXPECT(open_ && fd == 7);
    open_ = false;
  }

  bool open() const { return open_; }
  bool failed() const { return failed_; }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
  std::size_t pieceLimit_;
  SizeMode sizeMode_;
  int failAtRead_;
  bool refuseOpen_;
  bool open_ = false;
  bool failed_ = false;
  int reads_ = 0;
};

class CountingHooks : public AcquisitionHooks {
 public:
  void ShowNewestRows(uint32_t n) override { shown += n; }
  void AppendWaveRows(uint32_t n) override { appended += n; }
  void LogMessage(const std::string& text, uint32_t) override { lastLine = text; }
  uint64_t shown = 0;
  uint64_t appended = 0;
  std::string lastLine;
};

// One state for every input (it holds the poll's whole read buffer, too much
// to allocate each time), given a fresh store of the chosen size.
AcquisitionState& StateOfCapacity(uint32_t capacity) {
  static AcquisitionState state(1);
  state.store = SampleStore(capacity);
  return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzBytes bytes(data, size);
  const uint32_t capacity = 1 + bytes.Take<uint8_t>() % 200;
  const uint32_t rowsBefore = bytes.Take<uint8_t>() % (capacity + 1);
  const uint8_t pieceChoice = bytes.Take<uint8_t>();
  const std::size_t pieceLimit = pieceChoice < 128 ? 0 : pieceChoice - 127;
  const uint8_t behaviour = bytes.Take<uint8_t>();
  const auto sizeMode = static_cast<SizeMode>(behaviour % 4);
  const int failAtRead = behaviour / 4 % 16;  // 0: no read fails
  const bool refuseOpen = behaviour >= 250;
  const uint32_t trigBefore = bytes.Take<uint32_t>();

  AcquisitionState& state = StateOfCapacity(capacity);
  SampleStore& store = state.store;
  store.cycleCount = rowsBefore;
  state.adcConfig.trigCnt = trigBefore;
  const std::size_t bytesBefore = std::size_t{rowsBefore} * CycleBytes;
  // The rows already in the store must stay as they are.
  for (std::size_t i = 0; i < bytesBefore; ++i) {
    reinterpret_cast<uint8_t*>(store.raw.get())[i] = static_cast<uint8_t>(i * 31 + 7);
  }

  MemoryReader reader(bytes.data(), bytes.size(), pieceLimit, sizeMode, failAtRead, refuseOpen);
  CountingHooks hooks;
  const LoadReport report = LoadSampleFile(state, hooks, reader, "/fuzz/file.bin");

  FUZZ_EXPECT(!reader.open());
  FUZZ_EXPECT(store.cycleCount == rowsBefore + report.cycles);
  FUZZ_EXPECT(store.cycleCount <= capacity);
  FUZZ_EXPECT(state.adcConfig.trigCnt == trigBefore + report.cycles);
  FUZZ_EXPECT(hooks.shown == report.cycles && hooks.appended == report.cycles);
  FUZZ_EXPECT(report.trailingBytes < CycleBytes);
  FUZZ_EXPECT(hooks.lastLine.rfind("current trigCnt is ", 0) == 0);
  for (std::size_t i = 0; i < bytesBefore; ++i) {
    FUZZ_EXPECT(reinterpret_cast<const uint8_t*>(store.raw.get())[i] ==
                static_cast<uint8_t>(i * 31 + 7));
  }
  const std::size_t loadedBytes = std::size_t{report.cycles} * CycleBytes;
  FUZZ_EXPECT(loadedBytes <= bytes.size());
  FUZZ_EXPECT(std::memcmp(store.rawRow(rowsBefore), bytes.data(), loadedBytes) == 0);

  if (refuseOpen) {
    FUZZ_EXPECT(report.cycles == 0 && !report.error.empty());
  } else if (!reader.failed()) {
    FUZZ_EXPECT(report.error.empty());
    const uint64_t room = capacity - rowsBefore;
    FUZZ_EXPECT(report.cycles == std::min<uint64_t>(room, bytes.size() / CycleBytes));
    if (sizeMode == SizeMode::True) {
      // With the true size every byte of the file is accounted for.
      FUZZ_EXPECT(loadedBytes + report.cyclesNotLoaded * CycleBytes + report.trailingBytes ==
                  bytes.size());
    }
  }
  return 0;
}
