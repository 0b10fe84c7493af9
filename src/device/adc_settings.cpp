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
                    std::string_view boxName, InputBox box) {
  if (choice.index < 0 || static_cast<std::size_t>(choice.index) >= items.size()) {
    throw InputError("'" + choice.text + "' is not an item of the " + std::string(boxName) +
                     " box", box);
  }
  return static_cast<uint8_t>(choice.index);
}

// A number box's value for a field of `bits` bits: a value the field cannot
// hold is refused, never sent cut to its low bits.
uint32_t RequireFit(std::string_view text, unsigned bits, std::string_view boxName, InputBox box) {
  const uint32_t value = ParseIntegerOrThrow(text, box);
  const uint64_t largest = (uint64_t{1} << bits) - 1;
  if (value > largest) throw InputError(OutOfFieldMessage(text, boxName, largest), box);
  return value;
}

// Every item index fits the bit field it goes to.
static_assert(MainChanItems.size() <= 256);
static_assert(PeriodUnitItems.size() <= 2 && RangeItems.size() <= 2 && TrigDirectionItems.size() <= 2);
static_assert(TrigModeItems.size() <= 4 && IoTypeItems.size() <= 4);
static_assert(OversamplingItems.size() <= 8);

}  // namespace

std::string OutOfFieldMessage(std::string_view text, std::string_view boxName, uint64_t largest) {
  return "'" + std::string(text) + "' is out of the range of the " + std::string(boxName) +
         " box (0 to " + std::to_string(largest) + ")";
}

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
  packed.maxCycles = ParseIntegerOrThrow(settings.maxCycles, InputBox::MaxCycles);
  packed.wPeriod = static_cast<uint16_t>(RequireFit(settings.period, 16, "Period", InputBox::Period));
  packed.trigVolMv =
      static_cast<uint16_t>(RequireFit(settings.trigVol, 16, "TrigVol(mv)", InputBox::TrigVol));

  const uint8_t mainChan = RequireItem(settings.mainChan, MainChanItems, "MainChan", InputBox::MainChan);
  const uint8_t unit = RequireItem(settings.periodUnit, PeriodUnitItems, "Period unit", InputBox::PeriodUnit);
  const uint8_t mode = RequireItem(settings.trigMode, TrigModeItems, "Trig Mode", InputBox::TrigMode);
  const uint8_t io = RequireItem(settings.ioType, IoTypeItems, "IO Type", InputBox::IoType);
  const uint8_t direction =
      RequireItem(settings.trigDirection, TrigDirectionItems, "TrigVol direction", InputBox::TrigDirection);
  const uint8_t range = RequireItem(settings.range, RangeItems, "Rangle", InputBox::Range);
  const uint8_t os = RequireItem(settings.oversampling, OversamplingItems, "OS", InputBox::Oversampling);

  packed.modeBits = static_cast<uint8_t>(os | range << 4 | unit << 5);
  packed.trigBits = static_cast<uint8_t>(mode | io << 2 | direction << 4);
  packed.mainChannel = mainChan;
  return packed;
}

}  // namespace trelvan
