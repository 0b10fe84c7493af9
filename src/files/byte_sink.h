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
// every byte is written or a write fails or writes nothing.
class FileSink : public ByteSink {
 public:
  FileSink(FileWriter& writer, int fd) : writer_(writer), fd_(fd) {}
  bool Put(const char* data, std::size_t size) override;

  uint64_t written() const { return written_; }
  const std::string& reason() const { return reason_; }

 private:
  FileWriter& writer_;
  int fd_;
  uint64_t written_ = 0;
  std::string reason_;
};

}  // namespace trelvan
