#pragma once
// Conversion of raw codes to volts and appending cycles to the store.

#include <cstdint>

#include "acquisition/acquisition_state.h"

namespace trelvan {

// code x fullScaleVolts / 32768: exact in a float for both ranges.
inline float CodeToVolts(int16_t code, float fullScaleVolts) {
  return static_cast<float>(code) * fullScaleVolts * (1.0f / 32768.0f);
}

// Appends one 16-byte cycle at row cycleCount: raw codes unchanged, volts
// with the channel factors, statistics updated (strict tests, so a NaN never
// changes them). The caller guarantees room.
void StoreCycle(AcquisitionState& state, const uint8_t* cycle);

// StoreCycle for `count` consecutive cycles; the caller guarantees room.
void StoreCycles(AcquisitionState& state, const uint8_t* cycles, uint32_t count);

// StoreCycles with the conversion of the run that read them.
void StoreCyclesAs(AcquisitionState& state, const uint8_t* cycles, uint32_t count,
                   float fullScaleVolts, const std::array<float, Channels>& factors);

// Appends cycles read from a file: volts without the channel factors.
// `cycles` may be the store's own raw row at cycleCount (read in place).
void StoreLoadedCycles(AcquisitionState& state, const uint8_t* cycles, uint32_t count);

// Where the processor has them, the conversion uses 256-bit registers (the
// same bits either way). Tests turn that off to check the other path; the
// previous setting is returned.
bool AllowWideConversion(bool allowed);

}  // namespace trelvan
