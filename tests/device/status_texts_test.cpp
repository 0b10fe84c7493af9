#include "device/status_texts.h"

#include <cstdio>

#include <gtest/gtest.h>

namespace trelvan {
namespace {

AdcConfig StartUpRecord() {
  AdcConfig c{};
  SetDefaultConfig(c);
  return c;
}

const StatusComboTexts StartUpTexts{"AN1", "Period", "Falling", "-10~+10V", "NO OS"};

TEST(StatusPanelTexts, StartUpRecord) {
  const std::array<std::string, 9> expected{
      "Total Cycles: 0",   "MaxCycles: 0",       "Main Chan: AN1",
      "Period: 100ms",     "Trig Mode: Period",  "IoType: Falling",
      "TrigVol: >= 0mv",   "Rangle: -10~+10V",   "OS: NO OS"};
  EXPECT_EQ(StatusPanelTexts(StartUpRecord(), StartUpTexts), expected);
}

// The numbers as the C formats write them: counts signed, the unit and the
// direction from their bits, whatever the combo boxes say.
TEST(StatusPanelTexts, NumbersMatchTheirPrintfFormats) {
  struct Case {
    uint8_t modeBits, trigBits;
    uint16_t wPeriod, trigVolMv;
    uint32_t trigCnt, maxCycles;
  };
  const Case cases[] = {
      {0x00, 0x00, 1, 0, 1, 1},
      {0x20, 0x10, 65535, 65535, 0xFFFFFFFF, 0xFFFFFFFF},
      {0xDF, 0xEF, 0, 1, 0x80000000, 0x7FFFFFFF},
      {0xFF, 0xFF, 4464, 2500, 6000000, 0x80000000},
  };
  for (const Case& k : cases) {
    AdcConfig c{};
    c.modeBits = k.modeBits;
    c.trigBits = k.trigBits;
    c.wPeriod = k.wPeriod;
    c.trigVolMv = k.trigVolMv;
    c.trigCnt = k.trigCnt;
    c.maxCycles = k.maxCycles;
    const auto texts = StatusPanelTexts(c, StartUpTexts);
    char buf[64];
    std::snprintf(buf, sizeof buf, "Total Cycles: %d", static_cast<int>(k.trigCnt));
    EXPECT_EQ(texts[0], buf);
    std::snprintf(buf, sizeof buf, "MaxCycles: %d", static_cast<int>(k.maxCycles));
    EXPECT_EQ(texts[1], buf);
    std::snprintf(buf, sizeof buf, "Period: %d%s", k.wPeriod, (k.modeBits & 0x20) ? "ms" : "us");
    EXPECT_EQ(texts[3], buf);
    std::snprintf(buf, sizeof buf, (k.trigBits & 0x10) ? "TrigVol: <= %dmv" : "TrigVol: >= %dmv",
                  k.trigVolMv);
    EXPECT_EQ(texts[6], buf);
  }
}

TEST(StatusPanelTexts, ComboPanelsShowTheTextsAsGiven) {
  const StatusComboTexts typed{"xyz", "IO ", "", "-5~+5V", "Invaild"};
  const auto texts = StatusPanelTexts(StartUpRecord(), typed);
  EXPECT_EQ(texts[2], "Main Chan: xyz");
  EXPECT_EQ(texts[4], "Trig Mode: IO ");
  EXPECT_EQ(texts[5], "IoType: ");
  EXPECT_EQ(texts[7], "Rangle: -5~+5V");
  EXPECT_EQ(texts[8], "OS: Invaild");
}

}  // namespace
}  // namespace trelvan
