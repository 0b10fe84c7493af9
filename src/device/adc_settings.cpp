#include "device/adc_settings.h"

#include <span>

#include "device/input_error.h"
#include "device/int_parse.h"

namespace trelvan {

namespace {

ComboChoice ItemChoice(std::span<const std::string_view> items, unsigned value) {
  if (value >= items.size()) return {};
  return {static_cast<int>(value), std::string(items[value])};
}

// The item index of a box, refusing a text that is no item: packing -1 would
// set every bit from the field's lowest bit up to bit 7 (the running bit, a
// main channel 255).
uint8_t RequireItem(const ComboChoice& choice, std::span<const std::string_view> items,
                    std::string_view boxName) {
  if (choice.index < 0 || static_cast<std::size_t>(choice.index) >= items.size()) {
    throw InputError("'" + choice.text + "' is not an item of the " + std::string(boxName) +
                     " box");
  }
  return static_cast<uint8_t>(choice.index);
}

}  // namespace

AdcSettings ShowAdcConfig(const AdcConfig& config) {
  AdcSettings s;
  s.period = std::to_string(config.wPeriod);
  s.trigVol = std::to_string(config.trigVolMv);
  s.maxCycles = std::to_string(config.maxCycles);
  s.range = ItemChoice(RangeItems, RangeIsTenVolts(config) ? 1 : 0);
  s.oversampling = ItemChoice(OversamplingItems, OversamplingIndex(config));
  s.periodUnit = ItemChoice(PeriodUnitItems, PeriodInMilliseconds(config) ? 1 : 0);
  s.ioType = ItemChoice(IoTypeItems, IoEdge(config));
  s.trigMode = ItemChoice(TrigModeItems, TriggerMode(config));
  s.trigDirection = ItemChoice(TrigDirectionItems, TriggerBelow(config) ? 1 : 0);
  s.mainChan = ItemChoice(MainChanItems, config.mainChannel);
  return s;
}

AdcConfig PackAdcSettings(const AdcConfig& current, const AdcSettings& settings) {
  AdcConfig packed = current;
  packed.maxCycles = ParseIntegerOrThrow(settings.maxCycles);
  packed.wPeriod = static_cast<uint16_t>(ParseIntegerOrThrow(settings.period));
  packed.trigVolMv = static_cast<uint16_t>(ParseIntegerOrThrow(settings.trigVol));

  const uint8_t mainChan = RequireItem(settings.mainChan, MainChanItems, "MainChan");
  const uint8_t unit = RequireItem(settings.periodUnit, PeriodUnitItems, "Period unit");
  const uint8_t mode = RequireItem(settings.trigMode, TrigModeItems, "Trig Mode");
  const uint8_t io = RequireItem(settings.ioType, IoTypeItems, "IO Type");
  const uint8_t direction =
      RequireItem(settings.trigDirection, TrigDirectionItems, "TrigVol direction");
  const uint8_t range = RequireItem(settings.range, RangeItems, "Rangle");
  const uint8_t os = RequireItem(settings.oversampling, OversamplingItems, "OS");

  packed.modeBits = static_cast<uint8_t>(os | range << 4 | unit << 5);
  packed.trigBits = static_cast<uint8_t>(mode | io << 2 | direction << 4);
  packed.mainChannel = mainChan;
  return packed;
}

}  // namespace trelvan
