#pragma once
// The configuration record and small accessors for its bit fields.

#include <bit>
#include <cstddef>
#include <cstdint>

#include "device/kavrel.h"

static_assert(std::endian::native == std::endian::little,
              "the configuration record and the sample cycles are little-endian");
static_assert(sizeof(AdcConfig) == 20);
static_assert(offsetof(AdcConfig, modeBits) == 0);
static_assert(offsetof(AdcConfig, trigBits) == 1);
static_assert(offsetof(AdcConfig, reserved2) == 2);
static_assert(offsetof(AdcConfig, mainChannel) == 4);
static_assert(offsetof(AdcConfig, reserved5) == 5);
static_assert(offsetof(AdcConfig, wPeriod) == 8);
static_assert(offsetof(AdcConfig, trigVolMv) == 10);
static_assert(offsetof(AdcConfig, trigCnt) == 12);
static_assert(offsetof(AdcConfig, maxCycles) == 16);

namespace trelvan {

constexpr uint8_t NoDevice = KAVREL_NO_DEVICE;
constexpr uint8_t RunningBit = 0x80;

// modeBits
constexpr unsigned OversamplingIndex(const AdcConfig& c) { return c.modeBits & 0x07u; }
constexpr bool RangeIsTenVolts(const AdcConfig& c) { return (c.modeBits & 0x10u) != 0; }
constexpr bool PeriodInMilliseconds(const AdcConfig& c) { return (c.modeBits & 0x20u) != 0; }
// trigBits
constexpr unsigned TriggerMode(const AdcConfig& c) { return c.trigBits & 0x03u; }
constexpr unsigned IoEdge(const AdcConfig& c) { return (c.trigBits >> 2) & 0x03u; }
constexpr bool TriggerBelow(const AdcConfig& c) { return (c.trigBits & 0x10u) != 0; }
constexpr bool IsRunning(const AdcConfig& c) { return (c.trigBits & RunningBit) != 0; }
constexpr void SetRunning(AdcConfig& c, bool running) {
  c.trigBits = running ? static_cast<uint8_t>(c.trigBits | RunningBit)
                       : static_cast<uint8_t>(c.trigBits & ~RunningBit);
}

// The start-up record: +/-10 V, milliseconds, no oversampling, Period
// trigger, 100 ms, no cycle limit. Only these fields are written.
constexpr void SetDefaultConfig(AdcConfig& c) {
  c.modeBits = 0x30;
  c.trigBits = 0x01;
  c.wPeriod = 100;
  c.trigCnt = 0;
  c.maxCycles = 0;
  c.mainChannel = 0;
}

}  // namespace trelvan
