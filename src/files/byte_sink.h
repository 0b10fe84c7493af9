#pragma once
// Where a sample file's bytes go: a file, or (in tests and benchmarks) memory.

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/file_access.h"

namespace trelvan {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when the bytes could not all be taken; the sink keeps the reason.
  virtual bool Put(const char* data, std::size_t size) = 0;
};

// Writes to an open file descriptor, going on after a short write until
// every byte is written or a write fails or writes nothing. Every
// `WriteBackBytes` it starts the disk writing what it got, and waits for the
// stretch before, so that dirty pages stay few and the final flush is short.
class FileSink : public ByteSink {
 public:
  FileSink(FileWriter& writer, int fd) : writer_(writer), fd_(fd) {}
  bool Put(const char* data, std::size_t size) override;

  uint64_t written() const { return written_; }
  const std::string& reason() const { return reason_; }

  static constexpr uint64_t WriteBackBytes = 32 << 20;

 private:
  void StartWriteBack();

  FileWriter& writer_;
  int fd_;
  uint64_t written_ = 0;
  uint64_t writeBackFrom_ = 0;  // the stretch not yet handed to the disk
  uint64_t waitFrom_ = 0;       // the stretch handed over and not yet waited for
  std::string reason_;
};

}  // namespace trelvan
