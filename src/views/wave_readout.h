#pragma once
// The chart's readout: which stored cycle lies under the mouse pointer, and
// the texts that show it (the sample number and the eight values of that
// cycle). It reads the store and changes nothing.

#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/sample_store.h"

namespace trelvan {

// The store row plotted nearest to the window position `x` (0 at the
// window's left edge, one per cycle), when a point is plotted there: the
// window shows `plotted` points from row `waveStart` on. No row for a
// position left of the first point or right of the last, nor for a row at or
// past the store's cycle count.
std::optional<uint32_t> WaveReadoutRow(double x, uint32_t waveStart, uint32_t plotted,
                                       uint32_t cycleCount);

// "Sample 1234 (L00001235)" followed by one line per channel,
// "AN1 " + "% 2.6f" of its volts.
std::string WaveReadoutText(const SampleStore& store, uint32_t row);

}  // namespace trelvan
