#include "acquisition/acquisition_state.h"

namespace trelvan {

AcquisitionState::AcquisitionState(uint32_t storeCapacity)
    : store(storeCapacity), readBuffer(std::make_unique_for_overwrite<uint8_t[]>(ReadBufferBytes)) {}

}  // namespace trelvan
