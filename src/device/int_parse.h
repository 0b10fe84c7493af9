#pragma once
// The one decimal-integer parser of every integer box.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "device/input_error.h"

namespace trelvan {

// An optional "-" followed by one or more decimal digits, nothing else (no
// blanks, no "+", no hexadecimal). Values from -2,147,483,648 up to
// 4,294,967,295 come back as their 32-bit pattern (so "-1" and "4294967295"
// both give 0xFFFFFFFF); anything outside that range does not parse.
std::optional<uint32_t> ParseInteger32(std::string_view text);

// "'<text>' is not a valid integer value".
std::string NotAnIntegerMessage(std::string_view text);

// ParseInteger32, throwing InputError with NotAnIntegerMessage on failure;
// the error names `box`.
uint32_t ParseIntegerOrThrow(std::string_view text, InputBox box = InputBox::Unknown);

}  // namespace trelvan
