#include <gtest/gtest.h>

#include <cstring>

#include "device/adc_config.h"
#include "device/log_colours.h"
#include "device/version_texts.h"
#include "support/fake_device_library.h"

namespace trelvan {
namespace {

VersionTexts Split(const std::string& bytes) {
  char buffer[KAVREL_VERSION_BYTES] = {};
  std::memcpy(buffer, bytes.data(), std::min<std::size_t>(bytes.size(), sizeof buffer));
  return SplitVersionData(buffer);
}

TEST(SplitVersionData, StaysInsideTheBufferAndTheFields) {
  struct Case {
    std::string bytes, text1, text2;
  } cases[] = {
      {"V1.2;Build 4711", "V1.2", "Build 4711"},
      {";abc", "", "abc"},
      {"abc;", "abc", ""},
      {"abc;" + std::string(40, 'x'), "abc", std::string(30, 'x')},
      {"no separator", "no separator", ""},
      {std::string(35, 'a') + ";b", std::string(30, 'a'), "b"},
      {std::string(50, 'z'), std::string(30, 'z'), ""},                     // no NUL, no ";"
      {std::string(20, 'a') + ";" + std::string(29, 'b'), std::string(20, 'a'), std::string(29, 'b')},  // no NUL
      {std::string("ab\0cd;ef", 8), "ab", ""},
  };
  for (const Case& c : cases) {
    const VersionTexts t = Split(c.bytes);
    EXPECT_EQ(t.text1, c.text1) << c.bytes;
    EXPECT_EQ(t.text2, c.text2) << c.bytes;
  }
}

TEST(ReadVersionTexts, NeedsAnOpenModuleAndReportsAFailedRead) {
  testing::FakeDeviceLibrary device;
  std::vector<std::pair<std::string, uint32_t>> log;
  auto logFn = [&](const std::string& t, uint32_t c) { log.emplace_back(t, c); };
  VersionTexts texts{"old1", "old2"};

  EXPECT_FALSE(ReadVersionTexts(device, NoDevice, 0, texts, logFn));
  EXPECT_TRUE(device.calls.empty());
  EXPECT_TRUE(log.empty());

  device.versionFails[1] = true;
  EXPECT_FALSE(ReadVersionTexts(device, 0, 1, texts, logFn));
  EXPECT_EQ(texts.text1, "old1");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], std::make_pair(std::string("Fail to read version data!"), LogRed));

  EXPECT_TRUE(ReadVersionTexts(device, 0, 2, texts, logFn));
  EXPECT_EQ(texts.text1, "3.0");
  EXPECT_EQ(texts.text2, "mcu");
  EXPECT_EQ(device.calls.back().arg, 2u);
}

}  // namespace
}  // namespace trelvan
