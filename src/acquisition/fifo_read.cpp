#include "acquisition/fifo_read.h"

#include <algorithm>

#include "acquisition/sample_store.h"

namespace trelvan {

uint32_t FifoRead::cycles() const { return ok ? bytes / CycleBytes : 0; }

FifoRead ReadFifoOnce(DeviceLibrary& device, uint8_t index, uint8_t* buffer, uint32_t bufferBytes,
                      int64_t nowUs) {
  FifoRead read;
  read.atUs = nowUs;
  int32_t left = 0;
  if (device.GetFIFOLeft(index, &left) != 0) {
    read.fifoLeft = left;
    read.fifoLeftShown = left;
  }
  uint32_t bytes = 0;
  read.ok = device.ReadFIFO(index, buffer, bufferBytes, &bytes) != 0;
  read.bytes = read.ok ? std::min(bytes, bufferBytes) : 0;
  return read;
}

}  // namespace trelvan
