#pragma once
// Texts of the chart's axis labels, with a point as the decimal separator
// whatever the process locale.

#include <cstdint>
#include <string>

namespace trelvan {

// "%4.0f" of an integer-valued cycle number: right-aligned in 4 characters.
std::string WaveSampleText(uint64_t cycle);
// "% 4.3f" of a volts value: a sign position, digits, a point, 3 decimals.
std::string WaveVoltsText(double volts);

}  // namespace trelvan
