#include "files/byte_sink.h"

namespace trelvan {

bool FileSink::Put(const char* data, std::size_t size) {
  const uint64_t wanted = written_ + size;
  while (size > 0) {
    const int64_t n = writer_.Write(fd_, data, size);
    if (n < 0) {
      reason_ = ErrorText(static_cast<int>(-n));
      return false;
    }
    if (n == 0 || static_cast<uint64_t>(n) > size) {
      if (static_cast<uint64_t>(n) <= size) written_ += static_cast<uint64_t>(n);
      reason_ = "short write: " + std::to_string(written_) + " of " + std::to_string(wanted) +
                " bytes written";
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
    written_ += static_cast<uint64_t>(n);
    if (written_ - writeBackFrom_ >= WriteBackBytes) StartWriteBack();
  }
  return true;
}

void FileSink::StartWriteBack() {
  writer_.WriteBack(fd_, writeBackFrom_, written_ - writeBackFrom_, false);
  if (writeBackFrom_ > waitFrom_) writer_.WriteBack(fd_, waitFrom_, writeBackFrom_ - waitFrom_, true);
  waitFrom_ = writeBackFrom_;
  writeBackFrom_ = written_;
}

}  // namespace trelvan
