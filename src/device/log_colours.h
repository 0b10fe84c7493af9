#pragma once
// The two colours of the message log, as 0x00BBGGRR values.

#include <cstdint>

namespace trelvan {

constexpr uint32_t LogBlue = 0xFF0000;  // progress, results, information
constexpr uint32_t LogRed = 0x0000FF;   // failures, refusals, limits reached

}  // namespace trelvan
