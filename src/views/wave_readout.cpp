#include "views/wave_readout.h"

#include <cmath>

#include "format/fixed_format.h"

namespace trelvan {

std::optional<uint32_t> WaveReadoutRow(double x, uint32_t waveStart, uint32_t plotted,
                                       uint32_t cycleCount) {
  if (!std::isfinite(x) || plotted == 0) return std::nullopt;
  const double nearest = std::floor(x + 0.5);
  if (nearest < 0.0 || nearest >= static_cast<double>(plotted)) return std::nullopt;
  const uint64_t row = uint64_t{waveStart} + static_cast<uint64_t>(nearest);
  if (row >= cycleCount) return std::nullopt;
  return static_cast<uint32_t>(row);
}

std::string WaveReadoutText(const SampleStore& store, uint32_t row) {
  char label[16];
  *AppendZeroPadded(label, row + 1, 8) = '\0';
  std::string text = "Sample " + std::to_string(row) + " (L" + label + ")";
  const float* volts = store.voltsRow(row);
  for (int ch = 0; ch < Channels; ++ch) {
    text += "\nAN" + std::to_string(ch + 1) + " " + FormatFixed6(static_cast<double>(volts[ch]));
  }
  return text;
}

}  // namespace trelvan
