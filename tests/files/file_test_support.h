#pragma once
// Helpers of the sample-file tests: a temporary folder, a file writer whose
// faults are scripted, a reader that serves a made-up file in short reads,
// hooks that record what they were asked, and sequence-numbered cycles.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "acquisition/acquisition_hooks.h"
#include "files/file_access.h"
#include "files/file_worker.h"

namespace trelvan::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "trelvan-files-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing "/", as the auto-save folder text is kept.
  std::string folder() const { return path_.string() + "/"; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::vector<std::string> names() const {
    std::vector<std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      result.push_back(entry.path().filename().string());
    std::sort(result.begin(), result.end());
    return result;
  }

 private:
  std::filesystem::path path_;
};

inline std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The system's writer with scripted faults (tests run as root, which ignores
// permissions, so refusals are made here).
class FaultyWriter : public PosixFileWriter {
 public:
  // RefuseOverwrite fails before the hard-linked file is touched,
  // FailOverwrite after it was cut short.
  enum class Fault { None, RefuseCreate, FailWrite, WriteShort, FailSync, FailRename, RefuseOverwrite, FailOverwrite };
  Fault fault = Fault::None;
  int64_t failAfterBytes = 0;        // FailWrite / WriteShort: bytes written first
  int64_t freeBytes = -1;            // reported free space; -1: the real one
  int creates = 0;                   // CreateNew calls
  std::vector<std::string> created;  // names created

  int CreateNew(const std::string& path, int* fd) override {
    std::lock_guard lock(mutex_);  // an auto-save and a Save As may write at once
    ++creates;
    if (fault == Fault::RefuseCreate) return EACCES;
    const int error = PosixFileWriter::CreateNew(path, fd);
    if (error == 0) {
      created.push_back(path);
      written_[*fd] = 0;
    }
    return error;
  }
  int64_t Write(int fd, const void* data, std::size_t size) override {
    int64_t done = 0;
    {
      std::lock_guard lock(mutex_);
      done = written_[fd];
    }
    if (fault == Fault::FailWrite || fault == Fault::WriteShort) {
      const int64_t room = failAfterBytes - done;
      if (room <= 0) return fault == Fault::FailWrite ? -ENOSPC : 0;
      size = std::min<std::size_t>(size, static_cast<std::size_t>(room));
    }
    const int64_t n = PosixFileWriter::Write(fd, data, size);
    if (n > 0) {
      std::lock_guard lock(mutex_);
      written_[fd] += n;
    }
    return n;
  }
  int Sync(int fd) override { return fault == Fault::FailSync ? EIO : PosixFileWriter::Sync(fd); }
  int Rename(const std::string& from, const std::string& to, bool replace) override {
    return fault == Fault::FailRename ? EXDEV : PosixFileWriter::Rename(from, to, replace);
  }
  int OverwriteWith(const std::string& from, const std::string& to, bool* touched) override {
    if (fault == Fault::RefuseOverwrite) {
      *touched = false;
      return EACCES;
    }
    if (fault == Fault::FailOverwrite) {
      *touched = ::truncate(to.c_str(), 0) == 0;
      return ENOSPC;
    }
    return PosixFileWriter::OverwriteWith(from, to, touched);
  }
  int FreeBytes(const std::string& folder, uint64_t* bytes) override {
    const int error = PosixFileWriter::FreeBytes(folder, bytes);
    if (error == 0 && freeBytes >= 0) *bytes = static_cast<uint64_t>(freeBytes);
    return error;
  }

 private:
  std::mutex mutex_;
  std::map<int, int64_t> written_;  // bytes written to each open file
};

// A gate a worker waits at until the test opens it; the test can wait until
// a worker has arrived.
class Gate {
 public:
  void Pass() {
    std::unique_lock lock(mutex_);
    ++arrived_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return passes_ > 0; });
    --passes_;
  }
  // Lets `n` waits (or later arrivals) through.
  void Open(int n = 1) {
    std::lock_guard lock(mutex_);
    passes_ += n;
    changed_.notify_all();
  }
  // Lets every wait through from now on.
  void OpenForGood() { Open(1 << 20); }
  // Holds every wait from now on.
  void Close() {
    std::lock_guard lock(mutex_);
    passes_ = 0;
  }
  bool WaitArrived(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return arrived_ >= count; });
  }
  int arrived() {
    std::lock_guard lock(mutex_);
    return arrived_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int arrived_ = 0;
  int passes_ = 0;
};

// A slow medium: every flush waits at `syncGate`, every write (when
// `gateWrites`) at `writeGate`.
class GatedWriter : public FaultyWriter {
 public:
  Gate syncGate, writeGate;
  bool gateWrites = false;
  int Sync(int fd) override {
    syncGate.Pass();
    return FaultyWriter::Sync(fd);
  }
  int64_t Write(int fd, const void* data, std::size_t size) override {
    if (gateWrites) writeGate.Pass();
    return FaultyWriter::Write(fd, data, size);
  }
};

// A medium that takes every byte and keeps none: files are made, named and
// flushed as usual but stay empty, for long runs whose files are not read.
class DiscardingWriter : public PosixFileWriter {
 public:
  int64_t Write(int, const void*, std::size_t size) override { return static_cast<int64_t>(size); }
  int Sync(int) override { return 0; }
  void WriteBack(int, uint64_t, uint64_t, bool) override {}
};

// The owner's side of file workers in core tests: reports are queued here
// and run on the test's thread when it asks.
class ReportQueue {
 public:
  Deliver deliver() {
    return [this](Task task) {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
      arrived_.notify_all();
    };
  }
  // Runs reports as they come until `done` holds; false after 30 s.
  template <class Done>
  bool RunUntil(Done done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
      std::deque<Task> batch;
      {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_until(lock, end, [this] { return !tasks_.empty(); })) return false;
        batch.swap(tasks_);
      }
      for (Task& task : batch) task();
    }
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Task> tasks_;
};

// A made-up file of `size` bytes whose byte i is `ByteAt(i)`, delivered at
// most `maxRead` bytes per read; optionally failing after `failAt` bytes.
class PatternReader : public FileReader {
 public:
  explicit PatternReader(uint64_t size, std::size_t maxRead = SIZE_MAX) : size_(size), maxRead_(maxRead) {}
  int64_t failAt = -1;
  bool sizeKnown = true;
  int reads = 0;

  static uint8_t ByteAt(uint64_t i) {
    // Cycle i/16 carries its number in AN7:AN8; the other channels a pattern.
    const uint64_t cycle = i / 16, offset = i % 16;
    if (offset >= 12) return static_cast<uint8_t>(cycle >> (8 * (offset - 12)));
    return static_cast<uint8_t>(cycle * 7 + offset);
  }

  int Open(const std::string&, int* fd) override {
    *fd = 3;
    position_ = 0;
    return 0;
  }
  // Runs before each read with the position (on the reading thread).
  std::function<void(uint64_t)> beforeRead;

  int64_t Read(int, void* buffer, std::size_t size) override {
    if (beforeRead) beforeRead(position_);
    ++reads;
    if (failAt >= 0 && position_ >= static_cast<uint64_t>(failAt)) return -EIO;
    size = std::min({size, maxRead_, static_cast<std::size_t>(size_ - position_)});
    if (failAt >= 0) size = std::min<std::size_t>(size, static_cast<std::size_t>(failAt - static_cast<int64_t>(position_)));
    auto* out = static_cast<uint8_t*>(buffer);
    for (std::size_t k = 0; k < size; ++k) out[k] = ByteAt(position_ + k);
    position_ += size;
    return static_cast<int64_t>(size);
  }
  int64_t Size(int) override { return sizeKnown ? static_cast<int64_t>(size_) : -1; }
  void Close(int) override {}

 private:
  uint64_t size_;
  std::size_t maxRead_;
  uint64_t position_ = 0;
};

struct LogLine {
  std::string text;
  uint32_t colour;
  bool operator==(const LogLine&) const = default;
};

// Hooks that record the log and the view calls.
struct RecordingHooks : AcquisitionHooks {
  std::vector<LogLine> log;
  std::vector<std::string> calls;

  void LogMessage(const std::string& text, uint32_t colour) override { log.push_back({text, colour}); }
  void ClearLog() override { calls.push_back("ClearLog"); }
  void ResetWaveStart() override { calls.push_back("ResetWaveStart"); }
  void ResetTableView() override { calls.push_back("ResetTableView"); }
  void ClearStatsDisplay() override { calls.push_back("ClearStatsDisplay"); }
  void ClearWaveSeries() override { calls.push_back("ClearWaveSeries"); }
  void ShowNewestRows(uint32_t n) override { calls.push_back("ShowNewestRows " + std::to_string(n)); }
  void ShowChannelStats() override { calls.push_back("ShowChannelStats"); }
  void AppendWaveRows(uint32_t n) override { calls.push_back("AppendWaveRows " + std::to_string(n)); }

  std::vector<std::string> texts() const {
    std::vector<std::string> result;
    for (const LogLine& line : log) result.push_back(line.text);
    return result;
  }
};

// Cycles numbered from `first`: AN7:AN8 hold the 32-bit number, AN1 its low
// half, the others a pattern of it.
inline std::vector<uint8_t> NumberedCycles(uint32_t count, uint32_t first = 0) {
  std::vector<uint8_t> bytes(std::size_t{count} * 16);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t number = first + i;
    int16_t codes[8];
    for (int c = 0; c < 6; ++c) codes[c] = static_cast<int16_t>(number * (c + 3));
    codes[0] = static_cast<int16_t>(number);
    codes[6] = static_cast<int16_t>(number >> 16);
    codes[7] = static_cast<int16_t>(number & 0xFFFF);
    std::memcpy(bytes.data() + std::size_t{i} * 16, codes, 16);
  }
  return bytes;
}

// The cycle numbers of numbered cycles.
inline std::vector<uint32_t> CycleNumbers(const uint8_t* bytes, std::size_t count) {
  std::vector<uint32_t> numbers(count);
  for (std::size_t i = 0; i < count; ++i) {
    uint16_t high, low;
    std::memcpy(&high, bytes + i * 16 + 12, 2);
    std::memcpy(&low, bytes + i * 16 + 14, 2);
    numbers[i] = (uint32_t{high} << 16) | low;
  }
  return numbers;
}

}  // namespace trelvan::testing
