#pragma once
// The texts of status-bar panels 1 to 9: counts and settings.

#include <array>
#include <string>

#include "device/adc_config.h"

namespace trelvan {

// The current texts of the combo boxes that panels 3, 5, 6, 8 and 9 show
// (a choice made but not yet sent shows there too).
struct StatusComboTexts {
  std::string mainChan;      // ComboBox8
  std::string trigMode;      // ComboBox5
  std::string ioType;        // ComboBox4
  std::string range;         // ComboBox1
  std::string oversampling;  // ComboBox2
};

// Panels 1..9 (element 0 is panel 1), with the bytes of their printf formats:
// "Total Cycles: %d", "MaxCycles: %d" (both as signed 32-bit), "Main Chan: %s",
// "Period: %d" + "ms"/"us", "Trig Mode: %s", "IoType: %s",
// "TrigVol: <= %dmv"/"TrigVol: >= %dmv", "Rangle: %s", "OS: %s".
std::array<std::string, 9> StatusPanelTexts(const AdcConfig& config,
                                            const StatusComboTexts& combos);

}  // namespace trelvan
