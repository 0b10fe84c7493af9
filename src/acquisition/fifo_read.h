#pragma once
// One FIFO read of a running acquisition: what the module answered, when,
// and the bytes it gave.

#include <cstdint>
#include <memory>
#include <optional>

#include "device/device_library.h"

namespace trelvan {

struct FifoRead {
  int64_t atUs = 0;                // the steady clock when the read began
  bool ok = false;                 // ReadFIFO succeeded
  std::optional<int64_t> fifoLeft; // the level before the read; empty when unknown
  int32_t fifoLeftShown = 0;       // the level as the poll's line shows it (0 when unknown)
  uint32_t bytes = 0;              // bytes delivered, never more than the buffer holds
  // The read's own buffer when it was taken on the engine's thread; empty
  // when it was read straight into the state's read buffer.
  std::unique_ptr<uint8_t[]> buffer;

  uint32_t cycles() const;
};

// Reads the FIFO of module `index` once: the level first, then the data, into
// `buffer` of `bufferBytes`. Nothing of a failed call is used, and a count
// larger than the buffer is cut to it.
FifoRead ReadFifoOnce(DeviceLibrary& device, uint8_t index, uint8_t* buffer, uint32_t bufferBytes,
                      int64_t nowUs);

}  // namespace trelvan
