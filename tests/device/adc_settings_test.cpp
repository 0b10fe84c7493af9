#include "device/adc_settings.h"

#include <cstring>
#include <functional>
#include <span>
#include <string>

#include <gtest/gtest.h>

#include "device/input_error.h"

namespace trelvan {
namespace {

bool SameBytes(const AdcConfig& a, const AdcConfig& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A record with every byte that packing keeps set to something recognisable.
AdcConfig Marked() {
  AdcConfig c{};
  SetDefaultConfig(c);
  c.reserved2[0] = 0xA5;
  c.reserved2[1] = 0xFF;
  c.reserved5[0] = 0x01;
  c.reserved5[1] = 0x80;
  c.reserved5[2] = 0xFE;
  c.trigCnt = 0xDEADBEEF;
  return c;
}

std::string PackError(const AdcConfig& current, const AdcSettings& s) {
  try {
    PackAdcSettings(current, s);
  } catch (const InputError& e) {
    return e.what();
  }
  return "no error";
}

void Select(ComboChoice& box, std::string_view item, int index) { box = {index, std::string(item)}; }

struct ComboField {
  const char* name;
  ComboChoice AdcSettings::*box;
  std::span<const std::string_view> items;
  std::function<unsigned(const AdcConfig&)> field;
};

const ComboField ComboFields[] = {
    {"MainChan", &AdcSettings::mainChan, MainChanItems,
     [](const AdcConfig& c) { return unsigned{c.mainChannel}; }},
    {"Period unit", &AdcSettings::periodUnit, PeriodUnitItems,
     [](const AdcConfig& c) { return (c.modeBits >> 5) & 1u; }},
    {"Trig Mode", &AdcSettings::trigMode, TrigModeItems,
     [](const AdcConfig& c) { return c.trigBits & 3u; }},
    {"IO Type", &AdcSettings::ioType, IoTypeItems,
     [](const AdcConfig& c) { return (c.trigBits >> 2) & 3u; }},
    {"TrigVol direction", &AdcSettings::trigDirection, TrigDirectionItems,
     [](const AdcConfig& c) { return (c.trigBits >> 4) & 1u; }},
    {"Rangle", &AdcSettings::range, RangeItems,
     [](const AdcConfig& c) { return (c.modeBits >> 4) & 1u; }},
    {"OS", &AdcSettings::oversampling, OversamplingItems,
     [](const AdcConfig& c) { return c.modeBits & 7u; }},
};

TEST(AdcSettingsItems, TextsAsTheControlsShowThem) {
  EXPECT_EQ(TrigModeItems[0], "IO ");
  EXPECT_EQ(IoTypeItems[1], "Raising");
  EXPECT_EQ(OversamplingItems[7], "Invaild");
  EXPECT_EQ(RangeItems[0], "-5~+5V");
  EXPECT_EQ(RangeItems[1], "-10~+10V");
}

TEST(ShowAdcConfig, StartUpRecord) {
  AdcConfig c{};
  SetDefaultConfig(c);
  const AdcSettings s = ShowAdcConfig(c);
  EXPECT_EQ(s.mainChan.text, "AN1");
  EXPECT_EQ(s.maxCycles, "0");
  EXPECT_EQ(s.period, "100");
  EXPECT_EQ(s.periodUnit.text, "MS");
  EXPECT_EQ(s.trigMode.text, "Period");
  EXPECT_EQ(s.ioType.text, "Falling");
  EXPECT_EQ(s.trigVol, "0");
  EXPECT_EQ(s.trigDirection.text, ">");
  EXPECT_EQ(s.range.text, "-10~+10V");
  EXPECT_EQ(s.oversampling.text, "NO OS");
}

TEST(ShowAdcConfig, NumbersUnsignedAndFieldsWithoutItemUnselected) {
  AdcConfig c = Marked();
  c.maxCycles = 4294967295u;
  c.wPeriod = 65535;
  c.trigVolMv = 65535;
  c.trigBits = 0x0C;  // IO edge 3
  for (const uint8_t channel : {uint8_t{8}, uint8_t{255}}) {
    c.mainChannel = channel;
    const AdcSettings s = ShowAdcConfig(c);
    EXPECT_EQ(s.maxCycles, "4294967295");
    EXPECT_EQ(s.period, "65535");
    EXPECT_EQ(s.trigVol, "65535");
    EXPECT_EQ(s.ioType.index, -1);
    EXPECT_EQ(s.ioType.text, "");
    EXPECT_EQ(s.mainChan.index, -1);
    EXPECT_EQ(s.mainChan.text, "");
    EXPECT_EQ(s.trigMode.index, 0);
  }
}

// Each item of each box sets its bit field to its index and nothing else.
TEST(PackAdcSettings, EveryComboIndexSetsItsFieldOnly) {
  const AdcConfig current = Marked();
  const AdcSettings base = ShowAdcConfig(current);
  const AdcConfig basePacked = PackAdcSettings(current, base);
  for (const ComboField& f : ComboFields) {
    for (std::size_t i = 0; i < f.items.size(); ++i) {
      AdcSettings s = base;
      Select(s.*f.box, f.items[i], static_cast<int>(i));
      const AdcConfig packed = PackAdcSettings(current, s);
      EXPECT_EQ(f.field(packed), i) << f.name << " item " << i;
      for (const ComboField& other : ComboFields) {
        if (&other != &f) {
          EXPECT_EQ(other.field(packed), other.field(basePacked)) << f.name;
        }
      }
      EXPECT_EQ(packed.modeBits & 0xC8, 0) << f.name;
      EXPECT_EQ(packed.trigBits & 0xE0, 0) << f.name;
    }
  }
}

// A typed text that is no item would pack as -1 (every bit of the field's
// byte from its lowest up: the running bit, main channel 255); it is refused.
TEST(PackAdcSettings, RefusesABoxWithoutItemNamingBoxAndText) {
  const AdcConfig current = Marked();
  const AdcSettings base = ShowAdcConfig(current);
  for (const ComboField& f : ComboFields) {
    for (const int index : {-1, static_cast<int>(f.items.size())}) {
      AdcSettings s = base;
      s.*f.box = {index, "xyz"};
      EXPECT_EQ(PackError(current, s), std::string("'xyz' is not an item of the ") + f.name + " box")
          << index;
    }
  }
}

TEST(PackAdcSettings, NumberBoxesInOrderEdit2Edit1Edit4BeforeTheComboBoxes) {
  const AdcConfig current = Marked();
  AdcSettings s = ShowAdcConfig(current);
  s.mainChan = {-1, "AN9"};
  s.maxCycles = "a";
  s.period = "b";
  s.trigVol = "c";
  EXPECT_EQ(PackError(current, s), "'a' is not a valid integer value");
  s.maxCycles = "1";
  EXPECT_EQ(PackError(current, s), "'b' is not a valid integer value");
  s.period = "1";
  EXPECT_EQ(PackError(current, s), "'c' is not a valid integer value");
  s.trigVol = "";
  EXPECT_EQ(PackError(current, s), "'' is not a valid integer value");
  s.trigVol = "1";
  EXPECT_EQ(PackError(current, s), "'AN9' is not an item of the MainChan box");
}

// Each number goes to its field whole or not at all: a value the field
// cannot hold is refused with the box and its range (99999 ms was once sent
// as 34463).
TEST(PackAdcSettings, NumbersMustFitTheirFields) {
  struct Case {
    const char *maxCycles, *period, *trigVol;
    const char* error;  // nullptr: packed
    uint32_t expectMaxCycles = 0;
    uint16_t expectPeriod = 0, expectTrigVol = 0;
  };
  const Case cases[] = {
      {"0", "0", "0", nullptr, 0, 0, 0},
      {"4294967295", "65535", "65535", nullptr, 4294967295u, 65535, 65535},
      {"-1", "1", "1", nullptr, 4294967295u, 1, 1},  // maxCycles takes the 32-bit pattern
      {"0", "65536", "0", "'65536' is out of the range of the Period box (0 to 65535)"},
      {"0", "99999", "0", "'99999' is out of the range of the Period box (0 to 65535)"},
      {"0", "-1", "0", "'-1' is out of the range of the Period box (0 to 65535)"},
      {"0", "1", "65536", "'65536' is out of the range of the TrigVol(mv) box (0 to 65535)"},
      {"0", "1", "-2147483648", "'-2147483648' is out of the range of the TrigVol(mv) box (0 to 65535)"},
      {"4294967296", "1", "1", "'4294967296' is not a valid integer value"},
      {"0", "70000", "70000", "'70000' is out of the range of the Period box (0 to 65535)"},  // the first box in order
  };
  const AdcConfig current = Marked();
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.maxCycles) + " " + k.period + " " + k.trigVol);
    AdcSettings s = ShowAdcConfig(current);
    s.maxCycles = k.maxCycles;
    s.period = k.period;
    s.trigVol = k.trigVol;
    if (k.error != nullptr) {
      EXPECT_EQ(PackError(current, s), k.error);
      continue;
    }
    const AdcConfig packed = PackAdcSettings(current, s);
    EXPECT_EQ(packed.maxCycles, k.expectMaxCycles);
    EXPECT_EQ(packed.wPeriod, k.expectPeriod);
    EXPECT_EQ(packed.trigVolMv, k.expectTrigVol);
  }
}

// Packing keeps the reserved bytes and trigCnt; it drops the bits the
// controls do not show (bits 3, 6, 7 of modeBits, bits 5-7 of trigBits).
TEST(PackAdcSettings, KeepsUnshownBytesAndClearsUnshownBits) {
  AdcConfig current = Marked();
  current.modeBits = 0xFF;
  current.trigBits = 0xE9;  // running, bits 5-6, IO edge 2, mode 1
  const AdcConfig packed = PackAdcSettings(current, ShowAdcConfig(current));
  EXPECT_EQ(packed.modeBits, 0x37);
  EXPECT_EQ(packed.trigBits, 0x09);
  EXPECT_EQ(std::memcmp(packed.reserved2, current.reserved2, 2), 0);
  EXPECT_EQ(std::memcmp(packed.reserved5, current.reserved5, 3), 0);
  EXPECT_EQ(packed.trigCnt, 0xDEADBEEFu);
}

// Every record the controls can show comes back byte for byte: every
// combination of the bit fields, with extreme numbers and reserved bytes.
TEST(AdcSettingsRoundTrip, ShowThenPackGivesTheSameRecord) {
  struct Numbers {
    uint16_t wPeriod, trigVolMv;
    uint32_t trigCnt, maxCycles;
    uint8_t reserved;
  };
  const Numbers numbers[] = {
      {1, 0, 0, 0, 0x00},
      {65535, 65535, 0xFFFFFFFF, 4294967295u, 0xFF},
      {32768, 9999, 0x80000000, 0x80000000, 0x5A},
      {0, 1, 1, 999999999, 0x80},
  };
  int checked = 0;
  for (unsigned os = 0; os < 8; ++os)
    for (unsigned range = 0; range < 2; ++range)
      for (unsigned unit = 0; unit < 2; ++unit)
        for (unsigned mode = 0; mode < 4; ++mode)
          for (unsigned io = 0; io < 3; ++io)
            for (unsigned dir = 0; dir < 2; ++dir)
              for (unsigned chan = 0; chan < 8; ++chan) {
                const Numbers& n = numbers[checked++ % std::size(numbers)];
                AdcConfig c{};
                c.modeBits = static_cast<uint8_t>(os | range << 4 | unit << 5);
                c.trigBits = static_cast<uint8_t>(mode | io << 2 | dir << 4);
                c.mainChannel = static_cast<uint8_t>(chan);
                c.wPeriod = n.wPeriod;
                c.trigVolMv = n.trigVolMv;
                c.trigCnt = n.trigCnt;
                c.maxCycles = n.maxCycles;
                std::memset(c.reserved2, n.reserved, 2);
                std::memset(c.reserved5, n.reserved ^ 0x3C, 3);
                const AdcConfig back = PackAdcSettings(c, ShowAdcConfig(c));
                ASSERT_TRUE(SameBytes(back, c))
                    << "modeBits " << int{c.modeBits} << " trigBits " << int{c.trigBits}
                    << " channel " << chan;
              }
}

}  // namespace
}  // namespace trelvan
