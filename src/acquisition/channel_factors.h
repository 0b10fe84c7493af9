#pragma once
// The eight Factor boxes: texts parsed as decimal numbers with a point or a
// comma as the decimal separator, whatever the user's locale (the boxes start
// as "1.00"; there is no thousands separator a comma could stand for).

#include <array>
#include <optional>
#include <string>

#include "acquisition/acquisition_state.h"

namespace trelvan {

using FactorTexts = std::array<std::string, Channels>;

// A decimal number: an optional sign, digits with at most one "." or ",",
// an optional exponent; no blanks, no hexadecimal, no "nan" or "inf".
std::optional<double> ParseDecimal(const std::string& text);

// The message of a text that does not parse.
std::string NotAFloatMessage(const std::string& text);

// Parses the texts in channel order into channelFactor (rounded to float).
// Throws InputError at the first bad text; earlier channels keep their new
// factors, that channel and the later ones their old ones.
void ReadChannelFactors(AcquisitionState& state, const FactorTexts& texts);

// The same check without changing anything.
void CheckChannelFactors(const FactorTexts& texts);

}  // namespace trelvan
