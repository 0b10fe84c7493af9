#include "device/status_texts.h"

#include <string_view>

namespace trelvan {

namespace {
// What "%s" writes: the text up to its first NUL.
std::string_view AsCString(const std::string& text) { return std::string_view(text.c_str()); }

std::string Join(std::string_view a, std::string_view b) {
  std::string s(a);
  s += b;
  return s;
}
}  // namespace

std::array<std::string, 9> StatusPanelTexts(const AdcConfig& config,
                                            const StatusComboTexts& combos) {
  const std::string trigVol = std::to_string(config.trigVolMv);
  return {
      "Total Cycles: " + std::to_string(static_cast<int32_t>(config.trigCnt)),
      "MaxCycles: " + std::to_string(static_cast<int32_t>(config.maxCycles)),
      Join("Main Chan: ", AsCString(combos.mainChan)),
      "Period: " + std::to_string(config.wPeriod) + (PeriodInMilliseconds(config) ? "ms" : "us"),
      Join("Trig Mode: ", AsCString(combos.trigMode)),
      Join("IoType: ", AsCString(combos.ioType)),
      (TriggerBelow(config) ? "TrigVol: <= " : "TrigVol: >= ") + trigVol + "mv",
      Join("Rangle: ", AsCString(combos.range)),
      Join("OS: ", AsCString(combos.oversampling)),
  };
}

}  // namespace trelvan
