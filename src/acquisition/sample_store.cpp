#include "acquisition/sample_store.h"

namespace trelvan {

SampleStore::SampleStore(uint32_t capacity)
    : volts(std::make_unique_for_overwrite<float[]>(std::size_t{capacity} * Channels)),
      raw(std::make_unique_for_overwrite<int16_t[]>(std::size_t{capacity} * Channels)),
      capacity_(capacity) {}

}  // namespace trelvan
