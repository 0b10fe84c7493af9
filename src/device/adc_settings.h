#pragma once
// The ADC settings controls as plain values, and the two directions between
// them and the configuration record.

#include <array>
#include <string>
#include <string_view>

#include "device/adc_config.h"

namespace trelvan {

// Item texts of the settings combo boxes, byte for byte; an item's index is
// the value of its bit field.
inline constexpr std::array<std::string_view, 8> MainChanItems{"AN1", "AN2", "AN3", "AN4",
                                                               "AN5", "AN6", "AN7", "AN8"};
inline constexpr std::array<std::string_view, 2> PeriodUnitItems{"US", "MS"};
inline constexpr std::array<std::string_view, 4> TrigModeItems{"IO ", "Period", "IO&Period",
                                                               "Vol&Period"};
inline constexpr std::array<std::string_view, 3> IoTypeItems{"Falling", "Raising", "Both"};
inline constexpr std::array<std::string_view, 2> TrigDirectionItems{">", "<"};
inline constexpr std::array<std::string_view, 2> RangeItems{"-5~+5V", "-10~+10V"};
inline constexpr std::array<std::string_view, 8> OversamplingItems{
    "NO OS", "2", "4", "8", "16", "32", "64", "Invaild"};

// Longest texts the user may type into the three number boxes.
constexpr int MaxCyclesTypedLength = 9;  // Edit2
constexpr int PeriodTypedLength = 5;     // Edit1
constexpr int TrigVolTypedLength = 4;    // Edit4

// One combo box: the index of the item whose text equals the box's text
// exactly, or -1 when the text is no item (or the box shows nothing).
struct ComboChoice {
  int index = -1;
  std::string text;
};

// What the settings controls hold, in the order they stand in the group.
struct AdcSettings {
  ComboChoice mainChan;       // ComboBox8
  std::string maxCycles;      // Edit2
  std::string period;         // Edit1
  ComboChoice periodUnit;     // ComboBox6
  ComboChoice trigMode;       // ComboBox5
  ComboChoice ioType;         // ComboBox4
  std::string trigVol;        // Edit4
  ComboChoice trigDirection;  // ComboBox3
  ComboChoice range;          // ComboBox1
  ComboChoice oversampling;   // ComboBox2
};

// The controls' values that show `config`: the three numbers in decimal
// (maxCycles unsigned), each bit field as its item. A field value for which
// the box has no item (IO edge 3, a main channel above 7) gives index -1 and
// an empty text.
AdcSettings ShowAdcConfig(const AdcConfig& config);

// A new record from `current` and the controls: every byte of `current`
// travels (reserved bytes, trigCnt), then maxCycles (32 bits), wPeriod and
// trigVolMv (16 bits each, 0 to 65535) from the boxes Edit2, Edit1, Edit4 in
// that order, and the bit fields from the combo boxes' indexes; bits 3, 6, 7
// of modeBits and the running bit come out 0.
// Throws InputError: a number box that does not parse or whose value does not
// fit its field (the first in that order), else a combo box whose text is no
// item (the first in the group). Nothing is packed cut to its low bits.
AdcConfig PackAdcSettings(const AdcConfig& current, const AdcSettings& settings);

// "'<text>' is out of the range of the <box> box (0 to <largest>)".
std::string OutOfFieldMessage(std::string_view text, std::string_view boxName, uint64_t largest);

}  // namespace trelvan
